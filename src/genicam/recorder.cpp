// The solid-state recorder over GenICam: the operations of more than one step.
#include "common/movies.h"
#include "genicam/CTQVSDKGenICam.h"
#include "genicam/access.h"
#include "genicam/rows.h"

u32 CTQVSDKGenICam::SsdLoadMovie(i32 index) {
  TQV_GIC_OPERATION();
  const u32 result = gicSetInt64(m_device, "SSDLoadMovieIndex", index, kGicAttempts);
  return result ? result : gicExecute(m_device, "SSDLoadMovie", true);
}

// The camera gives the highest index a query takes.
u32 CTQVSDKGenICam::GetSsdMovieCount(u32* count) {
  TQV_GIC_OPERATION();
  i64 highest = 0;
  const u32 result = gicGetInt64(m_device, "SSDMovieQueryIndexMax", &highest, kGicAttempts);
  if (result == rc::kOk) *count = static_cast<u32>(highest + 1);
  return result;
}

// The query's fields belong to the index last executed, so the lock is held for all of it.
u32 CTQVSDKGenICam::GetSsdMovieInfo(u32 index, tqvSSsdMovieInfo* info) {
  TQV_GIC_OPERATION();
  u32 result = gicSetInt64(m_device, "SSDMovieQueryIndex", index, kGicAttempts);
  if (result == rc::kOk) result = gicExecute(m_device, "SSDMovieQueryExecute", true);
  bool found = false;
  if (result == rc::kOk) result = gicGetBool(m_device, "SSDMovieQueryStatus", &found, kGicAttempts);
  if (result != rc::kOk) return result;
  if (!found) return rc::kError;
  if ((result = gicGetString(m_device, "SSDMovieQueryName", info->name, 64, kGicAttempts)))
    return result;
  return movies::ReadFields(info, [this](const movies::Field& field, auto* out) {
    return gicGetValue(m_device, field.feature, out);
  });
}

u32 CTQVSDKGenICam::GetSsdDriveSpaceTotal(i64* bytes) {
  TQV_GIC_OPERATION();
  return gicGetInt64(m_device, "SSDDriveSpaceTotal", bytes, kGicAttempts);
}

u32 CTQVSDKGenICam::GetSsdDriveSpaceUsed(i64* bytes) {
  TQV_GIC_OPERATION();
  return gicGetInt64(m_device, "SSDDriveSpaceUsed", bytes, kGicAttempts);
}

u32 CTQVSDKGenICam::GetSsdDriveSpaceFree(i64* bytes) {
  TQV_GIC_OPERATION();
  return gicGetInt64(m_device, "SSDDriveSpaceFree", bytes, kGicAttempts);
}

u32 CTQVSDKGenICam::SsdSaveInfoFile(const char* name) {
  TQV_GIC_OPERATION();
  const u32 result = gicSetString(m_device, "SSDSaveInfoFilename", name, kGicAttempts);
  return result ? result : gicExecute(m_device, "SSDSaveInfoFile", true);
}

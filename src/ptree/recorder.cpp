// The solid-state recorder over the property tree: the operations of more than one step.
#include <cstring>

#include "common/movies.h"
#include "ptree/CTQVSDKPTree.h"

u32 CTQVSDKPTree::SsdLoadMovie(i32 index) {
  const u32 result = resWrite(m_tree, ".system.ssd.loadMovieIndex", index);
  return result ? result : resWrite(m_tree, ".system.ssd.loadMovie", true);
}

u32 CTQVSDKPTree::GetSsdMovieCount(u32* count) {
  return resRead(m_tree, ".system.ssd.movies.count", count);
}

// The camera fills the query's fields for the index it is given; a name of 63 characters or more
// is refused rather than cut.
u32 CTQVSDKPTree::GetSsdMovieInfo(u32 index, tqvSSsdMovieInfo* info) {
  u32 result = resWrite(m_tree, ".system.ssd.movies.index", index);
  if (result == rc::kOk) result = resWrite(m_tree, ".system.ssd.movies.read", true);
  bool found = false;
  if (result == rc::kOk) result = resRead(m_tree, ".system.ssd.movies.readOk", &found);
  if (result != rc::kOk) return result;
  if (!found) return rc::kError;
  char* name = nullptr;
  if ((result = resGetString(m_tree, ".system.ssd.movies.name", &name))) return result;
  const std::size_t length = std::strlen(name);
  if (length >= 63) {
    resFreeString(&name);
    return rc::kError;
  }
  std::memcpy(info->name, name, length + 1);
  resFreeString(&name);
  return movies::ReadFields(info, [this](const movies::Field& field, auto* out) {
    return resRead(m_tree, field.path, out);
  });
}

namespace {

// The camera latches the three sizes on ".read"; each is given in two 32-bit halves.
u32 DriveSpace(void* tree, const char* low, const char* high, i64* bytes) {
  u32 lowPart = 0, highPart = 0;
  u32 result = resWrite(tree, ".system.ssd.driveSpace.read", true);
  if (result == rc::kOk) result = resRead(tree, low, &lowPart);
  if (result == rc::kOk) result = resRead(tree, high, &highPart);
  if (result == rc::kOk) *bytes = static_cast<i64>((static_cast<u64>(highPart) << 32) | lowPart);
  return result;
}

}  // namespace

u32 CTQVSDKPTree::GetSsdDriveSpaceTotal(i64* bytes) {
  return DriveSpace(m_tree, ".system.ssd.driveSpace.totalLow", ".system.ssd.driveSpace.totalHigh",
                    bytes);
}

u32 CTQVSDKPTree::GetSsdDriveSpaceUsed(i64* bytes) {
  return DriveSpace(m_tree, ".system.ssd.driveSpace.usedLow", ".system.ssd.driveSpace.usedHigh",
                    bytes);
}

u32 CTQVSDKPTree::GetSsdDriveSpaceFree(i64* bytes) {
  return DriveSpace(m_tree, ".system.ssd.driveSpace.freeLow", ".system.ssd.driveSpace.freeHigh",
                    bytes);
}

u32 CTQVSDKPTree::SsdSaveInfoFile(const char* name) {
  const u32 result = resSetString(m_tree, ".system.ssd.saveInfoFilename", name, 1);
  return result ? result : resWrite(m_tree, ".system.ssd.saveInfoFile", true);
}

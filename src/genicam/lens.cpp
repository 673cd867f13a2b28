// Lens, focus, field of view, filter wheel, lens cover and flag over GenICam.
#include "genicam/CTQVSDKGenICam.h"
#include "genicam/access.h"

// --- Filter wheel --------------------------------------------------------------------------------

u32 CTQVSDKGenICam::GetFilterInfoAvailable(bool* available) {
  TQV_GIC_OPERATION();
  if (!gicIsPresent(m_device, "FilterInfoAvailable")) {
    *available = false;
    return rc::kOk;
  }
  return gicGetBool(m_device, "FilterInfoAvailable", available, kGicAttempts);
}

u32 CTQVSDKGenICam::GetFilterInfoName(u32 id, char* buffer, i32 size) {
  TQV_GIC_OPERATION();
  u32 result = gicSetInt64(m_device, "FilterInfoIndex", id, kGicAttempts);
  if (result != rc::kOk) return result;
  return gicGetString(m_device, "FilterInfoName", buffer, size, kGicAttempts);
}

u32 CTQVSDKGenICam::SetFilterInfoName(u32 id, const char* name) {
  TQV_GIC_OPERATION();
  u32 result = gicSetInt64(m_device, "FilterInfoIndex", id, kGicAttempts);
  if (result != rc::kOk) return result;
  return gicSetString(m_device, "FilterInfoName", name, kGicAttempts);
}

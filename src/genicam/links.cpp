// Data links, lock-in and other camera functions over GenICam.
#include "genicam/CTQVSDKGenICam.h"
#include "genicam/access.h"

u32 CTQVSDKGenICam::GetLegacyVFPGA(bool* legacy) {
  TQV_GIC_OPERATION();
  return gicGetBool(m_device, "MfgIsLegacyVFPGA", legacy, kGicAttempts);
}

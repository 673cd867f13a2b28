// Data links, lock-in and other camera functions over the property tree.
#include "ptree/CTQVSDKPTree.h"

// Cameras that do not say which video FPGA they carry have the legacy one when their main
// application is older than 2.2.
u32 CTQVSDKPTree::GetLegacyVFPGA(bool* legacy) {
  if (Cached(m_cache.legacyVFPGA, legacy)) return rc::kOk;
  constexpr const char* kPath = ".version.product.legacyVFPGA";
  if (resVerify(m_tree, kPath) == rc::kOk) return CachedGet(m_cache.legacyVFPGA, kPath, legacy);
  u16 major = 0, minor = 0, build = 0;
  u32 result = GetMainAppVersion(&major, &minor, &build);
  if (result != rc::kOk) return result;
  bool value = major < 2 || (major == 2 && minor < 2);
  Keep(m_cache.legacyVFPGA, value);
  *legacy = value;
  return rc::kOk;
}

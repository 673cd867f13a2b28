// Lens, focus, field of view, filter wheel, lens cover and flag over the property tree.
#include <cstdio>
#include <cstring>

#include "ptree/CTQVSDKPTree.h"

// --- Filter wheel --------------------------------------------------------------------------------

namespace {
constexpr u32 kLastFilterId = 63;

void FilterNamePath(char (&path)[kPathSize], u32 id) {
  std::snprintf(path, sizeof path, ".system.settings.filter.info.%u.name", id);
}
}  // namespace

u32 CTQVSDKPTree::GetFilterInfoAvailable(bool* available) {
  if (Cached(m_cache.filterInfoAvailable, available)) return rc::kOk;
  bool value = resVerify(m_tree, ".system.settings.filter.info") == rc::kOk;
  Keep(m_cache.filterInfoAvailable, value);
  *available = value;
  return rc::kOk;
}

u32 CTQVSDKPTree::GetFilterInfoName(u32 id, char* buffer, i32 size) {
  if (id > kLastFilterId) return rc::kInvalidArgument;
  char path[kPathSize];
  FilterNamePath(path, id);
  return CachedGetText(m_cache.filterInfoName[id], path, buffer, size);
}

u32 CTQVSDKPTree::SetFilterInfoName(u32 id, const char* name) {
  if (id > kLastFilterId) return rc::kInvalidArgument;
  if (!name) return rc::kInvalidArgument;
  char path[kPathSize];
  FilterNamePath(path, id);
  return CachedSetText(m_cache.filterInfoName[id], path, name);
}

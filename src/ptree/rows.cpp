// The property-tree side of every plain row of the family tables (families/all.def).
#include "ptree/rows.h"

#include <optional>

#include "tqvSDK.h"

u32 CTQVSDKPTree::PathExists(const char* path, bool* exists) {
  const u32 result = resVerify(m_tree, path);
  if (result != rc::kOk && result != rc::kNotFound) return result;
  *exists = result == rc::kOk;
  return rc::kOk;
}

u32 CTQVSDKPTree::RowLensPath(const rows::Tree& row, const char*& path) {
  if (!row.lens) return rc::kOk;
  const u32 result = GetConstants();
  if (result == rc::kOk && m_lensController && row.vorn) path = row.vorn;
  return result;
}

u32 CTQVSDKPTree::RowCommand(const rows::Tree& row) {
  const char* path = row.path;
  u32 result = RowLensPath(row, path);
  if (result != rc::kOk) return result;
  std::optional<ScopedTimeout> slow;
  if (row.timeout) slow.emplace(m_tree, row.timeout);
  result = resWrite(m_tree, path, true, row.commit);
  if (result == rc::kOk && row.emptiesCache) {
    ForgetAll();
  } else if (result == rc::kOk && row.drop) {
    Forget(row.drop);
  }
  return result;
}

u32 CTQVSDKPTree::RowExists(const rows::Tree& row, bool* out) {
  const char* path = row.path;
  u32 result = RowLensPath(row, path);
  if (result != rc::kOk) return result;
  bool exists = false;
  result = PathExists(path, &exists);
  if (result == rc::kOk) *out = exists;
  return result;
}

// clang-format off
#define TQV_VALUE(get, set, type, tree, gic)                                       \
  u32 CTQVSDKPTree::get(type* value) {                                             \
    static constexpr rows::Tree kRow = tree;                                       \
    return RowGet(kRow, kRow.path, m_cache.rows.get, value);                       \
  }                                                                                \
  u32 CTQVSDKPTree::set(type value) {                                              \
    static constexpr rows::Tree kRow = tree;                                       \
    return RowSet(kRow, kRow.path, m_cache.rows.get, value);                       \
  }
#define TQV_GETTER(get, type, tree, gic)                                           \
  u32 CTQVSDKPTree::get(type* value) {                                             \
    static constexpr rows::Tree kRow = tree;                                       \
    return RowGet(kRow, kRow.path, m_cache.rows.get, value);                       \
  }
#define TQV_SETTER(set, type, tree, gic)                                           \
  u32 CTQVSDKPTree::set(type value) {                                              \
    static constexpr rows::Tree kRow = tree;                                       \
    TCached<type> unused{};                                                        \
    return RowSet(kRow, kRow.path, unused, value);                                 \
  }
#define TQV_PRESET(get, set, type, tree, gic)                                      \
  u32 CTQVSDKPTree::get(u8 preset, type* value) {                                  \
    static constexpr rows::Tree kRow = tree;                                       \
    return RowGetPreset(kRow, preset, &PresetRowCache::get, value);                \
  }                                                                                \
  u32 CTQVSDKPTree::set(u8 preset, type value) {                                   \
    static constexpr rows::Tree kRow = tree;                                       \
    return RowSetPreset(kRow, preset, &PresetRowCache::get, value);                \
  }
#define TQV_PRESET_GETTER(get, type, tree, gic)                                    \
  u32 CTQVSDKPTree::get(u8 preset, type* value) {                                  \
    static constexpr rows::Tree kRow = tree;                                       \
    return RowGetPreset(kRow, preset, &PresetRowCache::get, value);                \
  }
#define TQV_COMMAND(op, tree, gic)                                                 \
  u32 CTQVSDKPTree::op() {                                                         \
    static constexpr rows::Tree kRow = tree;                                       \
    return RowCommand(kRow);                                                       \
  }
#define TQV_EXISTS(op, tree, gic)                                                  \
  u32 CTQVSDKPTree::op(bool* value) {                                              \
    static constexpr rows::Tree kRow = tree;                                       \
    return RowExists(kRow, value);                                                 \
  }
#define TQV_TEXT(get, set, size, tree, gic)                                        \
  u32 CTQVSDKPTree::get(char* buffer, i32 length) {                                \
    static constexpr rows::Tree kRow = tree;                                       \
    return RowGetText(kRow, m_cache.rows.get, buffer, length);                     \
  }                                                                                \
  u32 CTQVSDKPTree::set(const char* text) {                                        \
    static constexpr rows::Tree kRow = tree;                                       \
    return RowSetText(kRow, m_cache.rows.get, text);                               \
  }
// The overlay colours' setters are written by hand (ptree/video.cpp).
#define TQV_OVERLAY_COLOR(get, set, tree, gic) TQV_GETTER(get, u8, tree, gic)
#include "families/all.def"

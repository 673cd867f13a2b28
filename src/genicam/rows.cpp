// The GenICam side of every plain row of the family tables (families/all.def).
#include "genicam/rows.h"

#include "tqvSDK.h"

bool CTQVSDKGenICam::RowFeatureThere(const rows::Gic& row, const char* feature) {
  switch (row.absent) {
    case rows::Absent::kIfPresent:
      return gicIsPresent(m_device, feature);
    case rows::Absent::kIfAvailable:
      return gicIsAvailable(m_device, feature);
    case rows::Absent::kError:
      break;
  }
  return true;
}

u32 CTQVSDKGenICam::RowCommand(const rows::Gic& row) {
  TQV_GIC_OPERATION();
  if (!RowFeatureThere(row, row.feature)) return rc::kNotSupported;
  return gicExecute(m_device, row.feature, row.wait);
}

u32 CTQVSDKGenICam::RowExists(const rows::Gic& row, bool* out) {
  TQV_GIC_OPERATION();
  *out =
      row.byPresence ? gicIsPresent(m_device, row.feature) : gicIsAvailable(m_device, row.feature);
  return rc::kOk;
}

u32 CTQVSDKGenICam::RowGetText(const rows::Gic& row, char* buffer, int size) {
  TQV_GIC_OPERATION();
  const char* feature = row.feature;
  if (row.alternative && !gicIsPresent(m_device, feature)) feature = row.alternative;
  return gicGetString(m_device, feature, buffer, size, kGicAttempts);
}

u32 CTQVSDKGenICam::RowSetText(const rows::Gic& row, const char* text) {
  TQV_GIC_OPERATION();
  return gicSetString(m_device, row.writeTo ? row.writeTo : row.feature, text, kGicAttempts);
}

// clang-format off
#define TQV_VALUE(get, set, type, tree, gic)                                       \
  u32 CTQVSDKGenICam::get(type* value) {                                           \
    static constexpr rows::Gic kRow = gic;                                         \
    return RowGet(kRow, kRow.feature, kRow.alternative, value);                    \
  }                                                                                \
  u32 CTQVSDKGenICam::set(type value) {                                            \
    static constexpr rows::Gic kRow = gic;                                         \
    return RowSet(kRow, kRow.feature, kRow.alternative, value);                    \
  }
#define TQV_GETTER(get, type, tree, gic)                                           \
  u32 CTQVSDKGenICam::get(type* value) {                                           \
    static constexpr rows::Gic kRow = gic;                                         \
    return RowGet(kRow, kRow.feature, kRow.alternative, value);                    \
  }
#define TQV_SETTER(set, type, tree, gic)                                           \
  u32 CTQVSDKGenICam::set(type value) {                                            \
    static constexpr rows::Gic kRow = gic;                                         \
    return RowSet(kRow, kRow.feature, kRow.alternative, value);                    \
  }
#define TQV_PRESET(get, set, type, tree, gic)                                      \
  u32 CTQVSDKGenICam::get(u8 preset, type* value) {                                \
    static constexpr rows::Gic kRow = gic;                                         \
    return RowGetPreset(kRow, preset, value);                                      \
  }                                                                                \
  u32 CTQVSDKGenICam::set(u8 preset, type value) {                                 \
    static constexpr rows::Gic kRow = gic;                                         \
    return RowSetPreset(kRow, preset, value);                                      \
  }
#define TQV_PRESET_GETTER(get, type, tree, gic)                                    \
  u32 CTQVSDKGenICam::get(u8 preset, type* value) {                                \
    static constexpr rows::Gic kRow = gic;                                         \
    return RowGetPreset(kRow, preset, value);                                      \
  }
#define TQV_COMMAND(op, tree, gic)                                                 \
  u32 CTQVSDKGenICam::op() {                                                       \
    static constexpr rows::Gic kRow = gic;                                         \
    return RowCommand(kRow);                                                       \
  }
#define TQV_EXISTS(op, tree, gic)                                                  \
  u32 CTQVSDKGenICam::op(bool* value) {                                            \
    static constexpr rows::Gic kRow = gic;                                         \
    return RowExists(kRow, value);                                                 \
  }
#define TQV_TEXT(get, set, size, tree, gic)                                        \
  u32 CTQVSDKGenICam::get(char* buffer, i32 length) {                              \
    static constexpr rows::Gic kRow = gic;                                         \
    return RowGetText(kRow, buffer, length);                                       \
  }                                                                                \
  u32 CTQVSDKGenICam::set(const char* text) {                                      \
    static constexpr rows::Gic kRow = gic;                                         \
    return RowSetText(kRow, text);                                                 \
  }
#include "families/all.def"

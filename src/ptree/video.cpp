// Video output, AGC and overlay over the property tree: the operations with logic of their own.
// The plain rows are in families/video.def.
#include <cstdio>
#include <string_view>

#include "common/video.h"
#include "ptree/CTQVSDKPTree.h"

namespace {

const char* const kOffsetRead = ".system.settings.video.offset.read";
const char* const kOffsetCommit = ".system.settings.video.offset.commit";
constexpr std::array<const char*, 2> kOffsetFields = {".system.settings.video.offset.x",
                                                      ".system.settings.video.offset.y"};

const char* const kAGCROIRead = ".system.settings.video.agc.roi.read";
const char* const kAGCROICommit = ".system.settings.video.agc.roi.commit";
constexpr std::array<const char*, 4> kAGCROIFields = {
    ".system.settings.video.agc.roi.xOffset", ".system.settings.video.agc.roi.yOffset",
    ".system.settings.video.agc.roi.width", ".system.settings.video.agc.roi.height"};

// The items drawn as text, in the order their colours are set.
constexpr const char* kTextItems[] = {"date",
                                      "airGapTemperature",
                                      "chassisTemperature",
                                      "flag",
                                      "frameRate",
                                      "frontPanelTemperature",
                                      "internalTemperature",
                                      "irig",
                                      "lensTemperature",
                                      "palette",
                                      "preset",
                                      "fov",
                                      "focus",
                                      "zoom",
                                      "message",
                                      "operatingTime",
                                      "time",
                                      "cameraInfo",
                                      "stateFilename"};
constexpr const char* kAGCROIItem[] = {"agcROI"};
constexpr const char* kFocusROIItem[] = {"autoFocusROI"};

// The operations whose values live under the overlay are named so.
constexpr bool IsOverlayValue(std::string_view getter) {
  return getter.starts_with("GetVideoOverlay");
}

char* OverlayPath(char (&path)[kPathSize], const char* item, const char* field) {
  std::snprintf(path, sizeof path, ".system.settings.overlay.%s.%s", item, field);
  return path;
}

}  // namespace

// --- Records handed over as a whole --------------------------------------------------------------

template <typename T, std::size_t N>
u32 CTQVSDKPTree::GetRecord(const char* read, const std::array<const char*, N>& fields,
                            TCached<std::array<T, N>>& entry, std::array<T, N>* out) {
  if (Cached(entry, out)) return rc::kOk;
  u32 result = resWrite(m_tree, read, true);
  std::array<T, N> values{};
  for (std::size_t i = 0; result == rc::kOk && i < N; ++i)
    result = resRead(m_tree, fields[i], &values[i]);
  if (result != rc::kOk) return result;
  Keep(entry, values);
  *out = values;
  return rc::kOk;
}

template <typename T, std::size_t N>
u32 CTQVSDKPTree::SetRecord(const std::array<const char*, N>& fields, const char* commit,
                            TCached<std::array<T, N>>& entry, const std::array<T, N>& values) {
  u32 result = rc::kOk;
  for (std::size_t i = 0; result == rc::kOk && i < N; ++i)
    result = resWrite(m_tree, fields[i], values[i]);
  if (result == rc::kOk) result = resWrite(m_tree, commit, true);
  if (result == rc::kOk) Keep(entry, values);
  return result;
}

u32 CTQVSDKPTree::GetVideoOffset(i16* x, i16* y) {
  std::array<i16, 2> offset{};
  u32 result = GetRecord(kOffsetRead, kOffsetFields, m_cache.video.offset, &offset);
  if (result != rc::kOk) return result;
  *x = offset[0];
  *y = offset[1];
  return rc::kOk;
}

u32 CTQVSDKPTree::SetVideoOffset(i16 x, i16 y) {
  return SetRecord(kOffsetFields, kOffsetCommit, m_cache.video.offset, {x, y});
}

u32 CTQVSDKPTree::GetVideoAGCROI(u16* xOffset, u16* yOffset, u16* width, u16* height) {
  std::array<u16, 4> roi{};
  u32 result = GetRecord(kAGCROIRead, kAGCROIFields, m_cache.video.agcROI, &roi);
  if (result != rc::kOk) return result;
  *xOffset = roi[0];
  *yOffset = roi[1];
  *width = roi[2];
  *height = roi[3];
  return rc::kOk;
}

u32 CTQVSDKPTree::SetVideoAGCROI(u16 xOffset, u16 yOffset, u16 width, u16 height) {
  return SetRecord(kAGCROIFields, kAGCROICommit, m_cache.video.agcROI,
                   {xOffset, yOffset, width, height});
}

// --- Manual AGC limits ---------------------------------------------------------------------------

u32 CTQVSDKPTree::GetVideoAGCManual(u16* low, u16* high) {
  return video::GetAGCManual(*this, low, high);
}

u32 CTQVSDKPTree::SetVideoAGCManual(u16 low, u16 high) {
  return video::SetAGCManual(*this, low, high);
}

// --- Overlay colours -----------------------------------------------------------------------------

// The overlay draws an item in its new colour only when the item is drawn again, so an item that
// is shown is hidden and shown once more.
u32 CTQVSDKPTree::SetItemColors(std::span<const char* const> items, const char* field, u8 color,
                                TCached<u8>& entry) {
  char path[kPathSize];
  for (std::size_t i = 0; i < items.size(); ++i) {
    bool shown = false;
    u32 result = resRead(m_tree, OverlayPath(path, items[i], "display"), &shown);
    if (result != rc::kOk) return result;
    if ((result = resWrite(m_tree, OverlayPath(path, items[i], field), color))) return result;
    if (i == 0) Keep(entry, color);  // the colour the getter reads
    if (!shown) continue;
    OverlayPath(path, items[i], "display");
    if ((result = resWrite(m_tree, path, false))) return result;
    if ((result = resWrite(m_tree, path, true))) {
      DropOverlayCache();  // the item may be left hidden
      return result;
    }
  }
  return rc::kOk;
}

u32 CTQVSDKPTree::SetVideoOverlayTextColor(u8 color) {
  return SetItemColors(kTextItems, "fgColor", color, m_cache.rows.GetVideoOverlayTextColor);
}

u32 CTQVSDKPTree::SetVideoOverlayTextBackground(u8 color) {
  return SetItemColors(kTextItems, "bgColor", color, m_cache.rows.GetVideoOverlayTextBackground);
}

u32 CTQVSDKPTree::SetVideoOverlayAGCROIColor(u8 color) {
  return SetItemColors(kAGCROIItem, "fgColor", color, m_cache.rows.GetVideoOverlayAGCROIColor);
}

u32 CTQVSDKPTree::SetVideoOverlayFocusROIColor(u8 color) {
  return SetItemColors(kFocusROIItem, "fgColor", color, m_cache.rows.GetVideoOverlayFocusROIColor);
}

// --- Overlay defaults ----------------------------------------------------------------------------

void ForgetOverlayValues(PTreeCache& cache) {
#define TQV_VALUE(get, set, type, tree, gic) \
  if (IsOverlayValue(#get)) cache.rows.get.valid = false;
#define TQV_GETTER(get, type, tree, gic) \
  if (IsOverlayValue(#get)) cache.rows.get.valid = false;
#define TQV_TEXT(get, set, size, tree, gic) \
  if (IsOverlayValue(#get)) cache.rows.get.valid = false;
#include "families/all.def"
}

void CTQVSDKPTree::DropOverlayCache() { Forget(&ForgetOverlayValues); }

// With the overlay's defaults back, the AGC region is shown whenever it is enabled.
u32 CTQVSDKPTree::VideoOverlayUseDefaults() {
  u32 result = resWrite(m_tree, ".system.settings.overlay.goToDefault", true);
  if (result != rc::kOk) return result;
  DropOverlayCache();
  return SetVideoAGCROIShowWhenEnabled(true);
}

// Video output, AGC and overlay over GenICam: the operations with logic of their own. The plain
// rows are in families/video.def.
#include <array>

#include "common/video.h"
#include "genicam/rows.h"

namespace {

constexpr std::array<const char*, 2> kOffsetFeatures = {"VideoOffsetX", "VideoOffsetY"};
constexpr std::array<const char*, 4> kAGCROIFeatures = {"VideoAGCROIOffsetX", "VideoAGCROIOffsetY",
                                                        "VideoAGCROIWidth", "VideoAGCROIHeight"};

// A record the camera hands over as a whole: the command `read` loads its features, and what is
// written to them takes effect with the command `write`.
template <typename T, std::size_t N>
u32 ReadRecord(GicDevice device, const char* read, const std::array<const char*, N>& features,
               std::array<T, N>* out) {
  u32 result = gicExecute(device, read, true);
  std::array<T, N> values{};
  for (std::size_t i = 0; result == rc::kOk && i < N; ++i)
    result = gicGetValue(device, features[i], &values[i]);
  if (result == rc::kOk) *out = values;
  return result;
}

template <typename T, std::size_t N>
u32 WriteRecord(GicDevice device, const std::array<const char*, N>& features, const char* write,
                const std::array<T, N>& values) {
  u32 result = rc::kOk;
  for (std::size_t i = 0; result == rc::kOk && i < N; ++i)
    result = gicSetValue(device, features[i], values[i]);
  return result == rc::kOk ? gicExecute(device, write, true) : result;
}

}  // namespace

u32 CTQVSDKGenICam::GetVideoOffset(i16* x, i16* y) {
  TQV_GIC_OPERATION();
  std::array<i16, 2> offset{};
  u32 result = ReadRecord(m_device, "VideoOffsetRead", kOffsetFeatures, &offset);
  if (result != rc::kOk) return result;
  *x = offset[0];
  *y = offset[1];
  return rc::kOk;
}

u32 CTQVSDKGenICam::SetVideoOffset(i16 x, i16 y) {
  TQV_GIC_OPERATION();
  return WriteRecord<i16>(m_device, kOffsetFeatures, "VideoOffsetWrite", {x, y});
}

u32 CTQVSDKGenICam::GetVideoAGCROI(u16* xOffset, u16* yOffset, u16* width, u16* height) {
  TQV_GIC_OPERATION();
  std::array<u16, 4> roi{};
  u32 result = ReadRecord(m_device, "VideoAGCROIRead", kAGCROIFeatures, &roi);
  if (result != rc::kOk) return result;
  *xOffset = roi[0];
  *yOffset = roi[1];
  *width = roi[2];
  *height = roi[3];
  return rc::kOk;
}

u32 CTQVSDKGenICam::SetVideoAGCROI(u16 xOffset, u16 yOffset, u16 width, u16 height) {
  TQV_GIC_OPERATION();
  return WriteRecord<u16>(m_device, kAGCROIFeatures, "VideoAGCROIWrite",
                          {xOffset, yOffset, width, height});
}

u32 CTQVSDKGenICam::GetVideoAGCManual(u16* low, u16* high) {
  TQV_GIC_OPERATION();
  return video::GetAGCManual(*this, low, high);
}

u32 CTQVSDKGenICam::SetVideoAGCManual(u16 low, u16 high) {
  TQV_GIC_OPERATION();
  return video::SetAGCManual(*this, low, high);
}

u32 CTQVSDKGenICam::VideoOverlayUseDefaults() {
  static constexpr rows::Gic kRow = GIC("VideoOverlayUseDefaults");
  return RowCommand(kRow);
}

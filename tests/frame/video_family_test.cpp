// Video output, AGC and overlay through the C interface on both simulated cameras: every setting's
// path and feature, the records taken as a whole, the manual AGC pair, item colours and the redraw
// of the items shown, the overlay's defaults and what the cache forgets, the user-defined field,
// the formats and zoom factors the camera offers, and whether the video position can be set.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/fault_sweep.h"
#include "common/sim_fixtures.h"
#include "common/testutil.h"
#include "families/rows.h"

namespace {

using testutil::GicCamera;
using testutil::PTreeCamera;

enum class Backend { PropertyTree, GenICam };

// A simulated camera of either kind behind one handle.
class AnyCamera {
 public:
  explicit AnyCamera(Backend backend) {
    if (backend == Backend::PropertyTree) {
      m_tree.emplace();
    } else {
      m_gic.emplace();
    }
  }
  void* handle() const { return m_tree ? m_tree->handle() : m_gic->handle(); }
  bool isTree() const { return m_tree.has_value(); }
  sim::ptree::Camera& tree() const { return m_tree->camera(); }
  sim::genicam::Device& device() const { return m_gic->device(); }
  void ClearTraffic() const {
    if (m_tree) tree().ClearTraffic();
    if (m_gic) device().ClearLog();
  }

 private:
  std::optional<PTreeCamera> m_tree;
  std::optional<GicCamera> m_gic;
};

class VideoFamily : public ::testing::TestWithParam<Backend> {
 protected:
  testutil::SleepRecorder noWaiting;
  AnyCamera camera{GetParam()};
  void* h = camera.handle();
};

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::PropertyTree ? "PropertyTree" : "GenICam";
}

INSTANTIATE_TEST_SUITE_P(Both, VideoFamily,
                         ::testing::Values(Backend::PropertyTree, Backend::GenICam), BackendName);

// Sends the next reads to the camera (GenICam keeps no cache, and says so with 2).
void ForgetCache(void* handle) {
  const u32 result = tqvClearCache(handle);
  EXPECT_TRUE(result == TQV_OK || result == TQV_NOT_SUPPORTED) << result;
}

std::string Overlay(const std::string& item, const char* field) {
  return ".system.settings.overlay." + item + "." + field;
}

// --- Every setting: where it lives and what reads back ------------------------------------------

struct Setting {
  const char* name;
  const char* path;     // on the property tree
  const char* feature;  // on GenICam
  u32 (*get)(void* handle, double* value);
  u32 (*set)(void* handle, double value);
  // The value written on the property tree and on GenICam; a negative one writes the other truth
  // value.
  double written[2];
};

#define TQV_GET(type, op)                                    \
  +[](void* handle, double* out) -> u32 {                    \
    type value{};                                            \
    const u32 result = tqv##op(handle, &value);              \
    if (result == TQV_OK) *out = static_cast<double>(value); \
    return result;                                           \
  }
#define TQV_SET(type, op) \
  +[](void* handle, double value) -> u32 { return tqv##op(handle, static_cast<type>(value)); }
#define SETTING(type, name, path, feature, tree, gic)                                       \
  {                                                                                         \
#name, path, feature, TQV_GET(type, Get##name), TQV_SET(type, Set##name), { tree, gic } \
  }
#define FLAG(name, path, feature) SETTING(bool, name, path, feature, -1, -1)
#define SHOW(name, item)                                                    \
  FLAG(VideoOverlayShow##name, ".system.settings.overlay." item ".display", \
       "VideoOverlayShow" #name)

// clang-format off
const Setting kSettings[] = {
    SETTING(u8, VideoPreset, ".system.settings.video.preset", "VideoPreset", 2, 2),
    SETTING(u8, VideoFormat, ".system.settings.video.format", "VideoFormat", 13, 1),
    SETTING(u8, VideoUpdateRate, ".system.settings.video.updateRate", "VideoUpdateRate", 1, 1),
    SETTING(u8, VideoPosition, ".system.settings.video.position", "VideoPosition", 2, 2),
    SETTING(u8, VideoTemporalFilter, ".system.settings.video.temporalFilter", "VideoTemporalFilter", 3, 3),
    SETTING(u16, VideoTemporalFilterThreshold, ".system.settings.video.temporalFilterThreshold", "VideoTemporalFilterTreshold", 300, 300),
    SETTING(u8, VideoZoomFactor, ".system.settings.video.zoomFactor", "VideoZoomFactor", 5, 5),
    FLAG(VideoZoomBilinear, ".system.settings.video.zoomBilinear", "VideoZoomBilinear"),
    SETTING(i8, VideoBrightness, ".system.settings.video.brightness", "VideoBrightness", -20, -20),
    SETTING(i8, VideoContrast, ".system.settings.video.contrast", "VideoContrast", 25, 25),
    SETTING(u8, VideoAGCMethod, ".system.settings.video.agc.method", "VideoAGCMethod", 3, 3),
    FLAG(VideoAGCDampeningEnabled, ".system.settings.video.agc.dampeningEnabled", "VideoAGCFilterDampeningEnabled"),
    SETTING(float, VideoAGCDampening, ".system.settings.video.agc.dampening", "VideoAGCFilterDampening", 0.75, 0.75),
    FLAG(VideoAGCFilterRateEnabled, ".system.settings.video.agc.filterRateEnabled", "VideoAGCFilterRateEnabled"),
    SETTING(double, VideoAGCFilterRate, ".system.settings.video.agc.filterRate", "VideoAGCFilterRate", 12.5, 12.5),
    SETTING(u32, VideoAGCPlateauP, ".system.settings.video.agc.plateau.p", "VideoAGCPlateauP", 400, 400),
    SETTING(u16, VideoAGCManualLow, ".system.settings.video.agc.manual.low", "VideoAGCManualLow", 2000, 2000),
    SETTING(u16, VideoAGCManualHigh, ".system.settings.video.agc.manual.high", "VideoAGCManualHigh", 12000, 12000),
    SETTING(u16, VideoAGCDDESharpness, ".system.settings.video.agc.dde.sharpness", "VideoAGCDDESharpness", 32, 32),
    SETTING(u16, VideoAGCDDEThreshold, ".system.settings.video.agc.dde.threshold", "VideoAGCDDEThreshold", 128, 128),
    FLAG(VideoAGCROIEnabled, ".system.settings.video.agc.roi.enabled", "VideoAGCROIEnabled"),
    FLAG(VideoAGCROIShowWhenEnabled, ".system.settings.video.agc.roi.showWhenEnabled", "VideoAGCROIShowWhenEnabled"),
    FLAG(VideoOverlayEnabled, ".system.settings.video.showOverlay", "VideoOverlayEnabled"),
    SHOW(Date, "date"),
    SHOW(Time, "time"),
    SHOW(Logo, "logo"),
    SHOW(FOV, "fov"),
    SHOW(Zoom, "zoom"),
    SHOW(Focus, "focus"),
    SHOW(LensTemp, "lensTemperature"),
    SHOW(AirGapTemp, "airGapTemperature"),
    SHOW(InternalTemp, "internalTemperature"),
    SHOW(ChassisTemp, "chassisTemperature"),
    SHOW(FrontPanelTemp, "frontPanelTemperature"),
    SHOW(AGCROI, "agcROI"),
    SHOW(FocusROI, "autoFocusROI"),
    SHOW(Flag, "flag"),
    SHOW(Palette, "palette"),
    SHOW(IRIG, "irig"),
    SHOW(FrameRate, "frameRate"),
    SHOW(Preset, "preset"),
    SHOW(HourMeter, "operatingTime"),
    SHOW(Message, "message"),
    SHOW(CameraInfo, "cameraInfo"),
    SHOW(StateName, "stateFilename"),
    SHOW(UserDefinedField, "userDefinedField"),
    SETTING(u8, VideoOverlayTextColor, ".system.settings.overlay.date.fgColor", "VideoOverlayTextColor", 6, 6),
    SETTING(u8, VideoOverlayTextBackground, ".system.settings.overlay.date.bgColor", "VideoOverlayTextBackground", 1, 1),
    SETTING(u8, VideoOverlayAGCROIColor, ".system.settings.overlay.agcROI.fgColor", "VideoOverlayAGCROIColor", 7, 7),
    SETTING(u8, VideoOverlayFocusROIColor, ".system.settings.overlay.autoFocusROI.fgColor", "VideoOverlayFocusROIColor", 2, 2),
};
// clang-format on

bool Near(double a, double b) { return std::fabs(a - b) <= 1e-6 * std::max(1.0, std::fabs(a)); }

// Each setting is written where the camera keeps it and reads back; on the property tree the
// getter answers from the cache after the write, and from the path once the cache is cleared.
TEST_P(VideoFamily, EverySettingIsWrittenWhereTheCameraKeepsItAndReadsBack) {
  for (const Setting& s : kSettings) {
    SCOPED_TRACE(s.name);
    AnyCamera fresh(GetParam());
    void* handle = fresh.handle();
    double before = 0, after = -99;
    ASSERT_EQ(s.get(handle, &before), TQV_OK);
    double wanted = s.written[fresh.isTree() ? 0 : 1];
    if (wanted < 0) wanted = before != 0 ? 0 : 1;
    ASSERT_FALSE(Near(wanted, before)) << "the profile already holds " << wanted;
    fresh.ClearTraffic();
    ASSERT_EQ(s.set(handle, wanted), TQV_OK);
    ASSERT_EQ(s.get(handle, &after), TQV_OK);
    EXPECT_TRUE(Near(after, wanted)) << after << " read after writing " << wanted;
    if (fresh.isTree()) {
      sim::ptree::Camera& tree = fresh.tree();
      EXPECT_EQ(tree.Count("set", s.path) + tree.Count("setString", s.path), 1u);
      EXPECT_EQ(tree.CountPath(s.path), 1u) << "the getter did not answer from the cache";
      ASSERT_EQ(tqvClearCache(handle), TQV_OK);
      after = -99;
      ASSERT_EQ(s.get(handle, &after), TQV_OK);
      EXPECT_TRUE(Near(after, wanted));
      EXPECT_EQ(tree.CountPath(s.path), 2u);
    } else {
      EXPECT_EQ(fresh.device().Count(s.feature, "set"), 1u);
      EXPECT_EQ(fresh.device().Count(s.feature, "get"), 1u);
    }
  }
}

// --- Records taken as a whole -------------------------------------------------------------------

TEST_P(VideoFamily, OffsetAndRegionAreTakenAndReadBackAsAWhole) {
  testutil::LogCapture log;  // the refused region's command failure
  i16 x = 0, y = 0;
  ASSERT_EQ(tqvSetVideoOffset(h, -12, 34), TQV_OK);
  ForgetCache(h);
  ASSERT_EQ(tqvGetVideoOffset(h, &x, &y), TQV_OK);
  EXPECT_EQ(x, -12);
  EXPECT_EQ(y, 34);

  u16 roi[4] = {};
  ASSERT_EQ(tqvSetVideoAGCROI(h, 32, 48, 128, 96), TQV_OK);
  ForgetCache(h);
  ASSERT_EQ(tqvGetVideoAGCROI(h, &roi[0], &roi[1], &roi[2], &roi[3]), TQV_OK);
  EXPECT_EQ(std::vector<u16>(roi, roi + 4), (std::vector<u16>{32, 48, 128, 96}));

  // A region off the sensor is refused, and the camera keeps the last one.
  EXPECT_EQ(tqvSetVideoAGCROI(h, 600, 0, 100, 100), TQV_INVALID_ARGUMENT);
  ASSERT_EQ(tqvGetVideoAGCROI(h, &roi[0], &roi[1], &roi[2], &roi[3]), TQV_OK);
  EXPECT_EQ(std::vector<u16>(roi, roi + 4), (std::vector<u16>{32, 48, 128, 96}));
}

// The values are written before the camera is told to take them, and the camera is told to load
// them before they are read.
TEST_P(VideoFamily, RecordsAreCommittedAfterTheirValuesAndLoadedBeforeThem) {
  i16 x = 0, y = 0;
  camera.ClearTraffic();
  ASSERT_EQ(tqvSetVideoOffset(h, 5, -6), TQV_OK);
  ForgetCache(h);
  ASSERT_EQ(tqvGetVideoOffset(h, &x, &y), TQV_OK);
  std::vector<std::string> seen;
  if (camera.isTree()) {
    for (const sim::ptree::Access& a : camera.tree().Traffic())
      seen.push_back(a.kind + " " + a.path.substr(a.path.rfind('.') + 1) + " " + a.value);
    EXPECT_EQ(seen, (std::vector<std::string>{"set x 5", "set y -6", "set commit true",
                                              "set read true", "get x 5", "get y -6"}));
  } else {
    for (const sim::genicam::Access& a : camera.device().Log()) {
      if (a.access != "lookup" && a.access != "isDone")
        seen.push_back(a.access + " " + a.feature + " " + a.value);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "set VideoOffsetX 5", "set VideoOffsetY -6", "execute VideoOffsetWrite ",
                        "execute VideoOffsetRead ", "get VideoOffsetX 5", "get VideoOffsetY -6"}));
  }
}

TEST_P(VideoFamily, RecordsOnCamerasThatLackOrLockTheirParts) {
  testutil::LogCapture log;
  i16 x = 7, y = 7;
  {
    AnyCamera lacking(GetParam());
    if (lacking.isTree()) {
      lacking.tree().Remove(".system.settings.video.offset.read");
    } else {
      lacking.device().Remove("VideoOffsetRead");
    }
    EXPECT_EQ(tqvGetVideoOffset(lacking.handle(), &x, &y), lacking.isTree() ? 160u : 0xFFFFFFFFu);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 7);
  }
  AnyCamera locked(GetParam());
  if (locked.isTree()) {
    locked.tree().SetReadOnly(".system.settings.video.agc.roi.height");
  } else {
    locked.device().SetWritable("VideoAGCROIHeight", false);
  }
  locked.ClearTraffic();
  EXPECT_EQ(tqvSetVideoAGCROI(locked.handle(), 0, 0, 64, 64), locked.isTree() ? 162u : 170u);
  // Nothing is committed after the refusal.
  if (locked.isTree()) {
    EXPECT_EQ(locked.tree().Count("set", ".system.settings.video.agc.roi.commit"), 0u);
  } else {
    EXPECT_EQ(locked.device().Count("VideoAGCROIWrite", "execute"), 0u);
  }
}

// --- Manual AGC limits
// ----------------------------------------------------------------------------

TEST_P(VideoFamily, ManualLimitsAreTheLowThenTheHighOperation) {
  u16 low = 0, high = 0;
  ASSERT_EQ(tqvSetVideoAGCManual(h, 111, 222), TQV_OK);
  ASSERT_EQ(tqvGetVideoAGCManualLow(h, &low), TQV_OK);
  ASSERT_EQ(tqvGetVideoAGCManualHigh(h, &high), TQV_OK);
  EXPECT_EQ(low, 111);
  EXPECT_EQ(high, 222);
  ASSERT_EQ(tqvSetVideoAGCManualHigh(h, 333), TQV_OK);
  ASSERT_EQ(tqvGetVideoAGCManual(h, &low, &high), TQV_OK);
  EXPECT_EQ(low, 111);
  EXPECT_EQ(high, 333);
}

// The first failure ends the call: a refused low limit leaves the high one alone, and a pair that
// cannot be read whole writes neither output.
TEST_P(VideoFamily, TheFirstFailingLimitEndsThePair) {
  const bool tree = camera.isTree();
  if (tree) {
    camera.tree().SetReadOnly(".system.settings.video.agc.manual.low");
    camera.tree().InjectFault(".system.settings.video.agc.manual.high", 165, 1, "get");
  } else {
    camera.device().SetWritable("VideoAGCManualLow", false);
    camera.device().InjectFault(
        {"VideoAGCManualHigh", sim::genicam::Fault::RuntimeError, 1, 0, "get"});
  }
  camera.ClearTraffic();
  EXPECT_EQ(tqvSetVideoAGCManual(h, 10, 20), tree ? 162u : 170u);
  if (tree) {
    EXPECT_EQ(camera.tree().CountPath(".system.settings.video.agc.manual.high"), 0u);
  } else {
    EXPECT_EQ(camera.device().Count("VideoAGCManualHigh"), 0u);
  }
  u16 low = 9, high = 9;
  EXPECT_EQ(tqvGetVideoAGCManual(h, &low, &high), 165u);
  EXPECT_EQ(low, 9);
  EXPECT_EQ(high, 9);
}

// --- Item colours
// ---------------------------------------------------------------------------------

// The items drawn as text, in the order their colours are set.
const char* const kTextItems[] = {"date",
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

struct ColourSetter {
  const char* name;
  u32 (*set)(void* handle, u8 colour);
  u32 (*get)(void* handle, u8* colour);
  std::vector<std::string> items;
  const char* field;
};

const ColourSetter kColourSetters[] = {
    {"TextColor",
     &tqvSetVideoOverlayTextColor,
     &tqvGetVideoOverlayTextColor,
     {std::begin(kTextItems), std::end(kTextItems)},
     "fgColor"},
    {"TextBackground",
     &tqvSetVideoOverlayTextBackground,
     &tqvGetVideoOverlayTextBackground,
     {std::begin(kTextItems), std::end(kTextItems)},
     "bgColor"},
    {"AGCROIColor",
     &tqvSetVideoOverlayAGCROIColor,
     &tqvGetVideoOverlayAGCROIColor,
     {"agcROI"},
     "fgColor"},
    {"FocusROIColor",
     &tqvSetVideoOverlayFocusROIColor,
     &tqvGetVideoOverlayFocusROIColor,
     {"autoFocusROI"},
     "fgColor"},
};

// On the property tree each item is coloured in turn, and an item shown is hidden and shown again
// so that the overlay draws it anew; items not shown are left alone.
TEST(VideoColours, EachItemIsColouredAndTheShownOnesAreRedrawn) {
  for (const ColourSetter& setter : kColourSetters) {
    SCOPED_TRACE(setter.name);
    PTreeCamera camera;
    sim::ptree::Camera& tree = camera.camera();
    tree.Set(Overlay("agcROI", "display"), sim::ptree::Value::Bool(true));
    std::vector<std::string> reads, writes;
    for (const std::string& item : setter.items) {
      const bool shown = tree.Integer(Overlay(item, "display")) != 0;
      reads.push_back(Overlay(item, "display"));
      writes.push_back(Overlay(item, setter.field) + "=9");
      if (shown) {
        writes.push_back(Overlay(item, "display") + "=false");
        writes.push_back(Overlay(item, "display") + "=true");
      }
    }
    tree.ClearTraffic();
    ASSERT_EQ(setter.set(camera.handle(), 9), TQV_OK);
    std::vector<std::string> read;
    for (const sim::ptree::Access& access : tree.Traffic()) {
      if (access.kind == "get") read.push_back(access.path);
    }
    EXPECT_EQ(read, reads);
    EXPECT_EQ(tree.Writes(), writes);
    // The getter answers the new colour without asking.
    tree.ClearTraffic();
    u8 colour = 0;
    ASSERT_EQ(setter.get(camera.handle(), &colour), TQV_OK);
    EXPECT_EQ(colour, 9);
    EXPECT_TRUE(tree.Traffic().empty());
  }
}

// The date item is shown and the air-gap temperature hidden on the simulated camera.
TEST(VideoColours, TheShownDateIsToggledAndTheHiddenAirGapTemperatureIsNot) {
  PTreeCamera camera;
  sim::ptree::Camera& tree = camera.camera();
  ASSERT_TRUE(tree.Integer(Overlay("date", "display")));
  ASSERT_FALSE(tree.Integer(Overlay("airGapTemperature", "display")));
  ASSERT_EQ(tqvSetVideoOverlayTextColor(camera.handle(), 4), TQV_OK);
  const std::string date = Overlay("date", "display");
  EXPECT_EQ(tree.Count("set", date), 2u);
  EXPECT_EQ(tree.Count("set", Overlay("airGapTemperature", "display")), 0u);
  EXPECT_TRUE(tree.Integer(date));
  EXPECT_EQ(tree.Integer(Overlay("date", "fgColor")), 4);
  EXPECT_EQ(tree.Integer(Overlay("airGapTemperature", "fgColor")), 4);
}

TEST(VideoColours, TheFirstFailingItemEndsTheCallAndEarlierItemsStayChanged) {
  PTreeCamera camera;
  sim::ptree::Camera& tree = camera.camera();
  tree.InjectFault(Overlay("chassisTemperature", "fgColor"), 165, 1, "set");
  EXPECT_EQ(tqvSetVideoOverlayTextColor(camera.handle(), 8), 165u);
  EXPECT_EQ(tree.Integer(Overlay("date", "fgColor")), 8);
  EXPECT_EQ(tree.Integer(Overlay("airGapTemperature", "fgColor")), 8);
  EXPECT_EQ(tree.Integer(Overlay("chassisTemperature", "fgColor")), 3);
  EXPECT_EQ(tree.Integer(Overlay("stateFilename", "fgColor")), 3);
  EXPECT_EQ(tree.CountPath(Overlay("flag", "display")), 0u);
  // The date's colour was written, and the getter says so.
  u8 colour = 0;
  ASSERT_EQ(tqvGetVideoOverlayTextColor(camera.handle(), &colour), TQV_OK);
  EXPECT_EQ(colour, 8);
}

// An item hidden for its redraw that cannot be shown again stays hidden, and the cache does not
// claim otherwise.
TEST(VideoColours, AnItemLeftHiddenIsReadFromTheCameraAgain) {
  PTreeCamera camera;
  bool shown = false;
  ASSERT_EQ(tqvGetVideoOverlayShowDate(camera.handle(), &shown), TQV_OK);
  ASSERT_TRUE(shown);
  camera.camera().ClearTraffic();
  camera.camera().FailCall(3, 165);  // display read, colour, hidden, shown again
  EXPECT_EQ(tqvSetVideoOverlayTextColor(camera.handle(), 2), 165u);
  ASSERT_EQ(tqvGetVideoOverlayShowDate(camera.handle(), &shown), TQV_OK);
  EXPECT_FALSE(shown);
}

// GenICam colours are one feature each; the camera redraws by itself.
TEST(VideoColours, GenICamWritesOneFeatureAndLeavesTheItemsAlone) {
  for (const ColourSetter& setter : kColourSetters) {
    SCOPED_TRACE(setter.name);
    GicCamera camera;
    ASSERT_EQ(setter.set(camera.handle(), 11), TQV_OK);
    std::vector<std::string> written;
    for (const sim::genicam::Access& access : camera.device().Log()) {
      if (access.access == "set") written.push_back(access.feature + "=" + access.value);
    }
    EXPECT_EQ(written, std::vector<std::string>{"VideoOverlay" + std::string(setter.name) + "=11"});
  }
}

// --- Overlay defaults
// -----------------------------------------------------------------------------

TEST_P(VideoFamily, DefaultsPutTheProfilesOverlayBack) {
  const bool tree = camera.isTree();
  ASSERT_EQ(tqvSetVideoOverlayShowDate(h, false), TQV_OK);
  ASSERT_EQ(tqvSetVideoOverlayShowCameraInfo(h, true), TQV_OK);
  ASSERT_EQ(tqvSetVideoOverlayTextColor(h, 9), TQV_OK);
  ASSERT_EQ(tqvSetVideoOverlayFocusROIColor(h, 9), TQV_OK);
  ASSERT_EQ(tqvSetVideoOverlayUserDefinedFieldText(h, "changed"), TQV_OK);
  ASSERT_EQ(tqvSetVideoAGCROIShowWhenEnabled(h, false), TQV_OK);
  ASSERT_EQ(tqvSetVideoFormat(h, tree ? 13 : 1), TQV_OK);
  camera.ClearTraffic();

  ASSERT_EQ(tqvVideoOverlayUseDefaults(h), TQV_OK);
  bool date = false, info = true, showRegion = false;
  u8 text = 0, focus = 0, format = 0;
  char user[80] = {};
  ASSERT_EQ(tqvGetVideoOverlayShowDate(h, &date), TQV_OK);
  ASSERT_EQ(tqvGetVideoOverlayShowCameraInfo(h, &info), TQV_OK);
  ASSERT_EQ(tqvGetVideoOverlayTextColor(h, &text), TQV_OK);
  ASSERT_EQ(tqvGetVideoOverlayFocusROIColor(h, &focus), TQV_OK);
  ASSERT_EQ(tqvGetVideoOverlayUserDefinedFieldText(h, user, sizeof user), TQV_OK);
  ASSERT_EQ(tqvGetVideoAGCROIShowWhenEnabled(h, &showRegion), TQV_OK);
  ASSERT_EQ(tqvGetVideoFormat(h, &format), TQV_OK);
  EXPECT_TRUE(date);
  EXPECT_FALSE(info);
  EXPECT_EQ(text, 3);
  EXPECT_EQ(focus, 5);
  EXPECT_STREQ(user, "SIM camera");
  EXPECT_EQ(format, tree ? 13 : 1) << "not an overlay setting";
  // The property tree shows the AGC region whenever it is enabled; GenICam leaves it to the
  // camera.
  EXPECT_EQ(showRegion, tree);
  if (tree) {
    // The overlay's values came from the camera again, the format from the cache.
    EXPECT_EQ(camera.tree().Count("get", Overlay("date", "display")), 1u);
    EXPECT_EQ(camera.tree().CountPath(".system.settings.video.format"), 0u);
    EXPECT_EQ(camera.tree().Writes(),
              (std::vector<std::string>{".system.settings.overlay.goToDefault=true",
                                        ".system.settings.video.agc.roi.showWhenEnabled=true"}));
  } else {
    EXPECT_EQ(camera.device().ExecuteCount("VideoOverlayUseDefaults"), 1);
  }
}

TEST(VideoDefaults, RefusedDefaultsKeepTheCache) {
  PTreeCamera camera;
  bool date = true;
  ASSERT_EQ(tqvSetVideoOverlayShowDate(camera.handle(), false), TQV_OK);
  camera.camera().InjectFault(".system.settings.overlay.goToDefault", 165);
  EXPECT_EQ(tqvVideoOverlayUseDefaults(camera.handle()), 165u);
  camera.camera().ClearTraffic();
  ASSERT_EQ(tqvGetVideoOverlayShowDate(camera.handle(), &date), TQV_OK);
  EXPECT_FALSE(date);
  EXPECT_TRUE(camera.camera().Traffic().empty());
}

// After the overlay's defaults the overlay's cached values, and only they, come from the camera
// again: every cached row of every family table is read before and after.
TEST(VideoDefaults, OnlyTheOverlaysCachedValuesAreForgotten) {
  struct Entry {
    const char* path;
    u32 (*get)(void* handle);
  };
  std::vector<Entry> cached;
  auto add = [&cached](const rows::Tree& tree, u32 (*get)(void*)) {
    if (tree.cached) cached.push_back({tree.path, get});
  };
#define TQV_VALUE(get, set, type, tree, gic) \
  add(                                       \
      tree, +[](void* handle) {              \
        type value{};                        \
        return tqv##get(handle, &value);     \
      });
#define TQV_GETTER(get, type, tree, gic) \
  add(                                   \
      tree, +[](void* handle) {          \
        type value{};                    \
        return tqv##get(handle, &value); \
      });
#define TQV_TEXT(get, set, size, tree, gic)         \
  add(                                              \
      tree, +[](void* handle) {                     \
        char text[size + 1];                        \
        return tqv##get(handle, text, sizeof text); \
      });
#include "families/all.def"
  PTreeCamera camera;
  for (const Entry& entry : cached)
    ASSERT_EQ(entry.get(camera.handle()), TQV_OK) << entry.path;
  ASSERT_EQ(tqvVideoOverlayUseDefaults(camera.handle()), TQV_OK);
  camera.camera().ClearTraffic();
  for (const Entry& entry : cached) {
    SCOPED_TRACE(entry.path);
    const std::string path = entry.path;
    const bool overlay = path.starts_with(".system.settings.overlay.") ||
                         path == ".system.settings.video.showOverlay";
    ASSERT_EQ(entry.get(camera.handle()), TQV_OK);
    EXPECT_EQ(camera.camera().CountPath(path), overlay ? 1u : 0u);
  }
}

TEST_P(VideoFamily, ClearHidesEveryItem) {
  ASSERT_EQ(tqvVideoOverlayClear(h), TQV_OK);
  ASSERT_EQ(tqvVideoOverlayClearMessage(h), TQV_OK);
  for (const Setting& s : kSettings) {
    if (std::strncmp(s.name, "VideoOverlayShow", 16) != 0) continue;
    SCOPED_TRACE(s.name);
    if (camera.isTree()) {
      EXPECT_EQ(camera.tree().Integer(s.path), 0);
    } else {
      EXPECT_FALSE(camera.device().GetBool(s.feature));
    }
  }
}

// --- User-defined field
// ---------------------------------------------------------------------------

TEST_P(VideoFamily, UserDefinedFieldTakes64Characters) {
  const std::string longest(64, 'u');
  const std::string tooLong(65, 'v');
  char buffer[100] = {};
  ASSERT_EQ(tqvSetVideoOverlayUserDefinedFieldText(h, longest.c_str()), TQV_OK);
  ASSERT_EQ(tqvGetVideoOverlayUserDefinedFieldText(h, buffer, sizeof buffer), TQV_OK);
  EXPECT_EQ(buffer, longest);
  camera.ClearTraffic();
  // The property tree refuses a longer text before sending it; GenICam leaves it to the camera.
  const u32 result = tqvSetVideoOverlayUserDefinedFieldText(h, tooLong.c_str());
  if (camera.isTree()) {
    EXPECT_EQ(result, 169u);
    EXPECT_TRUE(camera.tree().Traffic().empty());
  } else {
    EXPECT_EQ(result, TQV_OK);
  }
  bool available = false;
  ASSERT_EQ(tqvGetVideoOverlayUserDefinedFieldAvailable(h, &available), TQV_OK);
  EXPECT_TRUE(available);
}

// The property tree copies a text when the buffer holds two more bytes than its length, GenICam
// when it holds one more.
TEST_P(VideoFamily, UserDefinedFieldTextCopiesByTheBackendsBufferRule) {
  ASSERT_EQ(tqvSetVideoOverlayUserDefinedFieldText(h, "abcd"), TQV_OK);
  const int fits = camera.isTree() ? 6 : 5;
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(tqvGetVideoOverlayUserDefinedFieldText(h, buffer, fits - 1), 0xFFFFFFFFu);
  EXPECT_EQ(buffer[0], '#');
  ASSERT_EQ(tqvGetVideoOverlayUserDefinedFieldText(h, buffer, fits), TQV_OK);
  EXPECT_STREQ(buffer, "abcd");
}

// --- Optional features on GenICam
// -----------------------------------------------------------------

TEST(VideoGenICam, WithoutAVideoPresetThePresetIsZero) {
  GicCamera camera;
  ASSERT_TRUE(camera.device().Remove("VideoPreset"));
  u8 preset = 9;
  EXPECT_EQ(tqvGetVideoPreset(camera.handle(), &preset), TQV_OK);
  EXPECT_EQ(preset, 0);
  EXPECT_EQ(tqvSetVideoPreset(camera.handle(), 0), TQV_OK);
  EXPECT_EQ(tqvSetVideoPreset(camera.handle(), 1), TQV_NOT_SUPPORTED);
}

TEST(VideoGenICam, WithoutCorrectionForTheVideoTheCameraWideCorrectionIsReported) {
  GicCamera camera;
  sim::genicam::Device& device = camera.device();
  device.Remove("CorrectionVideoEnabled");
  sim::genicam::FeatureSpec correction;
  correction.name = "CorrectionEnabled";
  correction.kind = sim::genicam::Kind::Boolean;
  device.Add(correction);
  for (const bool on : {true, false}) {
    device.SetBool("CorrectionEnabled", on);
    bool value = !on;
    const u32 result = tqvGetVideoOutputNUCEnabled(camera.handle(), &value);
    ASSERT_EQ(result, TQV_OK);
    EXPECT_EQ(value, on);
  }
}

// --- Formats and zoom factors
// ---------------------------------------------------------------------

std::vector<u8> Listed(void* handle, u32 (*list)(void*, zel::TArray<u8>&)) {
  zel::TArray<u8> codes;
  EXPECT_EQ(list(handle, codes), TQV_OK);
  return std::vector<u8>(codes.GetData(), codes.GetData() + codes.GetCount());
}

// The camera starts at a format and a zoom factor the look-ups list for it, and takes each one
// they list (the property tree only those with a text, as it keeps texts).
TEST_P(VideoFamily, TheCameraTakesTheFormatsAndZoomFactorsItIsSaidToOffer) {
  struct Kind {
    const char* name;
    u32 (*list)(void*, zel::TArray<u8>&);
    u32 (*get)(void*, u8*);
    u32 (*set)(void*, u8);
    const char* (*text)(u32);
  };
  const Kind kinds[] = {
      {"format", &tqvGetVideoFormats, &tqvGetVideoFormat, &tqvSetVideoFormat, &tqvVideoFormatText},
      {"zoom", &tqvGetVideoZoomFactors, &tqvGetVideoZoomFactor, &tqvSetVideoZoomFactor,
       &tqvVideoZoomFactorText},
  };
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(kind.name);
    const std::vector<u8> offered = Listed(h, kind.list);
    ASSERT_FALSE(offered.empty());
    u8 now = 255;
    ASSERT_EQ(kind.get(h, &now), TQV_OK);
    EXPECT_NE(std::ranges::find(offered, now), offered.end()) << int(now);
    for (const u8 code : offered) {
      SCOPED_TRACE(int(code));
      if (camera.isTree() && !kind.text(code)) {
        EXPECT_EQ(kind.set(h, code), 0xFFFFFFFFu);
        continue;
      }
      ASSERT_EQ(kind.set(h, code), TQV_OK);
      ForgetCache(h);
      ASSERT_EQ(kind.get(h, &now), TQV_OK);
      EXPECT_EQ(now, code);
    }
  }
}

TEST(VideoGenICam, TheDeviceRefusesAFormatItDoesNotOffer) {
  GicCamera camera;
  const std::vector<u8> offered = Listed(camera.handle(), &tqvGetVideoFormats);
  u8 other = 0;
  while (std::ranges::find(offered, other) != offered.end())
    ++other;
  EXPECT_EQ(tqvSetVideoFormat(camera.handle(), other), TQV_INVALID_ARGUMENT);
}

// --- Whether the position and the text colours can be set
// -----------------------------------------

struct Board {
  const char* text;  // the board type's text, or (GenICam) the entry name
  u16 major, minor;
  bool answer;
};

// clang-format off
const Board kBoards[] = {
    {"WZN", 3, 4, false},  // refreshes the new way
    {"WZN", 4, 0, false},
    {"WZN", 3, 3, true},
    {"WZN", 2, 9, true},
    {"Birch", 3, 3, false},
    {"Birch", 2, 0, false},
    {"TQV1", 3, 4, true},
    {"TQV2", 5, 0, true},
    {"Alder", 4, 1, true},
    {"Cedar", 3, 4, true},
};
// clang-format on

using Answer = u32 (*)(void*, bool*);
const Answer kAnswers[] = {&tqvGetVideoPositionWritable, &tqvGetVideoOverlayTextColorsAvailable};

TEST(VideoLayout, PositionAndTextColoursAreTheHostsExceptOnNewWZNFirmwareAndBirchBoards) {
  for (const Board& board : kBoards) {
    SCOPED_TRACE(std::string(board.text) + " " + std::to_string(board.major) + "." +
                 std::to_string(board.minor));
    PTreeCamera tree;
    sim::ptree::Camera& sim = tree.camera();
    sim.Set(".version.product.tqvBoardType", sim::ptree::Value::Str(board.text));
    sim.Set(".version.sw.AppCore.major", sim::ptree::Value::U16(board.major));
    sim.Set(".version.sw.AppCore.minor", sim::ptree::Value::U16(board.minor));
    sim.Set(".version.sw.AppCore.intermediate", sim::ptree::Value::U16(board.minor));
    GicCamera gic;
    gic.device().SetString("BoardType", board.text);
    gic.device().SetString(
        "ComponentInfo", std::to_string(board.major) + "." + std::to_string(board.minor) + ".0.1");
    for (void* handle : {tree.handle(), gic.handle()}) {
      ForgetCache(handle);
      for (const Answer answer : kAnswers) {
        bool value = !board.answer;
        ASSERT_EQ(answer(handle, &value), TQV_OK);
        EXPECT_EQ(value, board.answer);
      }
    }
  }
  // A frame grabber (GenICam only) lays its video out like any other board.
  GicCamera grabber("sim:grabber");
  bool value = false;
  ASSERT_EQ(tqvGetVideoPositionWritable(grabber.handle(), &value), TQV_OK);
  EXPECT_TRUE(value);
}

TEST(VideoLayout, TheFirstFailingReadIsTheAnswer) {
  for (const Answer answer : kAnswers) {
    for (const char* failing : {".version.product.tqvBoardType", ".version.sw.AppCore.major"}) {
      SCOPED_TRACE(failing);
      PTreeCamera camera;
      camera.camera().InjectFault(failing, 165, 1, "getString");
      camera.camera().InjectFault(failing, 165, 1, "get");
      bool value = false;
      EXPECT_EQ(answer(camera.handle(), &value), 165u);
      EXPECT_FALSE(value);
    }
    // An unknown handle is judged before a missing output.
    bool value = false;
    EXPECT_EQ(answer(reinterpret_cast<void*>(0x1234), &value), 0xFFFFFFFFu);
    EXPECT_EQ(answer(reinterpret_cast<void*>(0x1234), nullptr), 0xFFFFFFFFu);
    PTreeCamera camera;
    EXPECT_EQ(answer(camera.handle(), nullptr), TQV_INVALID_ARGUMENT);
  }
}

// --- Several steps, caching, threads
// ---------------------------------------------------------------

struct Steps {
  const char* name;
  std::function<u32(void* handle, bool faulted)> run;
  bool genicamToo;
};

// A reading of N values, which a faulted run must leave as they were.
template <typename T, std::size_t N>
std::function<u32(void*, bool)> Untouched(u32 (*read)(void* handle, std::array<T, N>& values)) {
  return [read](void* handle, bool faulted) {
    std::array<T, N> values;
    values.fill(77);
    const u32 result = read(handle, values);
    if (faulted) {
      for (const T value : values)
        EXPECT_EQ(value, 77);
    }
    return result;
  };
}

// The operations of several steps (several accesses, or a command waited for); GenICam writes
// each colour as one feature.
std::vector<Steps> SeveralSteps() {
  using Pair = std::array<i16, 2>;
  using Four = std::array<u16, 4>;
  using Limits = std::array<u16, 2>;
  return {
      {"GetVideoOffset",
       Untouched<i16, 2>(+[](void* h, Pair& v) { return tqvGetVideoOffset(h, &v[0], &v[1]); }),
       true},
      {"SetVideoOffset", [](void* h, bool) { return tqvSetVideoOffset(h, 3, 4); }, true},
      {"GetVideoAGCROI", Untouched<u16, 4>(+[](void* h, Four& v) {
         return tqvGetVideoAGCROI(h, &v[0], &v[1], &v[2], &v[3]);
       }),
       true},
      {"SetVideoAGCROI", [](void* h, bool) { return tqvSetVideoAGCROI(h, 16, 16, 64, 64); }, true},
      {"GetVideoAGCManual",
       Untouched<u16, 2>(+[](void* h, Limits& v) { return tqvGetVideoAGCManual(h, &v[0], &v[1]); }),
       true},
      {"SetVideoAGCManual", [](void* h, bool) { return tqvSetVideoAGCManual(h, 5, 6); }, true},
      {"SetVideoOverlayTextColor", [](void* h, bool) { return tqvSetVideoOverlayTextColor(h, 1); },
       false},
      {"SetVideoOverlayTextBackground",
       [](void* h, bool) { return tqvSetVideoOverlayTextBackground(h, 1); }, false},
      {"SetVideoOverlayAGCROIColor",
       [](void* h, bool) { return tqvSetVideoOverlayAGCROIColor(h, 1); }, false},
      {"SetVideoOverlayFocusROIColor",
       [](void* h, bool) { return tqvSetVideoOverlayFocusROIColor(h, 1); }, false},
      {"VideoOverlayUseDefaults", [](void* h, bool) { return tqvVideoOverlayUseDefaults(h); },
       true},
      {"VideoOverlayClear", [](void* h, bool) { return tqvVideoOverlayClear(h); }, true},
      {"VideoOverlayClearMessage", [](void* h, bool) { return tqvVideoOverlayClearMessage(h); },
       true},
      {"LoadHardDefaults", [](void* h, bool) { return tqvLoadHardDefaults(h); }, true},
  };
}

TEST(VideoSteps, EveryStepFailsInTurn) {
  testutil::SleepRecorder noWaiting;
  testutil::LogCapture log;
  testutil::SweepOptions shown;
  // With the AGC region shown its colour is redrawn too.
  shown.prepare = [](void* handle) { ASSERT_EQ(tqvSetVideoOverlayShowAGCROI(handle, true), 0u); };
  for (const Steps& steps : SeveralSteps()) {
    SCOPED_TRACE(steps.name);
    testutil::SweepPTree(steps.run, shown);
    if (steps.genicamToo) testutil::SweepGenICam(steps.run);
  }
}

// After FillCache the hand-written getters answer without asking; a set refreshes them.
TEST(VideoCache, HandWrittenGettersAnswerFromTheCache) {
  PTreeCamera camera;
  void* h = camera.handle();
  ASSERT_EQ(tqvFillCache(h), TQV_OK);
  camera.camera().ClearTraffic();
  i16 x = 0, y = 0;
  u16 r[4] = {}, low = 0, high = 0;
  ASSERT_EQ(tqvGetVideoOffset(h, &x, &y), TQV_OK);
  ASSERT_EQ(tqvGetVideoAGCROI(h, &r[0], &r[1], &r[2], &r[3]), TQV_OK);
  ASSERT_EQ(tqvGetVideoAGCManual(h, &low, &high), TQV_OK);
  EXPECT_EQ(std::vector<u16>(r, r + 4), (std::vector<u16>{160, 128, 320, 256}));
  EXPECT_EQ(low, 1000);
  EXPECT_EQ(high, 15000);
  EXPECT_TRUE(camera.camera().Traffic().empty());

  ASSERT_EQ(tqvSetVideoOffset(h, 21, -22), TQV_OK);
  ASSERT_EQ(tqvSetVideoAGCROI(h, 8, 8, 16, 16), TQV_OK);
  camera.camera().ClearTraffic();
  ASSERT_EQ(tqvGetVideoOffset(h, &x, &y), TQV_OK);
  ASSERT_EQ(tqvGetVideoAGCROI(h, &r[0], &r[1], &r[2], &r[3]), TQV_OK);
  EXPECT_EQ(x, 21);
  EXPECT_EQ(y, -22);
  EXPECT_EQ(std::vector<u16>(r, r + 4), (std::vector<u16>{8, 8, 16, 16}));
  EXPECT_TRUE(camera.camera().Traffic().empty());
}

TEST(VideoThreads, TwoThreadsOnOneHandle) {
  testutil::SleepRecorder noWaiting;
  PTreeCamera tree;
  GicCamera gic;
  auto offsets = [](void* handle) {
    for (i16 i = 0; i < 40; ++i) {
      i16 x = 0, y = 0;
      u16 low = 0, high = 0;
      EXPECT_EQ(tqvSetVideoOffset(handle, i, static_cast<i16>(-i)), TQV_OK);
      EXPECT_EQ(tqvGetVideoOffset(handle, &x, &y), TQV_OK);
      EXPECT_EQ(tqvSetVideoAGCManual(handle, static_cast<u16>(i), 1000), TQV_OK);
      EXPECT_EQ(tqvGetVideoAGCManual(handle, &low, &high), TQV_OK);
    }
  };
  auto overlay = [](void* handle) {
    for (u8 i = 0; i < 40; ++i) {
      u16 r[4] = {};
      u8 colour = 0;
      EXPECT_EQ(tqvSetVideoOverlayTextColor(handle, i), TQV_OK);
      EXPECT_EQ(tqvGetVideoOverlayTextColor(handle, &colour), TQV_OK);
      EXPECT_EQ(tqvSetVideoAGCROI(handle, i, i, 32, 32), TQV_OK);
      EXPECT_EQ(tqvGetVideoAGCROI(handle, &r[0], &r[1], &r[2], &r[3]), TQV_OK);
      if (i % 8 == 0) {
        EXPECT_EQ(tqvVideoOverlayUseDefaults(handle), TQV_OK);
      }
    }
  };
  for (void* handle : {tree.handle(), gic.handle()}) {
    std::thread other(overlay, handle);
    offsets(handle);
    other.join();
    i16 x = 0, y = 0;
    ASSERT_EQ(tqvGetVideoOffset(handle, &x, &y), TQV_OK);
    EXPECT_EQ(x, 39);
    EXPECT_EQ(y, -39);
  }
}

}  // namespace

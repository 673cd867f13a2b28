// Correction control over the property tree where the traffic matters: bad-pixel lists under the
// held connection, reverts per preset, optional paths, the counts of older cameras, signed
// presets, both digital outputs, and the cache of the output enable and the automatic set-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "common/sim_fixtures.h"
#include "common/testutil.h"

using sim::ptree::Value;
using testutil::PTreeCamera;

namespace {

const std::string kNuc = ".system.settings.nuc.";

// "kind path[=value]" of every call but verify, in order.
std::vector<std::string> Calls(const PTreeCamera& cam) {
  std::vector<std::string> calls;
  for (const sim::ptree::Access& call : cam.camera().Traffic()) {
    std::string text = call.kind;
    if (!call.path.empty()) text += " " + call.path;
    if (call.kind == "set" || call.kind == "setString" || call.kind == "timeout")
      text += "=" + call.value;
    calls.push_back(text);
  }
  return calls;
}

std::vector<std::string> Writes(const PTreeCamera& cam) { return cam.camera().Writes(); }

}  // namespace

TEST(PtreeNuc, BadPixelListsAreWrittenWhileTheConnectionIsHeldUnderTheLongTimeOut) {
  struct Case {
    const char* what;
    u32 (*run)(void* h, u8 preset, const char* name);
    const char* action;
  };
  const Case cases[] = {{"save", &tqvSaveBadPixelList, "saveBPL"},
                        {"load", &tqvLoadBadPixelList, "loadBPL"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PTreeCamera cam;
    ASSERT_EQ(tqvSaveBadPixelList(cam.handle(), 2, "list.bpl"), TQV_OK);  // something to load
    cam.camera().ClearTraffic();
    ASSERT_EQ(c.run(cam.handle(), 2, "list.bpl"), TQV_OK);
    EXPECT_EQ(Calls(cam),
              (std::vector<std::string>{
                  "acquire", "timeout=60000", "setString " + kNuc + "p2.bplFile=list.bpl",
                  "set " + kNuc + "p2." + c.action + "=true", "timeout=10000", "release"}));

    // A failing camera still gets its time-out back and the connection released.
    cam.camera().ClearTraffic();
    EXPECT_EQ(c.run(cam.handle(), 2, "/FlashFS/none/list.bpl"),
              c.action == std::string("saveBPL") ? 165u : 160u);
    EXPECT_EQ(Calls(cam).back(), "release");
    EXPECT_EQ(cam.camera().Timeout(), 10000u);
    EXPECT_EQ(cam.camera().AcquireDepth(), 0u);

    // Bad arguments are refused before the camera is addressed.
    cam.camera().ClearTraffic();
    EXPECT_EQ(c.run(cam.handle(), 4, "list.bpl"), 166u);
    EXPECT_EQ(c.run(cam.handle(), 0, nullptr), 166u);
    EXPECT_TRUE(cam.camera().Traffic().empty());
  }
}

TEST(PtreeNuc, ListIOIsSupportedWhereTheCameraHasThePath) {
  PTreeCamera cam;
  bool supported = false;
  ASSERT_EQ(tqvGetBadPixelListIOSupported(cam.handle(), &supported), TQV_OK);
  EXPECT_TRUE(supported);
  ASSERT_TRUE(cam.camera().Remove(kNuc + "p0.saveBPL"));
  ASSERT_EQ(tqvGetBadPixelListIOSupported(cam.handle(), &supported), TQV_OK);
  EXPECT_FALSE(supported);
  // A failing test of the path is a failure, not an absence.
  cam.camera().InjectFault(kNuc + "p0.saveBPL", 165);
  supported = true;
  EXPECT_EQ(tqvGetBadPixelListIOSupported(cam.handle(), &supported), 165u);
  EXPECT_TRUE(supported);
}

TEST(PtreeNuc, DiscardRevertsTheEnabledPresetsInOrder) {
  PTreeCamera cam;
  ASSERT_EQ(tqvSetNUCPresets(cam.handle(), true, false, true, false), TQV_OK);
  cam.camera().ClearTraffic();
  ASSERT_EQ(tqvDiscardNUC(cam.handle()), TQV_OK);
  EXPECT_EQ(Writes(cam),
            (std::vector<std::string>{kNuc + "p0.revert=true", kNuc + "p2.revert=true"}));

  cam.camera().ClearTraffic();
  cam.camera().InjectFault(kNuc + "p0.revert", 165, 1, "set");
  EXPECT_EQ(tqvDiscardNUC(cam.handle()), 165u);
  EXPECT_TRUE(Writes(cam).empty());

  ASSERT_EQ(tqvSetNUCPresets(cam.handle(), false, false, false, false), TQV_OK);
  cam.camera().ClearTraffic();
  EXPECT_EQ(tqvDiscardNUC(cam.handle()), TQV_OK);
  EXPECT_TRUE(Writes(cam).empty());
}

TEST(PtreeNuc, AcceptWritesOnlyWhereTheCameraHasThePath) {
  PTreeCamera cam;
  ASSERT_EQ(tqvAcceptNUC(cam.handle()), TQV_OK);
  EXPECT_EQ(Writes(cam), std::vector<std::string>{kNuc + "accept=true"});
  ASSERT_TRUE(cam.camera().Remove(kNuc + "accept"));
  cam.camera().ClearTraffic();
  EXPECT_EQ(tqvAcceptNUC(cam.handle()), TQV_OK);
  EXPECT_TRUE(Writes(cam).empty());
  cam.camera().InjectFault(kNuc + "accept", 165);
  EXPECT_EQ(tqvAcceptNUC(cam.handle()), 165u);
}

TEST(PtreeNuc, AutomaticCorrectionIsNeverInProgressWithoutItsPath) {
  PTreeCamera cam;
  ASSERT_TRUE(cam.camera().Remove(kNuc + "auto.InProgress"));
  bool running = true;
  EXPECT_EQ(tqvGetAutoNUCInProgress(cam.handle(), &running), TQV_OK);
  EXPECT_FALSE(running);
}

// Older cameras count the user's bad pixels instead of factory and new ones.
TEST(PtreeNuc, CountsOfCamerasWithoutFactoryAndNewValues) {
  struct Case {
    std::vector<const char*> missing;
    u32 factory, newPixels;
  };
  const Case cases[] = {
      {{}, 4, 36},                   // the camera's own values
      {{"factory"}, 6, 34},          // the user's count stands in for both
      {{"new"}, 6, 34},              //
      {{"factory", "new"}, 6, 34},   //
      {{"factory", "user"}, 0, 40},  // nothing to go by: all are new
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.missing.size() << " missing, first "
                                    << (c.missing.empty() ? "-" : c.missing[0]));
    PTreeCamera cam;
    const std::string counts = kNuc + "p1.badPixels.";
    for (const auto& [name, value] : std::vector<std::pair<const char*, u32>>{
             {"total", 40}, {"factory", 4}, {"new", 36}, {"user", 6}, {"twinklers", 2}}) {
      ASSERT_EQ(cam.camera().Update(counts + name, Value::U32(value)), 0u);
    }
    for (const char* name : c.missing)
      ASSERT_TRUE(cam.camera().Remove(counts + name));
    u32 v[10] = {};
    ASSERT_EQ(tqvGetNUCResults(cam.handle(), 1, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6],
                               &v[7], &v[8], &v[9]),
              TQV_OK);
    EXPECT_EQ(v[0], 40u);
    EXPECT_EQ(v[1], c.factory);
    EXPECT_EQ(v[2], c.newPixels);
    EXPECT_EQ(v[3], 2u);
  }
}

TEST(PtreeNuc, AFailedCountReadGivesItsCodeAndNoCounts) {
  for (const char* name : {"total", "twinklers", "aboveGainMax", "belowGainMin", "aboveADMaxSrc1",
                           "belowADMinSrc1", "aboveADMaxSrc2", "belowADMinSrc2"}) {
    SCOPED_TRACE(name);
    PTreeCamera cam;
    cam.camera().InjectFault(kNuc + "p3.badPixels." + name, 1, 1, "get");
    u32 v[10];
    std::fill(std::begin(v), std::end(v), 77u);
    EXPECT_EQ(tqvGetNUCResults(cam.handle(), 3, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6],
                               &v[7], &v[8], &v[9]),
              1u);
    EXPECT_EQ(std::count(std::begin(v), std::end(v), 77u), 10);
  }
}

// -1 stands for every preset: the picker keeps it in a signed byte, the factory list in a signed
// 32-bit value.
TEST(PtreeNuc, PresetsOfThePickerAndTheFactoryListKeepTheirSign) {
  PTreeCamera cam;
  ASSERT_EQ(tqvPickBadPixel(cam.handle(), 12, 34, -1, false), TQV_OK);
  EXPECT_EQ(Writes(cam),
            (std::vector<std::string>{kNuc + "bpPicker.x=12", kNuc + "bpPicker.y=34",
                                      kNuc + "bpPicker.preset=-1", kNuc + "bpPicker.bad=false",
                                      kNuc + "bpPicker.pick=true"}));
  const char* actions[] = {"create", "append", "apply"};
  u32 (*const operations[])(void*, i8) = {&tqvMfgFactoryBPLCreate, &tqvMfgFactoryBPLAppend,
                                          &tqvMfgFactoryBPLApply};
  for (int i = 0; i < 3; ++i) {
    cam.camera().ClearTraffic();
    ASSERT_EQ(operations[i](cam.handle(), -1), TQV_OK);
    const std::vector<sim::ptree::Access> traffic = cam.camera().Traffic();
    ASSERT_EQ(traffic.size(), 2u);
    EXPECT_EQ(traffic[0].path, kNuc + "factoryBPL.preset");
    EXPECT_EQ(traffic[0].type, "i32");
    EXPECT_EQ(traffic[0].value, "-1");
    EXPECT_EQ(traffic[1].path, kNuc + "factoryBPL." + actions[i]);
  }
}

TEST(PtreeNuc, TheDigitalOutputSettingGoesToBothLinks) {
  PTreeCamera cam;
  ASSERT_EQ(tqvSetDigitalOutputNUCEnabled(cam.handle(), false), TQV_OK);
  EXPECT_EQ(Writes(cam),
            (std::vector<std::string>{kNuc + "gigENUCed=false", kNuc + "cameraLinkNUCed=false"}));
  cam.camera().ClearTraffic();
  cam.camera().InjectFault(kNuc + "gigENUCed", 162, 1, "set");
  EXPECT_EQ(tqvSetDigitalOutputNUCEnabled(cam.handle(), true), 162u);
  EXPECT_TRUE(Writes(cam).empty());
}

// --- Cache ---------------------------------------------------------------------------------------

TEST(PtreeNuc, TheDigitalOutputEnableAndTheAutomaticSetUpAreCached) {
  PTreeCamera cam;
  void* h = cam.handle();
  bool on = false, enabled = true, useTemp = false, useTime = true;
  float temp = 0;
  u32 time = 0;
  ASSERT_EQ(tqvGetDigitalOutputNUCEnabled(h, &on), TQV_OK);
  ASSERT_EQ(tqvGetAutoNUCSetup(h, &enabled, &useTemp, &temp, &useTime, &time), TQV_OK);
  EXPECT_EQ(cam.camera().Count("get"), 6u);
  cam.camera().ClearTraffic();
  ASSERT_EQ(tqvGetDigitalOutputNUCEnabled(h, &on), TQV_OK);
  ASSERT_EQ(tqvGetAutoNUCSetup(h, &enabled, &useTemp, &temp, &useTime, &time), TQV_OK);
  EXPECT_TRUE(cam.camera().Traffic().empty());
  EXPECT_TRUE(on);
  EXPECT_FALSE(enabled);
  EXPECT_FLOAT_EQ(temp, 2.0f);

  // A set refreshes what the cache holds.
  ASSERT_EQ(tqvSetDigitalOutputNUCEnabled(h, false), TQV_OK);
  ASSERT_EQ(tqvSetAutoNUCSetup(h, true, false, 4.5f, true, 60), TQV_OK);
  cam.camera().ClearTraffic();
  ASSERT_EQ(tqvGetDigitalOutputNUCEnabled(h, &on), TQV_OK);
  ASSERT_EQ(tqvGetAutoNUCSetup(h, &enabled, &useTemp, &temp, &useTime, &time), TQV_OK);
  EXPECT_TRUE(cam.camera().Traffic().empty());
  EXPECT_FALSE(on);
  EXPECT_TRUE(enabled);
  EXPECT_FLOAT_EQ(temp, 4.5f);
  EXPECT_EQ(time, 60u);

  // Another client changes the camera: the cache answers until it is cleared.
  cam.camera().Update(kNuc + "auto.deltaTime", Value::U32(90));
  ASSERT_EQ(tqvGetAutoNUCSetup(h, &enabled, &useTemp, &temp, &useTime, &time), TQV_OK);
  EXPECT_EQ(time, 60u);
  ASSERT_EQ(tqvClearCache(h), TQV_OK);
  ASSERT_EQ(tqvGetAutoNUCSetup(h, &enabled, &useTemp, &temp, &useTime, &time), TQV_OK);
  EXPECT_EQ(time, 90u);
}

TEST(PtreeNuc, FillCacheReadsTheEnableAndTheSetUpOnce) {
  PTreeCamera cam;
  void* h = cam.handle();
  ASSERT_EQ(tqvFillCache(h), TQV_OK);
  cam.camera().ClearTraffic();
  bool on = false, enabled = true, useTemp = false, useTime = true;
  float temp = 0;
  u32 time = 0;
  ASSERT_EQ(tqvGetDigitalOutputNUCEnabled(h, &on), TQV_OK);
  ASSERT_EQ(tqvGetAutoNUCSetup(h, &enabled, &useTemp, &temp, &useTime, &time), TQV_OK);
  EXPECT_TRUE(cam.camera().Traffic().empty());
  EXPECT_EQ(time, 600u);
}

TEST(PtreeNuc, AnAutomaticSetUpWrittenInPartIsReadAgainFromTheCamera) {
  PTreeCamera cam;
  void* h = cam.handle();
  bool enabled = false, useTemp = false, useTime = false;
  float temp = 0;
  u32 time = 0;
  ASSERT_EQ(tqvGetAutoNUCSetup(h, &enabled, &useTemp, &temp, &useTime, &time), TQV_OK);
  cam.camera().InjectFault(kNuc + "auto.deltaTemp", 166, 1, "set");
  EXPECT_EQ(tqvSetAutoNUCSetup(h, true, false, 9.0f, true, 120), 166u);
  cam.camera().ClearTraffic();
  ASSERT_EQ(tqvGetAutoNUCSetup(h, &enabled, &useTemp, &temp, &useTime, &time), TQV_OK);
  EXPECT_EQ(cam.camera().Count("get"), 5u);
  EXPECT_TRUE(enabled);  // written before the refusal
  EXPECT_FALSE(useTemp);
  EXPECT_FLOAT_EQ(temp, 2.0f);  // refused, and nothing after it written
  EXPECT_FALSE(useTime);
  EXPECT_EQ(time, 600u);
}

TEST(PtreeNuc, LiveReadingsAreNeverCached) {
  PTreeCamera cam;
  void* h = cam.handle();
  const std::function<void()> readings[] = {
      [h] {
        u16 code;
        char text[64];
        EXPECT_EQ(tqvGetNUCStatus(h, &code, text, sizeof text), TQV_OK);
      },
      [h] {
        bool p[4];
        EXPECT_EQ(tqvGetNUCPresets(h, &p[0], &p[1], &p[2], &p[3]), TQV_OK);
      },
      [h] {
        float a, b;
        u16 c, d;
        bool e;
        EXPECT_EQ(tqvGetNUCSetup(h, &a, &b, &c, &d, &e), TQV_OK);
      },
      [h] {
        bool running;
        EXPECT_EQ(tqvGetAutoNUCInProgress(h, &running), TQV_OK);
      },
  };
  for (const auto& read : readings) {
    cam.camera().ClearTraffic();
    read();
    const std::size_t once = cam.camera().Traffic().size();
    EXPECT_GT(once, 0u);
    read();
    EXPECT_EQ(cam.camera().Traffic().size(), 2 * once);
  }
}

// --- Size and identity ---------------------------------------------------------------------------

TEST(PtreeNuc, TheSizeOfANamedCorrectionFileIsItsFileInformation) {
  PTreeCamera cam;
  u32 size = 0;
  ASSERT_EQ(tqvGetNUCSize(cam.handle(), "lab.v2", &size), TQV_OK);
  EXPECT_EQ(size, 5000u);
  EXPECT_EQ(cam.camera().Count("fileInfo", "/FlashFS/nuc/lab.v2.nuc"), 1u);
}

TEST(PtreeNuc, ACorrectionIsAFactoryOneWhenACalibrationNamesIt) {
  PTreeCamera cam;
  cam.camera().Remove(".system.calib.cals");  // only the two calibrations below
  cam.camera().Set(".system.calib.cals.hot.nucFile", Value::Str("lab.v2.nuc"));
  cam.camera().Set(".system.calib.cals.cold.nucFile", Value::Str("Office.NUC"));
  bool factory = true;
  const u32 result = tqvIsFactoryNUC(cam.handle(), "missing", &factory);
  ASSERT_EQ(result, TQV_OK);
  EXPECT_FALSE(factory);
  for (const char* name : {"office", "OFFICE.nuc", "lab.v2"}) {
    factory = false;
    ASSERT_EQ(tqvIsFactoryNUC(cam.handle(), name, &factory), TQV_OK);
    EXPECT_TRUE(factory) << name;
  }
  cam.camera().InjectFault(".system.calib.cals.hot.nucFile", 165);
  EXPECT_EQ(tqvIsFactoryNUC(cam.handle(), "office", &factory), 165u);
}

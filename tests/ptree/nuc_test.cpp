// Correction control over the property tree where the traffic matters: bad-pixel lists under the
// held connection, reverts per preset, optional paths, the counts of older cameras, the factory
// list's signed preset, both digital outputs, the cache of the output enable and the automatic
// set-up, and the corrections the calibrations name.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/sim_fixtures.h"
#include "common/testutil.h"

using sim::ptree::Value;
using testutil::PTreeCamera;

namespace {

const std::string kNuc = ".system.settings.nuc.";
using Strings = std::vector<std::string>;

// "kind path[=value]" of every call but verify, in order.
Strings Calls(const PTreeCamera& cam) {
  Strings calls;
  for (const sim::ptree::Access& call : cam.camera().Traffic()) {
    std::string text = call.kind;
    if (!call.path.empty()) text += " " + call.path;
    if (call.kind == "set" || call.kind == "setString" || call.kind == "timeout")
      text += "=" + call.value;
    calls.push_back(text);
  }
  return calls;
}

// The cached values: the digital output enable and the automatic set-up.
using AutoSetup = std::tuple<bool, bool, float, bool, u32>;
std::pair<bool, AutoSetup> ReadCached(void* h) {
  std::pair<bool, AutoSetup> values{};
  EXPECT_EQ(tqvGetDigitalOutputNUCEnabled(h, &values.first), TQV_OK);
  EXPECT_EQ(std::apply([h](auto&... v) { return tqvGetAutoNUCSetup(h, &v...); }, values.second),
            TQV_OK);
  return values;
}

}  // namespace

// A failure on the way still gives the time-out back and releases the connection: the fault
// sweep of the C interface tests checks that step by step.
TEST(PtreeNuc, BadPixelListsAreWrittenWhileTheConnectionIsHeldUnderTheLongTimeOut) {
  PTreeCamera cam;
  const std::pair<u32 (*)(void*, u8, const char*), const char*> operations[] = {
      {&tqvSaveBadPixelList, "saveBPL"}, {&tqvLoadBadPixelList, "loadBPL"}};  // save, then load
  for (const auto& [run, action] : operations) {
    SCOPED_TRACE(action);
    cam.camera().ClearTraffic();
    ASSERT_EQ(run(cam.handle(), 2, "list.bpl"), TQV_OK);
    EXPECT_EQ(Calls(cam),
              (Strings{"acquire", "timeout=60000", "setString " + kNuc + "p2.bplFile=list.bpl",
                       "set " + kNuc + "p2." + action + "=true", "timeout=10000", "release"}));
    // A preset above 3 is refused before the camera is addressed.
    cam.camera().ClearTraffic();
    EXPECT_EQ(run(cam.handle(), 4, "list.bpl"), 166u);
    EXPECT_TRUE(cam.camera().Traffic().empty());
  }
}

TEST(PtreeNuc, ListIOIsSupportedWhereTheCameraHasThePath) {
  PTreeCamera cam;
  ASSERT_TRUE(cam.camera().Remove(kNuc + "p0.saveBPL"));
  bool supported = true;
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
  EXPECT_EQ(cam.camera().Writes(), (Strings{kNuc + "p0.revert=true", kNuc + "p2.revert=true"}));
}

TEST(PtreeNuc, AcceptWritesOnlyWhereTheCameraHasThePath) {
  PTreeCamera cam;
  ASSERT_EQ(tqvAcceptNUC(cam.handle()), TQV_OK);
  EXPECT_EQ(cam.camera().Writes(), Strings{kNuc + "accept=true"});
  ASSERT_TRUE(cam.camera().Remove(kNuc + "accept"));
  cam.camera().ClearTraffic();
  EXPECT_EQ(tqvAcceptNUC(cam.handle()), TQV_OK);
  EXPECT_TRUE(cam.camera().Writes().empty());
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
    SCOPED_TRACE(testing::PrintToString(c.missing));
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
    EXPECT_EQ(std::vector<u32>(v, v + 4), (std::vector<u32>{40, c.factory, c.newPixels, 2}));
  }
}

// -1 stands for every preset; the factory list keeps it in a signed 32-bit value (the C interface
// tests show that the picker's -1 reaches the camera too).
TEST(PtreeNuc, TheFactoryListsPresetIsASigned32BitValue) {
  PTreeCamera cam;
  ASSERT_EQ(tqvMfgFactoryBPLAppend(cam.handle(), -1), TQV_OK);
  const std::vector<sim::ptree::Access> traffic = cam.camera().Traffic();
  ASSERT_EQ(traffic.size(), 2u);
  EXPECT_EQ(Strings({traffic[0].path, traffic[0].type, traffic[0].value, traffic[1].path}),
            (Strings{kNuc + "factoryBPL.preset", "i32", "-1", kNuc + "factoryBPL.append"}));
}

TEST(PtreeNuc, TheDigitalOutputSettingGoesToBothLinks) {
  PTreeCamera cam;
  ASSERT_EQ(tqvSetDigitalOutputNUCEnabled(cam.handle(), false), TQV_OK);
  EXPECT_EQ(cam.camera().Writes(),
            (Strings{kNuc + "gigENUCed=false", kNuc + "cameraLinkNUCed=false"}));
}

// --- Cache ---------------------------------------------------------------------------------------

TEST(PtreeNuc, TheDigitalOutputEnableAndTheAutomaticSetUpAreCached) {
  PTreeCamera cam;
  void* h = cam.handle();
  const std::pair<bool, AutoSetup> camerasOwn{true, {false, true, 2.0f, false, 600}};
  EXPECT_EQ(ReadCached(h), camerasOwn);
  EXPECT_EQ(cam.camera().Count("get"), 6u);
  cam.camera().ClearTraffic();
  EXPECT_EQ(ReadCached(h), camerasOwn);
  EXPECT_TRUE(cam.camera().Traffic().empty());

  // A set refreshes what the cache holds.
  ASSERT_EQ(tqvSetDigitalOutputNUCEnabled(h, false), TQV_OK);
  ASSERT_EQ(tqvSetAutoNUCSetup(h, true, false, 4.5f, true, 60), TQV_OK);
  cam.camera().ClearTraffic();
  EXPECT_EQ(ReadCached(h), std::pair(false, AutoSetup{true, false, 4.5f, true, 60}));
  EXPECT_TRUE(cam.camera().Traffic().empty());

  // Another client changes the camera: the cache answers until it is cleared, and filling it
  // again reads both.
  cam.camera().Update(kNuc + "auto.deltaTime", Value::U32(90));
  EXPECT_EQ(std::get<4>(ReadCached(h).second), 60u);
  ASSERT_EQ(tqvClearCache(h), TQV_OK);
  ASSERT_EQ(tqvFillCache(h), TQV_OK);
  cam.camera().ClearTraffic();
  EXPECT_EQ(std::get<4>(ReadCached(h).second), 90u);
  EXPECT_TRUE(cam.camera().Traffic().empty());
}

TEST(PtreeNuc, AnAutomaticSetUpWrittenInPartIsReadAgainFromTheCamera) {
  PTreeCamera cam;
  void* h = cam.handle();
  ReadCached(h);
  cam.camera().InjectFault(kNuc + "auto.deltaTemp", 166, 1, "set");
  EXPECT_EQ(tqvSetAutoNUCSetup(h, true, false, 9.0f, true, 120), 166u);
  cam.camera().ClearTraffic();
  // The two values before the refusal are written; the refused one and those after it are not.
  EXPECT_EQ(ReadCached(h).second, AutoSetup(true, false, 2.0f, false, 600));
  EXPECT_EQ(cam.camera().Count("get"), 5u);
}

// --- Identity ------------------------------------------------------------------------------------

TEST(PtreeNuc, ACorrectionIsAFactoryOneWhenACalibrationNamesIt) {
  PTreeCamera cam;
  cam.camera().Remove(".system.calib.cals");  // only the two calibrations below
  cam.camera().Set(".system.calib.cals.hot.nucFile", Value::Str("lab.v2.nuc"));
  cam.camera().Set(".system.calib.cals.cold.nucFile", Value::Str("Office.NUC"));
  bool factory = true;
  ASSERT_EQ(tqvIsFactoryNUC(cam.handle(), "missing", &factory), TQV_OK);
  EXPECT_FALSE(factory);
  for (const char* name : {"office", "OFFICE.nuc", "lab.v2"}) {
    factory = false;
    ASSERT_EQ(tqvIsFactoryNUC(cam.handle(), name, &factory), TQV_OK);
    EXPECT_TRUE(factory) << name;
  }
  cam.camera().InjectFault(".system.calib.cals.hot.nucFile", 165);
  EXPECT_EQ(tqvIsFactoryNUC(cam.handle(), "office", &factory), 165u);
}

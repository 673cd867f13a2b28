// The property-tree backend's core: paths, sensor constants, the cache and the core operations.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/sim_fixtures.h"
#include "ptree/CTQVSDKPTree.h"

using sim::ptree::Value;
using testutil::PTreeCamera;
using testutil::SimTree;

TEST(PtreePaths, PresetDigitReplacesTheLetterN) {
  struct Case {
    const char* path;
    u8 preset;
    const char* expected;
  };
  const Case cases[] = {
      {".system.settings.pn.frameWidth", 2, ".system.settings.p2.frameWidth"},
      {".SYSTEM.Settings.pn.x", 1, ".SYSTEM.Settings.p1.x"},  // prefix matched ignoring case
      {".system.settings.NUC.pn.revert", 3, ".system.settings.NUC.p3.revert"},
      {".system.settings.tdrift.pn.a", 0, ".system.settings.tdrift.p0.a"},
      {".system.settings.pn.frameWidth", 4, ".system.settings.pn.frameWidth"},  // left alone
      {".system.settings.presetSequencingMode", 1, ".system.settings.presetSequencingMode"},
      {".system.settings.p", 1, ".system.settings.p"},
      {"", 1, ""},
  };
  for (const Case& test : cases) {
    char path[kPathSize];
    EXPECT_STREQ(_tqvResourceForPreset(path, sizeof path, test.path, test.preset), test.expected);
  }
  char tiny[8];
  EXPECT_STREQ(_tqvResourceForPreset(tiny, sizeof tiny, ".system.settings.pn.x", 1), ".system");
  char cal[kPathSize];
  EXPECT_STREQ(_tqvResourceForCal(cal, sizeof cal, "hot", "lutSize"),
               ".system.calib.cals.hot.lutSize");
}

TEST(PtreeStrings, BufferMustHoldTwoBytesMoreThanTheText) {
  SimTree sim;
  sim.camera().Set(".t", Value::Str("abcde"));
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(_tqvGetString(sim.tree(), ".t", buffer, 6), TQV_ERROR);
  EXPECT_EQ(buffer[0], '#');
  EXPECT_EQ(_tqvGetString(sim.tree(), ".t", buffer, 7), TQV_OK);
  EXPECT_STREQ(buffer, "abcde");
  EXPECT_EQ(_tqvGetString(sim.tree(), ".missing", buffer, 16), TQV_NOT_FOUND);
}

TEST(PtreeStrings, ValuesAsTextByType) {
  SimTree sim;
  auto& camera = sim.camera();
  camera.Set(".b", Value::Bool(true));
  camera.Set(".u", Value::U32(3054));
  camera.Set(".h", Value::U32(0xBEEF));
  camera.SetHex(".h");
  camera.Set(".d", Value::F64(2.5));
  camera.Set(".s", Value::Str("text"));
  camera.Set(".w", Value::Utf16(u"\u00e9t\u00e9"));
  EXPECT_STREQ(GetResString(sim.tree(), ".b").c_str(), "true");
  EXPECT_STREQ(GetResString(sim.tree(), ".u").c_str(), "3054");
  EXPECT_STREQ(GetResString(sim.tree(), ".h").c_str(), "0000BEEF");
  EXPECT_STREQ(GetResString(sim.tree(), ".d").c_str(), "2.500000");
  EXPECT_STREQ(GetResString(sim.tree(), ".s").c_str(), "text");
  EXPECT_STREQ(GetResString(sim.tree(), ".w").c_str(), "\xC3\xA9t\xC3\xA9");
  EXPECT_STREQ(GetResString(sim.tree(), ".missing").c_str(), "");
}

TEST(PtreeConstants, OptionalPathsTakeDefaultsAndFailuresAreRetried) {
  SimTree sim;
  auto& camera = sim.camera();
  camera.Remove(".system.info.fpa.deadRows");
  camera.Remove(".system.info.fpa.intDeadWidth");
  camera.InjectFault(".system.info.fpa.frameDeadWidth", TQV_FAILED);  // 165 counts as absent
  CTQVSDKPTree backend(sim.tree());
  camera.InjectFault(".system.info.fpa.pipelineDelay", TQV_TIMEOUT);
  EXPECT_EQ(backend.GetConstants(), TQV_TIMEOUT);
  camera.ClearTraffic();
  EXPECT_EQ(backend.GetConstants(), TQV_OK);  // starts again from the dead rows
  EXPECT_EQ(camera.Count("get", ".system.info.fpa.readoutChannels"), 1u);
  EXPECT_EQ(backend.constants().deadRows, 2u);
  EXPECT_EQ(backend.constants().intDeadWidth, 0u);
  EXPECT_EQ(backend.constants().clockFrequency,
            static_cast<u32>(camera.Integer(".system.info.fpa.clockFrequency")));
  camera.ClearTraffic();
  EXPECT_EQ(backend.GetConstants(), TQV_OK);
  EXPECT_TRUE(camera.Traffic().empty());  // read once

  SimTree denied;  // other failures of an optional path are returned
  denied.camera().InjectFault(".system.info.fpa.deadRows", TQV_ACCESS_DENIED);
  EXPECT_EQ(CTQVSDKPTree(denied.tree()).GetConstants(), TQV_ACCESS_DENIED);
}

TEST(PtreeConstants, LensControllerProbe) {
  struct Case {
    bool focusPresent, fovPresent, haveLensPaths, vornEnabled;
    bool expected;
  };
  const Case cases[] = {
      {false, false, true, true, true}, {true, false, true, true, false},
      {false, true, true, true, false}, {false, false, true, false, false},
      {true, true, false, true, true},  // without both lens paths the controller decides
  };
  for (const Case& test : cases) {
    SimTree sim;
    auto& camera = sim.camera();
    camera.Set(".system.lens.focusPresent", Value::Bool(test.focusPresent));
    camera.Set(".system.lens.fovPresent", Value::Bool(test.fovPresent));
    if (!test.haveLensPaths) camera.Remove(".system.lens.fovPresent");
    camera.Set(".vorn.settings.enabled", Value::Bool(test.vornEnabled));
    CTQVSDKPTree backend(sim.tree());
    ASSERT_EQ(backend.GetConstants(), TQV_OK);
    EXPECT_EQ(backend.lensControllerInUse(), test.expected)
        << test.focusPresent << test.fovPresent << test.haveLensPaths << test.vornEnabled;
  }
}

// A read is kept until the cache is cleared; a write keeps its value, a refused one changes
// nothing, and a failed read keeps nothing.
TEST(PtreeCache, ReadsAndWritesFillItFailuresNeverChangeIt) {
  PTreeCamera cam;
  auto& camera = cam.camera();
  const char* path = ".system.settings.p1.frameWidth";
  u32 width = 0;
  for (int read = 0; read < 2; ++read)
    ASSERT_EQ(tqvGetFrameWidth(cam.handle(), 1, &width), TQV_OK);
  EXPECT_EQ(width, camera.Integer(path));
  EXPECT_EQ(camera.CountPath(path), 1u);
  ASSERT_EQ(tqvClearCache(cam.handle()), TQV_OK);
  ASSERT_EQ(tqvGetFrameWidth(cam.handle(), 1, &width), TQV_OK);
  EXPECT_EQ(camera.CountPath(path), 2u);

  ASSERT_EQ(tqvSetFrameWidth(cam.handle(), 1, 500000), TQV_OK);
  camera.ClearTraffic();
  ASSERT_EQ(tqvGetFrameWidth(cam.handle(), 1, &width), TQV_OK);
  EXPECT_EQ(width, 500000u);
  EXPECT_EQ(camera.CountPath(path), 0u);

  camera.InjectFault(path, TQV_NOT_WRITABLE);
  EXPECT_EQ(tqvSetFrameWidth(cam.handle(), 1, 600000), TQV_NOT_WRITABLE);
  ASSERT_EQ(tqvGetFrameWidth(cam.handle(), 1, &width), TQV_OK);
  EXPECT_EQ(width, 500000u);  // the refused value was not kept

  ASSERT_EQ(tqvClearCache(cam.handle()), TQV_OK);
  camera.InjectFault(path, TQV_TIMEOUT);
  width = 7;
  EXPECT_EQ(tqvGetFrameWidth(cam.handle(), 1, &width), TQV_TIMEOUT);
  EXPECT_EQ(width, 7u);
  camera.ClearTraffic();
  ASSERT_EQ(tqvGetFrameWidth(cam.handle(), 1, &width), TQV_OK);  // the failure cached nothing
  EXPECT_EQ(camera.CountPath(path), 1u);
}

TEST(PtreeCache, OffThenOnStartsEmpty) {
  PTreeCamera cam;
  auto& camera = cam.camera();
  u8 type = 0;
  ASSERT_EQ(tqvGetCameraType(cam.handle(), &type), TQV_OK);
  ASSERT_EQ(tqvSetCacheEnabled(cam.handle(), false), TQV_OK);
  bool enabled = true;
  ASSERT_EQ(tqvGetCacheEnabled(cam.handle(), &enabled), TQV_OK);
  EXPECT_FALSE(enabled);
  camera.ClearTraffic();
  ASSERT_EQ(tqvGetCameraType(cam.handle(), &type), TQV_OK);
  ASSERT_EQ(tqvGetCameraType(cam.handle(), &type), TQV_OK);
  EXPECT_EQ(camera.CountPath(".version.product.cameraType"), 2u);  // nothing kept while off

  ASSERT_EQ(tqvSetCacheEnabled(cam.handle(), true), TQV_OK);
  camera.ClearTraffic();
  ASSERT_EQ(tqvGetCameraType(cam.handle(), &type), TQV_OK);
  ASSERT_EQ(tqvGetCameraType(cam.handle(), &type), TQV_OK);
  EXPECT_EQ(camera.CountPath(".version.product.cameraType"), 1u);
}

TEST(PtreeCache, PresetFourIsRefusedWithoutTraffic) {
  PTreeCamera cam;
  u32 value = 0;
  float gain = 0;
  u16 x, y, w, h;
  EXPECT_EQ(tqvGetIntegrationWidth(cam.handle(), 4, &value), TQV_INVALID_ARGUMENT);
  EXPECT_EQ(tqvSetFrameWidth(cam.handle(), 4, 1000), TQV_INVALID_ARGUMENT);
  EXPECT_EQ(tqvGetDigitalGain(cam.handle(), 4, &gain), TQV_INVALID_ARGUMENT);
  EXPECT_EQ(tqvGetWindow(cam.handle(), 4, &x, &y, &w, &h), TQV_INVALID_ARGUMENT);
  EXPECT_EQ(tqvSetWindow(cam.handle(), 4, 0, 0, 64, 64), TQV_INVALID_ARGUMENT);
  EXPECT_EQ(tqvSetIntegrationTime(cam.handle(), 4, 1.0), TQV_INVALID_ARGUMENT);
  EXPECT_TRUE(cam.camera().Traffic().empty());
}

TEST(PtreeCache, FillCacheReadsEverythingOnceAndSurvivesMissingPaths) {
  PTreeCamera cam;
  auto& camera = cam.camera();
  // Half of the timing paths go missing.
  for (const char* path : {".system.settings.p0.integrationWidth", ".system.settings.p2.frameWidth",
                           ".system.settings.superframeWidth", ".version.product.roicType"}) {
    camera.Remove(path);
  }
  EXPECT_EQ(tqvFillCache(cam.handle()), TQV_OK);
  camera.ClearTraffic();
  u32 width = 0;
  u8 type = 0;
  EXPECT_EQ(tqvGetIntegrationWidth(cam.handle(), 1, &width), TQV_OK);
  EXPECT_EQ(tqvGetFrameWidth(cam.handle(), 3, &width), TQV_OK);
  EXPECT_EQ(tqvGetCameraType(cam.handle(), &type), TQV_OK);
  EXPECT_TRUE(camera.Traffic().empty());  // answered from the cache
  EXPECT_EQ(tqvGetIntegrationWidth(cam.handle(), 0, &width), TQV_NOT_FOUND);
  EXPECT_EQ(camera.CountPath(".system.settings.p0.integrationWidth"), 1u);

  ASSERT_EQ(tqvSetCacheEnabled(cam.handle(), false), TQV_OK);
  EXPECT_EQ(tqvFillCache(cam.handle()), TQV_OK);  // still runs, keeps nothing
  ASSERT_EQ(tqvSetCacheEnabled(cam.handle(), true), TQV_OK);
  camera.ClearTraffic();
  EXPECT_EQ(tqvGetIntegrationWidth(cam.handle(), 1, &width), TQV_OK);
  EXPECT_EQ(camera.CountPath(".system.settings.p1.integrationWidth"), 1u);
}

TEST(PtreeCore, ConnectionTestVerifiesTheRoot) {
  PTreeCamera cam;
  EXPECT_EQ(tqvTestConnection(cam.handle()), TQV_OK);
  EXPECT_EQ(cam.camera().Count("verify", "."), 1u);
  cam.camera().InjectFault(".", TQV_TIMEOUT);
  EXPECT_EQ(tqvTestConnection(cam.handle()), TQV_TIMEOUT);
}

TEST(PtreeCore, BoardDetection) {
  struct Case {
    const char* boardText;  // null: no board-type path
    u8 type, subtype;
    u32 result;
    u8 board;
    bool tqv2;
  };
  const Case cases[] = {
      {"WZN", 0, 0, TQV_OK, 3, false},   {"tqv2", 0, 0, TQV_OK, 1, true},
      {"birch", 0, 0, TQV_OK, 4, false}, {nullptr, 4, 2, TQV_OK, 1, true},
      {nullptr, 4, 8, TQV_OK, 0, false}, {nullptr, 4, 14, TQV_OK, 1, true},
      {nullptr, 3, 16, TQV_OK, 1, true}, {nullptr, 3, 22, TQV_OK, 0, false},
      {nullptr, 9, 1, TQV_OK, 0, false}, {"Oak", 0, 0, TQV_ERROR, 255, false},  // not known
  };
  for (const Case& test : cases) {
    PTreeCamera cam;
    auto& camera = cam.camera();
    if (test.boardText) {
      camera.Set(".version.product.tqvBoardType", Value::Str(test.boardText));
    } else {
      camera.Remove(".version.product.tqvBoardType");
    }
    camera.Set(".version.product.cameraType", Value::U8(test.type));
    camera.Set(".version.product.subType", Value::U8(test.subtype));
    ASSERT_EQ(tqvClearCache(cam.handle()), TQV_OK);
    u8 board = 99;
    bool tqv2 = !test.tqv2;
    EXPECT_EQ(tqvGetBoardType(cam.handle(), &board), test.result);
    EXPECT_EQ(board, test.board) << (test.boardText ? test.boardText : "-") << int(test.type);
    EXPECT_EQ(tqvIsTQV2(cam.handle(), &tqv2), TQV_OK);
    EXPECT_EQ(tqv2, test.tqv2) << (test.boardText ? test.boardText : "-") << int(test.subtype);
  }
}

TEST(PtreeCore, VersionReadsMinorOrIntermediateByBoard) {
  PTreeCamera cam;
  auto& camera = cam.camera();
  camera.Set(".version.sw.AppCore.major", Value::U16(3));
  camera.Set(".version.sw.AppCore.minor", Value::U16(1));
  camera.Set(".version.sw.AppCore.intermediate", Value::U16(4));
  camera.Set(".version.sw.AppCore.build", Value::U16(77));
  camera.Set(".version.product.tqvBoardType", Value::Str("WZN"));
  u16 major = 0, minor = 0, build = 0;
  ASSERT_EQ(tqvGetMainAppVersion(cam.handle(), &major, &minor, &build), TQV_OK);
  EXPECT_EQ(major, 3);
  EXPECT_EQ(minor, 4);  // boards above 2 keep it under "intermediate"
  EXPECT_EQ(build, 77);

  camera.Set(".version.product.tqvBoardType", Value::Str("Alder"));
  ASSERT_EQ(tqvClearCache(cam.handle()), TQV_OK);
  ASSERT_EQ(tqvGetMainAppVersion(cam.handle(), &major, &minor, &build), TQV_OK);
  EXPECT_EQ(minor, 1);

  camera.Remove(".version.sw.AppCore.build");
  major = 0;
  EXPECT_EQ(tqvGetMainAppVersion(cam.handle(), &major, &minor, &build), TQV_NOT_FOUND);
  EXPECT_EQ(major, 0);
}

// A camera without an event queue answers "no event" (the queue itself: sync_family_test.cpp).
TEST(PtreeCore, NoEventQueueIsNoEvent) {
  PTreeCamera cam;
  cam.camera().Remove(".system.eventQueue");
  tqvEEventType event = 9;
  ASSERT_EQ(tqvReadEventQueue(cam.handle(), &event), TQV_OK);
  EXPECT_EQ(event, 0u);
}

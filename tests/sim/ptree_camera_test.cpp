// The simulated camera's test side: traffic records, injected faults and hooks.
#include "ptree_fixture.h"

namespace {

using paramtree::Value;
using ptreetest::Connection;
using sim::ptree::Access;
using sim::ptree::Camera;

TEST(PtreeTraffic, RecordsEveryClientCallWithItsValueAndResult) {
  Connection c;
  Camera& cam = c.camera();
  cam.ClearTraffic();
  uint16_t width = 0;
  char* text = nullptr;
  float min = 0;
  float max = 0;
  EXPECT_EQ(resVerify(c.tree(), ".system.ready"), RES_OK);
  EXPECT_EQ(resGetUInt16(c.tree(), ".system.settings.p1.window.width", &width), RES_OK);
  EXPECT_EQ(resSetUInt32(c.tree(), ".system.settings.p2.frameWidth", 300000, 1), RES_OK);
  EXPECT_EQ(resSetString(c.tree(), ".system.settings.sync.start", "Readout", 0), RES_OK);
  EXPECT_EQ(resGetString(c.tree(), ".version.product.tqvBoardType", &text), RES_OK);
  resFreeString(&text);
  EXPECT_EQ(resSetUInt8(c.tree(), ".system.bias.count", 3, 1), RES_READ_ONLY);
  EXPECT_EQ(resGetLimitsFlt32Ex(c.tree(), ".system.offset.global", &min, &max), RES_OK);
  EXPECT_EQ(resSetTimeout(c.tree(), 30000), RES_OK);
  cam.Set(".quiet", Value::U8(1));  // the test side leaves no record

  // kind, path, type, value, commit, result
  const std::vector<std::string> expected = {
      "verify .system.ready   -1 0",
      "get .system.settings.p1.window.width u16 320 -1 0",
      "set .system.settings.p2.frameWidth u32 300000 1 0",
      "setString .system.settings.sync.start string Readout 0 0",
      "getString .version.product.tqvBoardType string WZN -1 0",
      "set .system.bias.count u8 3 1 162",  // read-only
      "limits .system.offset.global  -2.5,2.5 -1 0",
      "timeout   30000 -1 0",
  };
  std::vector<std::string> traffic;
  for (const Access& a : cam.Traffic()) {
    traffic.push_back(a.kind + " " + a.path + " " + a.type + " " + a.value + " " +
                      std::to_string(a.commit) + " " + std::to_string(a.result));
  }
  EXPECT_EQ(traffic, expected);
  EXPECT_EQ(cam.Count("set"), 2u);
  EXPECT_EQ(cam.Count("set", ".system.bias.count"), 1u);
  EXPECT_EQ(cam.CountPath(".system.ready"), 1u);
  EXPECT_EQ(cam.Writes(), (std::vector<std::string>{".system.settings.p2.frameWidth=300000",
                                                    ".system.settings.sync.start=Readout"}));
  cam.SetTrafficLogging(false);
  EXPECT_EQ(resVerify(c.tree(), "."), RES_OK);
  EXPECT_EQ(cam.Traffic().size(), expected.size());
  cam.ClearTraffic();
  EXPECT_TRUE(cam.Traffic().empty());
}

TEST(PtreeFaults, AnInjectedFaultAnswersTheNextCountAccessesOfItsPath) {
  Connection c;
  Camera& cam = c.camera();
  const char* path = ".system.info.fpa.clockFrequency";
  cam.InjectFault(path, RES_FAILED, 2);
  EXPECT_EQ(cam.PendingFaults(), 2u);
  uint32_t value = 0;
  uint32_t other = 0;
  EXPECT_EQ(resGetUInt32(c.tree(), path, &value), RES_FAILED);
  EXPECT_EQ(resGetUInt32(c.tree(), ".system.info.fpa.pipelineDelay", &other), RES_OK);
  EXPECT_EQ(resVerify(c.tree(), path), RES_FAILED);  // any kind of call counts
  EXPECT_EQ(value, 0u);
  EXPECT_EQ(resGetUInt32(c.tree(), path, &value), RES_OK);
  EXPECT_EQ(value, 25000000u);
  EXPECT_EQ(cam.PendingFaults(), 0u);
  // The fault is recorded as the answer.
  std::vector<Access> traffic = cam.Traffic();
  EXPECT_EQ(traffic[traffic.size() - 2].result, RES_FAILED);
}

TEST(PtreeFaults, KindFiltersAnyPathFaultsAndMissingPaths) {
  Connection c;
  Camera& cam = c.camera();
  bool ready = false;
  // A kind filter lets the existence test through and fails the read.
  cam.InjectFault(".system.ready", RES_TIMEOUT, 1, "get");
  EXPECT_EQ(resVerify(c.tree(), ".system.ready"), RES_OK);
  EXPECT_EQ(resGetBool(c.tree(), ".system.ready", &ready), RES_TIMEOUT);
  EXPECT_EQ(resGetBool(c.tree(), ".system.ready", &ready), RES_OK);

  // A fault answers even for a path the camera does not have.
  cam.InjectFault(".system.info.fpa.deadRows.none", 165);
  EXPECT_EQ(resVerify(c.tree(), ".system.info.fpa.deadRows.none"), 165u);

  // Any-path faults hit calls that carry a path, in injection order, but not the time-out.
  cam.InjectFaultAny(RES_ACCESS_DENIED, 1);
  cam.InjectFaultAny(RES_UNEXPECTED_VALUE, 1);
  EXPECT_EQ(resSetTimeout(c.tree(), 100), RES_OK);
  EXPECT_EQ(resFileExists(c.tree(), "/FlashFS"), RES_ACCESS_DENIED);
  EXPECT_EQ(resVerify(c.tree(), "."), RES_UNEXPECTED_VALUE);
  EXPECT_EQ(resVerify(c.tree(), "."), RES_OK);

  // Path-less calls are hit when the fault names their kind.
  cam.InjectFaultAny(RES_FAILED, 1, "acquire");
  EXPECT_EQ(resAcquire(c.tree()), RES_FAILED);
  EXPECT_EQ(cam.AcquireDepth(), 0u);
  cam.InjectFaultAny(RES_FAILED, 1, "timeout");
  EXPECT_EQ(resSetTimeout(c.tree(), 60000), RES_FAILED);
  EXPECT_EQ(cam.Timeout(), 100u);  // a refused time-out changes nothing
  cam.InjectFaultAny(RES_FAILED, 3, "timeout");
  cam.ClearFaults();
  EXPECT_EQ(cam.PendingFaults(), 0u);
  EXPECT_EQ(resSetTimeout(c.tree(), 200), RES_OK);
}

TEST(PtreeHooks, WriteHooksSeeTheStoredValueAndMayRefuse) {
  Connection c;
  Camera& cam = c.camera();
  std::vector<std::string> seen;
  cam.OnWrite(".system.settings.fpa.gainLevel",
              [&](Camera& camera, const std::string& path, const Value& value) -> uint32_t {
                seen.push_back(path + "=" + paramtree::ToText(value));
                // The behaviour of a camera that moves its offset with the gain level.
                camera.Update(".system.offset.global", Value::F32(0.25f * value.integer));
                return value.integer > 1 ? RES_FAILED : RES_OK;
              });
  EXPECT_EQ(resSetUInt32(c.tree(), ".system.settings.fpa.gainLevel", 1, 1), RES_OK);
  float offset = 0;
  EXPECT_EQ(resGetFlt32(c.tree(), ".system.offset.global", &offset), RES_OK);
  EXPECT_EQ(offset, 0.25f);
  EXPECT_EQ(resSetUInt8(c.tree(), ".system.settings.fpa.gainLevel", 2, 1), RES_FAILED);
  EXPECT_EQ(cam.Integer(".system.settings.fpa.gainLevel"), 2);  // stored before the hook ran
  // Writes refused before they are stored never reach the hook.
  EXPECT_EQ(resSetUInt32(c.tree(), ".system.settings.fpa.gainLevel", 300, 1), RES_INVALID_ARGUMENT);
  cam.SetReadOnly(".system.settings.fpa.gainLevel");
  EXPECT_EQ(resSetUInt8(c.tree(), ".system.settings.fpa.gainLevel", 0, 1), RES_READ_ONLY);
  EXPECT_EQ(seen, (std::vector<std::string>{".system.settings.fpa.gainLevel=1",
                                            ".system.settings.fpa.gainLevel=2"}));
  cam.ClearHooks(".system.settings.fpa.gainLevel");
  cam.SetReadOnly(".system.settings.fpa.gainLevel", false);
  EXPECT_EQ(resSetUInt8(c.tree(), ".system.settings.fpa.gainLevel", 7, 1), RES_OK);
  EXPECT_EQ(seen.size(), 2u);
}

TEST(PtreeHooks, ReadHooksRunBeforeTheRead) {
  Connection c;
  Camera& cam = c.camera();
  int reads = 0;
  cam.OnRead(".system.eventQueue", [&](Camera& camera, const std::string& path) -> uint32_t {
    ++reads;
    camera.Set(path, Value::U32(reads == 1 ? 7u : 0u));  // one event, then the queue is empty
    return reads == 3 ? RES_TIMEOUT : RES_OK;
  });
  uint32_t event = 99;
  EXPECT_EQ(resGetUInt32(c.tree(), ".system.eventQueue", &event), RES_OK);
  EXPECT_EQ(event, 7u);
  EXPECT_EQ(resGetUInt32(c.tree(), ".system.eventQueue", &event), RES_OK);
  EXPECT_EQ(event, 0u);
  EXPECT_EQ(resGetUInt32(c.tree(), ".system.eventQueue", &event), RES_TIMEOUT);
  EXPECT_EQ(resVerify(c.tree(), ".system.eventQueue"), RES_OK);  // not a read
  EXPECT_EQ(reads, 3);
}

}  // namespace

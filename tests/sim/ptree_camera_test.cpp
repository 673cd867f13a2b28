// The simulated camera's test side: traffic records, injected faults and hooks.
#include "ptree_fixture.h"

namespace {

using paramtree::Value;
using ptreetest::Connection;
using sim::ptree::Access;
using sim::ptree::Camera;

// The sweeps and the row tests rely on one record per call in order; here what they do not
// reach: each record's type, value and result, the test side left out, and logging off.
TEST(PtreeTraffic, RecordsEveryClientCallWithItsValueAndResult) {
  Connection c;
  Camera& cam = c.camera();
  cam.ClearTraffic();
  uint16_t width = 0;
  char* text = nullptr;
  float min = 0;
  float max = 0;
  EXPECT_EQ(resGetUInt16(c.tree(), ".system.settings.p1.window.width", &width), RES_OK);
  EXPECT_EQ(resGetString(c.tree(), ".version.product.tqvBoardType", &text), RES_OK);
  resFreeString(&text);
  EXPECT_EQ(resSetUInt8(c.tree(), ".system.bias.count", 3, 1), RES_READ_ONLY);
  EXPECT_EQ(resGetLimitsFlt32Ex(c.tree(), ".system.offset.global", &min, &max), RES_OK);
  cam.Set(".quiet", Value::U8(1));  // the test side leaves no record

  // kind, path, type, value, commit, result
  const std::vector<std::string> expected = {
      "get .system.settings.p1.window.width u16 320 -1 0",
      "getString .version.product.tqvBoardType string WZN -1 0",
      "set .system.bias.count u8 3 1 162",
      "limits .system.offset.global  -2.5,2.5 -1 0",
  };
  std::vector<std::string> traffic;
  for (const Access& a : cam.Traffic()) {
    traffic.push_back(a.kind + " " + a.path + " " + a.type + " " + a.value + " " +
                      std::to_string(a.commit) + " " + std::to_string(a.result));
  }
  EXPECT_EQ(traffic, expected);
  EXPECT_TRUE(cam.Writes().empty()) << "a refused write is not listed";
  cam.SetTrafficLogging(false);
  EXPECT_EQ(resVerify(c.tree(), "."), RES_OK);
  EXPECT_EQ(cam.Traffic().size(), expected.size());
}

TEST(PtreeFaults, CountsKindFiltersAnyPathFaultsAndMissingPaths) {
  Connection c;
  Camera& cam = c.camera();
  // A fault answers the next `count` calls of its path, of any kind, and touches nothing.
  const char* path = ".system.info.fpa.clockFrequency";
  cam.InjectFault(path, RES_FAILED, 2);
  EXPECT_EQ(cam.PendingFaults(), 2u);
  uint32_t value = 0, other = 0;
  EXPECT_EQ(resGetUInt32(c.tree(), path, &value), RES_FAILED);
  EXPECT_EQ(resGetUInt32(c.tree(), ".system.info.fpa.pipelineDelay", &other), RES_OK);
  EXPECT_EQ(resVerify(c.tree(), path), RES_FAILED);
  EXPECT_EQ(cam.Traffic().back().result, RES_FAILED);  // recorded as the answer
  EXPECT_EQ(value, 0u);
  EXPECT_EQ(resGetUInt32(c.tree(), path, &value), RES_OK);
  EXPECT_EQ(value, 25000000u);
  EXPECT_EQ(cam.PendingFaults(), 0u);

  // A kind filter lets the existence test through and fails the read.
  bool ready = false;
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

// Write hooks run once the value is stored and their answer is the write's; read hooks run
// before a read and may change the value or fail it.
TEST(PtreeHooks, WriteHooksSeeTheStoredValueAndReadHooksRunBeforeTheRead) {
  Connection c;
  Camera& cam = c.camera();
  const char* gain = ".system.settings.fpa.gainLevel";
  std::vector<int64_t> seen;
  cam.OnWrite(gain, [&](Camera&, const std::string&, const Value& value) -> uint32_t {
    seen.push_back(value.integer);
    return value.integer > 1 ? RES_FAILED : RES_OK;
  });
  EXPECT_EQ(resSetUInt32(c.tree(), gain, 1, 1), RES_OK);
  EXPECT_EQ(resSetUInt8(c.tree(), gain, 2, 1), RES_FAILED);
  EXPECT_EQ(cam.Integer(gain), 2);  // stored before the hook ran
  // Writes refused before they are stored never reach the hook.
  EXPECT_EQ(resSetUInt32(c.tree(), gain, 300, 1), RES_INVALID_ARGUMENT);
  cam.SetReadOnly(gain);
  EXPECT_EQ(resSetUInt8(c.tree(), gain, 0, 1), RES_READ_ONLY);
  cam.ClearHooks(gain);
  cam.SetReadOnly(gain, false);
  EXPECT_EQ(resSetUInt8(c.tree(), gain, 7, 1), RES_OK);
  EXPECT_EQ(seen, (std::vector<int64_t>{1, 2}));

  int reads = 0;
  cam.OnRead(".system.eventQueue", [&](Camera& camera, const std::string& path) -> uint32_t {
    camera.Set(path, Value::U32(++reads == 1 ? 7u : 0u));  // one event, then the queue is empty
    return reads == 3 ? RES_TIMEOUT : RES_OK;
  });
  uint32_t events[2] = {99, 99};
  EXPECT_EQ(resGetUInt32(c.tree(), ".system.eventQueue", &events[0]), RES_OK);
  EXPECT_EQ(resGetUInt32(c.tree(), ".system.eventQueue", &events[1]), RES_OK);
  EXPECT_EQ(events[0], 7u);
  EXPECT_EQ(events[1], 0u);
  EXPECT_EQ(resGetUInt32(c.tree(), ".system.eventQueue", &events[0]), RES_TIMEOUT);
  EXPECT_EQ(resVerify(c.tree(), ".system.eventQueue"), RES_OK);  // not a read
  EXPECT_EQ(reads, 3);
}

}  // namespace

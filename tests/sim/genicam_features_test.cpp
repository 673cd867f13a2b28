// The simulated GenICam device through the libzelcam interfaces: feature kinds, limits,
// availability, enumerations, commands, selected features, hooks, the traffic log, threads.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

#include "genicam/SimDevice.h"
#include "zel/cam/gic.h"

namespace {

using namespace zel::cam::gic;
using sim::genicam::Access;
using sim::genicam::Device;
using sim::genicam::DeviceOf;
using sim::genicam::FeatureSpec;
using sim::genicam::Kind;

// A device holding one feature of each kind, with known limits.
const char* const kSmallProfile = R"(
int      Counter     10    min=0 max=100 inc=2
int      Fixed       5     ro
int      Hidden      1     na
float    Gain        1.5   min=0.5 max=4.0
bool     Flag        false
enum     Mode        Fast  entries=Slow:0,Fast:1,Turbo:7
string   Label       "hello world"
command  Start       polls=3
register Buffer      16
int      Index       0     min=0 max=3
string   Named       "none" selector=Index
at Index=2 Named "two"
)";

struct Camera {
  Camera() {
    std::string error;
    device = sim::genicam::OpenSimProfile(kSmallProfile, &error);
    EXPECT_TRUE(device) << error;
    sim = DeviceOf(device.get());
  }
  template <typename T>
  zel::TSharedPtr<T> Get(const char* name) {
    zel::TSharedPtr<T> feature = device->GetFeature(name).DynamicCast<T>();
    EXPECT_TRUE(feature) << name;
    return feature;
  }
  zel::TSharedPtr<IGenICam> device;
  Device* sim = nullptr;
};

TEST(GicFeatureKinds, EachFeatureImplementsExactlyItsOwnKind) {
  Camera camera;
  struct Row {
    const char* name;
    int kind;  // index into the list below
  } rows[] = {{"Counter", 0}, {"Gain", 1},  {"Flag", 2},  {"Mode", 3},
              {"Label", 4},   {"Start", 5}, {"Buffer", 6}};
  for (const Row& row : rows) {
    zel::TSharedPtr<IFeature> feature = camera.device->GetFeature(row.name);
    ASSERT_TRUE(feature) << row.name;
    bool kinds[] = {feature.DynamicCast<IInteger>().get() != nullptr,
                    feature.DynamicCast<IFloat>().get() != nullptr,
                    feature.DynamicCast<IBoolean>().get() != nullptr,
                    feature.DynamicCast<IEnum>().get() != nullptr,
                    feature.DynamicCast<IString>().get() != nullptr,
                    feature.DynamicCast<ICommand>().get() != nullptr,
                    feature.DynamicCast<IRegister>().get() != nullptr};
    for (int k = 0; k < 7; ++k)
      EXPECT_EQ(kinds[k], k == row.kind) << row.name << " kind " << k;
    EXPECT_STREQ(feature->GetName().c_str(), row.name);
  }
  EXPECT_FALSE(camera.device->GetFeature("NoSuchFeature"));
  EXPECT_FALSE(camera.device->GetFeature(nullptr));
}

TEST(GicFeatureKinds, IntegerLimitsIncrementAndOutOfRange) {
  Camera camera;
  auto counter = camera.Get<IInteger>("Counter");
  EXPECT_EQ(counter->GetMin(), 0);
  EXPECT_EQ(counter->GetMax(), 100);
  EXPECT_EQ(counter->GetInc(), 2);
  counter->SetValue(100);
  EXPECT_EQ(counter->GetValue(), 100);
  counter->SetValue(0);
  for (zel::i64 bad :
       {zel::i64{-2}, zel::i64{102}, zel::i64{7}, std::numeric_limits<zel::i64>::min()}) {
    EXPECT_THROW(counter->SetValue(bad), std::out_of_range) << bad;
    EXPECT_EQ(counter->GetValue(), 0) << "a refused write leaves the value";
  }
}

TEST(GicFeatureKinds, FloatLimitsAndOutOfRange) {
  Camera camera;
  auto gain = camera.Get<IFloat>("Gain");
  EXPECT_DOUBLE_EQ(gain->GetMin(), 0.5);
  EXPECT_DOUBLE_EQ(gain->GetMax(), 4.0);
  gain->SetValue(4.0);
  EXPECT_DOUBLE_EQ(gain->GetValue(), 4.0);
  for (double bad : {0.49, 4.01, std::nan("")}) {
    EXPECT_THROW(gain->SetValue(bad), std::out_of_range) << bad;
  }
  EXPECT_DOUBLE_EQ(gain->GetValue(), 4.0);
}

TEST(GicFeatureKinds, BooleanAndString) {
  Camera camera;
  auto flag = camera.Get<IBoolean>("Flag");
  flag->SetValue(true);
  EXPECT_TRUE(flag->GetValue());
  auto label = camera.Get<IString>("Label");
  EXPECT_STREQ(label->GetValue().c_str(), "hello world");
  label->SetValue("changed");
  EXPECT_EQ(camera.sim->GetString("Label"), "changed");
  EXPECT_THROW(label->SetValue(nullptr), std::invalid_argument);
}

TEST(GicFeatureKinds, EnumerationByNameAndByValue) {
  Camera camera;
  auto mode = camera.Get<IEnum>("Mode");
  EXPECT_EQ(mode->GetIntValue(), 1);
  EXPECT_STREQ(mode->GetValue().c_str(), "Fast");
  mode->SetValue("Turbo");
  EXPECT_EQ(mode->GetIntValue(), 7);
  mode->SetIntValue(0);
  EXPECT_STREQ(mode->GetValue().c_str(), "Slow");
  EXPECT_THROW(mode->SetValue("Warp"), std::invalid_argument);
  EXPECT_THROW(mode->SetIntValue(2), std::invalid_argument);
  EXPECT_THROW(mode->SetValue(nullptr), std::invalid_argument);
  EXPECT_EQ(mode->GetIntValue(), 0);
  zel::TArray<CEnumEntry> entries = mode->GetEntries();
  ASSERT_EQ(entries.GetCount(), 3u);
  EXPECT_STREQ(entries[2].name.c_str(), "Turbo");
  EXPECT_EQ(entries[2].value, 7);
}

TEST(GicFeatureKinds, RegisterBlockTransfers) {
  Camera camera;
  auto buffer = camera.Get<IRegister>("Buffer");
  EXPECT_EQ(buffer->GetLength(), 16);
  zel::u8 out[16];
  for (int i = 0; i < 16; ++i)
    out[i] = static_cast<zel::u8>(0xA0 + i);
  buffer->Set(out, 16);
  zel::u8 back[16] = {};
  buffer->Get(back, 4);
  EXPECT_EQ(back[0], 0xA0);
  EXPECT_EQ(back[3], 0xA3);
  EXPECT_EQ(back[4], 0) << "only the requested length is copied";
  zel::u8 big[17] = {};
  EXPECT_THROW(buffer->Get(big, 17), std::out_of_range);
  EXPECT_THROW(buffer->Set(big, 17), std::out_of_range);
  EXPECT_THROW(buffer->Get(nullptr, 4), std::invalid_argument);
  EXPECT_THROW(buffer->Set(out, -1), std::invalid_argument);
  EXPECT_EQ(camera.sim->GetRegister("Buffer")[15], 0xAF);
}

TEST(GicFeatureKinds, CommandIsDoneAfterTheChosenNumberOfPolls) {
  Camera camera;
  auto start = camera.Get<ICommand>("Start");
  EXPECT_TRUE(start->IsDone()) << "nothing is running before the first execute";
  for (int polls : {3, 0, 1}) {
    camera.sim->SetPollsUntilDone("Start", polls);
    start->Execute();
    for (int i = 0; i < polls; ++i)
      EXPECT_FALSE(start->IsDone()) << polls << " poll " << i;
    EXPECT_TRUE(start->IsDone()) << polls;
    EXPECT_TRUE(start->IsDone()) << "done stays done";
  }
  EXPECT_EQ(camera.sim->ExecuteCount("Start"), 3);
}

TEST(GicFeatureAccess, ReadOnlyAndUnavailableFeaturesRefuseAccess) {
  Camera camera;
  auto fixed = camera.Get<IInteger>("Fixed");
  EXPECT_EQ(fixed->GetValue(), 5);
  EXPECT_THROW(fixed->SetValue(6), CAccessException);
  auto hidden = camera.Get<IInteger>("Hidden");
  EXPECT_FALSE(hidden->IsAvailable());
  EXPECT_THROW(hidden->GetValue(), CAccessException);
  EXPECT_THROW(hidden->SetValue(1), CAccessException);
  camera.sim->SetAvailable("Hidden", true);
  EXPECT_TRUE(hidden->IsAvailable());
  hidden->SetValue(3);
  EXPECT_EQ(camera.sim->GetInt("Hidden"), 3);
  camera.sim->SetWritable("Start", false);
  EXPECT_THROW(camera.Get<ICommand>("Start")->Execute(), CAccessException);
  EXPECT_EQ(camera.sim->ExecuteCount("Start"), 0);
}

TEST(GicFeatureAccess, FeatureObjectsOutliveRemovalAndTheDevice) {
  Camera camera;
  auto counter = camera.Get<IInteger>("Counter");
  ASSERT_TRUE(camera.sim->Remove("Counter"));
  EXPECT_THROW(counter->GetValue(), CAccessException);
  FeatureSpec spec;
  spec.name = "Counter";
  spec.kind = Kind::Float;
  camera.sim->Add(spec);
  EXPECT_THROW(counter->GetValue(), CAccessException) << "a feature of another kind now";
  auto label = camera.Get<IString>("Label");
  camera.device.Reset();
  EXPECT_STREQ(label->GetValue().c_str(), "hello world") << "the feature keeps its device";
}

TEST(GicFeatureAccess, SelectedFeatureKeepsOneStatePerSelectorValue) {
  Camera camera;
  auto index = camera.Get<IInteger>("Index");
  auto named = camera.Get<IString>("Named");
  EXPECT_STREQ(named->GetValue().c_str(), "none");
  index->SetValue(2);
  EXPECT_STREQ(named->GetValue().c_str(), "two");
  index->SetValue(3);
  named->SetValue("three");
  index->SetValue(1);
  EXPECT_STREQ(named->GetValue().c_str(), "none");
  index->SetValue(3);
  EXPECT_STREQ(named->GetValue().c_str(), "three");
  camera.sim->ResetSelected("Named");
  EXPECT_STREQ(named->GetValue().c_str(), "none");
}

TEST(GicFeatureAccess, WriteHooksRunAfterTheValueIsStoredAndCanRefuseIt) {
  Camera camera;
  std::vector<zel::i64> seen;
  int id = camera.sim->OnWrite("Counter", [&](Device& device, const std::string& feature) {
    seen.push_back(device.GetInt(feature));
    if (device.GetInt(feature) == 42) throw std::invalid_argument("refused by the camera");
    device.SetString("Label", "counter changed");
  });
  auto counter = camera.Get<IInteger>("Counter");
  counter->SetValue(4);
  EXPECT_THROW(counter->SetValue(42), std::invalid_argument);
  EXPECT_EQ(counter->GetValue(), 4) << "a refusing hook restores the old value";
  EXPECT_EQ(seen, (std::vector<zel::i64>{4, 42}));
  EXPECT_EQ(camera.sim->GetString("Label"), "counter changed");
  camera.sim->RemoveHook(id);
  counter->SetValue(42);
  EXPECT_EQ(seen.size(), 2u);
}

TEST(GicFeatureAccess, ExecuteHooksRunOnHostExecutesOnly) {
  Camera camera;
  int runs = 0;
  camera.sim->OnExecute("Start", [&](Device&, const std::string& feature) {
    EXPECT_EQ(feature, "Start");
    ++runs;
  });
  camera.Get<ICommand>("Start")->Execute();
  camera.Get<ICommand>("Start")->Execute();
  EXPECT_EQ(runs, 2);
}

TEST(GicTrafficLog, RecordsEveryHostAccessWithItsValue) {
  Camera camera;
  camera.sim->ClearLog();
  auto counter = camera.Get<IInteger>("Counter");
  counter->SetValue(12);
  counter->GetValue();
  counter->GetMax();
  EXPECT_THROW(counter->SetValue(11), std::out_of_range);
  camera.Get<IEnum>("Mode")->SetValue("Turbo");
  camera.Get<ICommand>("Start")->Execute();
  camera.Get<ICommand>("Start")->IsDone();
  camera.device->GetFeature("Missing");
  camera.sim->SetInt("Counter", 20);  // the test's own access: not logged

  struct Row {
    const char* feature;
    const char* access;
    const char* value;
  } expected[] = {{"Counter", "lookup", "found"}, {"Counter", "set", "12"},
                  {"Counter", "get", "12"},       {"Counter", "max", "100"},
                  {"Counter", "set", ""},         {"Mode", "lookup", "found"},
                  {"Mode", "set", "Turbo"},       {"Start", "lookup", "found"},
                  {"Start", "execute", ""},       {"Start", "lookup", "found"},
                  {"Start", "isDone", "false"},   {"Missing", "lookup", "missing"}};
  std::vector<Access> log = camera.sim->Log();
  ASSERT_EQ(log.size(), std::size(expected));
  for (std::size_t i = 0; i < log.size(); ++i) {
    EXPECT_EQ(log[i].feature, expected[i].feature) << i;
    EXPECT_EQ(log[i].access, expected[i].access) << i;
    EXPECT_EQ(log[i].value, expected[i].value) << i;
  }
  EXPECT_NE(log[4].error.find("increment"), std::string::npos) << log[4].error;
  EXPECT_EQ(camera.sim->Count("Counter"), 5u);
  EXPECT_EQ(camera.sim->Count("Counter", "set"), 2u);
  EXPECT_EQ(camera.sim->Log("Start", "execute").size(), 1u);
  camera.sim->SetLogLimit(3);
  std::vector<Access> newest = camera.sim->Log();
  ASSERT_EQ(newest.size(), 3u);
  EXPECT_EQ(newest[0].feature, "Start") << "the oldest records go first";
  EXPECT_EQ(newest[2].feature, "Missing");
  counter->GetValue();
  EXPECT_EQ(camera.sim->Log().size(), 3u);
  EXPECT_EQ(camera.sim->Log().back().access, "get");
  camera.sim->ClearLog();
  EXPECT_TRUE(camera.sim->Log().empty());
}

TEST(GicDeviceApi, BackDoorRejectsUnknownFeaturesAndWrongKinds) {
  Camera camera;
  EXPECT_THROW(camera.sim->GetInt("Missing"), std::invalid_argument);
  EXPECT_THROW(camera.sim->GetInt("Label"), std::invalid_argument);
  EXPECT_THROW(camera.sim->SetFloat("Counter", 1.0), std::invalid_argument);
  EXPECT_THROW(camera.sim->SetString("Mode", "Warp"), std::invalid_argument);
  EXPECT_THROW(camera.sim->SetIntLimits("Counter", 5, 1), std::invalid_argument);
  EXPECT_THROW(camera.sim->InjectFault({}), std::invalid_argument);
  FeatureSpec twice;
  twice.name = "Twice";
  twice.kind = Kind::Enumeration;
  twice.entries = {{"A", 0}, {"B", 0}};
  EXPECT_THROW(camera.sim->Add(twice), std::invalid_argument);
  EXPECT_EQ(camera.sim->KindOf("Buffer"), Kind::Register);
  EXPECT_EQ(camera.sim->GetString("Mode"), "Fast");
}

TEST(GicDeviceApi, DeviceOfAnotherDeviceIsNull) {
  struct Other : IGenICam {
    zel::TSharedPtr<IFeature> GetFeature(const char*) override { return {}; }
  } other;
  EXPECT_EQ(DeviceOf(&other), nullptr);
  EXPECT_EQ(DeviceOf(nullptr), nullptr);
}

TEST(GicThreads, TwoThreadsHammeringOneDeviceLoseNothing) {
  Camera camera;
  camera.sim->ClearLog();
  constexpr int kRounds = 2000;
  // Each thread counts on its own feature through read-modify-write, and both write a shared
  // selector and read the feature it selects.
  camera.sim->SetIntLimits("Counter", 0, 1 << 20, 1);
  camera.sim->SetIntLimits("Fixed", 0, 1 << 20, 1);
  camera.sim->SetWritable("Fixed", true);
  camera.sim->SetInt("Fixed", 0);
  camera.sim->SetInt("Counter", 0);
  auto work = [&](const char* name, zel::i64 selector) {
    auto mine = camera.Get<IInteger>(name);
    auto index = camera.Get<IInteger>("Index");
    auto named = camera.Get<IString>("Named");
    for (int i = 0; i < kRounds; ++i) {
      mine->SetValue(mine->GetValue() + 1);
      index->SetValue(selector);
      named->GetValue();
    }
  };
  std::thread first(work, "Counter", 1);
  std::thread second(work, "Fixed", 2);
  first.join();
  second.join();
  EXPECT_EQ(camera.sim->GetInt("Counter"), kRounds);
  EXPECT_EQ(camera.sim->GetInt("Fixed"), kRounds);
  // Per round: get, set, set, get; plus three lookups per thread.
  EXPECT_EQ(camera.sim->Log().size(), 2u * (4u * kRounds + 3u));
}

}  // namespace

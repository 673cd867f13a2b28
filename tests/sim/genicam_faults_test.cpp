// Injected faults of the simulated GenICam device: every exception kind, on every access kind,
// with skip, count and access filters, and on the lookup itself.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "genicam/SimDevice.h"
#include "zel/cam/gic.h"

namespace {

using namespace zel::cam::gic;
using sim::genicam::Device;
using sim::genicam::Fault;
using sim::genicam::FaultSpec;

const char* const kProfile = R"(
int      Counter  10   min=0 max=100
float    Gain     1.0  min=0 max=2
bool     Flag     true
enum     Mode     A    entries=A:0,B:1
string   Label    "x"
command  Start    polls=1
register Buffer   8
)";

struct Camera {
  Camera() {
    std::string error;
    device = sim::genicam::OpenSimProfile(kProfile, &error);
    EXPECT_TRUE(device) << error;
    sim = sim::genicam::DeviceOf(device.get());
  }
  template <typename T>
  zel::TSharedPtr<T> Get(const char* name) {
    return device->GetFeature(name).DynamicCast<T>();
  }
  zel::TSharedPtr<IGenICam> device;
  Device* sim = nullptr;
};

// What a call threw, by the most specific class a host would catch it as.
std::string Thrown(const std::function<void()>& call) {
  try {
    call();
  } catch (const CTimeoutException&) {
    return "timeout";
  } catch (const CAccessException&) {
    return "access";
  } catch (const std::invalid_argument&) {
    return "invalid_argument";
  } catch (const std::out_of_range&) {
    return "out_of_range";
  } catch (const std::runtime_error&) {
    return "runtime_error";
  } catch (const std::logic_error&) {
    return "logic_error";
  } catch (const std::exception&) {
    return "exception";
  } catch (...) {
    return "non-standard";
  }
  return "nothing";
}

TEST(GicFaults, EachFaultKindThrowsItsOwnExceptionOnce) {
  struct Row {
    Fault fault;
    const char* thrown;
  } rows[] = {{Fault::Timeout, "timeout"},
              {Fault::Access, "access"},
              {Fault::InvalidArgument, "invalid_argument"},
              {Fault::OutOfRange, "out_of_range"},
              {Fault::RuntimeError, "runtime_error"},
              {Fault::LogicError, "logic_error"},
              {Fault::Exception, "exception"},
              {Fault::NonStandard, "non-standard"}};
  for (const Row& row : rows) {
    Camera camera;
    auto counter = camera.Get<IInteger>("Counter");
    camera.sim->InjectFault({"Counter", row.fault, 1, 0, ""});
    camera.sim->ClearLog();
    EXPECT_EQ(Thrown([&] { counter->GetValue(); }), row.thrown);
    EXPECT_EQ(Thrown([&] { counter->GetValue(); }), "nothing") << row.thrown << " only once";
    auto log = camera.sim->Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].error, "") << row.thrown;
    EXPECT_EQ(log[1].error, "");
    EXPECT_EQ(log[1].value, "10");
  }
}

TEST(GicFaults, EveryAccessKindCanFail) {
  struct Row {
    const char* feature;
    const char* access;
    std::function<void(Camera&)> call;
  } rows[] = {
      {"Counter", "get", [](Camera& c) { c.Get<IInteger>("Counter")->GetValue(); }},
      {"Counter", "set", [](Camera& c) { c.Get<IInteger>("Counter")->SetValue(1); }},
      {"Counter", "min", [](Camera& c) { c.Get<IInteger>("Counter")->GetMin(); }},
      {"Counter", "max", [](Camera& c) { c.Get<IInteger>("Counter")->GetMax(); }},
      {"Counter", "inc", [](Camera& c) { c.Get<IInteger>("Counter")->GetInc(); }},
      {"Counter", "available", [](Camera& c) { c.Get<IInteger>("Counter")->IsAvailable(); }},
      {"Gain", "min", [](Camera& c) { c.Get<IFloat>("Gain")->GetMin(); }},
      {"Gain", "set", [](Camera& c) { c.Get<IFloat>("Gain")->SetValue(0.5); }},
      {"Flag", "set", [](Camera& c) { c.Get<IBoolean>("Flag")->SetValue(false); }},
      {"Mode", "entries", [](Camera& c) { c.Get<IEnum>("Mode")->GetEntries(); }},
      {"Mode", "set", [](Camera& c) { c.Get<IEnum>("Mode")->SetValue("B"); }},
      {"Label", "get", [](Camera& c) { c.Get<IString>("Label")->GetValue(); }},
      {"Start", "execute", [](Camera& c) { c.Get<ICommand>("Start")->Execute(); }},
      {"Start", "isDone", [](Camera& c) { c.Get<ICommand>("Start")->IsDone(); }},
      {"Buffer", "length", [](Camera& c) { c.Get<IRegister>("Buffer")->GetLength(); }},
      {"Buffer", "regGet",
       [](Camera& c) {
         zel::u8 b[8];
         c.Get<IRegister>("Buffer")->Get(b, 8);
       }},
      {"Buffer", "regSet",
       [](Camera& c) {
         zel::u8 b[8] = {1};
         c.Get<IRegister>("Buffer")->Set(b, 8);
       }},
      {"Counter", "lookup", [](Camera& c) { c.device->GetFeature("Counter"); }},
  };
  for (const Row& row : rows) {
    Camera camera;
    FaultSpec spec{row.feature, Fault::Access, 1, 0, row.access};
    camera.sim->InjectFault(spec);
    EXPECT_EQ(Thrown([&] { row.call(camera); }), "access") << row.feature << " " << row.access;
    EXPECT_EQ(camera.sim->PendingFaults(), 0u);
    EXPECT_EQ(Thrown([&] { row.call(camera); }), "nothing") << row.feature << " " << row.access;
  }
}

TEST(GicFaults, AFailedWriteChangesNothingAndRunsNoHook) {
  Camera camera;
  int hooks = 0;
  camera.sim->OnWrite("Counter", [&](Device&, const std::string&) { ++hooks; });
  camera.sim->OnExecute("Start", [&](Device&, const std::string&) { ++hooks; });
  camera.sim->InjectFault({"Counter", Fault::Timeout, 1, 0, "set"});
  camera.sim->InjectFault({"Start", Fault::Timeout, 1, 0, "execute"});
  EXPECT_THROW(camera.Get<IInteger>("Counter")->SetValue(50), CTimeoutException);
  EXPECT_THROW(camera.Get<ICommand>("Start")->Execute(), CTimeoutException);
  EXPECT_EQ(camera.sim->GetInt("Counter"), 10);
  EXPECT_EQ(camera.sim->ExecuteCount("Start"), 0);
  EXPECT_EQ(hooks, 0);
}

TEST(GicFaults, SkipCountAndAccessFilterSelectWhichAccessesFail) {
  Camera camera;
  auto counter = camera.Get<IInteger>("Counter");
  // Let one get through, fail the next two gets; sets are not matched.
  camera.sim->InjectFault({"Counter", Fault::Timeout, 2, 1, "get"});
  std::vector<std::string> outcomes;
  for (int i = 0; i < 4; ++i) {
    counter->SetValue(i);
    outcomes.push_back(Thrown([&] { counter->GetValue(); }));
  }
  EXPECT_EQ(outcomes, (std::vector<std::string>{"nothing", "timeout", "timeout", "nothing"}));

  // Two faults on one feature count their accesses independently; the first armed one fires.
  camera.sim->InjectFault({"Counter", Fault::RuntimeError, 1, 2, ""});
  camera.sim->InjectFault({"Counter", Fault::Access, 1, 0, ""});
  outcomes.clear();
  for (int i = 0; i < 4; ++i)
    outcomes.push_back(Thrown([&] { counter->GetValue(); }));
  EXPECT_EQ(outcomes, (std::vector<std::string>{"access", "nothing", "runtime_error", "nothing"}));
}

TEST(GicFaults, LookupFaultsAreSeparateFromAccessFaults) {
  Camera camera;
  camera.sim->InjectFault({"Counter", Fault::Timeout, 1, 0, ""});
  EXPECT_TRUE(camera.device->GetFeature("Counter")) << "an access fault spares the lookup";
  EXPECT_EQ(camera.sim->PendingFaults(), 1u);
  camera.sim->ClearFaults();
  camera.sim->InjectFault({"Nowhere", Fault::NonStandard, 1, 0, "lookup"});
  EXPECT_EQ(Thrown([&] { camera.device->GetFeature("Nowhere"); }), "non-standard")
      << "a lookup fault fires also for a feature the camera does not have";
  EXPECT_FALSE(camera.device->GetFeature("Nowhere"));
  auto lookups = camera.sim->Log("Nowhere", "lookup");
  ASSERT_EQ(lookups.size(), 2u);
  EXPECT_EQ(lookups[0].error, "non-standard exception");
  EXPECT_EQ(lookups[1].value, "missing");
}

TEST(GicFaults, FaultAtStepCountsEarlierAccessesOfTheSameKind) {
  std::vector<sim::genicam::Access> log = {
      {"A", "get", "1", ""}, {"B", "get", "1", ""}, {"A", "set", "2", ""}, {"A", "get", "2", ""}};
  FaultSpec spec = sim::genicam::FaultAtStep(log, 3, Fault::LogicError);
  EXPECT_EQ(spec.feature, "A");
  EXPECT_EQ(spec.access, "get");
  EXPECT_EQ(spec.skip, 1);
  EXPECT_EQ(spec.count, 1);
  EXPECT_EQ(spec.fault, Fault::LogicError);
  EXPECT_THROW(sim::genicam::FaultAtStep(log, 4, Fault::Timeout), std::out_of_range);
}

TEST(GicFaults, ThreadsShareTheFaultBudget) {
  Camera camera;
  camera.sim->InjectFault({"Counter", Fault::Timeout, 100, 0, "get"});
  std::atomic<int> timeouts{0};
  auto work = [&] {
    auto counter = camera.Get<IInteger>("Counter");
    for (int i = 0; i < 500; ++i) {
      if (Thrown([&] { counter->GetValue(); }) == "timeout") ++timeouts;
    }
  };
  std::thread first(work);
  std::thread second(work);
  first.join();
  second.join();
  EXPECT_EQ(timeouts.load(), 100);
  EXPECT_EQ(camera.sim->PendingFaults(), 0u);
}

}  // namespace

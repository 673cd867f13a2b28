// Injected faults of the simulated GenICam device: every exception kind, on every access kind,
// with skip, count and access filters, and on the lookup itself.
#include <atomic>
#include <functional>
#include <thread>

#include "gic_fixture.h"

namespace {

using namespace zel::cam::gic;
using gictest::Camera;
using sim::genicam::Device;
using sim::genicam::Fault;

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

// Every access kind fails once with the kind of fault injected; the kinds go round the rows, so
// that each is thrown. The failed access is logged with its error. Set, max, execute and isDone
// pass the same check, and the traffic log test sees their names.
TEST(GicFaults, EveryAccessKindFailsOnceWithEveryFaultKind) {
  const std::pair<Fault, const char*> kinds[] = {{Fault::Timeout, "timeout"},
                                                 {Fault::Access, "access"},
                                                 {Fault::InvalidArgument, "invalid_argument"},
                                                 {Fault::OutOfRange, "out_of_range"},
                                                 {Fault::RuntimeError, "runtime_error"},
                                                 {Fault::LogicError, "logic_error"},
                                                 {Fault::Exception, "exception"},
                                                 {Fault::NonStandard, "non-standard"}};
  struct Row {
    const char* feature;
    const char* access;
    std::function<void(Camera&)> call;
  } rows[] = {
      {"Counter", "get", [](Camera& c) { c.Get<IInteger>("Counter")->GetValue(); }},
      {"Counter", "min", [](Camera& c) { c.Get<IInteger>("Counter")->GetMin(); }},
      {"Counter", "inc", [](Camera& c) { c.Get<IInteger>("Counter")->GetInc(); }},
      {"Counter", "available", [](Camera& c) { c.Get<IInteger>("Counter")->IsAvailable(); }},
      {"Gain", "min", [](Camera& c) { c.Get<IFloat>("Gain")->GetMin(); }},
      {"Gain", "set", [](Camera& c) { c.Get<IFloat>("Gain")->SetValue(0.5); }},
      {"Flag", "set", [](Camera& c) { c.Get<IBoolean>("Flag")->SetValue(false); }},
      {"Mode", "entries", [](Camera& c) { c.Get<IEnum>("Mode")->GetEntries(); }},
      {"Label", "get", [](Camera& c) { c.Get<IString>("Label")->GetValue(); }},
      {"Buffer", "length", [](Camera& c) { c.Get<IRegister>("Buffer")->GetLength(); }},
      {"Buffer", "regGet", [](Camera& c) { c.Get<IRegister>("Buffer")->Get(c.bytes, 8); }},
      {"Buffer", "regSet", [](Camera& c) { c.Get<IRegister>("Buffer")->Set(c.bytes, 8); }},
      {"Counter", "lookup", [](Camera& c) { c.device->GetFeature("Counter"); }},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& row = rows[i];
    const auto& [fault, thrown] = kinds[i % std::size(kinds)];
    SCOPED_TRACE(std::string(row.feature) + " " + row.access + " " + thrown);
    Camera camera;
    camera.sim->InjectFault({row.feature, fault, 1, 0, row.access});
    EXPECT_EQ(Thrown([&] { row.call(camera); }), thrown);
    EXPECT_EQ(camera.sim->PendingFaults(), 0u);
    EXPECT_EQ(camera.sim->Log().back().access, row.access);
    EXPECT_NE(camera.sim->Log().back().error, "");
    EXPECT_EQ(Thrown([&] { row.call(camera); }), "nothing") << "only once";
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
    counter->SetValue(2 * i);
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

#include "zel/time.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace zel {
namespace {
std::atomic<SleepHook> g_hook{nullptr};

struct Observers {
  std::mutex mutex;
  std::vector<std::pair<SleepObserver, void*>> list;
};

// Leaked on purpose: observers may be removed from destructors that run at exit.
Observers& observers() {
  static Observers* instance = new Observers;
  return *instance;
}
}  // namespace

void SleepMs(u32 milliseconds) {
  if (SleepHook hook = g_hook.load()) {
    hook(milliseconds);
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
  Observers& all = observers();
  std::lock_guard<std::mutex> hold(all.mutex);
  for (const auto& [observer, context] : all.list)
    observer(context, milliseconds);
}

SleepHook SetSleepHook(SleepHook hook) { return g_hook.exchange(hook); }

void AddSleepObserver(SleepObserver observer, void* context) {
  Observers& all = observers();
  std::lock_guard<std::mutex> hold(all.mutex);
  all.list.emplace_back(observer, context);
}

void RemoveSleepObserver(SleepObserver observer, void* context) {
  Observers& all = observers();
  std::lock_guard<std::mutex> hold(all.mutex);
  auto it = std::find(all.list.begin(), all.list.end(), std::make_pair(observer, context));
  if (it != all.list.end()) all.list.erase(it);
}

}  // namespace zel

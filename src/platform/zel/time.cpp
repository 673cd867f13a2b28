#include "zel/time.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace zel {
namespace {
std::atomic<SleepHook> g_hook{nullptr};
}

void SleepMs(u32 milliseconds) {
  if (SleepHook hook = g_hook.load()) {
    hook(milliseconds);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

SleepHook SetSleepHook(SleepHook hook) { return g_hook.exchange(hook); }

}  // namespace zel

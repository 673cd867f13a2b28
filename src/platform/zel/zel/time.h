// The one sleep of everything built on zel. Tests install a hook to shorten or record the waits.
#pragma once

#include "zel/base.h"

namespace zel {

using SleepHook = void (*)(u32 milliseconds);

// Sleeps for the given time, or calls the installed hook instead.
ZEL_API void SleepMs(u32 milliseconds);
// Installs a hook (null: real sleeping again) and returns the previous one.
ZEL_API SleepHook SetSleepHook(SleepHook hook);

// Told of every SleepMs after it returns, hooked or real: simulated cameras keep their own time
// with it, so that a host's polling loop sees the camera move on even when tests record the
// waits instead of sleeping.
using SleepObserver = void (*)(void* context, u32 milliseconds);
ZEL_API void AddSleepObserver(SleepObserver observer, void* context);
// Removes one registration of the pair; once it returns, the observer is not running for it.
ZEL_API void RemoveSleepObserver(SleepObserver observer, void* context);

}  // namespace zel

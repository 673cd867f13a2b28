// The one sleep of everything built on zel. Tests install a hook to shorten or record the waits.
#pragma once

#include "zel/base.h"

namespace zel {

using SleepHook = void (*)(u32 milliseconds);

// Sleeps for the given time, or calls the installed hook instead.
ZEL_API void SleepMs(u32 milliseconds);
// Installs a hook (null: real sleeping again) and returns the previous one.
ZEL_API SleepHook SetSleepHook(SleepHook hook);

}  // namespace zel

#include "deflate_faults.h"

#include <dlfcn.h>

#include <mutex>
#include <utility>

namespace {

struct Faults {
  std::mutex mutex;
  std::function<bool(const z_stream&)> when;
  int left = 0;  // failures still to give once triggered; negative: without end
  bool triggered = false;
  int failures = 0;
};

Faults& faults() {
  static Faults instance;
  return instance;
}

using DeflateFn = int (*)(z_streamp, int);

DeflateFn RealDeflate() {
  static const DeflateFn real = reinterpret_cast<DeflateFn>(dlsym(RTLD_NEXT, "deflate"));
  return real;
}

}  // namespace

namespace testutil {

void FailDeflate(std::function<bool(const z_stream&)> when, int count) {
  std::lock_guard<std::mutex> hold(faults().mutex);
  faults().when = std::move(when);
  faults().left = count;
  faults().triggered = false;
  faults().failures = 0;
}

void ClearDeflateFaults() { FailDeflate({}, 0); }

int DeflateFailures() {
  std::lock_guard<std::mutex> hold(faults().mutex);
  return faults().failures;
}

}  // namespace testutil

extern "C" int deflate(z_streamp stream, int flush) {
  {
    Faults& f = faults();
    std::lock_guard<std::mutex> hold(f.mutex);
    if (f.left != 0 && (f.triggered || (f.when && f.when(*stream)))) {
      f.triggered = true;
      if (f.left > 0) --f.left;
      ++f.failures;
      return Z_STREAM_ERROR;
    }
  }
  return RealDeflate()(stream, flush);
}

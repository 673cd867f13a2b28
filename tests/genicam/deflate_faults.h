// Faults in zlib's deflate for the upload tests. The test program defines deflate itself, ahead of
// the zlib library: unarmed it forwards every call to zlib; armed it answers Z_STREAM_ERROR
// without touching the stream, as a deflate that has failed would.
#pragma once

#include <zlib.h>

#include <functional>

namespace testutil {

// From the first deflate call whose stream satisfies `when`, that call and the next `count - 1`
// fail (every later call for count -1).
void FailDeflate(std::function<bool(const z_stream&)> when, int count);
void ClearDeflateFaults();
// Calls answered with a failure since the fault was armed.
int DeflateFailures();

// Arms the faults for one scope.
class ScopedDeflateFault {
 public:
  ScopedDeflateFault(std::function<bool(const z_stream&)> when, int count) {
    FailDeflate(std::move(when), count);
  }
  ~ScopedDeflateFault() { ClearDeflateFaults(); }
  ScopedDeflateFault(const ScopedDeflateFault&) = delete;
  ScopedDeflateFault& operator=(const ScopedDeflateFault&) = delete;
};

}  // namespace testutil

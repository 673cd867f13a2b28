// Running out of memory on purpose. The test program replaces the global operator new: while an
// AllocationFailure is alive, the calling thread's allocations fail with std::bad_alloc from the
// `from`-th on (0: the next one), as they would when memory is exhausted. Other threads are not
// touched.
#pragma once

namespace testutil {

class AllocationFailure {
 public:
  explicit AllocationFailure(long from);
  ~AllocationFailure();
  AllocationFailure(const AllocationFailure&) = delete;
  AllocationFailure& operator=(const AllocationFailure&) = delete;
  // Whether an allocation has been refused.
  bool Fired() const;
};

}  // namespace testutil

// Helpers of the transfer tests: host files in memory and a recorder of progress reports.
#pragma once

#include <utility>
#include <vector>

#include "zel/zel.h"

namespace testutil {

using Bytes = std::vector<zel::u8>;
using FilePtr = zel::TSharedPtr<zel::IFile>;

inline FilePtr MemFile(const Bytes& bytes = {}) {
  return FilePtr(new zel::CMemFile(bytes.data(), bytes.size()));
}

inline Bytes Contents(const FilePtr& file) {
  auto* memory = static_cast<zel::CMemFile*>(file.get());
  return Bytes(memory->GetData(), memory->GetData() + memory->GetLength());
}

// Records every (done, total) report; answers `answer`.
class ProgressLog {
 public:
  using Calls = std::vector<std::pair<zel::u32, zel::u32>>;
  zel::delegate<int(zel::u32, zel::u32)> Delegate() {
    return zel::delegate<int(zel::u32, zel::u32)>::FromMethod<ProgressLog, &ProgressLog::Report>(
        this);
  }
  int Report(zel::u32 done, zel::u32 total) {
    calls.emplace_back(done, total);
    return answer;
  }
  Calls calls;
  int answer = 0;
};

}  // namespace testutil

// Progress of a file transfer on stderr: a bar redrawn in place on a terminal, and plain lines at
// every tenth otherwise, so that logs stay short.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "tqvSDK.h"

namespace tqvcli {

class Progress {
 public:
  // `terminal`: draw a bar (else plain lines); `width`: columns of the terminal.
  Progress(std::FILE* out, std::string label, bool terminal, int width);
  // A display that fits where it prints: a bar when `out` is a terminal.
  static Progress For(std::FILE* out, std::string label);

  // One report of bytes done out of the whole file; the library's callbacks land here.
  void Update(std::uint32_t done, std::uint32_t total);
  // Ends the display: on success it shows the whole file done.
  void Finish(bool succeeded);

  tqvProgressDelegate Delegate();
  static int Callback(unsigned int done, unsigned int total, void* context);

 private:
  int Report(unsigned int done, unsigned int total);
  void Draw(std::uint32_t done, std::uint32_t total);

  std::FILE* out_;
  std::string label_;
  bool terminal_;
  int width_;
  int shown_ = -1;  // the last percentage (terminal) or tenth (lines) shown
  std::uint32_t done_ = 0;
  std::uint32_t total_ = 0;
  bool drawn_ = false;
};

}  // namespace tqvcli

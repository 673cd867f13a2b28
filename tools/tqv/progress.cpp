#include "progress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

namespace tqvcli {

Progress::Progress(std::FILE* out, std::string label, bool terminal, int width)
    : out_(out), label_(std::move(label)), terminal_(terminal), width_(std::max(width, 40)) {}

Progress Progress::For(std::FILE* out, std::string label) {
  const int fd = fileno(out);
  const bool terminal = isatty(fd) == 1;
  winsize size{};
  const int width = terminal && ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col ? size.ws_col : 80;
  return Progress(out, std::move(label), terminal, width);
}

int Progress::Report(unsigned int done, unsigned int total) {
  Update(done, total);
  return 0;
}

tqvProgressDelegate Progress::Delegate() {
  return tqvProgressDelegate::FromMethod<Progress, &Progress::Report>(this);
}

int Progress::Callback(unsigned int done, unsigned int total, void* context) {
  return static_cast<Progress*>(context)->Report(done, total);
}

void Progress::Update(std::uint32_t done, std::uint32_t total) {
  done_ = std::min(done, total);
  total_ = total;
  const std::uint64_t percent = total ? std::uint64_t{done_} * 100 / total : 100;
  const int step = terminal_ ? static_cast<int>(percent) : static_cast<int>(percent / 10);
  if (step == shown_) return;
  shown_ = step;
  Draw(done_, total_);
}

void Progress::Draw(std::uint32_t done, std::uint32_t total) {
  const unsigned percent = total ? static_cast<unsigned>(std::uint64_t{done} * 100 / total) : 100u;
  // Appended piece by piece: GCC 12 misreads a text put in front of a temporary string as an
  // overlapping copy at -O3 (-Wrestrict).
  std::string counts = " ";
  counts.append(std::to_string(percent)).append("% ").append(std::to_string(done));
  counts.append("/").append(std::to_string(total)).append(" B");
  if (terminal_) {
    const int room = width_ - static_cast<int>(label_.size() + counts.size()) - 4;
    const int bar = std::max(room, 10);
    const int filled = total ? static_cast<int>(std::uint64_t{done} * bar / total) : bar;
    std::fprintf(out_, "\r%s [%s%s]%s", label_.c_str(), std::string(filled, '#').c_str(),
                 std::string(bar - filled, '.').c_str(), counts.c_str());
  } else {
    std::fprintf(out_, "%s:%s\n", label_.c_str(), counts.c_str());
  }
  std::fflush(out_);
  drawn_ = true;
}

void Progress::Finish(bool succeeded) {
  if (succeeded && (!drawn_ || done_ != total_ || shown_ != (terminal_ ? 100 : 10))) {
    done_ = total_;
    shown_ = terminal_ ? 100 : 10;
    Draw(total_, total_);
  }
  if (terminal_ && drawn_) std::fputc('\n', out_);
  std::fflush(out_);
}

}  // namespace tqvcli

// The windowed reader of camera correction files. The first 9 bytes choose the window and its
// orientation, the rest is the file. With bit 2 of the first byte the window is placed relative
// to the stored one, which reaches the reading code far more often than random offsets. What is
// read is compared with the same window picked pixel by pixel from the whole loaded table.
#include <cstdlib>
#include <vector>

#include "formats_input.h"
#include "tqvSDK.h"

namespace {

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::TempFile file("table");
  if (size < 9) return 0;
  const std::uint8_t mode = data[0];
  std::uint16_t x = U16(data + 1), y = U16(data + 3), w = U16(data + 5), h = U16(data + 7);
  const char* path = file.Write(data + 9, size - 9);
  const bool invert = mode & 1, revert = mode & 2;
  tqvSNUCInfo stored;
  const bool known = tqvReadNUCFileInfo(path, &stored) == TQV_OK;
  std::uint16_t maxW = static_cast<std::uint16_t>(x ^ w), maxH = static_cast<std::uint16_t>(y ^ h);
  if ((mode & 4) && known) {
    x = static_cast<std::uint16_t>(stored.windowOffsetX + x % 4);
    y = static_cast<std::uint16_t>(stored.windowOffsetY + y % 4);
    w = static_cast<std::uint16_t>(w % (stored.windowWidth + 1u));
    h = static_cast<std::uint16_t>(h % (stored.windowHeight + 1u));
    maxW = stored.maxWidth;
    maxH = stored.maxHeight;
  }
  const std::size_t words = static_cast<std::size_t>(w) * h;
  if (words > (1u << 22)) return 0;
  std::vector<std::uint32_t> table(words + 1);
  tqvSNUCInfo info;
  if (tqvReadNUCFileTable(path, table.data(), x, y, w, h, invert, revert, maxW, maxH, &info) !=
      TQV_OK) {
    return 0;
  }
  fuzz::Check(known && info.windowWidth == stored.windowWidth);
  tqvSNUCInfo loadedInfo;
  std::uint32_t* whole = nullptr;
  if (h == 0 || tqvLoadNUCFile(path, &loadedInfo, &whole) != TQV_OK) return 0;
  for (int r = 0; r < h; ++r) {
    for (int c = 0; c < w; ++c) {
      const int column = revert != stored.revert ? maxW - 1 - (x + c) : x + c;
      const int row = invert != stored.invert ? maxH - 1 - (y + r) : y + r;
      const long index = static_cast<long>(row - stored.windowOffsetY) * stored.windowWidth +
                         (column - stored.windowOffsetX);
      fuzz::Check(index >= 0 &&
                  index < static_cast<long>(stored.windowWidth) * stored.windowHeight);
      fuzz::Check(table[static_cast<std::size_t>(r) * w + c] == whole[index]);
    }
  }
  std::free(whole);
  return 0;
}

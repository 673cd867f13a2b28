// The overlay colour table and the video margin that no camera has.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "tqvSDK.h"

namespace {

// Exactly 256 entries are written, the same whatever the handle (it is not looked at, so one
// never registered will do). Past the overlay's own eight colours the table is a ramp from near
// black to near white without jumps, so that neighbouring values look alike.
TEST(OverlayPalette, FillsExactly256EntriesOfARamp) {
  tqvSRGB first[257], second[257];
  std::memset(first, 0xA5, sizeof first);
  std::memset(second, 0x5A, sizeof second);
  ASSERT_EQ(tqvGetVideoOverlayPalette(reinterpret_cast<void*>(0x1234), first), TQV_OK);
  ASSERT_EQ(tqvGetVideoOverlayPalette(nullptr, second), TQV_OK);
  EXPECT_EQ(std::memcmp(first, second, 256 * sizeof(tqvSRGB)), 0) << "an entry left unwritten";
  EXPECT_EQ(first[256].red, 0xA5) << "wrote past 256 entries";
  EXPECT_EQ(second[256].blue, 0x5A) << "wrote past 256 entries";
  const auto brightness = [](const tqvSRGB& c) { return c.red + c.green + c.blue; };
  EXPECT_LT(brightness(first[8]), 64);
  EXPECT_GT(brightness(first[255]), 700);
  for (int i = 9; i < 256; ++i) {
    const tqvSRGB &a = first[i - 1], &b = first[i];
    EXPECT_LE(std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue), 20)
        << "entry " << i;
  }
}

TEST(VideoMargin, AlwaysInvalidArgumentAndNothingWritten) {
  uint16_t margin = 7;
  EXPECT_EQ(tqvGetVideoMargin(reinterpret_cast<void*>(0x1234), &margin), TQV_INVALID_ARGUMENT);
  EXPECT_EQ(margin, 7);
  EXPECT_EQ(tqvSetVideoMargin(reinterpret_cast<void*>(0x1234), 100), TQV_INVALID_ARGUMENT);
}

}  // namespace

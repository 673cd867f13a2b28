// Helpers of the format tests: byte builders (files and headers are put together here, byte by
// byte, rather than produced by the code under test) and a compact check of many values.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "common/testutil.h"

namespace fmt_test {

using Bytes = std::vector<std::uint8_t>;

inline void PutLE(Bytes& out, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i)
    out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
inline void PutLE(std::uint8_t* out, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i)
    out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
inline void PutText(Bytes& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
}

inline void PutWords(Bytes& out, const std::vector<std::uint32_t>& words) {
  for (std::uint32_t w : words)
    PutLE(out, w, 4);
}

// A camera correction file: "HDSize Auto", the given lines, "DATA", then the words.
inline Bytes CameraFile(const std::vector<std::string>& lines,
                        const std::vector<std::uint32_t>& words, const std::string& eol = "\r\n") {
  Bytes out;
  PutText(out, "HDSize Auto" + eol + "KeyWrd TQVNUC" + eol);
  for (const std::string& line : lines)
    PutText(out, line + eol);
  PutText(out, "DATA" + eol);
  PutWords(out, words);
  return out;
}

inline std::string Key(const std::string& key, long long value) {
  return key + " " + std::to_string(value);
}

// The window and sensor-size lines of a camera file.
inline std::vector<std::string> WindowLines(int x, int y, int w, int h, int maxW, int maxH) {
  return {Key("windowOffsetX", x), Key("windowOffsetY", y), Key("windowWidth", w),
          Key("windowHeight", h),  Key("maxWidth", maxW),   Key("maxHeight", maxH)};
}

inline std::vector<std::string> operator+(std::vector<std::string> a,
                                          const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A decoded value beside the one expected.
struct Value {
  const char* name;
  double actual, expected;
};
#define TQV_V(field, expected) \
  fmt_test::Value { #field, static_cast < double>(field), static_cast < double>(expected) }

// Integers must match exactly; converted values within single precision.
inline void ExpectValues(std::initializer_list<Value> values) {
  for (const Value& v : values) {
    EXPECT_NEAR(v.actual, v.expected, 1e-4 + std::abs(v.expected) * 1e-6) << v.name;
  }
}

}  // namespace fmt_test

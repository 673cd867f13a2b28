// Reading values from the command line and turning library records into output values.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "output.h"
#include "tqvSDK.h"

namespace tqvcli {

// The texts of an enumerated setting: the library's Text/Enum pair, or a name table.
struct EnumTexts {
  std::string_view setting;
  const char* (*text)(std::uint32_t) = nullptr;
  std::uint32_t (*code)(const char*) = nullptr;
  std::uint32_t (*name)(std::uint32_t, char*, std::int32_t) = nullptr;

  // Empty when the code has no text.
  std::string TextOf(std::uint32_t value) const;
  // The code of a text; false when no code has it.
  bool CodeOf(const std::string& text, std::uint32_t& value) const;
  // Every text, in code order ("Single Preset, Preset Sequencing, ...").
  std::string AllTexts() const;
};

// The texts of the setting an operation reads or writes (GetTriggerPolarity: polarity), or null.
const EnumTexts* EnumTextsFor(std::string_view operation);

// Numbers: decimal or 0x hexadecimal integers within the type's range, decimal floats; flags:
// true/false, 1/0, yes/no, on/off. The whole text must be the value.
template <class T>
bool ParseValue(std::string_view text, T& value) {
  static_assert(std::is_arithmetic_v<T>);
  if constexpr (std::is_same_v<T, bool>) {
    for (std::string_view yes : {"true", "1", "yes", "on"})
      if (text == yes) return value = true, true;
    for (std::string_view no : {"false", "0", "no", "off"})
      if (text == no) return value = false, true;
    return false;
  } else {
    const char* first = text.data();
    const char* last = first + text.size();
    std::from_chars_result result{};
    if constexpr (std::is_floating_point_v<T>) {
      result = std::from_chars(first, last, value);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
      result = std::from_chars(first + 2, last, value, 16);
    } else {
      result = std::from_chars(first, last, value);
    }
    return !text.empty() && result.ec == std::errc() && result.ptr == last;
  }
}

// One value of a record field as output.
template <class T>
requires std::is_arithmetic_v<T> Json FieldValue(T value, std::size_t) {
  if constexpr (std::is_same_v<T, bool>) {
    return value;
  } else if constexpr (std::is_same_v<T, float>) {
    return FloatValue(value);
  } else if constexpr (std::is_floating_point_v<T>) {
    return value;
  } else if constexpr (std::is_signed_v<T>) {
    return static_cast<std::int64_t>(value);
  } else {
    return static_cast<std::uint64_t>(value);
  }
}
// A text field of a fixed size, which need not end with a NUL.
inline Json FieldValue(const char* text, std::size_t size) {
  return std::string(text, strnlen(text, size));
}

Json RecordJson(const tqvSNUCInfo& info);
Json RecordJson(const tqvSCalInfo& info);  // with its lookup table when it holds one
Json RecordJson(const tqvSSsdMovieInfo& info);
Json RecordJson(const tqvSHeader& header);
Json RecordJson(const tqvSVornHeader& header);
Json RecordJson(const tqvSTeskHeader& header);

}  // namespace tqvcli

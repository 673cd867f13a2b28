// Short integer names used throughout the library's own code.
#pragma once

#include "zel/base.h"

using u8 = zel::u8;
using u16 = zel::u16;
using u32 = zel::u32;
using u64 = zel::u64;
using i8 = zel::i8;
using i16 = zel::i16;
using i32 = zel::i32;
using i64 = zel::i64;

// Result codes (the same values as the public header's TQV_* names).
namespace rc {
constexpr u32 kOk = 0;
constexpr u32 kTimeout = 1;
constexpr u32 kNotSupported = 2;
constexpr u32 kNotFound = 160;
constexpr u32 kNoLimits = 161;
constexpr u32 kNotWritable = 162;
constexpr u32 kFailed = 165;
constexpr u32 kInvalidArgument = 166;
constexpr u32 kUnexpectedValue = 167;
constexpr u32 kOutOfEnumeration = 168;
constexpr u32 kTooLarge = 169;
constexpr u32 kAccessDenied = 170;
constexpr u32 kError = 0xFFFFFFFFu;
}  // namespace rc

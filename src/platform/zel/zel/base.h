// Basic types, allocation and error raising shared by every zel component.
#pragma once

#include <cstddef>
#include <cstdint>

#define ZEL_API __attribute__((visibility("default")))

namespace zel {

using u8 = std::uint8_t;
using u16 = std::uint16_t;
using u32 = std::uint32_t;
using u64 = std::uint64_t;
using i8 = std::int8_t;
using i16 = std::int16_t;
using i32 = std::int32_t;
using i64 = std::int64_t;

// The framework's allocator. Blocks from Alloc/Realloc are released with Free; they are
// compatible with the C library's malloc/free so that texts handed to hosts can be freed either
// way.
ZEL_API void* Alloc(std::size_t size);
ZEL_API void* Realloc(void* block, std::size_t size);
ZEL_API void Free(void* block);

// The two ways the framework raises errors: std::out_of_range and std::bad_alloc.
[[noreturn]] ZEL_API void ThrowOutOfRangeException(const char* message);
[[noreturn]] ZEL_API void ThrowBadAllocException();

}  // namespace zel

// A heap copy of a text (Alloc'ed); null for a null text or when memory is exhausted.
extern "C" ZEL_API char* zelStrDup(const char* text);

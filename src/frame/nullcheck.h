// Null pointers at the C boundary. Every entry point answers a null pointer argument (or an empty
// host file) with 166 after its handle check and before any camera access, decided here from the
// parameter types once for all generated entry points. A few operations give null a meaning of
// their own; they are the rules below.
#pragma once

#include <algorithm>
#include <string_view>
#include <type_traits>

#include "frame/registry.h"

namespace nulls {

// What an operation does with null arguments: bit i of `optional` is set when argument i (counted
// after the handle) may be null; a null argument that may not gives `answer`.
struct Rule {
  std::string_view operation;
  u32 optional;
  u32 answer;
};

constexpr u32 Arg(int position) { return 1u << position; }

// Operations whose null arguments mean something.
inline constexpr Rule kRules[] = {
    // File information: size and time are each optional, so that a host may ask for one of them
    // or for neither (an existence test).
    {"GetFileInfo", Arg(1) | Arg(2), rc::kInvalidArgument},
    {"GetNUCFileInfo", Arg(1) | Arg(2), rc::kInvalidArgument},
    {"GetStateFileInfo", Arg(1) | Arg(2), rc::kInvalidArgument},
    {"GetLensStateFileInfo", Arg(1) | Arg(2), rc::kInvalidArgument},
    {"GetPaletteFileInfo", Arg(1) | Arg(2), rc::kInvalidArgument},
    {"GetFactoryDefaultStateFileInfo", Arg(0) | Arg(1), rc::kInvalidArgument},
    // A correction-file query without a record (or without a name) fails as a query the camera
    // cannot read does.
    {"QueryNUCInfo", 0, rc::kError},
    {"QueryNUCBasicInfo", 0, rc::kError},
};

// Every camera operation's name, in table order.
inline constexpr std::string_view kOperations[] = {
#define TQV_OP(name, params, args) #name,
#include "interface/operations.def"
};

constexpr bool IsOperation(std::string_view name) {
  return std::find(std::begin(kOperations), std::end(kOperations), name) != std::end(kOperations);
}
static_assert(std::all_of(std::begin(kRules), std::end(kRules),
                          [](const Rule& rule) { return IsOperation(rule.operation); }),
              "a null rule names an operation that does not exist");

constexpr Rule RuleFor(std::string_view operation) {
  for (const Rule& rule : kRules) {
    if (rule.operation == operation) return rule;
  }
  return {operation, 0, rc::kInvalidArgument};
}

template <typename T>
struct IsSharedPtr : std::false_type {};
template <typename T>
struct IsSharedPtr<zel::TSharedPtr<T>> : std::true_type {};

// True for a null pointer and an empty shared pointer; values, references and delegates (an empty
// delegate means: no progress reports) are never null.
template <typename T>
bool IsNull(const T& value) {
  if constexpr (std::is_pointer_v<T>) {
    return value == nullptr;
  } else if constexpr (IsSharedPtr<T>::value) {
    return !value;
  } else {
    return false;
  }
}

// The rule's answer when an argument that may not be null is, else 0.
template <typename... Args>
u32 Refuse(const Rule& rule, const Args&... args) {
  u32 nulls = 0, bit = 1;
  ((nulls |= IsNull(args) ? bit : 0, bit <<= 1), ...);
  return (nulls & ~rule.optional) ? rule.answer : rc::kOk;
}

// The check as a call on the operation's argument list: Check(rule)(a, b).
constexpr auto Check(const Rule& rule) {
  return [rule](const auto&... args) { return Refuse(rule, args...); };
}

// For the hand-written entry points that take a handle: 0xFFFFFFFF for an unknown handle, then
// 166 when any of the given pointers is null, else 0.
template <typename... Pointers>
u32 CheckCall(void* handle, const Pointers&... pointers) {
  if (!sdks().Resolve(handle)) return rc::kError;
  return (IsNull(pointers) || ...) ? rc::kInvalidArgument : rc::kOk;
}

}  // namespace nulls

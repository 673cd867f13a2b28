// The exported tqv<Name> entry point of every camera operation: resolve the handle, refuse null
// pointers (frame/nullcheck.h), call the operation with the arguments unchanged, return its
// result. The registry lock is not held while the operation runs; the resolved reference keeps the
// backend alive until the call returns.
#include <type_traits>

#include "frame/nullcheck.h"
#include "frame/registry.h"
#include "interface/opsets.h"

// Operations whose entry point hands a C host an entry array instead of a framework array; they
// are written by hand (listings.cpp).
#define TQV_OWN_ENTRY_ListNUCs TQV_MEMBER
#define TQV_OWN_ENTRY_ListStates TQV_MEMBER
#define TQV_OWN_ENTRY_ListLensStates TQV_MEMBER
#define TQV_OWN_ENTRY_ListPalettes TQV_MEMBER
#define TQV_OWN_ENTRY_ListDir TQV_MEMBER
#define TQV_OWN_ENTRY_GetCameraExtraInfo TQV_MEMBER

#define TQV_WITH_HANDLE(...) (void* handle __VA_OPT__(, ) __VA_ARGS__)

#define TQV_ENTRY(name, params, args)                                                           \
  static_assert(std::is_same_v<decltype(&::tqv##name), u32(*) TQV_WITH_HANDLE params>,          \
                "the public header must declare tqv" #name " with the operation's parameters"); \
  extern "C" TQV_API u32 tqv##name TQV_WITH_HANDLE params {                                     \
    CTQVSDKArray::Ref sdk = sdks().Resolve(handle);                                             \
    if (!sdk) return rc::kError;                                                                \
    static constexpr nulls::Rule kNullRule = nulls::RuleFor(#name);                             \
    if (u32 refused = nulls::Check(kNullRule) args; refused != rc::kOk) return refused;         \
    return sdk->name args;                                                                      \
  }

#define TQV_OP(name, params, args) \
  TQV_IF(TQV_IN_SET(OWN_ENTRY, name))(, TQV_ENTRY(name, params, args))
#include "interface/operations.def"

// Compile-time sets of operations. A set is a list of macros TQV_<SET>_<Name> defined as
// TQV_MEMBER; inside an expansion of operations.def an operation is tested with
//   TQV_IF(TQV_IN_SET(SET, name))(text when a member, text when not)
#pragma once

#define TQV_MEMBER ~, 1
#define TQV_CAT_(a, b) a##b
#define TQV_CAT(a, b) TQV_CAT_(a, b)
#define TQV_SECOND_(a, b, ...) b
#define TQV_SECOND(...) TQV_SECOND_(__VA_ARGS__)
#define TQV_IN_SET(set, name) TQV_SECOND(TQV_CAT(TQV_CAT(TQV_, set), _##name), 0, ~)
#define TQV_IF(condition) TQV_CAT(TQV_IF_, condition)
#define TQV_IF_1(then, otherwise) then
#define TQV_IF_0(then, otherwise) otherwise

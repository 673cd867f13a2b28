// The client's value calls against the simulated camera: the typed conversion rules for reads
// and writes, limits, children, missing and malformed paths, bad arguments and result texts.
#include <cmath>
#include <functional>
#include <set>

#include "ptree_fixture.h"

namespace {

using paramtree::Value;
using ptreetest::Connection;

// A typed client read, rendered as text so that one table covers every type.
using Reader = std::function<uint32_t(void*, const char*, std::string*)>;

template <typename T, typename Get>
Reader Read(Get get) {
  return [get](void* tree, const char* path, std::string* text) {
    T value{};
    uint32_t result = get(tree, path, &value);
    if constexpr (std::is_same_v<T, bool>) {
      *text = value ? "true" : "false";
    } else if constexpr (std::is_floating_point_v<T>) {
      *text = paramtree::ToText(Value::F64(static_cast<double>(value)));
    } else {
      *text = std::to_string(value);
    }
    return result;
  };
}

const Reader kBool = Read<bool>(resGetBool);
const Reader kI8 = Read<int8_t>(resGetInt8);
const Reader kU8 = Read<uint8_t>(resGetUInt8);
const Reader kI16 = Read<int16_t>(resGetInt16);
const Reader kU16 = Read<uint16_t>(resGetUInt16);
const Reader kI32 = Read<int32_t>(resGetInt32);
const Reader kU32 = Read<uint32_t>(resGetUInt32);
const Reader kInt = Read<int>(resGetInt);
const Reader kF32 = Read<float>(resGetFlt32);
const Reader kF64 = Read<double>(resGetFlt64);
const Reader kText = [](void* tree, const char* path, std::string* text) {
  char* value = nullptr;
  uint32_t result = resGetString(tree, path, &value);
  if (value) *text = value;
  resFreeString(&value);
  return result;
};
// resGet: the wide type it reports and the value; the value is released twice (the second
// release finds nothing to free).
const Reader kAny = [](void* tree, const char* path, std::string* text) {
  resValue value{};
  uint32_t result = resGet(tree, path, &value);
  if (value.type == RES_TYPE_BOOL) *text = value.payload.b ? "bool true" : "bool false";
  if (value.type == RES_TYPE_UINT32) *text = "u32 " + std::to_string(value.payload.u32);
  if (value.type == RES_TYPE_DOUBLE)
    *text = "f64 " + paramtree::ToText(Value::F64(value.payload.f64));
  if (value.type == RES_TYPE_STRING) *text = std::string("string ") + value.payload.text;
  if (value.type == RES_TYPE_UTF16) {
    *text = "utf16";
    for (const uint16_t* unit = value.payload.utf16; *unit; ++unit)
      *text += " " + std::to_string(*unit);
  }
  EXPECT_EQ(resFiniValue(&value), RES_OK);
  EXPECT_EQ(value.type, 0u);
  EXPECT_EQ(resFiniValue(&value), RES_OK);
  return result;
};

// A typed client write with commit.
using Writer = std::function<uint32_t(void*, const char*)>;

template <typename Set, typename T>
Writer Write(Set set, T value) {
  return [set, value](void* tree, const char* path) { return set(tree, path, value, 1); };
}

// Reads of another type than the path's (the write test reads every type back as itself).
TEST(PtreeValues, ReadsConvertAcrossTypesOrAnswerNotSupported) {
  Connection c;
  struct Case {
    Value stored;
    Reader read;
    uint32_t result;
    std::string expected;
  };
  const Case cases[] = {
      {Value::U16(300), kU8, RES_OK, "44"},  // kept to the width asked for
      {Value::I8(-1), kU32, RES_OK, "4294967295"},
      {Value::U32(70000), kI16, RES_OK, "4464"},
      {Value::U8(2), kBool, RES_OK, "true"},
      {Value::U8(0), kBool, RES_OK, "false"},
      {Value::Bool(true), kU32, RES_OK, "1"},
      {Value::U32(7), kF64, RES_OK, "7"},
      {Value::F64(0.1), kF32, RES_OK, paramtree::ToText(Value::F64(static_cast<float>(0.1)))},
      {Value::F64(-1e300), kF32, RES_OK, "-inf"},  // beyond float: saturated, not undefined
      {Value::Utf16(u"Ωmega"), kText, RES_OK, "Ωmega"},
      {Value::F32(1.5f), kU32, RES_NOT_SUPPORTED, ""},
      {Value::Str("12"), kU32, RES_NOT_SUPPORTED, ""},
      {Value::U32(12), kText, RES_NOT_SUPPORTED, ""},
      {Value::Bool(true), kF64, RES_NOT_SUPPORTED, ""},
      {Value{}, kU32, RES_NOT_SUPPORTED, ""},  // a node without value
      // resGet widens every integer to u32 and every real to f64.
      {Value::Bool(true), kAny, RES_OK, "bool true"},
      {Value::U8(200), kAny, RES_OK, "u32 200"},
      {Value::I8(-1), kAny, RES_OK, "u32 4294967295"},
      {Value::F32(2.5f), kAny, RES_OK, "f64 2.5"},
      {Value::Str("WZN"), kAny, RES_OK, "string WZN"},
      {Value::Utf16(u"é"), kAny, RES_OK, "utf16 233"},
      {Value{}, kAny, RES_NOT_SUPPORTED, ""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(std::string(paramtree::TypeName(test.stored.type)) + " " +
                 paramtree::ToText(test.stored));
    c.camera().Set(".conv", test.stored);
    std::string text;
    EXPECT_EQ(test.read(c.tree(), ".conv", &text), test.result);
    if (test.result == RES_OK) {
      EXPECT_EQ(text, test.expected);
    }
  }
}

// Every setter, and every getter reading the ends of its range back; a write keeps the type of
// the path.
TEST(PtreeValues, WritesConvertIntoThePathsTypeOrAreRefusedUnchanged) {
  Connection c;
  struct Case {
    Value stored;
    Writer write;
    uint32_t result;
    std::string after;
    Reader readBack = nullptr;  // a getter of the path's own type, to read it back
  };
  const std::string longText(4097, 'x');
  const Case cases[] = {
      {Value::Bool(false), Write(resSetBool, true), RES_OK, "true", kBool},
      {Value::I8(0), Write(resSetInt8, int8_t{-128}), RES_OK, "-128", kI8},
      {Value::U8(0), Write(resSetUInt8, uint8_t{255}), RES_OK, "255", kU8},
      {Value::I16(0), Write(resSetInt16, int16_t{-32768}), RES_OK, "-32768", kI16},
      {Value::U16(0), Write(resSetUInt16, uint16_t{65535}), RES_OK, "65535", kU16},
      {Value::I32(0), Write(resSetInt32, INT32_MIN), RES_OK, "-2147483648", kI32},
      {Value::U32(0), Write(resSetUInt32, UINT32_MAX), RES_OK, "4294967295", kU32},
      {Value::Int(0), Write(resSetInt, -7), RES_OK, "-7", kInt},
      {Value::F32(0), Write(resSetFlt32, 0.15625f), RES_OK, "0.15625", kF32},
      {Value::F64(0), Write(resSetFlt64, 1e300), RES_OK, "1e+300", kF64},
      {Value::F64(0), Write(resSetDouble, -2.5), RES_OK, "-2.5", kF64},
      {Value::Str(""), Write(resSetString, "Grüße"), RES_OK, "Grüße", kText},
      {Value::Utf16(u""), Write(resSetString, "µm €"), RES_OK, "µm €", kText},
      {Value::U8(1), Write(resSetUInt32, 200u), RES_OK, "200"},  // converted to the path's type
      {Value::U8(1), Write(resSetUInt32, 300u), RES_INVALID_ARGUMENT, "1"},
      {Value::U16(1), Write(resSetInt8, int8_t{-1}), RES_INVALID_ARGUMENT, "1"},
      {Value::Bool(false), Write(resSetUInt8, uint8_t{5}), RES_OK, "true"},
      {Value::F32(0), Write(resSetUInt32, 3u), RES_OK, "3"},
      {Value::F32(0), Write(resSetFlt64, double{NAN}), RES_INVALID_ARGUMENT, "0"},
      {Value::F32(0), Write(resSetFlt64, 1e300), RES_INVALID_ARGUMENT, "0"},
      {Value::U32(9), Write(resSetFlt32, 1.0f), RES_NOT_SUPPORTED, "9"},
      {Value::U32(9), Write(resSetString, "10"), RES_NOT_SUPPORTED, "9"},
      {Value::Str("a"), Write(resSetUInt32, 1u), RES_NOT_SUPPORTED, "a"},
      {Value::Str("a"), Write(resSetString, longText.c_str()), RES_TOO_LARGE, "a"},
      {Value::Utf16(u"a"), Write(resSetString, "\xC3\x28"), RES_INVALID_ARGUMENT, "a"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(paramtree::TypeName(test.stored.type) + (" -> " + test.after));
    c.camera().Set(".w", test.stored);
    EXPECT_EQ(test.write(c.tree(), ".w"), test.result);
    EXPECT_EQ(c.camera().Text(".w"), test.after);
    EXPECT_EQ(c.camera().Get(".w")->type, test.stored.type);
    std::string text;
    if (test.readBack) {
      EXPECT_EQ(test.readBack(c.tree(), ".w", &text), RES_OK);
      EXPECT_EQ(text, test.after);
    }
  }
  // Limits take their bounds and refuse what lies beyond.
  EXPECT_EQ(resSetFlt32(c.tree(), ".system.bias.detector", 3.5f, 1), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resSetFlt32(c.tree(), ".system.bias.detector", 3.0f, 1), RES_OK);
  EXPECT_EQ(resSetFlt32(c.tree(), ".system.bias.detector", 0.0f, 1), RES_OK);
  EXPECT_EQ(resSetFlt32(c.tree(), ".system.bias.detector", -0.5f, 1), RES_INVALID_ARGUMENT);
  EXPECT_EQ(c.camera().Text(".system.bias.detector"), "0");
}

std::vector<std::string> ChildrenOf(void* tree, const char* path, uint32_t* result) {
  std::vector<std::string> names;
  void* list = nullptr;
  *result = resGetChildren(tree, path, &list);
  if (*result != RES_OK) return names;
  const char* name = nullptr;
  for (uint32_t r = resGetFirstChild(tree, list, &name); r == RES_OK;
       r = resGetNextChild(tree, list, &name)) {
    names.emplace_back(name);
  }
  resFreeChildren(tree, list);
  return names;
}

TEST(PtreeValues, ChildrenComeInInsertionOrderAndListsBelongToTheirConnection) {
  Connection c;
  for (const char* name : {"zeta", "alpha", "mid"})
    c.camera().Set(std::string(".kids.") + name, Value::U8(0));
  c.camera().Remove(".kids.zeta");
  c.camera().Set(".kids.zeta", Value::U8(1));  // added again: last
  uint32_t result = 0;
  EXPECT_EQ(ChildrenOf(c.tree(), ".kids", &result),
            (std::vector<std::string>{"alpha", "mid", "zeta"}));
  EXPECT_TRUE(ChildrenOf(c.tree(), ".kids.mid", &result).empty());
  EXPECT_EQ(result, RES_OK);
  ChildrenOf(c.tree(), ".nothing", &result);
  EXPECT_EQ(result, RES_NOT_FOUND);

  Connection other;
  void* list = nullptr;
  ASSERT_EQ(resGetChildren(c.tree(), ".kids", &list), RES_OK);
  const char* name = nullptr;
  EXPECT_EQ(resGetFirstChild(other.tree(), list, &name), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resGetNextChild(c.tree(), list, &name), RES_OK);  // without First: the first child
  EXPECT_STREQ(name, "alpha");
  resFreeChildren(c.tree(), list);
  EXPECT_EQ(resGetFirstChild(c.tree(), list, &name), RES_INVALID_ARGUMENT);
  resFreeChildren(c.tree(), list);  // a second release is harmless
}

TEST(PtreeValues, MissingAndMalformedPaths) {
  Connection c;
  EXPECT_EQ(resVerify(c.tree(), "."), RES_OK);
  uint32_t value = 0;
  for (const char* path : {".system.readyx", ".system.settings.pn.frameWidth", ".z"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(resVerify(c.tree(), path), RES_NOT_FOUND);
    EXPECT_EQ(resGetUInt32(c.tree(), path, &value), RES_NOT_FOUND);
    EXPECT_EQ(resSetUInt32(c.tree(), path, 1, 1), RES_NOT_FOUND);
    EXPECT_FALSE(c.camera().Has(path));  // a write never creates a path
  }
  for (const char* path : {"", "system.ready", "..system", ".system.", ".sys tem"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(resVerify(c.tree(), path), RES_INVALID_ARGUMENT);
    EXPECT_EQ(resGetUInt32(c.tree(), path, &value), RES_INVALID_ARGUMENT);
  }
  EXPECT_EQ(value, 0u);  // outputs are written only on success
}

TEST(PtreeValues, UnknownAddressesConnectionsAndNullArgumentsAreRefused) {
  void* tree = &tree;
  for (const char* address : {"", "simulator", "sim:", "tcp:1.2.3.4"})
    EXPECT_EQ(resOpen(address, &tree), RES_NOT_FOUND) << address;
  EXPECT_EQ(resOpen("sim", nullptr), RES_INVALID_ARGUMENT);
  EXPECT_EQ(tree, &tree);  // untouched
  int local = 0;
  void* closed = nullptr;
  ASSERT_EQ(resOpen("sim", &closed), RES_OK);
  ASSERT_EQ(resClose(closed), RES_OK);
  for (void* unknown : {static_cast<void*>(nullptr), static_cast<void*>(&local), closed}) {
    EXPECT_EQ(resVerify(unknown, "."), RES_INVALID_ARGUMENT);
    EXPECT_EQ(resSetBool(unknown, ".system.ready", true, 1), RES_INVALID_ARGUMENT);
    EXPECT_EQ(resAcquire(unknown), RES_INVALID_ARGUMENT);
    EXPECT_EQ(resFileExists(unknown, "/"), RES_INVALID_ARGUMENT);
    EXPECT_EQ(resClose(unknown), RES_INVALID_ARGUMENT);
  }
  Connection c;
  bool b = false;
  char* text = nullptr;
  EXPECT_EQ(resGetBool(c.tree(), nullptr, &b), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resGetBool(c.tree(), ".system.ready", nullptr), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resGetString(c.tree(), ".version.product.name", nullptr), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resSetString(c.tree(), ".version.product.name", nullptr, 1), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resFiniValue(nullptr), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resRenameFile(c.tree(), "/a", nullptr), RES_INVALID_ARGUMENT);
  resFreeString(nullptr);
  resFreeString(&text);  // a null text is left alone
  // Each "sim" is a camera of its own.
  Connection other;
  ASSERT_EQ(resSetString(c.tree(), ".version.product.serial", "A-1", 1), RES_OK);
  EXPECT_EQ(other.camera().Text(".version.product.serial"), "WZ640-00417");
}

TEST(PtreeValues, EveryResultCodeHasItsOwnText) {
  const uint32_t codes[] = {0, 1, 2, 160, 161, 162, 165, 166, 167, 168, 169, 170, 0xFFFFFFFFu};
  const std::string generic = resErrorToString(3);
  std::set<std::string> texts = {generic};
  for (uint32_t code : codes)
    texts.insert(resErrorToString(code));
  EXPECT_EQ(texts.size(), std::size(codes) + 1) << "one text per code, and none is the generic";
  for (uint32_t other : {159u, 163u, 171u, 0xFFFFFFFEu})
    EXPECT_EQ(resErrorToString(other), generic);
  EXPECT_NE(std::string(resErrorToString(RES_NOT_FOUND)).find("ot found"), std::string::npos);
}

}  // namespace

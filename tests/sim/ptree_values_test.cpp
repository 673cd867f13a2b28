// The client's value calls against the simulated camera: types, conversions, read-only paths,
// limits, attributes, children, missing paths and bad arguments.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>

#include "ptree_fixture.h"

namespace {

using paramtree::Type;
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

TEST(PtreeValues, EachTypedWriteIsReadBackWithTheSameTypeKept) {
  Connection c;
  struct Case {
    Value initial;
    std::function<uint32_t(void*, const char*)> write;
    Reader read;
    std::string expected;
  };
  const Case cases[] = {
      {Value::Bool(false), [](void* t, const char* p) { return resSetBool(t, p, true, 1); }, kBool,
       "true"},
      {Value::I8(0), [](void* t, const char* p) { return resSetInt8(t, p, -128, 1); }, kI8, "-128"},
      {Value::U8(0), [](void* t, const char* p) { return resSetUInt8(t, p, 255, 1); }, kU8, "255"},
      {Value::I16(0), [](void* t, const char* p) { return resSetInt16(t, p, -32768, 1); }, kI16,
       "-32768"},
      {Value::U16(0), [](void* t, const char* p) { return resSetUInt16(t, p, 65535, 1); }, kU16,
       "65535"},
      {Value::I32(0), [](void* t, const char* p) { return resSetInt32(t, p, INT32_MIN, 1); }, kI32,
       "-2147483648"},
      {Value::U32(0), [](void* t, const char* p) { return resSetUInt32(t, p, UINT32_MAX, 1); },
       kU32, "4294967295"},
      {Value::Int(0), [](void* t, const char* p) { return resSetInt(t, p, -7, 1); }, kInt, "-7"},
      {Value::F32(0), [](void* t, const char* p) { return resSetFlt32(t, p, 0.15625f, 1); }, kF32,
       "0.15625"},
      {Value::F64(0), [](void* t, const char* p) { return resSetFlt64(t, p, 1e300, 1); }, kF64,
       "1e+300"},
      {Value::F64(0), [](void* t, const char* p) { return resSetDouble(t, p, -2.5, 1); }, kF64,
       "-2.5"},
      {Value::Str(""), [](void* t, const char* p) { return resSetString(t, p, "Grüße", 1); }, kText,
       "Grüße"},
      {Value::Utf16(u""), [](void* t, const char* p) { return resSetString(t, p, "µm €", 1); },
       kText, "µm €"},
  };
  for (const Case& test : cases) {
    const std::string path = std::string(".test.") + paramtree::TypeName(test.initial.type);
    SCOPED_TRACE(path);
    c.camera().Set(path, test.initial);
    ASSERT_EQ(test.write(c.tree(), path.c_str()), RES_OK);
    std::string text;
    EXPECT_EQ(test.read(c.tree(), path.c_str(), &text), RES_OK);
    EXPECT_EQ(text, test.expected);
    EXPECT_EQ(c.camera().Get(path)->type, test.initial.type);
    EXPECT_EQ(c.camera().Text(path), test.expected);
  }
}

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
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(paramtree::TypeName(test.stored.type) + (" " + paramtree::ToText(test.stored)));
    c.camera().Set(".conv", test.stored);
    std::string text;
    EXPECT_EQ(test.read(c.tree(), ".conv", &text), test.result);
    if (test.result == RES_OK) {
      EXPECT_EQ(text, test.expected);
    }
  }
}

TEST(PtreeValues, WritesConvertIntoThePathsTypeOrAreRefusedUnchanged) {
  Connection c;
  struct Case {
    Value stored;
    std::function<uint32_t(void*)> write;
    uint32_t result;
    std::string after;
  };
  const std::string longText(4097, 'x');
  const Case cases[] = {
      {Value::U8(1), [](void* t) { return resSetUInt32(t, ".w", 200, 1); }, RES_OK, "200"},
      {Value::U8(1), [](void* t) { return resSetUInt32(t, ".w", 300, 1); }, RES_INVALID_ARGUMENT,
       "1"},
      {Value::U16(1), [](void* t) { return resSetInt8(t, ".w", -1, 1); }, RES_INVALID_ARGUMENT,
       "1"},
      {Value::Bool(false), [](void* t) { return resSetUInt8(t, ".w", 5, 1); }, RES_OK, "true"},
      {Value::F32(0), [](void* t) { return resSetUInt32(t, ".w", 3, 1); }, RES_OK, "3"},
      {Value::F32(0), [](void* t) { return resSetFlt64(t, ".w", NAN, 1); }, RES_INVALID_ARGUMENT,
       "0"},
      {Value::F32(0), [](void* t) { return resSetFlt64(t, ".w", 1e300, 1); }, RES_INVALID_ARGUMENT,
       "0"},
      {Value::U32(9), [](void* t) { return resSetFlt32(t, ".w", 1.0f, 1); }, RES_NOT_SUPPORTED,
       "9"},
      {Value::U32(9), [](void* t) { return resSetString(t, ".w", "10", 1); }, RES_NOT_SUPPORTED,
       "9"},
      {Value::Str("a"), [](void* t) { return resSetUInt32(t, ".w", 1, 1); }, RES_NOT_SUPPORTED,
       "a"},
      {Value::Str("a"), [&](void* t) { return resSetString(t, ".w", longText.c_str(), 1); },
       RES_TOO_LARGE, "a"},
      {Value::Utf16(u"a"), [](void* t) { return resSetString(t, ".w", "\xC3\x28", 1); },
       RES_INVALID_ARGUMENT, "a"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(paramtree::TypeName(test.stored.type) + (" -> " + test.after));
    c.camera().Set(".w", test.stored);
    EXPECT_EQ(test.write(c.tree()), test.result);
    EXPECT_EQ(c.camera().Text(".w"), test.after);
    EXPECT_EQ(c.camera().Get(".w")->type, test.stored.type);
  }
}

TEST(PtreeValues, ReadOnlyLimitsAndHexAttribute) {
  Connection c;
  sim::ptree::Camera& cam = c.camera();
  // Read-only: readable, never written.
  uint32_t channels = 0;
  EXPECT_EQ(resSetUInt8(c.tree(), ".system.info.fpa.readoutChannels", 8, 1), RES_READ_ONLY);
  EXPECT_EQ(resGetUInt32(c.tree(), ".system.info.fpa.readoutChannels", &channels), RES_OK);
  EXPECT_EQ(channels, 4u);

  float min = 0;
  float max = 0;
  EXPECT_EQ(resGetLimitsFlt32Ex(c.tree(), ".system.bias.detector", &min, &max), RES_OK);
  EXPECT_EQ(min, 0.0f);
  EXPECT_EQ(max, 3.0f);
  EXPECT_EQ(resGetLimitsFlt32Ex(c.tree(), ".system.manufacturing.hw.biasesAndOffsets.vdd.voltageIn",
                                &min, &max),
            RES_NO_LIMITS);
  EXPECT_EQ(resGetLimitsFlt32Ex(c.tree(), ".no.such", &min, &max), RES_NOT_FOUND);
  // Writes outside the limits are refused; the bounds themselves are accepted.
  EXPECT_EQ(resSetFlt32(c.tree(), ".system.bias.detector", 3.5f, 1), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resSetFlt32(c.tree(), ".system.bias.detector", 3.0f, 1), RES_OK);
  cam.ClearLimits(".system.bias.detector");
  EXPECT_EQ(resGetLimitsFlt32Ex(c.tree(), ".system.bias.detector", &min, &max), RES_NO_LIMITS);

  resAttributes attributes{};
  EXPECT_EQ(resGetAttributes(c.tree(), ".version.hw.cpld.version", &attributes), RES_OK);
  EXPECT_EQ(attributes.flags, static_cast<uint32_t>(RES_ATTR_HEX));
  EXPECT_EQ(resGetAttributes(c.tree(), ".system.info.fpa.clockFrequency", &attributes), RES_OK);
  EXPECT_EQ(attributes.flags, 0u);
  EXPECT_EQ(resGetAttributes(c.tree(), ".no.such", &attributes), RES_NOT_FOUND);
}

TEST(PtreeValues, ResGetReportsTheWideTypesAndReleasesTexts) {
  Connection c;
  struct Case {
    Value stored;
    uint32_t type;
    std::function<bool(const resValue&)> check;
  };
  const Case cases[] = {
      {Value::Bool(true), RES_TYPE_BOOL, [](const resValue& v) { return v.payload.b; }},
      {Value::U8(200), RES_TYPE_UINT32, [](const resValue& v) { return v.payload.u32 == 200; }},
      {Value::I8(-1), RES_TYPE_UINT32,
       [](const resValue& v) { return v.payload.u32 == 0xFFFFFFFFu; }},
      {Value::F32(2.5f), RES_TYPE_DOUBLE, [](const resValue& v) { return v.payload.f64 == 2.5; }},
      {Value::Str("WZN"), RES_TYPE_STRING,
       [](const resValue& v) { return std::strcmp(v.payload.text, "WZN") == 0; }},
      {Value::Utf16(u"é"), RES_TYPE_UTF16,
       [](const resValue& v) { return v.payload.utf16[0] == 0xE9 && v.payload.utf16[1] == 0; }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(paramtree::TypeName(test.stored.type));
    c.camera().Set(".any", test.stored);
    resValue value{};
    ASSERT_EQ(resGet(c.tree(), ".any", &value), RES_OK);
    EXPECT_EQ(value.type, test.type);
    EXPECT_TRUE(test.check(value));
    EXPECT_EQ(resFiniValue(&value), RES_OK);
    EXPECT_EQ(value.type, 0u);
    EXPECT_EQ(resFiniValue(&value), RES_OK);  // a second release finds nothing to free
  }
  c.camera().AddNode(".group.child");
  resValue value{};
  EXPECT_EQ(resGet(c.tree(), ".group", &value), RES_NOT_SUPPORTED);
  EXPECT_EQ(c.camera().Traffic().back().type, "node");
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

TEST(PtreeValues, ChildrenComeInInsertionOrder) {
  Connection c;
  for (const char* name : {"zeta", "alpha", "mid"})
    c.camera().Set(std::string(".kids.") + name, Value::U8(0));
  uint32_t result = 0;
  EXPECT_EQ(ChildrenOf(c.tree(), ".kids", &result),
            (std::vector<std::string>{"zeta", "alpha", "mid"}));
  // Removing and adding again puts a child last; the filter names run 0..63 in order.
  c.camera().Remove(".kids.zeta");
  c.camera().Set(".kids.zeta", Value::U8(1));
  EXPECT_EQ(ChildrenOf(c.tree(), ".kids", &result),
            (std::vector<std::string>{"alpha", "mid", "zeta"}));
  std::vector<std::string> filters = ChildrenOf(c.tree(), ".system.settings.filter.info", &result);
  ASSERT_EQ(filters.size(), 64u);
  for (int i = 0; i < 64; ++i)
    EXPECT_EQ(filters[i], std::to_string(i));
  EXPECT_TRUE(ChildrenOf(c.tree(), ".kids.mid", &result).empty());
  EXPECT_EQ(result, RES_OK);
  ChildrenOf(c.tree(), ".nothing", &result);
  EXPECT_EQ(result, RES_NOT_FOUND);
  EXPECT_EQ(ChildrenOf(c.tree(), ".", &result).front(), "system");
}

TEST(PtreeValues, ChildListsBelongToTheirConnection) {
  Connection a;
  Connection b;
  void* list = nullptr;
  ASSERT_EQ(resGetChildren(a.tree(), ".version", &list), RES_OK);
  const char* name = nullptr;
  EXPECT_EQ(resGetFirstChild(b.tree(), list, &name), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resGetNextChild(a.tree(), list, &name), RES_OK);  // without First: the first child
  EXPECT_STREQ(name, "product");
  resFreeChildren(a.tree(), list);
  EXPECT_EQ(resGetFirstChild(a.tree(), list, &name), RES_INVALID_ARGUMENT);
  resFreeChildren(a.tree(), list);  // a second release is harmless
}

TEST(PtreeValues, MissingAndMalformedPaths) {
  Connection c;
  EXPECT_EQ(resVerify(c.tree(), "."), RES_OK);
  EXPECT_EQ(resVerify(c.tree(), ".system.ready"), RES_OK);
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
  // A removed subtree is gone for every call.
  c.camera().Remove(".system.info.fpa");
  EXPECT_EQ(resGetUInt32(c.tree(), ".system.info.fpa.clockFrequency", &value), RES_NOT_FOUND);
  EXPECT_EQ(resVerify(c.tree(), ".system.info.fpa.windowLimits"), RES_NOT_FOUND);
  EXPECT_EQ(value, 0u);  // outputs are written only on success
}

TEST(PtreeValues, NullAndUnknownArgumentsAnswerInvalidArgument) {
  Connection c;
  int local = 0;
  void* closed = nullptr;
  ASSERT_EQ(resOpen("sim", &closed), RES_OK);
  ASSERT_EQ(resClose(closed), RES_OK);
  bool b = false;
  char* text = nullptr;
  float f = 0;
  resValue value{};
  resAttributes attributes{};
  void* list = nullptr;
  const char* name = nullptr;
  for (void* tree : {static_cast<void*>(nullptr), static_cast<void*>(&local), closed}) {
    EXPECT_EQ(resVerify(tree, "."), RES_INVALID_ARGUMENT);
    EXPECT_EQ(resGetBool(tree, ".system.ready", &b), RES_INVALID_ARGUMENT);
    EXPECT_EQ(resSetBool(tree, ".system.ready", true, 1), RES_INVALID_ARGUMENT);
    EXPECT_EQ(resSetTimeout(tree, 5), RES_INVALID_ARGUMENT);
    EXPECT_EQ(resAcquire(tree), RES_INVALID_ARGUMENT);
    EXPECT_EQ(resRelease(tree), RES_INVALID_ARGUMENT);
    EXPECT_EQ(resFileExists(tree, "/"), RES_INVALID_ARGUMENT);
    EXPECT_EQ(resClose(tree), RES_INVALID_ARGUMENT);
    EXPECT_EQ(resGetFirstChild(tree, list, &name), RES_INVALID_ARGUMENT);
    resFreeChildren(tree, list);
  }
  void* t = c.tree();
  EXPECT_EQ(resVerify(t, nullptr), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resGetBool(t, nullptr, &b), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resGetBool(t, ".system.ready", nullptr), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resSetUInt16(t, nullptr, 1, 1), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resGetString(t, nullptr, &text), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resGetString(t, ".version.product.name", nullptr), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resSetString(t, ".version.product.name", nullptr, 1), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resGetLimitsFlt32Ex(t, ".system.bias.detector", &f, nullptr), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resGet(t, nullptr, &value), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resFiniValue(nullptr), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resGetAttributes(t, ".system.ready", nullptr), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resGetAttributes(t, nullptr, &attributes), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resGetChildren(t, nullptr, &list), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resGetFirstChild(t, nullptr, &name), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resRenameFile(t, "/a", nullptr), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resGetFileInfo(t, nullptr, nullptr, nullptr, nullptr), RES_INVALID_ARGUMENT);
  resFreeString(nullptr);
  resFreeString(&text);  // a null text is left alone
  EXPECT_EQ(b, false);
}

TEST(PtreeValues, OpenCloseAndTheAllocator) {
  void* tree = &tree;
  for (const char* address : {"", "simulator", "sim:nosuch", "sim:", "tcp:1.2.3.4"}) {
    SCOPED_TRACE(address);
    EXPECT_EQ(resOpen(address, &tree), RES_NOT_FOUND);
    EXPECT_EQ(tree, &tree);  // untouched
  }
  EXPECT_EQ(resOpen(nullptr, &tree), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resOpen("sim", nullptr), RES_INVALID_ARGUMENT);

  // Each "sim" is a camera of its own; texts from the library may be released with free.
  Connection a;
  Connection b;
  EXPECT_NE(&a.camera(), &b.camera());
  ASSERT_EQ(resSetString(a.tree(), ".version.product.serial", "A-1", 1), RES_OK);
  char* text = nullptr;
  ASSERT_EQ(resGetString(b.tree(), ".version.product.serial", &text), RES_OK);
  EXPECT_STREQ(text, "WZ640-00417");
  std::free(text);
  void* block = resAlloc(64);
  ASSERT_NE(block, nullptr);
  std::free(block);
  resFree(std::malloc(16));
  resFree(nullptr);
}

TEST(PtreeValues, EveryResultCodeHasItsOwnText) {
  const uint32_t codes[] = {0, 1, 2, 160, 161, 162, 165, 166, 167, 168, 169, 170, 0xFFFFFFFFu};
  const std::string generic = resErrorToString(3);
  std::set<std::string> texts;
  for (uint32_t code : codes) {
    SCOPED_TRACE(code);
    ASSERT_NE(resErrorToString(code), nullptr);
    std::string text = resErrorToString(code);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text, generic);
    texts.insert(text);
  }
  EXPECT_EQ(texts.size(), std::size(codes));
  for (uint32_t other : {3u, 159u, 163u, 171u, 0xFFFFFFFEu})
    EXPECT_EQ(resErrorToString(other), generic);
  EXPECT_NE(std::string(resErrorToString(RES_NOT_FOUND)).find("ot found"), std::string::npos);
}

}  // namespace

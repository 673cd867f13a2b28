// Typed values and the conversions between what a path holds and what a call asks for.
#include <charconv>
#include <cmath>
#include <limits>

#include "ParamTreeTransport.h"

namespace paramtree {

namespace {

struct TypeRow {
  Type type;
  const char* name;
  i64 min;
  i64 max;
};

constexpr TypeRow kTypes[] = {
    {Type::None, "node", 0, 0},
    {Type::Bool, "bool", 0, 1},
    {Type::Int8, "i8", INT8_MIN, INT8_MAX},
    {Type::UInt8, "u8", 0, UINT8_MAX},
    {Type::Int16, "i16", INT16_MIN, INT16_MAX},
    {Type::UInt16, "u16", 0, UINT16_MAX},
    {Type::Int32, "i32", INT32_MIN, INT32_MAX},
    {Type::UInt32, "u32", 0, UINT32_MAX},
    {Type::Int, "int", INT32_MIN, INT32_MAX},
    {Type::Float, "f32", 0, 0},
    {Type::Double, "f64", 0, 0},
    {Type::String, "string", 0, 0},
    {Type::Utf16, "utf16", 0, 0},
};

const TypeRow& RowOf(Type type) {
  for (const TypeRow& row : kTypes) {
    if (row.type == type) return row;
  }
  return kTypes[0];
}

// Keeps an integer to the width of its type, as a C cast to that type would.
i64 Narrow(Type type, i64 v) {
  switch (type) {
    case Type::Bool:
      return v != 0 ? 1 : 0;
    case Type::Int8:
      return static_cast<std::int8_t>(v);
    case Type::UInt8:
      return static_cast<std::uint8_t>(v);
    case Type::Int16:
      return static_cast<std::int16_t>(v);
    case Type::UInt16:
      return static_cast<std::uint16_t>(v);
    case Type::Int32:
    case Type::Int:
      return static_cast<std::int32_t>(v);
    case Type::UInt32:
      return static_cast<std::uint32_t>(v);
    default:
      return v;
  }
}

template <typename T>
std::string ShortestText(T v) {
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, v);
  if (error != std::errc()) return "?";
  return std::string(buffer, end);
}

}  // namespace

const char* TypeName(Type type) { return RowOf(type).name; }

bool TypeFromName(std::string_view name, Type* type) {
  for (const TypeRow& row : kTypes) {
    if (name == row.name) {
      *type = row.type;
      return true;
    }
  }
  return false;
}

bool IsInteger(Type type) { return type >= Type::Int8 && type <= Type::Int; }
bool IsFloating(Type type) { return type == Type::Float || type == Type::Double; }
i64 TypeMin(Type type) { return RowOf(type).min; }
i64 TypeMax(Type type) { return RowOf(type).max; }

Value Value::Bool(bool v) { return OfInteger(Type::Bool, v ? 1 : 0); }
Value Value::I8(std::int8_t v) { return OfInteger(Type::Int8, v); }
Value Value::U8(std::uint8_t v) { return OfInteger(Type::UInt8, v); }
Value Value::I16(std::int16_t v) { return OfInteger(Type::Int16, v); }
Value Value::U16(std::uint16_t v) { return OfInteger(Type::UInt16, v); }
Value Value::I32(std::int32_t v) { return OfInteger(Type::Int32, v); }
Value Value::U32(std::uint32_t v) { return OfInteger(Type::UInt32, v); }
Value Value::Int(int v) { return OfInteger(Type::Int, v); }
Value Value::F32(float v) { return OfReal(Type::Float, v); }
Value Value::F64(double v) { return OfReal(Type::Double, v); }

Value Value::Str(std::string v) {
  Value value;
  value.type = Type::String;
  value.text = std::move(v);
  return value;
}

Value Value::Utf16(std::u16string v) {
  Value value;
  value.type = Type::Utf16;
  value.utf16 = std::move(v);
  return value;
}

Value Value::OfInteger(Type type, i64 v) {
  Value value;
  value.type = type;
  value.integer = Narrow(type, v);
  return value;
}

Value Value::OfReal(Type type, double v) {
  Value value;
  value.type = type;
  value.real = type == Type::Float ? static_cast<double>(ToFloat(v)) : v;
  return value;
}

bool Value::operator==(const Value& other) const {
  if (type != other.type) return false;
  switch (type) {
    case Type::None:
      return true;
    case Type::Float:
    case Type::Double:
      return real == other.real;
    case Type::String:
      return text == other.text;
    case Type::Utf16:
      return utf16 == other.utf16;
    default:
      return integer == other.integer;
  }
}

float ToFloat(double value) {
  if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max()) {
    return value > 0 ? std::numeric_limits<float>::infinity()
                     : -std::numeric_limits<float>::infinity();
  }
  return static_cast<float>(value);
}

std::string ToText(const Value& value) {
  switch (value.type) {
    case Type::None:
      return std::string();
    case Type::Bool:
      return value.integer ? "true" : "false";
    case Type::Float:
      return ShortestText(static_cast<float>(value.real));
    case Type::Double:
      return ShortestText(value.real);
    case Type::String:
      return value.text;
    case Type::Utf16: {
      std::string text;
      if (!Utf16ToUtf8(value.utf16, &text)) return "?";
      return text;
    }
    default:
      return std::to_string(value.integer);
  }
}

bool Utf8ToUtf16(std::string_view in, std::u16string* out) {
  std::u16string result;
  for (std::size_t i = 0; i < in.size();) {
    auto byte = static_cast<unsigned char>(in[i]);
    char32_t code = 0;
    std::size_t extra = 0;
    if (byte < 0x80) {
      code = byte;
    } else if ((byte & 0xE0) == 0xC0) {
      code = byte & 0x1F;
      extra = 1;
    } else if ((byte & 0xF0) == 0xE0) {
      code = byte & 0x0F;
      extra = 2;
    } else if ((byte & 0xF8) == 0xF0) {
      code = byte & 0x07;
      extra = 3;
    } else {
      return false;
    }
    if (i + extra >= in.size()) return false;  // a sequence cut short
    for (std::size_t k = 1; k <= extra; ++k) {
      auto next = static_cast<unsigned char>(in[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      result.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      result.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      result.push_back(static_cast<char16_t>(code));
    }
    i += extra + 1;
  }
  *out = std::move(result);
  return true;
}

bool Utf16ToUtf8(std::u16string_view in, std::string* out) {
  std::string result;
  for (std::size_t i = 0; i < in.size(); ++i) {
    char32_t code = in[i];
    if (code >= 0xD800 && code <= 0xDBFF) {
      if (i + 1 >= in.size() || in[i + 1] < 0xDC00 || in[i + 1] > 0xDFFF) return false;
      code = 0x10000 + ((code - 0xD800) << 10) + (in[i + 1] - 0xDC00);
      ++i;
    } else if (code >= 0xDC00 && code <= 0xDFFF) {
      return false;
    }
    if (code < 0x80) {
      result.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      result.push_back(static_cast<char>(0xC0 | (code >> 6)));
      result.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      result.push_back(static_cast<char>(0xE0 | (code >> 12)));
      result.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      result.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      result.push_back(static_cast<char>(0xF0 | (code >> 18)));
      result.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      result.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      result.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  *out = std::move(result);
  return true;
}

u32 ConvertForRead(const Value& stored, Type want, Value* out) {
  if (stored.type == Type::None) return kNotSupported;
  if (want == Type::None) {
    *out = stored;
    return kOk;
  }
  bool storedInteger = stored.type == Type::Bool || IsInteger(stored.type);
  if (want == Type::Bool || IsInteger(want)) {
    if (!storedInteger) return kNotSupported;
    *out = Value::OfInteger(want, stored.integer);
    return kOk;
  }
  if (IsFloating(want)) {
    if (IsFloating(stored.type)) {
      *out = Value::OfReal(want, stored.real);
    } else if (IsInteger(stored.type)) {
      *out = Value::OfReal(want, static_cast<double>(stored.integer));
    } else {
      return kNotSupported;
    }
    return kOk;
  }
  if (want == Type::String) {
    if (stored.type == Type::String) {
      *out = stored;
    } else if (stored.type == Type::Utf16) {
      std::string text;
      if (!Utf16ToUtf8(stored.utf16, &text)) return kUnexpectedValue;
      *out = Value::Str(std::move(text));
    } else {
      return kNotSupported;
    }
    return kOk;
  }
  if (want == Type::Utf16 && stored.type == Type::Utf16) {
    *out = stored;
    return kOk;
  }
  return kNotSupported;
}

u32 ConvertForWrite(Type stored, const Value& incoming, Value* out) {
  bool incomingInteger = incoming.type == Type::Bool || IsInteger(incoming.type);
  if (stored == Type::Bool) {
    if (!incomingInteger) return kNotSupported;
    *out = Value::Bool(incoming.integer != 0);
    return kOk;
  }
  if (IsInteger(stored)) {
    if (!incomingInteger) return kNotSupported;
    if (incoming.integer < TypeMin(stored) || incoming.integer > TypeMax(stored)) {
      return kInvalidArgument;
    }
    *out = Value::OfInteger(stored, incoming.integer);
    return kOk;
  }
  if (IsFloating(stored)) {
    double v;
    if (IsFloating(incoming.type)) {
      v = incoming.real;
    } else if (IsInteger(incoming.type)) {
      v = static_cast<double>(incoming.integer);
    } else {
      return kNotSupported;
    }
    if (std::isnan(v)) return kInvalidArgument;
    if (stored == Type::Float && std::isfinite(v) &&
        std::fabs(v) > static_cast<double>(std::numeric_limits<float>::max())) {
      return kInvalidArgument;
    }
    *out = Value::OfReal(stored, v);
    return kOk;
  }
  if (stored == Type::String) {
    if (incoming.type != Type::String) return kNotSupported;
    *out = incoming;
    return kOk;
  }
  if (stored == Type::Utf16) {
    if (incoming.type == Type::Utf16) {
      *out = incoming;
      return kOk;
    }
    if (incoming.type != Type::String) return kNotSupported;
    std::u16string text;
    if (!Utf8ToUtf16(incoming.text, &text)) return kInvalidArgument;
    *out = Value::Utf16(std::move(text));
    return kOk;
  }
  return kNotSupported;
}

}  // namespace paramtree

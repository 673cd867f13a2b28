// What a command prints: an ordered list of named values, rendered either as aligned text lines
// for people or as one JSON object for scripts.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace tqvcli {

using Json = nlohmann::ordered_json;

// One named value. `text` is the enumeration text of a code, `unit` a short unit shown after it.
struct Field {
  std::string name;
  Json value;
  std::string text;
  std::string unit;
};
using Fields = std::vector<Field>;

// A float as the shortest decimal that reads back as the same float (0.1f gives 0.1, not
// 0.100000001490116).
Json FloatValue(float value);

// {"name": value, ...}; an enumeration text goes beside its code as "<name>Text".
Json ToJson(const Fields& fields);

// One line per field, names aligned; objects and arrays of objects indent below their name.
void PrintText(std::ostream& out, const Fields& fields, int indent = 0);

// A scalar as a person reads it: texts without quotes, numbers in their shortest form.
std::string ScalarText(const Json& value);

}  // namespace tqvcli

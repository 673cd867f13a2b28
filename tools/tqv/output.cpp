#include "output.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <ostream>

namespace tqvcli {

Json FloatValue(float value) {
  char text[32];
  auto end = std::to_chars(text, text + sizeof text, value).ptr;
  *end = '\0';
  return Json(std::strtod(text, nullptr));
}

Json ToJson(const Fields& fields) {
  Json object = Json::object();
  for (const Field& field : fields) {
    object[field.name] = field.value;
    if (!field.text.empty()) object[field.name + "Text"] = field.text;
  }
  return object;
}

std::string ScalarText(const Json& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_null()) return "-";
  return value.dump();
}

namespace {

bool IsScalarArray(const Json& value) {
  return std::none_of(value.begin(), value.end(),
                      [](const Json& item) { return item.is_structured(); });
}

void PrintValue(std::ostream& out, const std::string& name, const Json& value, std::size_t width,
                int indent, const std::string& suffix);

// The text of a code that ToJson put beside it, or empty.
std::string TextBeside(const Json& object, const std::string& key) {
  auto text = object.find(key + "Text");
  return text != object.end() && text->is_string() ? text->get<std::string>() : "";
}

bool IsTextBeside(const Json& object, const std::string& key) {
  return key.size() > 4 && key.compare(key.size() - 4, 4, "Text") == 0 &&
         object.contains(key.substr(0, key.size() - 4));
}

void PrintObject(std::ostream& out, const Json& object, int indent) {
  std::size_t width = 0;
  for (const auto& [key, item] : object.items())
    width = std::max(width, key.size());
  for (const auto& [key, item] : object.items()) {
    if (IsTextBeside(object, key)) continue;
    const std::string text = TextBeside(object, key);
    PrintValue(out, key, item, width, indent, text.empty() ? "" : " (" + text + ")");
  }
}

// A few scalars read best on one line: "xOffset 0, yOffset 0, width 640, height 512".
std::string InlineObject(const Json& object) {
  std::string line;
  for (const auto& [key, item] : object.items()) {
    if (IsTextBeside(object, key)) continue;
    const std::string text = TextBeside(object, key);
    line += (line.empty() ? "" : ", ") + key + " " + ScalarText(item) +
            (text.empty() ? "" : " (" + text + ")");
  }
  return line;
}

bool IsSmallFlatObject(const Json& value) {
  return value.is_object() && value.size() <= 8 &&
         std::none_of(value.begin(), value.end(),
                      [](const Json& item) { return item.is_structured(); });
}

void PrintValue(std::ostream& out, const std::string& name, const Json& value, std::size_t width,
                int indent, const std::string& suffix) {
  const std::string pad(static_cast<std::size_t>(indent), ' ');
  if (IsSmallFlatObject(value) && !value.empty()) {
    out << pad << name << ':' << std::string(width - std::min(width, name.size()) + 1, ' ')
        << InlineObject(value) << suffix << '\n';
    return;
  }
  if (value.is_object()) {
    out << pad << name << ":\n";
    PrintObject(out, value, indent + 2);
    return;
  }
  if (value.is_array() && !IsScalarArray(value)) {
    out << pad << name << ": " << value.size() << (value.size() == 1 ? " entry\n" : " entries\n");
    for (std::size_t i = 0; i < value.size(); ++i) {
      if (value[i].is_object()) {
        out << pad << "  [" << i << "]\n";
        PrintObject(out, value[i], indent + 4);
      } else {
        PrintValue(out, std::string("[").append(std::to_string(i)).append("]"), value[i], 0,
                   indent + 2, "");
      }
    }
    return;
  }
  out << pad << name << ':' << std::string(width - std::min(width, name.size()) + 1, ' ');
  if (value.is_array()) {
    for (std::size_t i = 0; i < value.size(); ++i)
      out << (i ? " " : "") << ScalarText(value[i]);
  } else {
    out << ScalarText(value);
  }
  out << suffix << '\n';
}

}  // namespace

void PrintText(std::ostream& out, const Fields& fields, int indent) {
  std::size_t width = 0;
  for (const Field& field : fields)
    width = std::max(width, field.name.size());
  for (const Field& field : fields) {
    std::string suffix;
    if (!field.unit.empty()) suffix += " " + field.unit;
    if (!field.text.empty()) suffix += " (" + field.text + ")";
    PrintValue(out, field.name, field.value, width, indent, suffix);
  }
}

}  // namespace tqvcli

// Camera profiles: parsing the line format (docs/simulated-cameras.md) and loading a camera.
// A profile is parsed as a whole (includes resolved) before it touches the camera, so that a
// malformed one changes nothing.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <mutex>

#include "PathTree.h"
#include "SimTree.h"

namespace sim::ptree {

using namespace paramtree;

namespace {

constexpr int kMaxIncludeDepth = 8;
constexpr i64 kMaxRange = 4096;
constexpr u64 kMaxProfileFile = 16ull * 1024 * 1024;
constexpr u64 kMaxProfileFileContent = 64ull * 1024 * 1024;
constexpr u64 kMaxChunkSize = 16ull * 1024 * 1024;

struct Op {
  enum class Kind { Define, Remove, Dir, File, ChunkSize, FreeSpace, Clock, Tick };
  Kind kind = Kind::Define;
  std::string path;
  Value value;
  bool readOnly = false;
  bool hex = false;
  bool hasLimits = false;
  double min = 0.0;
  double max = 0.0;
  std::vector<u8> data;
  u64 number = 0;
};

struct Profile {
  std::vector<Op> ops;
  std::vector<std::string> behaviours;  // switched on, in order
};

struct Token {
  std::string text;
  bool quoted = false;
};

// Why a line is refused; filled with its place by the caller.
struct ParseError {
  std::string what;
};

std::vector<Token> Tokenize(std::string_view line) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;  // a comment runs to the end of the line
    Token token;
    if (c == '"') {
      token.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d == '\\') {
          if (i >= line.size()) break;
          char e = line[i++];
          switch (e) {
            case '\\':
            case '"':
              token.text.push_back(e);
              break;
            case 'n':
              token.text.push_back('\n');
              break;
            case 't':
              token.text.push_back('\t');
              break;
            default:
              throw ParseError{std::string("unknown escape \\") + e + " in a quoted text"};
          }
        } else {
          token.text.push_back(d);
        }
      }
      if (!closed) throw ParseError{"quoted text without its closing quote"};
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
        token.text.push_back(line[i++]);
      }
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

bool ParseInteger(std::string_view text, i64* value) {
  bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  u64 magnitude = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return false;
  if (magnitude > static_cast<u64>(std::numeric_limits<i64>::max())) return false;
  *value = negative ? -static_cast<i64>(magnitude) : static_cast<i64>(magnitude);
  return true;
}

bool ParseUnsigned(std::string_view text, u64* value) {
  i64 number = 0;
  if (!ParseInteger(text, &number) || number < 0) return false;
  *value = static_cast<u64>(number);
  return true;
}

bool ParseReal(std::string_view text, double* value) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size() &&
         std::isfinite(*value);
}

Value ParseValue(Type type, const Token& token) {
  const std::string& text = token.text;
  if (type == Type::Bool) {
    if (text == "true" || text == "1") return Value::Bool(true);
    if (text == "false" || text == "0") return Value::Bool(false);
    throw ParseError{"\"" + text + "\" is not a bool (true, false, 1 or 0)"};
  }
  if (IsInteger(type)) {
    i64 number = 0;
    if (!ParseInteger(text, &number)) throw ParseError{"\"" + text + "\" is not an integer"};
    if (number < TypeMin(type) || number > TypeMax(type)) {
      throw ParseError{text + " does not fit " + TypeName(type)};
    }
    return Value::OfInteger(type, number);
  }
  if (IsFloating(type)) {
    double number = 0.0;
    if (!ParseReal(text, &number)) throw ParseError{"\"" + text + "\" is not a finite number"};
    if (type == Type::Float && std::fabs(number) > std::numeric_limits<float>::max()) {
      throw ParseError{text + " does not fit f32"};
    }
    return Value::OfReal(type, number);
  }
  if (type == Type::String) return Value::Str(text);
  std::u16string wide;
  if (!Utf8ToUtf16(text, &wide)) throw ParseError{"the text is not valid UTF-8"};
  return Value::Utf16(std::move(wide));
}

void RequireTreePath(const std::string& path) {
  if (!ValidTreePath(path)) throw ParseError{"\"" + path + "\" is not a tree path"};
}

// ".a.b  type  [value]  [ro] [hex] [limits=min,max]"
Op ParsePathLine(const std::vector<Token>& tokens) {
  Op op;
  op.path = tokens[0].text;
  RequireTreePath(op.path);
  if (tokens.size() < 2) throw ParseError{"a type must follow the path"};
  Type type;
  if (!TypeFromName(tokens[1].text, &type)) {
    throw ParseError{"unknown type \"" + tokens[1].text + "\""};
  }
  std::size_t next = 2;
  if (type != Type::None) {
    if (tokens.size() < 3) throw ParseError{"a value must follow the type"};
    op.value = ParseValue(type, tokens[2]);
    next = 3;
  }
  for (; next < tokens.size(); ++next) {
    const std::string& flag = tokens[next].text;
    if (type == Type::None) throw ParseError{"a node takes no value and no flags"};
    if (flag == "ro") {
      op.readOnly = true;
    } else if (flag == "hex") {
      if (!IsInteger(type)) throw ParseError{"hex needs an integer type"};
      op.hex = true;
    } else if (flag.rfind("limits=", 0) == 0) {
      if (!IsInteger(type) && !IsFloating(type)) throw ParseError{"limits need a number type"};
      std::string_view range = std::string_view(flag).substr(7);
      std::size_t comma = range.find(',');
      if (comma == std::string_view::npos || !ParseReal(range.substr(0, comma), &op.min) ||
          !ParseReal(range.substr(comma + 1), &op.max) || op.min > op.max) {
        throw ParseError{"limits must read limits=<min>,<max> with min <= max"};
      }
      op.hasLimits = true;
    } else {
      throw ParseError{"unknown flag \"" + flag + "\""};
    }
  }
  return op;
}

void ExpectCount(const std::vector<Token>& tokens, std::size_t count, const char* form) {
  if (tokens.size() != count) throw ParseError{std::string("expected: ") + form};
}

std::shared_ptr<const Profile> ParseBuiltin(std::string_view name, int depth);

void AddBehaviour(Profile& profile, const std::string& name) {
  if (std::find(profile.behaviours.begin(), profile.behaviours.end(), name) ==
      profile.behaviours.end()) {
    profile.behaviours.push_back(name);
  }
}

void ParseDirective(const std::vector<Token>& tokens, int depth, Profile& profile) {
  const std::string& word = tokens[0].text;
  if (word == "include") {
    ExpectCount(tokens, 2, "include <profile>");
    if (depth >= kMaxIncludeDepth) throw ParseError{"includes nest too deeply (a cycle?)"};
    std::shared_ptr<const Profile> base = ParseBuiltin(tokens[1].text, depth + 1);
    if (!base) throw ParseError{"no built-in profile \"" + tokens[1].text + "\""};
    profile.ops.insert(profile.ops.end(), base->ops.begin(), base->ops.end());
    for (const std::string& name : base->behaviours)
      AddBehaviour(profile, name);
  } else if (word == "remove") {
    ExpectCount(tokens, 2, "remove <path>");
    Op op;
    op.kind = Op::Kind::Remove;
    op.path = tokens[1].text;
    RequireTreePath(op.path);
    if (op.path == ".") throw ParseError{"the root cannot be removed"};
    profile.ops.push_back(std::move(op));
  } else if (word == "behaviour" || word == "drop-behaviour") {
    ExpectCount(tokens, 2, "behaviour <name> or drop-behaviour <name>");
    std::vector<std::string> known = BehaviourNames();
    if (std::find(known.begin(), known.end(), tokens[1].text) == known.end()) {
      throw ParseError{"unknown behaviour \"" + tokens[1].text + "\""};
    }
    if (word == "behaviour") {
      AddBehaviour(profile, tokens[1].text);
    } else {
      std::erase(profile.behaviours, tokens[1].text);
    }
  } else if (word == "option") {
    ExpectCount(tokens, 3, "option <chunkSize|freeSpace|clock|tick> <number>");
    Op op;
    if (!ParseUnsigned(tokens[2].text, &op.number)) {
      throw ParseError{"\"" + tokens[2].text + "\" is not a whole number"};
    }
    if (tokens[1].text == "chunkSize") {
      if (op.number == 0 || op.number > kMaxChunkSize) {
        throw ParseError{"chunkSize must lie in 1..16777216"};
      }
      op.kind = Op::Kind::ChunkSize;
    } else if (tokens[1].text == "freeSpace") {
      op.kind = Op::Kind::FreeSpace;
    } else if (tokens[1].text == "clock") {
      op.kind = Op::Kind::Clock;
    } else if (tokens[1].text == "tick") {
      if (op.number > 60000) throw ParseError{"tick must lie in 0..60000"};
      op.kind = Op::Kind::Tick;
    } else {
      throw ParseError{"unknown option \"" + tokens[1].text + "\""};
    }
    profile.ops.push_back(std::move(op));
  } else if (word == "dir") {
    ExpectCount(tokens, 2, "dir <camera path>");
    Op op;
    op.kind = Op::Kind::Dir;
    op.path = tokens[1].text;
    profile.ops.push_back(std::move(op));
  } else if (word == "file") {
    ExpectCount(tokens, 4, "file <camera path> size <bytes> or file <camera path> text \"...\"");
    Op op;
    op.kind = Op::Kind::File;
    op.path = tokens[1].text;
    if (tokens[2].text == "size") {
      u64 size = 0;
      if (!ParseUnsigned(tokens[3].text, &size) || size > kMaxProfileFileContent) {
        throw ParseError{"a file size must be a whole number up to 67108864"};
      }
      op.data.resize(size);
      for (u64 i = 0; i < size; ++i)
        op.data[i] = static_cast<u8>(i % 251);
    } else if (tokens[2].text == "text") {
      op.data.assign(tokens[3].text.begin(), tokens[3].text.end());
    } else {
      throw ParseError{"a file takes \"size <bytes>\" or \"text <text>\""};
    }
    profile.ops.push_back(std::move(op));
  } else {
    throw ParseError{"unknown directive \"" + word + "\""};
  }
}

// Finds one "{a..b}" in a path: the numbers a..b, and the text before and after it.
bool FindRange(const std::string& path, i64* first, i64* last, std::string* before,
               std::string* after) {
  std::size_t open = path.find('{');
  if (open == std::string::npos) return false;
  std::size_t close = path.find('}', open);
  std::size_t dots = path.find("..", open);
  if (close == std::string::npos || dots == std::string::npos || dots > close ||
      !ParseInteger(std::string_view(path).substr(open + 1, dots - open - 1), first) ||
      !ParseInteger(std::string_view(path).substr(dots + 2, close - dots - 2), last)) {
    throw ParseError{"a range in a path reads {first..last}"};
  }
  if (*first < 0 || *first > *last || *last - *first >= kMaxRange) {
    throw ParseError{"a range must run upwards from 0 or more over at most 4096 numbers"};
  }
  if (path.find('{', close) != std::string::npos) throw ParseError{"one range per path"};
  *before = path.substr(0, open);
  *after = path.substr(close + 1);
  return true;
}

void ParseLine(std::vector<Token> tokens, int depth, Profile& profile) {
  bool pathLine = !tokens[0].quoted && !tokens[0].text.empty() && tokens[0].text.front() == '.';
  std::size_t rangeToken = pathLine ? 0 : (tokens[0].text == "remove" ? 1 : tokens.size());
  i64 first = 0;
  i64 last = 0;
  std::string before;
  std::string after;
  if (rangeToken < tokens.size() &&
      FindRange(tokens[rangeToken].text, &first, &last, &before, &after)) {
    // One line per number; "{}" in the other words stands for the number.
    for (i64 n = first; n <= last; ++n) {
      std::vector<Token> expanded = tokens;
      std::string number = std::to_string(n);
      expanded[rangeToken].text = before + number + after;
      for (std::size_t i = 0; i < expanded.size(); ++i) {
        if (i == rangeToken) continue;
        std::string& text = expanded[i].text;
        for (std::size_t at = text.find("{}"); at != std::string::npos; at = text.find("{}", at)) {
          text.replace(at, 2, number);
          at += number.size();
        }
      }
      ParseLine(std::move(expanded), depth, profile);
    }
    return;
  }
  if (pathLine) {
    profile.ops.push_back(ParsePathLine(tokens));
  } else {
    ParseDirective(tokens, depth, profile);
  }
}

// Parses a whole profile; false with "<origin>:<line>: <what>" in *error.
bool Parse(std::string_view text, std::string_view origin, int depth, Profile* profile,
           std::string* error) {
  std::size_t lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    try {
      for (char c : line) {
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r') || c == 0x7F) {
          throw ParseError{"control character in the line"};
        }
      }
      std::vector<Token> tokens = Tokenize(line);
      if (!tokens.empty()) ParseLine(std::move(tokens), depth, *profile);
    } catch (const ParseError& failure) {
      if (error) {
        *error = std::string(origin) + ":" + std::to_string(lineNumber) + ": " + failure.what;
      }
      return false;
    }
  }
  return true;
}

std::shared_ptr<const Profile> ParseBuiltin(std::string_view name, int depth) {
  static std::mutex mutex;
  static std::map<std::string, std::shared_ptr<const Profile>, std::less<>> parsed;
  {
    std::lock_guard<std::mutex> hold(mutex);
    auto found = parsed.find(name);
    if (found != parsed.end()) return found->second;
  }
  const char* text = BuiltinProfileText(name);
  if (!text) return nullptr;
  auto profile = std::make_shared<Profile>();
  std::string error;
  if (!Parse(text, name, depth, profile.get(), &error)) throw ParseError{error};
  std::lock_guard<std::mutex> hold(mutex);
  parsed.emplace(std::string(name), profile);
  return profile;
}

u32 Apply(Camera& camera, const Profile& profile, std::string* error) {
  std::optional<u64> freeSpace;
  for (const Op& op : profile.ops) {
    u32 result = kOk;
    switch (op.kind) {
      case Op::Kind::Define:
        camera.Set(op.path, op.value);
        camera.SetReadOnly(op.path, op.readOnly);
        camera.SetHex(op.path, op.hex);
        if (op.hasLimits) {
          camera.SetLimits(op.path, op.min, op.max);
        } else {
          camera.ClearLimits(op.path);
        }
        break;
      case Op::Kind::Remove:
        camera.Remove(op.path);
        break;
      case Op::Kind::Dir:
        result = camera.Files().MakeDirs(op.path);
        break;
      case Op::Kind::File:
        result = camera.Files().Put(op.path, op.data);
        break;
      case Op::Kind::ChunkSize:
        camera.SetChunkSize(static_cast<u32>(op.number));
        break;
      case Op::Kind::FreeSpace:
        freeSpace = op.number;  // what is left once the profile's files are stored
        break;
      case Op::Kind::Clock:
        camera.Files().SetClock(op.number);
        break;
      case Op::Kind::Tick:
        camera.SetTickMs(static_cast<u32>(op.number));
        break;
    }
    if (result != kOk) {
      if (error)
        *error = "cannot place \"" + op.path + "\" in the file store: " + resErrorToString(result);
      return kInvalidArgument;
    }
  }
  if (freeSpace) camera.Files().SetFreeSpace(*freeSpace);
  for (const std::string& name : profile.behaviours)
    InstallBehaviour(camera, name);
  return kOk;
}

u32 LoadParsed(Camera& camera, std::string_view text, std::string_view origin, std::string* error) {
  Profile profile;
  try {
    if (!Parse(text, origin, 0, &profile, error)) return kInvalidArgument;
  } catch (const ParseError& failure) {  // a built-in that does not parse
    if (error) *error = failure.what;
    return kInvalidArgument;
  }
  return Apply(camera, profile, error);
}

}  // namespace

u32 LoadBuiltinProfile(Camera& camera, std::string_view name, std::string* error) {
  std::shared_ptr<const Profile> profile;
  try {
    profile = ParseBuiltin(name, 0);
  } catch (const ParseError& failure) {
    if (error) *error = failure.what;
    return kInvalidArgument;
  }
  if (!profile) {
    if (error) *error = "no built-in profile \"" + std::string(name) + "\"";
    return kNotFound;
  }
  return Apply(camera, *profile, error);
}

u32 LoadProfileText(Camera& camera, std::string_view text, std::string* error) {
  return LoadParsed(camera, text, "<text>", error);
}

u32 LoadProfileFile(Camera& camera, const std::string& path, std::string* error) {
  std::error_code status;
  std::ifstream in;
  if (std::filesystem::is_regular_file(path, status)) in.open(path, std::ios::binary);
  if (!in.is_open()) {
    if (error) *error = path + ": cannot be read";
    return kNotFound;
  }
  std::string text;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxProfileFile) {
      if (error) *error = path + ": larger than 16 MiB";
      return kTooLarge;
    }
  }
  if (in.bad()) {
    if (error) *error = path + ": cannot be read";
    return kNotFound;
  }
  return LoadParsed(camera, text, path, error);
}

}  // namespace sim::ptree

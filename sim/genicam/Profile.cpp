// The profile loader: one line per feature, file or directive (the format is described in
// docs/simulated-cameras.md). Built-in profiles and users' profile files go through it alike.
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <set>
#include <stdexcept>

#include "genicam/Behaviours.h"
#include "genicam/DeviceImpl.h"
#include "genicam/SimDevice.h"

namespace sim::genicam {

namespace {

std::vector<std::string> SplitWords(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

class Loader {
 public:
  explicit Loader(Device& device) : m_device(device) {}

  void Load(const std::string& text, const std::string& source, int depth) {
    if (depth > 8) Fail("profiles include each other too deeply");
    std::string savedSource = m_source;
    int savedLine = m_line;
    m_source = source;
    m_line = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      ++m_line;
      std::vector<std::string> tokens = Tokenize(text.substr(start, end - start));
      if (!tokens.empty()) Dispatch(tokens, depth);
      start = end + 1;
    }
    m_source = savedSource;
    m_line = savedLine;
  }

  void Finish() {
    std::set<std::vector<std::string>> done;
    for (const auto& [args, where] : m_behaviours) {
      if (!done.insert(args).second) continue;
      try {
        InstallBehaviour(m_device, args);
        m_device.Internal().behaviours.push_back(args);
      } catch (const std::exception& e) {
        throw std::runtime_error(where + ": " + e.what());
      }
    }
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const {
    throw std::runtime_error(m_source + ":" + std::to_string(m_line) + ": " + message);
  }

  std::vector<std::string> Tokenize(const std::string& line) const {
    std::vector<std::string> tokens;
    std::string token;
    bool inToken = false;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
      char c = line[i];
      if (quoted) {
        if (c == '\\' && i + 1 < line.size()) {
          token += line[++i];
        } else if (c == '"') {
          quoted = false;
        } else {
          token += c;
        }
        continue;
      }
      if (c == '"') {
        quoted = true;
        inToken = true;
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        if (inToken) tokens.push_back(token);
        token.clear();
        inToken = false;
      } else if (c == '#' && !inToken) {
        break;
      } else {
        token += c;
        inToken = true;
      }
    }
    if (quoted) Fail("a quote is not closed");
    if (inToken) tokens.push_back(token);
    return tokens;
  }

  // Replaces {NAME} by the macro's value; a value of several words repeats the line once per word.
  void Expand(std::vector<std::string> tokens, std::vector<std::vector<std::string>>* out) const {
    for (std::string& token : tokens) {
      std::size_t open = token.find('{');
      while (open != std::string::npos) {
        std::size_t close = token.find('}', open);
        if (close == std::string::npos) Fail("a { without its }");
        std::string name = token.substr(open + 1, close - open - 1);
        auto it = m_macros.find(name);
        if (it == m_macros.end()) Fail("no macro " + name);
        std::vector<std::string> words = SplitWords(it->second);
        if (words.size() > 1) {
          std::string pattern = "{" + name + "}";
          for (const std::string& word : words) {
            std::vector<std::string> copy = tokens;
            for (std::string& t : copy) {
              for (std::size_t at = t.find(pattern); at != std::string::npos;
                   at = t.find(pattern, at + word.size())) {
                t.replace(at, pattern.size(), word);
              }
            }
            Expand(copy, out);
          }
          return;
        }
        std::string value = words.empty() ? "" : words[0];
        token.replace(open, close - open + 1, value);
        open = token.find('{', open + value.size());
      }
    }
    out->push_back(tokens);
  }

  i64 ParseInt(const std::string& text) const {
    if (text.empty()) Fail("a number is missing");
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0') Fail("not an integer: " + text);
    return value;
  }

  double ParseFloat(const std::string& text) const {
    if (text.empty()) Fail("a number is missing");
    errno = 0;
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0') Fail("not a number: " + text);
    return value;
  }

  bool ParseBool(const std::string& text) const {
    if (text == "true" || text == "1") return true;
    if (text == "false" || text == "0") return false;
    Fail("not true or false: " + text);
  }

  std::vector<EnumEntry> ParseEntries(const std::string& text) const {
    std::vector<EnumEntry> entries;
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find(',', start);
      if (end == std::string::npos) end = text.size();
      std::string item = text.substr(start, end - start);
      std::size_t colon = item.rfind(':');
      if (colon == std::string::npos || colon == 0) Fail("an entry is NAME:VALUE, not " + item);
      entries.push_back(EnumEntry{item.substr(0, colon), ParseInt(item.substr(colon + 1))});
      start = end + 1;
    }
    if (entries.empty()) Fail("an enumeration needs entries");
    return entries;
  }

  // An enumeration value given by entry name or number; it must be one of the entries.
  i64 EntryValue(const std::vector<EnumEntry>& entries, const std::string& text) const {
    for (const EnumEntry& entry : entries) {
      if (entry.name == text) return entry.value;
    }
    bool numeric =
        !text.empty() && (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-');
    if (numeric) {
      i64 value = ParseInt(text);
      for (const EnumEntry& entry : entries) {
        if (entry.value == value) return value;
      }
    }
    Fail("no entry " + text);
  }

  struct Attributes {
    std::map<std::string, std::string> values;  // key=value
    std::set<std::string> flags;                // ro, rw, na, available
  };

  Attributes ParseAttributes(const std::vector<std::string>& tokens, std::size_t from) const {
    static const std::set<std::string> kKeys = {"min",     "max",  "inc",  "polls", "selector",
                                                "entries", "size", "seed", "time",  "text"};
    static const std::set<std::string> kFlags = {"ro", "rw", "na", "available", "readonly"};
    Attributes attributes;
    for (std::size_t i = from; i < tokens.size(); ++i) {
      std::size_t equals = tokens[i].find('=');
      if (equals == std::string::npos) {
        if (!kFlags.count(tokens[i])) Fail("unknown flag " + tokens[i]);
        attributes.flags.insert(tokens[i]);
      } else {
        std::string key = tokens[i].substr(0, equals);
        if (!kKeys.count(key)) Fail("unknown attribute " + key);
        attributes.values[key] = tokens[i].substr(equals + 1);
      }
    }
    return attributes;
  }

  void FeatureLine(Kind kind, const std::vector<std::string>& tokens) {
    bool hasValue = kind != Kind::Command;
    if (tokens.size() < (hasValue ? 3u : 2u)) Fail("a feature line is KIND NAME VALUE ...");
    FeatureSpec spec;
    spec.name = tokens[1];
    spec.kind = kind;
    Attributes attributes = ParseAttributes(tokens, hasValue ? 3 : 2);
    auto has = [&](const char* key) { return attributes.values.count(key) != 0; };
    spec.writable = !attributes.flags.count("ro");
    spec.available = !attributes.flags.count("na");
    if (has("selector")) spec.selector = attributes.values["selector"];
    if (has("polls")) spec.pollsUntilDone = static_cast<int>(ParseInt(attributes.values["polls"]));
    const std::string value = hasValue ? tokens[2] : "";
    switch (kind) {
      case Kind::Integer:
        if (has("min")) spec.intMin = ParseInt(attributes.values["min"]);
        if (has("max")) spec.intMax = ParseInt(attributes.values["max"]);
        if (has("inc")) spec.intInc = ParseInt(attributes.values["inc"]);
        spec.intValue = ParseInt(value);
        if (spec.intMin > spec.intMax || spec.intInc < 1) Fail("bad limits for " + spec.name);
        if (spec.intValue < spec.intMin || spec.intValue > spec.intMax) {
          Fail(spec.name + " = " + value + " is outside its limits");
        }
        break;
      case Kind::Float:
        if (has("min")) spec.floatMin = ParseFloat(attributes.values["min"]);
        if (has("max")) spec.floatMax = ParseFloat(attributes.values["max"]);
        spec.floatValue = ParseFloat(value);
        if (!(spec.floatMin <= spec.floatMax)) Fail("bad limits for " + spec.name);
        if (spec.floatValue < spec.floatMin || spec.floatValue > spec.floatMax) {
          Fail(spec.name + " = " + value + " is outside its limits");
        }
        break;
      case Kind::Boolean:
        spec.boolValue = ParseBool(value);
        break;
      case Kind::Enumeration:
        if (!has("entries")) Fail("enumeration " + spec.name + " needs entries=NAME:VALUE,...");
        spec.entries = ParseEntries(attributes.values["entries"]);
        spec.intValue = EntryValue(spec.entries, value);
        break;
      case Kind::String:
        spec.text = value;
        break;
      case Kind::Command:
        break;
      case Kind::Register: {
        i64 length = ParseInt(value);
        if (length < 0 || length > (16 << 20)) Fail("register length " + value + " is not sane");
        spec.bytes.assign(static_cast<std::size_t>(length), 0);
        break;
      }
    }
    try {
      m_device.Add(spec);
    } catch (const std::exception& e) {
      Fail(e.what());
    }
  }

  // Changes the value and attributes of an existing feature (in its current selector state).
  void Change(const std::string& name, const std::vector<std::string>& tokens, std::size_t from) {
    if (!m_device.Has(name)) Fail("no feature " + name);
    if (tokens.size() <= from) Fail("a value is missing for " + name);
    FeatureSpec spec = m_device.Spec(name);
    const std::string& value = tokens[from];
    Attributes attributes = ParseAttributes(tokens, from + 1);
    auto has = [&](const char* key) { return attributes.values.count(key) != 0; };
    try {
      if (spec.kind == Kind::Integer && (has("min") || has("max") || has("inc"))) {
        m_device.SetIntLimits(name, has("min") ? ParseInt(attributes.values["min"]) : spec.intMin,
                              has("max") ? ParseInt(attributes.values["max"]) : spec.intMax,
                              has("inc") ? ParseInt(attributes.values["inc"]) : spec.intInc);
      }
      if (spec.kind == Kind::Float && (has("min") || has("max"))) {
        m_device.SetFloatLimits(name,
                                has("min") ? ParseFloat(attributes.values["min"]) : spec.floatMin,
                                has("max") ? ParseFloat(attributes.values["max"]) : spec.floatMax);
      }
      if (spec.kind == Kind::Enumeration && has("entries")) {
        spec.entries = ParseEntries(attributes.values["entries"]);
        m_device.SetEntries(name, spec.entries);
      }
      if (has("polls")) {
        m_device.SetPollsUntilDone(name, static_cast<int>(ParseInt(attributes.values["polls"])));
      }
      if (attributes.flags.count("ro")) m_device.SetWritable(name, false);
      if (attributes.flags.count("rw")) m_device.SetWritable(name, true);
      if (attributes.flags.count("na")) m_device.SetAvailable(name, false);
      if (attributes.flags.count("available")) m_device.SetAvailable(name, true);
      if (value == "-") return;  // attributes only
      switch (spec.kind) {
        case Kind::Integer:
          m_device.SetInt(name, ParseInt(value));
          break;
        case Kind::Float:
          m_device.SetFloat(name, ParseFloat(value));
          break;
        case Kind::Boolean:
          m_device.SetBool(name, ParseBool(value));
          break;
        case Kind::Enumeration:
          m_device.SetInt(name, EntryValue(spec.entries, value));
          break;
        case Kind::String:
          m_device.SetString(name, value);
          break;
        case Kind::Register: {
          i64 length = ParseInt(value);
          if (length < 0 || length > (16 << 20)) Fail("register length " + value + " is not sane");
          m_device.SetRegister(name, std::vector<u8>(static_cast<std::size_t>(length), 0));
          break;
        }
        case Kind::Command:
          Fail("a command has no value; use - and attributes");
      }
    } catch (const std::invalid_argument& e) {
      Fail(e.what());
    }
  }

  void AtLine(const std::vector<std::string>& tokens) {
    if (tokens.size() < 4) Fail("an at line is: at SELECTOR=VALUE NAME VALUE ...");
    std::size_t equals = tokens[1].find('=');
    if (equals == std::string::npos) Fail("at needs SELECTOR=VALUE");
    std::string selector = tokens[1].substr(0, equals);
    std::string key = tokens[1].substr(equals + 1);
    const std::string& name = tokens[2];
    if (!m_device.Has(name)) Fail("no feature " + name);
    if (m_device.Spec(name).selector != selector) Fail(name + " is not selected by " + selector);
    if (!m_device.Has(selector)) Fail("no selector " + selector);
    FeatureSpec chooser = m_device.Spec(selector);
    i64 value = 0;
    if (chooser.kind == Kind::Enumeration) {
      value = EntryValue(chooser.entries, key);
    } else if (chooser.kind == Kind::Integer) {
      value = ParseInt(key);
    } else {
      Fail("selector " + selector + " is neither integer nor enumeration");
    }
    m_device.SetInt(selector, value);
    Change(name, tokens, 3);
    m_device.SetInt(selector, chooser.intValue);
  }

  void FileLine(const std::vector<std::string>& tokens) {
    if (tokens.size() < 2) Fail("a file line is: file PATH size=N | text=...");
    Attributes attributes = ParseAttributes(tokens, 2);
    std::vector<u8> bytes;
    if (attributes.values.count("text")) {
      const std::string& text = attributes.values["text"];
      bytes.assign(text.begin(), text.end());
    } else if (attributes.values.count("size")) {
      i64 size = ParseInt(attributes.values["size"]);
      if (size < 0 || size > (64 << 20)) Fail("file size " + std::to_string(size) + " is not sane");
      u64 state = attributes.values.count("seed")
                      ? static_cast<u64>(ParseInt(attributes.values["seed"]))
                      : 1;
      bytes.resize(static_cast<std::size_t>(size));
      for (u8& byte : bytes) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        byte = static_cast<u8>(state >> 56);
      }
    } else {
      Fail("a file needs size= or text=");
    }
    std::string path = FileStore::Normalize(tokens[1]);
    if (path.empty() || path == "/") Fail("bad file path " + tokens[1]);
    FileStore& files = m_device.Files();
    std::string parent = path.substr(0, path.rfind('/'));
    if (!parent.empty() && files.MakeDirectories(parent) != kFileSuccess) {
      Fail("cannot make the directory " + parent);
    }
    files.SetReadOnly(path, false);
    if (files.Write(path, bytes) != kFileSuccess) Fail("cannot store " + path);
    if (attributes.values.count("time")) {
      files.SetModified(path, static_cast<u64>(ParseInt(attributes.values["time"])));
    }
    if (attributes.flags.count("readonly")) files.SetReadOnly(path, true);
  }

  void Dispatch(const std::vector<std::string>& raw, int depth) {
    const std::string& word = raw[0];
    if (word == "define" || word == "default") {
      if (raw.size() != 3) Fail(word + " takes NAME VALUE");
      if (word == "define" || !m_macros.count(raw[1])) m_macros[raw[1]] = raw[2];
      return;
    }
    std::vector<std::vector<std::string>> lines;
    Expand(raw, &lines);
    for (const std::vector<std::string>& tokens : lines)
      Run(tokens, depth);
  }

  void Run(const std::vector<std::string>& tokens, int depth) {
    static const std::map<std::string, Kind> kKinds = {
        {"int", Kind::Integer},      {"float", Kind::Float},   {"bool", Kind::Boolean},
        {"enum", Kind::Enumeration}, {"string", Kind::String}, {"command", Kind::Command},
        {"register", Kind::Register}};
    const std::string& word = tokens[0];
    auto kind = kKinds.find(word);
    if (kind != kKinds.end()) {
      FeatureLine(kind->second, tokens);
    } else if (word == "at") {
      AtLine(tokens);
    } else if (word == "set") {
      if (tokens.size() < 3) Fail("set takes NAME VALUE ...");
      Change(tokens[1], tokens, 2);
    } else if (word == "remove") {
      if (tokens.size() != 2) Fail("remove takes NAME");
      if (!m_device.Remove(tokens[1])) Fail("no feature " + tokens[1] + " to remove");
    } else if (word == "base") {
      if (tokens.size() != 2) Fail("base takes a built-in profile name");
      std::string text = BuiltinProfileText(tokens[1]);
      if (text.empty()) Fail("no built-in profile " + tokens[1]);
      Load(text, "profile " + tokens[1], depth + 1);
    } else if (word == "behaviour") {
      if (tokens.size() < 2) Fail("behaviour takes a name");
      m_behaviours.emplace_back(std::vector<std::string>(tokens.begin() + 1, tokens.end()),
                                m_source + ":" + std::to_string(m_line));
    } else if (word == "place") {
      if (tokens.size() < 3 || tokens.size() > 4) Fail("place takes KIND PATH [EXTENSION]");
      i64 fileKind = ParseInt(tokens[1]);
      try {
        m_device.SetFilePlace(static_cast<int>(fileKind), tokens[2],
                              tokens.size() == 4 ? tokens[3] : "");
      } catch (const std::invalid_argument& e) {
        Fail(e.what());
      }
      std::string directory = FileStore::Normalize(tokens[2]);
      if (fileKind == 5) directory = directory.substr(0, directory.rfind('/'));
      if (!directory.empty() && m_device.Files().MakeDirectories(directory) != kFileSuccess) {
        Fail("cannot make the directory " + directory);
      }
    } else if (word == "dir") {
      if (tokens.size() != 2) Fail("dir takes PATH");
      if (m_device.Files().MakeDirectories(tokens[1]) != kFileSuccess) {
        Fail("cannot make the directory " + tokens[1]);
      }
    } else if (word == "file") {
      FileLine(tokens);
    } else if (word == "capacity") {
      if (tokens.size() != 2) Fail("capacity takes BYTES");
      i64 bytes = ParseInt(tokens[1]);
      if (bytes < 0) Fail("capacity must not be negative");
      m_device.Files().SetCapacity(static_cast<u64>(bytes));
    } else if (word == "clock") {
      if (tokens.size() != 2) Fail("clock takes SECONDS");
      m_device.Files().SetClock(static_cast<u64>(ParseInt(tokens[1])));
    } else if (word == "tick") {
      if (tokens.size() != 2) Fail("tick takes MILLISECONDS");
      i64 ms = ParseInt(tokens[1]);
      if (ms < 0 || ms > 60000) Fail("tick must lie in 0..60000");
      m_device.SetTickMs(static_cast<u32>(ms));
    } else {
      Fail("unknown line " + word);
    }
  }

  Device& m_device;
  std::map<std::string, std::string> m_macros;
  std::vector<std::pair<std::vector<std::string>, std::string>> m_behaviours;
  std::string m_source = "profile";
  int m_line = 0;
};

}  // namespace

void LoadProfile(Device& device, const std::string& text) {
  Loader loader(device);
  loader.Load(text, "profile", 0);
  loader.Finish();
}

}  // namespace sim::genicam

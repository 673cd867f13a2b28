#include "operations.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <sstream>
#include <tuple>
#include <type_traits>
#include <utility>

#include "progress.h"
#include "tqvSDK.h"
#include "values.h"

namespace tqvcli {

namespace {

// Room for any text the camera hands back.
constexpr std::int32_t kTextCapacity = 4096;
// The largest table an output array may ask for.
constexpr std::uint32_t kMaxArray = 1u << 24;

template <class T>
constexpr const char* TypeName() {
  if constexpr (std::is_same_v<T, bool>)
    return "bool";
  else if constexpr (std::is_same_v<T, float>)
    return "float";
  else if constexpr (std::is_same_v<T, double>)
    return "double";
  else if constexpr (std::is_same_v<T, std::uint8_t>)
    return "u8";
  else if constexpr (std::is_same_v<T, std::uint16_t>)
    return "u16";
  else if constexpr (std::is_same_v<T, std::uint32_t>)
    return "u32";
  else if constexpr (std::is_same_v<T, std::uint64_t>)
    return "u64";
  else if constexpr (std::is_same_v<T, std::int8_t>)
    return "i8";
  else if constexpr (std::is_same_v<T, std::int16_t>)
    return "i16";
  else if constexpr (std::is_same_v<T, std::int32_t>)
    return "i32";
  else
    return "i64";
}

template <class T>
Json NumberJson(T value) {
  return FieldValue(value, sizeof value);
}

// A number from the command line, or an enumeration text where the setting has texts.
template <class T>
bool ParseInput(Call& call, std::size_t index, T& value) {
  const ParamInfo& param = call.op.params[index];
  const std::string& text = call.inputs[index];
  if (ParseValue(text, value)) return true;
  std::uint32_t code = 0;
  if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>) {
    if (param.enumTexts && param.enumTexts->CodeOf(text, code)) {
      value = static_cast<T>(code);
      return true;
    }
  }
  call.problem = param.name + ": \"" + text + "\" is not a " + param.type;
  if (param.enumTexts) {
    call.problem += " or a text of " + std::string(param.enumTexts->setting) + " (" +
                    param.enumTexts->AllTexts() + ")";
  }
  return false;
}

template <class T>
void EmitNumber(Call& call, std::size_t index, T value) {
  const ParamInfo& param = call.op.params[index];
  Field field{param.name, NumberJson(value), "", ""};
  if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>) {
    if (param.enumTexts) field.text = param.enumTexts->TextOf(static_cast<std::uint32_t>(value));
  }
  call.outputs.push_back(std::move(field));
}

// How each C parameter type of the exported functions is read from the command line, passed
// and printed. A type without a specialisation does not compile, so every operation's
// parameters are covered.
template <class P>
struct Param {
  static_assert(sizeof(P) == 0, "a parameter type the command line does not handle");
};

template <class T>
requires std::is_arithmetic_v<T>
struct Param<T> {
  static constexpr Role kRole = Role::kIn;
  static constexpr const char* kType = TypeName<T>();
  using Storage = T;
  static bool Prepare(Storage& value, Call& call, std::size_t index) {
    if (call.op.params[index].role == Role::kHidden) {
      if constexpr (std::is_same_v<T, std::int32_t>) value = kTextCapacity;
      return true;
    }
    return ParseInput(call, index, value);
  }
  static T Arg(Storage& value) { return value; }
  static void Emit(Storage&, Call&, std::size_t) {}
};

// A number written by the call, or an array of numbers in or out.
template <class T>
requires std::is_arithmetic_v<T>
struct Param<T*> {
  static constexpr Role kRole = Role::kOut;
  static constexpr const char* kType = TypeName<T>();
  struct Storage {
    std::unique_ptr<T[]> data;
    std::uint32_t size = 0;
  };
  static bool Prepare(Storage& array, Call& call, std::size_t index) {
    const ParamInfo& param = call.op.params[index];
    if (param.role == Role::kInArray) return ParseArray(array, call, index);
    array.size = 1;
    if (param.role == Role::kOutArray) {
      std::uint32_t count = 0;
      ParseValue(call.inputs[static_cast<std::size_t>(param.countParam)], count);
      if (count > kMaxArray) {
        call.problem = "at most " + std::to_string(kMaxArray) + " values can be read at once";
        return false;
      }
      array.size = std::max(count, 1u);
    }
    array.data = std::make_unique<T[]>(array.size);
    return true;
  }
  static bool ParseArray(Storage& array, Call& call, std::size_t index) {
    const ParamInfo& param = call.op.params[index];
    array.size = param.count;
    array.data = std::make_unique<T[]>(array.size);
    std::istringstream items(call.inputs[index]);
    std::string item;
    std::uint32_t given = 0;
    while (std::getline(items, item, ',')) {
      if (given < array.size && !ParseValue(item, array.data[given])) given = array.size;
      ++given;
    }
    if (given != array.size) {
      call.problem = param.name + ": give " + std::to_string(param.count) + " " + param.type +
                     " values separated by commas";
      return false;
    }
    return true;
  }
  static T* Arg(Storage& array) { return array.data.get(); }
  static void Emit(Storage& array, Call& call, std::size_t index) {
    const ParamInfo& param = call.op.params[index];
    if (param.role == Role::kOut) {
      EmitNumber(call, index, array.data[0]);
    } else if (param.role == Role::kOutArray) {
      Json values = Json::array();
      for (std::uint32_t i = 0; i < array.size; ++i)
        values.push_back(NumberJson(array.data[i]));
      call.outputs.push_back({param.name, std::move(values), "", ""});
    }
  }
};

template <>
struct Param<const char*> {
  static constexpr Role kRole = Role::kInText;
  static constexpr const char* kType = "text";
  using Storage = std::string;
  static bool Prepare(Storage& text, Call& call, std::size_t index) {
    text = call.inputs[index];
    return true;
  }
  static const char* Arg(Storage& text) { return text.c_str(); }
  static void Emit(Storage&, Call&, std::size_t) {}
};

// The buffer of a buffer-and-size pair; its size is the next parameter.
template <>
struct Param<char*> {
  static constexpr Role kRole = Role::kOutText;
  static constexpr const char* kType = "text";
  using Storage = std::vector<char>;
  static bool Prepare(Storage& buffer, Call&, std::size_t) {
    buffer.assign(kTextCapacity, '\0');
    return true;
  }
  static char* Arg(Storage& buffer) { return buffer.data(); }
  static void Emit(Storage& buffer, Call& call, std::size_t index) {
    call.outputs.push_back(
        {call.op.params[index].name, FieldValue(buffer.data(), buffer.size()), "", ""});
  }
};

template <class R>
struct RecordParam {
  static constexpr Role kRole = Role::kOutRecord;
  static constexpr const char* kType = "record";
  using Storage = R;
  static bool Prepare(Storage&, Call&, std::size_t) { return true; }
  static R* Arg(Storage& record) { return &record; }
  static void Emit(Storage& record, Call& call, std::size_t index) {
    call.outputs.push_back({call.op.params[index].name, RecordJson(record), "", ""});
  }
};
template <>
struct Param<tqvSNUCInfo*> : RecordParam<tqvSNUCInfo> {};
template <>
struct Param<tqvSSsdMovieInfo*> : RecordParam<tqvSSsdMovieInfo> {};

// A calibration record owns the lookup tables the library allocated for it.
struct CalInfo : tqvSCalInfo {
  CalInfo() : tqvSCalInfo{} {}
  CalInfo(const CalInfo&) = delete;
  CalInfo& operator=(const CalInfo&) = delete;
  ~CalInfo() {
    tqvFree(lutX);
    tqvFree(lutY);
  }
};
template <>
struct Param<tqvSCalInfo*> : RecordParam<CalInfo> {};

// A listing handed out as an entry array, allocated before the call and freed after it.
template <class A, A* (*Alloc)(), void (*Free)(A*)>
struct EntryArrayParam {
  static constexpr Role kRole = Role::kOutList;
  struct Deleter {
    void operator()(A* array) const { Free(array); }
  };
  using Storage = std::unique_ptr<A, Deleter>;
  static bool Prepare(Storage& array, Call&, std::size_t) {
    array.reset(Alloc());
    return array != nullptr;
  }
  static A* Arg(Storage& array) { return array.get(); }
};

template <>
struct Param<tqvDirEntryArray*>
    : EntryArrayParam<tqvDirEntryArray, &tqvDirEntryArray_Alloc, &tqvDirEntryArray_Free> {
  static constexpr const char* kType = "directory entries";
  static void Emit(Storage& array, Call& call, std::size_t index) {
    Json entries = Json::array();
    for (std::uint32_t i = 0; i < tqvDirEntryArray_size(array.get()); ++i) {
      char* name = tqvDirEntryArray_fnameAt(array.get(), i);
      entries.push_back(
          {{"name", name ? name : ""},
           {"attrib", tqvDirEntryArray_attribAt(array.get(), i)},
           {"size", tqvDirEntryArray_sizeAt(array.get(), i)},
           {"timeLastModified", tqvDirEntryArray_timeLastModifiedAt(array.get(), i)}});
      tqvFree(name);
    }
    call.outputs.push_back({call.op.params[index].name, std::move(entries), "", ""});
  }
};

template <>
struct Param<tqvInfoEntryArray*>
    : EntryArrayParam<tqvInfoEntryArray, &tqvInfoEntryArray_Alloc, &tqvInfoEntryArray_Free> {
  static constexpr const char* kType = "information entries";
  static void Emit(Storage& array, Call& call, std::size_t index) {
    Json entries = Json::object();
    for (std::uint32_t i = 0; i < tqvInfoEntryArray_size(array.get()); ++i) {
      char* name = tqvInfoEntryArray_nameAt(array.get(), i);
      char* value = tqvInfoEntryArray_valueAt(array.get(), i);
      entries[name ? name : ""] = value ? value : "";
      tqvFree(name);
      tqvFree(value);
    }
    call.outputs.push_back({call.op.params[index].name, std::move(entries), "", ""});
  }
};

template <>
struct Param<zel::TArray<zel::CString>&> {
  static constexpr Role kRole = Role::kOutList;
  static constexpr const char* kType = "texts";
  using Storage = zel::TArray<zel::CString>;
  static bool Prepare(Storage&, Call&, std::size_t) { return true; }
  static Storage& Arg(Storage& list) { return list; }
  static void Emit(Storage& list, Call& call, std::size_t index) {
    Json texts = Json::array();
    for (std::uint32_t i = 0; i < list.GetCount(); ++i)
      texts.push_back(list[i].c_str());
    call.outputs.push_back({call.op.params[index].name, std::move(texts), "", ""});
  }
};

// A host file: uploads read it, everything else writes it.
template <>
struct Param<tqvFilePtr> {
  static constexpr Role kRole = Role::kHostFile;
  static constexpr const char* kType = "host path";
  using Storage = tqvFilePtr;
  static bool Prepare(Storage& file, Call& call, std::size_t index) {
    const std::string& path = call.inputs[index];
    const bool upload = call.op.name.rfind("Upload", 0) == 0;
    file = upload ? tqvOpenFileStdRead(path.c_str()) : tqvOpenFileStdWrite(path.c_str());
    if (!file) {
      call.problem = "cannot open " + path + (upload ? " for reading" : " for writing");
      call.usageProblem = false;
    }
    return static_cast<bool>(file);
  }
  static tqvFilePtr Arg(Storage& file) { return file; }
  static void Emit(Storage&, Call&, std::size_t) {}
};

template <>
struct Param<tqvProgressDelegate> {
  static constexpr Role kRole = Role::kHidden;
  static constexpr const char* kType = "progress";
  using Storage = tqvProgressDelegate;
  static bool Prepare(Storage& delegate, Call& call, std::size_t) {
    if (call.progress) delegate = call.progress->Delegate();
    return true;
  }
  static tqvProgressDelegate Arg(Storage& delegate) { return delegate; }
  static void Emit(Storage&, Call&, std::size_t) {}
};

template <class... P, std::size_t... I>
std::uint32_t InvokeWith(std::uint32_t (*function)(void*, P...), Call& call,
                         std::index_sequence<I...>) {
  std::tuple<typename Param<P>::Storage...> slots{};
  const bool ready = (Param<P>::Prepare(std::get<I>(slots), call, I) && ...);
  if (!ready) return TQV_ERROR;
  const std::uint32_t result = function(call.handle, Param<P>::Arg(std::get<I>(slots))...);
  if (result == TQV_OK) (Param<P>::Emit(std::get<I>(slots), call, I), ...);
  return result;
}

// What is generated per C signature rather than per operation: many operations share one
// signature, so the tool instantiates a few dozen callers instead of one per operation.
template <class... P>
struct Signature {
  using Function = std::uint32_t (*)(void*, P...);
  static std::uint32_t Invoke(AnyFunction function, Call& call) {
    return InvokeWith(reinterpret_cast<Function>(function), call, std::index_sequence_for<P...>{});
  }
  static std::vector<ParamInfo> Describe() {
    return {ParamInfo{"", Param<P>::kRole, Param<P>::kType, 0, -1, nullptr}...};
  }
};

struct Entry {
  const char* name;
  const char* argumentNames;
  AnyFunction function;
  std::uint32_t (*invoke)(AnyFunction, Call&);
  std::vector<ParamInfo> (*describe)();
};

template <class... P>
Entry MakeEntry(const char* name, const char* argumentNames,
                std::uint32_t (*function)(void*, P...)) {
  return {name, argumentNames, reinterpret_cast<AnyFunction>(function), &Signature<P...>::Invoke,
          &Signature<P...>::Describe};
}

// Parameters whose shape their C type does not tell: arrays in place of single values.
struct ArrayShape {
  std::string_view operation, param;
  Role role;
  std::uint32_t count;
  std::string_view countParam;
};
constexpr ArrayShape kArrayShapes[] = {
    {"CalcMinSuperframeWidth", "integrationWidths", Role::kInArray, 4, ""},
    {"CalcMinSuperframeWidth", "enabled", Role::kInArray, 4, ""},
    {"GetCalLookupTable", "first", Role::kOutArray, 0, "count"},
    {"GetCalLookupTable", "second", Role::kOutArray, 0, "count"},
};

std::vector<std::string> SplitNames(std::string_view list) {
  std::vector<std::string> names;
  std::string name;
  for (char c : list) {
    if (c == ',' || c == ')') {
      if (!name.empty()) names.push_back(name);
      name.clear();
    } else if (c != '(' && c != ' ') {
      name += c;
    }
  }
  return names;
}

Operation Build(const Entry& entry) {
  const std::string_view name = entry.name;
  Operation op{std::string(name), entry.describe(), entry.function, entry.invoke};
  const std::vector<std::string> names = SplitNames(entry.argumentNames);
  const EnumTexts* texts = EnumTextsFor(name);
  for (std::size_t i = 0; i < op.params.size(); ++i) {
    ParamInfo& param = op.params[i];
    param.name = i < names.size() ? names[i] : "arg" + std::to_string(i);
    const bool enumerated = param.type == std::string_view("u8") && param.name == "value";
    if (enumerated) param.enumTexts = texts;
    if (param.role == Role::kOutText && i + 1 < op.params.size() &&
        op.params[i + 1].type == std::string_view("i32")) {
      op.params[i + 1].role = Role::kHidden;
    }
  }
  for (const ArrayShape& shape : kArrayShapes) {
    if (shape.operation != name) continue;
    for (ParamInfo& param : op.params) {
      if (param.name != shape.param) continue;
      param.role = shape.role;
      param.count = shape.count;
      for (std::size_t j = 0; j < op.params.size(); ++j)
        if (op.params[j].name == shape.countParam) param.countParam = static_cast<int>(j);
    }
  }
  return op;
}

std::vector<Operation> BuildAll() {
  const Entry entries[] = {
#define TQV_OP(name, params, args) MakeEntry(#name, #args, &::tqv##name),
#include "interface/operations.def"
  };
  std::vector<Operation> ops;
  ops.reserve(std::size(entries));
  for (const Entry& entry : entries)
    ops.push_back(Build(entry));
  return ops;
}

bool SameWithoutCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j)
    row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                        std::tolower(static_cast<unsigned char>(b[j - 1]));
      const std::size_t next = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = row[j];
      row[j] = next;
    }
  }
  return row[b.size()];
}

}  // namespace

bool ParamInfo::IsInput() const {
  return role == Role::kIn || role == Role::kInText || role == Role::kInArray ||
         role == Role::kHostFile;
}

bool ParamInfo::IsOutput() const {
  return role == Role::kOut || role == Role::kOutText || role == Role::kOutArray ||
         role == Role::kOutRecord || role == Role::kOutList;
}

std::vector<const ParamInfo*> Operation::Inputs() const {
  std::vector<const ParamInfo*> inputs;
  for (const ParamInfo& param : params)
    if (param.IsInput()) inputs.push_back(&param);
  return inputs;
}

bool Operation::HasOutputs() const {
  return std::any_of(params.begin(), params.end(), [](const ParamInfo& p) { return p.IsOutput(); });
}

std::string Operation::Usage() const {
  std::string usage = name;
  for (const ParamInfo* param : Inputs()) {
    usage += " " + param->name + ":" + param->type;
    if (param->role == Role::kInArray) usage += "[" + std::to_string(param->count) + "]";
  }
  if (HasOutputs()) {
    usage += " ->";
    for (const ParamInfo& param : params)
      if (param.IsOutput()) usage += " " + param.name + ":" + param.type;
  }
  return usage;
}

Json Operation::Describe() const {
  Json inputs = Json::array();
  Json outputs = Json::array();
  for (const ParamInfo& param : params) {
    Json entry = {{"name", param.name}, {"type", param.type}};
    if (param.role == Role::kInArray) entry["count"] = param.count;
    if (param.enumTexts) entry["enumeration"] = std::string(param.enumTexts->setting);
    if (param.IsInput()) inputs.push_back(std::move(entry));
    if (param.IsOutput()) outputs.push_back(std::move(entry));
  }
  return {{"name", name}, {"inputs", std::move(inputs)}, {"outputs", std::move(outputs)}};
}

const std::vector<Operation>& Operations() {
  static const std::vector<Operation> operations = BuildAll();
  return operations;
}

const Operation* FindOperation(std::string_view name) {
  const Operation* unique = nullptr;
  int matches = 0;
  for (const Operation& op : Operations()) {
    if (op.name == name) return &op;
    if (SameWithoutCase(op.name, name)) {
      unique = &op;
      ++matches;
    }
  }
  return matches == 1 ? unique : nullptr;
}

std::vector<std::string> SimilarOperations(std::string_view name) {
  std::vector<std::pair<std::size_t, std::string>> scored;
  for (const Operation& op : Operations()) {
    const std::size_t distance = EditDistance(name, op.name);
    if (distance <= std::max<std::size_t>(2, name.size() / 4))
      scored.emplace_back(distance, op.name);
  }
  std::sort(scored.begin(), scored.end());
  std::vector<std::string> names;
  for (std::size_t i = 0; i < scored.size() && i < 5; ++i)
    names.push_back(scored[i].second);
  return names;
}

std::string BindArguments(Call& call, const std::vector<std::string>& arguments) {
  const std::vector<const ParamInfo*> inputs = call.op.Inputs();
  std::vector<bool> bound(call.op.params.size(), false);
  std::vector<std::string> positional;
  auto indexOf = [&](const ParamInfo* param) {
    return static_cast<std::size_t>(param - call.op.params.data());
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    // "--name value" and "--name=value"; "-5" and "--" alone are values.
    if (argument.size() > 2 && argument.compare(0, 2, "--") == 0 && std::isalpha(argument[2])) {
      const std::size_t equals = argument.find('=');
      const std::string name =
          argument.substr(2, equals == std::string::npos ? equals : equals - 2);
      auto found = std::find_if(inputs.begin(), inputs.end(), [&](const ParamInfo* param) {
        return SameWithoutCase(param->name, name);
      });
      if (found == inputs.end()) return call.op.name + " has no input named " + name;
      const std::size_t index = indexOf(*found);
      if (bound[index]) return name + " is given twice";
      if (equals != std::string::npos) {
        call.inputs[index] = argument.substr(equals + 1);
      } else if (i + 1 < arguments.size()) {
        call.inputs[index] = arguments[++i];
      } else {
        return "--" + name + " needs a value";
      }
      bound[index] = true;
    } else {
      positional.push_back(argument);
    }
  }
  std::size_t next = 0;
  for (const ParamInfo* param : inputs) {
    const std::size_t index = indexOf(param);
    if (bound[index]) continue;
    if (next == positional.size()) {
      return call.op.name + " needs " + param->name + " (" + std::to_string(inputs.size()) +
             (inputs.size() == 1 ? " input" : " inputs") + " in all)";
    }
    call.inputs[index] = positional[next++];
    bound[index] = true;
  }
  if (next != positional.size()) {
    return call.op.name + " takes " + std::to_string(inputs.size()) +
           (inputs.size() == 1 ? " input" : " inputs") + ", " +
           std::to_string(positional.size() - next) + " more given";
  }
  return "";
}

std::uint32_t Invoke(Call& call) { return call.op.invoke(call.op.function, call); }

}  // namespace tqvcli

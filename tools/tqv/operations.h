// Every camera operation by name, generated from the one table of operations over the exported
// tqv<Name> functions: the parameter kinds come from the functions' types, the parameter names
// from the table, so that a new operation is reachable from the command line without a line here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "output.h"

namespace tqvcli {

class Progress;

// What a parameter is to a person at the command line.
enum class Role {
  kIn,         // a number, flag or enumeration value given on the command line
  kInText,     // a text given on the command line
  kInArray,    // several numbers given as one comma-separated argument
  kHostFile,   // a host path, opened for reading (uploads) or writing (downloads)
  kOut,        // a number, flag or enumeration value printed after the call
  kOutText,    // a text printed after the call (the buffer of a buffer-and-size pair)
  kOutArray,   // numbers printed after the call, as many as another parameter says
  kOutRecord,  // a record printed field by field
  kOutList,    // a listing printed entry by entry
  kHidden,     // filled by the tool: the size of a text buffer, a progress report
};

struct EnumTexts;

struct ParamInfo {
  std::string name;
  Role role = Role::kIn;
  const char* type = "";                 // the C type as a person reads it: u8, float, text, ...
  std::uint32_t count = 0;               // kInArray: how many numbers
  int countParam = -1;                   // kOutArray: the input that says how many
  const EnumTexts* enumTexts = nullptr;  // texts of an enumerated setting
  bool IsInput() const;
  bool IsOutput() const;
};

struct Call;

// An exported function with its type erased; the operation's invoker casts it back.
using AnyFunction = void (*)();

struct Operation {
  std::string name;
  std::vector<ParamInfo> params;
  AnyFunction function = nullptr;
  std::uint32_t (*invoke)(AnyFunction, Call&) = nullptr;

  std::vector<const ParamInfo*> Inputs() const;
  bool HasOutputs() const;
  // "GetWindow PRESET:u8 -> xOffset:u16 yOffset:u16 width:u16 height:u16"
  std::string Usage() const;
  Json Describe() const;
};

// One call of an operation: the inputs as given (indexed like the parameters), and what the
// call printed or why it could not be made.
struct Call {
  const Operation& op;
  void* handle = nullptr;
  std::vector<std::string> inputs;
  Progress* progress = nullptr;
  Fields outputs;
  std::string problem;       // set when an argument could not be prepared; no call was made
  bool usageProblem = true;  // the problem lies in the command line (else on the host)
  explicit Call(const Operation& operation) : op(operation), inputs(operation.params.size()) {}
};

const std::vector<Operation>& Operations();
// Exact name first, then a unique match without regard to case; null when none.
const Operation* FindOperation(std::string_view name);
// Up to five names close to a mistyped one, closest first.
std::vector<std::string> SimilarOperations(std::string_view name);

// Binds the command-line arguments of an operation to its inputs: `--name value`, `--name=value`
// or positional values in parameter order. Returns an empty text on success, else what is wrong.
std::string BindArguments(Call& call, const std::vector<std::string>& arguments);

// Runs the call; the result code of the library, or TQV_ERROR with call.problem set when an
// argument could not be prepared.
std::uint32_t Invoke(Call& call);

}  // namespace tqvcli

// The inside of libParamTree: typed values, the conversion rules between a value the camera holds
// and the type a call asks for, and the transport over which the res* calls reach a camera.
// The in-process simulator (sim/ptree) is the first transport; a loopback one can follow.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ParamTree.h"

// What the simulator's test API hands to tests leaves the library; the rest stays inside.
#define PT_API RES_API

namespace paramtree {

using u8 = std::uint8_t;
using u16 = std::uint16_t;
using u32 = std::uint32_t;
using u64 = std::uint64_t;
using i64 = std::int64_t;

// Result codes of the client, shared with the library above it.
enum : u32 {
  kOk = RES_OK,
  kTimeout = RES_TIMEOUT,
  kNotSupported = RES_NOT_SUPPORTED,
  kNotFound = RES_NOT_FOUND,
  kNoLimits = RES_NO_LIMITS,
  kReadOnly = RES_READ_ONLY,
  kFailed = RES_FAILED,
  kInvalidArgument = RES_INVALID_ARGUMENT,
  kUnexpectedValue = RES_UNEXPECTED_VALUE,
  kOutOfEnumeration = RES_OUT_OF_ENUMERATION,
  kTooLarge = RES_TOO_LARGE,
  kAccessDenied = RES_ACCESS_DENIED,
  kError = RES_ERROR,
};

// The types a path can hold. None: a node that only groups children.
enum class Type : u8 {
  None,
  Bool,
  Int8,
  UInt8,
  Int16,
  UInt16,
  Int32,
  UInt32,
  Int,
  Float,
  Double,
  String,
  Utf16,
};

// Short names used by profiles and traffic records: "bool", "i8", "u8", "i16", "u16", "i32",
// "u32", "int", "f32", "f64", "string", "utf16", "node".
PT_API const char* TypeName(Type type);
PT_API bool TypeFromName(std::string_view name, Type* type);
PT_API bool IsInteger(Type type);   // Int8 .. Int
PT_API bool IsFloating(Type type);  // Float, Double
// The range of an integer type.
PT_API i64 TypeMin(Type type);
PT_API i64 TypeMax(Type type);

// One typed value. Bool and the integer types keep their value in `integer`, Float and Double in
// `real` (a Float is always a value a float can hold), String in `text` (UTF-8), Utf16 in `utf16`.
struct PT_API Value {
  Type type = Type::None;
  i64 integer = 0;
  double real = 0.0;
  std::string text;
  std::u16string utf16;

  static Value Bool(bool v);
  static Value I8(std::int8_t v);
  static Value U8(std::uint8_t v);
  static Value I16(std::int16_t v);
  static Value U16(std::uint16_t v);
  static Value I32(std::int32_t v);
  static Value U32(std::uint32_t v);
  static Value Int(int v);
  static Value F32(float v);
  static Value F64(double v);
  static Value Str(std::string v);
  static Value Utf16(std::u16string v);
  // An integer of any integer type, kept to the type's width; a Float rounded to float.
  static Value OfInteger(Type type, i64 v);
  static Value OfReal(Type type, double v);

  bool operator==(const Value& other) const;
};

// The value as text: "true"/"false", decimal integers, the shortest text that reads back to the
// same float or double, texts as they are (UTF-16 converted to UTF-8).
PT_API std::string ToText(const Value& value);

// A double as float; values beyond the float range become infinities.
PT_API float ToFloat(double value);

// UTF conversions; false for malformed input (nothing is guessed).
PT_API bool Utf8ToUtf16(std::string_view in, std::u16string* out);
PT_API bool Utf16ToUtf8(std::u16string_view in, std::string* out);

// Reading: `stored` delivered as the type a call asks for (`want`; None: as stored).
//  - Bool from Bool, or from an integer (non-zero is true).
//  - An integer type from Bool or any integer type, kept to the wanted width the way a C cast
//    does (so a u16 300 read as u8 gives 44, an i8 -1 read as u32 gives 4294967295).
//  - Float/Double from Float, Double or an integer.
//  - String from String, or from Utf16 converted to UTF-8.
//  Anything else (a number read as text, a text read as a number, a float read as an integer,
//  a node without value) answers kNotSupported.
PT_API u32 ConvertForRead(const Value& stored, Type want, Value* out);

// Writing: `incoming` stored into a path of type `stored` (the path keeps its type).
//  - Bool from Bool or an integer (non-zero is true).
//  - An integer type from Bool or an integer that lies in its range; outside: kInvalidArgument.
//  - Float/Double from Float, Double or an integer; NaN: kInvalidArgument.
//  - String from String; Utf16 from String (malformed UTF-8: kInvalidArgument).
//  Anything else answers kNotSupported.
PT_API u32 ConvertForWrite(Type stored, const Value& incoming, Value* out);

// What resGetFileInfo and resDirRead report.
struct FileInfo {
  u8 attributes = 0;
  u32 size = 0;
  u64 time = 0;
};
struct DirEntry {
  std::string name;
  FileInfo info;
};

// Attribute bits of files (FAT style, as the camera's flash file system reports them).
enum : u8 {
  kAttrReadOnly = 0x01,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
};

// An upload in progress: chunks go in by offset; nothing is visible on the camera until Commit.
// Destroying it without Commit abandons the upload.
class IUpload {
 public:
  virtual ~IUpload() = default;
  virtual u32 Write(u32 offset, const void* data, u32 length) = 0;
  virtual u32 Commit() = 0;
};

// A download in progress over a snapshot of the file taken when it was opened.
class IDownload {
 public:
  virtual ~IDownload() = default;
  virtual u32 Size() const = 0;
  virtual u32 Read(u32 offset, void* buffer, u32 length) = 0;
};

// How the client reaches one camera. Every call may be made from any thread; the transport
// serialises as the camera does. `call` names the client call for the camera's records
// ("get", "getString", "getValue", "set", "setString").
class ITransport {
 public:
  virtual ~ITransport() = default;

  virtual u32 Verify(const char* path) = 0;
  virtual u32 Read(const char* path, Type want, const char* call, Value* value) = 0;
  virtual u32 Write(const char* path, const Value& value, int commit, const char* call) = 0;
  virtual u32 GetLimits(const char* path, double* min, double* max) = 0;
  virtual u32 GetAttributes(const char* path, u32* flags) = 0;
  virtual u32 GetChildren(const char* path, std::vector<std::string>* names) = 0;

  virtual u32 SetTimeout(u32 milliseconds) = 0;
  virtual u32 Acquire() = 0;
  virtual u32 Release() = 0;

  virtual u32 FileExists(const char* path) = 0;
  virtual u32 DeleteFile(const char* path) = 0;
  virtual u32 RenameFile(const char* path, const char* newPath) = 0;
  virtual u32 CreateDir(const char* path) = 0;
  virtual u32 RemoveDir(const char* path) = 0;
  virtual u32 GetFileInfo(const char* path, FileInfo* info) = 0;
  virtual u32 ListDir(const char* directory, const char* pattern,
                      std::vector<DirEntry>* entries) = 0;

  // The largest piece of one transfer request (at least 1).
  virtual u32 ChunkSize() = 0;
  virtual u32 BeginUpload(const char* path, u32 size, std::unique_ptr<IUpload>* upload) = 0;
  virtual u32 BeginDownload(const char* path, std::unique_ptr<IDownload>* download) = 0;
};

// Opens the simulator transport for the part of an address after "sim" ("", ":<profile>",
// ":file=<path>"). kNotFound for an unknown profile or a missing file; kInvalidArgument for a
// malformed profile file; the reason of a failure in *error ("<origin>:<line>: <what>").
u32 OpenSimTransport(std::string_view rest, std::unique_ptr<ITransport>* transport,
                     std::string* error);

// Registers an already built transport as a connection (how the simulator's test API connects
// to a prepared camera). kInvalidArgument for a null transport or a null `tree`.
u32 OpenConnection(std::unique_ptr<ITransport> transport, void** tree);

// The transport of an open connection; null for anything else. The pointer stays valid while the
// connection is open.
ITransport* TransportOf(void* tree);

}  // namespace paramtree

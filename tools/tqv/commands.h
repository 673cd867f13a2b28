// The sub-commands of tqv. Each prints its result on stdout (text, or JSON with `json`) and
// throws a Failure when it cannot finish.
#pragma once

#include <string>
#include <vector>

#include "session.h"

namespace tqvcli {

// Prints fields as text lines or as one JSON object.
void PrintFields(const Fields& fields, bool json);
// Prints JSON the same way everywhere (two-space indent, bad UTF-8 replaced).
void PrintJson(const Json& json);

// get/set/call: an operation by name. `prefix` ("Get", "Set" or "") is tried in front of the
// name first.
enum class OperationMode { kGet, kSet, kCall };
void CommandOperation(Session& session, OperationMode mode, const std::string& address,
                      const std::string& name, std::vector<std::string> arguments, bool json);
void CommandOps(const std::string& pattern, bool json);
void CommandInfo(Session& session, const std::string& address, bool json);

// Camera files. `kind`: file, nuc, state, lens or palette.
void CommandList(Session& session, const std::string& address, const std::string& path,
                 const std::string& kind, bool json);
void CommandDownload(Session& session, const std::string& address, const std::string& name,
                     std::string destination, const std::string& kind, bool quiet);
void CommandUpload(Session& session, const std::string& address, const std::string& source,
                   std::string name, const std::string& kind, bool quiet);
void CommandRemove(Session& session, const std::string& address,
                   const std::vector<std::string>& names, const std::string& kind, bool directory);

// Correction files and frame headers on the host.
void CommandNucInfo(const std::string& path, bool json);
void CommandNucConvert(const std::string& input, const std::string& output,
                       const std::string& like);
enum class Table { kGain, kOffset, kBad };
void CommandNucImage(const std::string& path, Table table, const std::string& png);
void CommandHeader(const std::string& path, std::size_t stride, std::size_t count, bool json);

}  // namespace tqvcli

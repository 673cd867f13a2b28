#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <iostream>

#include "commands.h"
#include "progress.h"

namespace tqvcli {

namespace {

// A kind of camera file: the operations' middle name and the extension of its files.
struct Kind {
  const char* name;
  const char* operations;
  const char* extension;
};

constexpr Kind kKinds[] = {
    {"file", "File", ""},           {"nuc", "NUC", ".nuc"},         {"state", "State", ".rsc"},
    {"lens", "LensState", ".lens"}, {"palette", "Palette", ".pal"},
};

const Kind& KindNamed(const std::string& name) {
  for (const Kind& kind : kKinds)
    if (name == kind.name) return kind;
  throw Failure(exitcode::kUsage, "no file kind " + name + " (file, nuc, state, lens, palette)");
}

bool IsFile(const Kind& kind) { return std::string_view(kind.name) == "file"; }

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool Exists(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0;
}

std::string TimeText(std::uint64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm utc{};
  char text[32] = "-";
  if (gmtime_r(&time, &utc)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
  return text;
}

// Runs a transfer operation with a progress display that ends with the transfer.
void Transfer(Camera& camera, const std::string& operation,
              const std::vector<std::string>& arguments, const std::string& label, bool quiet) {
  const Operation& op = RequireOperation(operation);
  Call call = Bind(op, arguments);
  Progress progress = Progress::For(stderr, label);
  try {
    Execute(call, camera.handle(), quiet ? nullptr : &progress);
  } catch (const Failure&) {
    if (!quiet) progress.Finish(false);
    throw;
  }
  if (!quiet) progress.Finish(true);
}

}  // namespace

void CommandList(Session& session, const std::string& address, const std::string& path,
                 const std::string& kind, bool json) {
  const Kind& chosen = KindNamed(kind);
  if (!IsFile(chosen) && !path.empty())
    throw Failure(exitcode::kUsage, "a listing of " + kind + " files takes no path");
  const std::string operation =
      IsFile(chosen) ? "ListDir" : std::string("List") + chosen.operations + "s";
  Camera& camera = session.Open(address);
  Fields outputs = RunOperation(camera.handle(), RequireOperation(operation),
                                IsFile(chosen) ? std::vector<std::string>{path.empty() ? "/" : path}
                                               : std::vector<std::string>{});
  const Json& entries = outputs.at(0).value;
  if (json) {
    PrintJson(entries);
    return;
  }
  for (const Json& entry : entries) {
    const bool directory = entry["attrib"].get<unsigned>() & 0x10;
    std::string size = std::to_string(entry["size"].get<std::uint64_t>());
    std::cout << (directory ? 'd' : '-') << ' '
              << std::string(size.size() < 10 ? 10 - size.size() : 0, ' ') << size << "  "
              << TimeText(entry["timeLastModified"].get<std::uint64_t>()) << "  "
              << entry["name"].get<std::string>() << (directory ? "/" : "") << '\n';
  }
}

void CommandDownload(Session& session, const std::string& address, const std::string& name,
                     std::string destination, const std::string& kind, bool quiet) {
  const Kind& chosen = KindNamed(kind);
  if (destination.empty()) {
    destination = BaseName(name);
    if (!EndsWith(destination, chosen.extension)) destination += chosen.extension;
  }
  if (destination.empty()) throw Failure(exitcode::kUsage, "name the host file to write");
  Camera& camera = session.Open(address);
  // A failed download leaves no half-written file behind, unless the file was there before.
  const bool existed = Exists(destination);
  try {
    Transfer(camera, std::string("Download") + chosen.operations, {name, destination},
             BaseName(name), quiet);
  } catch (const Failure&) {
    if (!existed) unlink(destination.c_str());
    throw;
  }
}

void CommandUpload(Session& session, const std::string& address, const std::string& source,
                   std::string name, const std::string& kind, bool quiet) {
  const Kind& chosen = KindNamed(kind);
  if (name.empty()) {
    if (IsFile(chosen)) throw Failure(exitcode::kUsage, "name the camera path to write");
    // The camera name of a kind: the host file's name without directories and extension.
    name = BaseName(source);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
  }
  Camera& camera = session.Open(address);
  Transfer(camera, std::string("Upload") + chosen.operations, {name, source}, BaseName(source),
           quiet);
}

void CommandRemove(Session& session, const std::string& address,
                   const std::vector<std::string>& names, const std::string& kind, bool directory) {
  const Kind& chosen = KindNamed(kind);
  if (directory && !IsFile(chosen))
    throw Failure(exitcode::kUsage, "--dir removes directories, which have no kind");
  const std::string operation = directory        ? "RemoveDir"
                                : IsFile(chosen) ? "RemoveFile"
                                                 : std::string("Delete") + chosen.operations;
  const Operation& op = RequireOperation(operation);
  Camera& camera = session.Open(address);
  for (const std::string& name : names)
    RunOperation(camera.handle(), op, {name});
}

}  // namespace tqvcli

// tqv: camera settings, camera files, correction tables and frame headers from the shell.
#include <wordexp.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <fstream>
#include <iostream>

#include "commands.h"
#include "tqvSDK.h"

namespace tqvcli {
namespace {

constexpr const char* kAddressHelp =
    "camera address: sim, sim:<profile>, sim:file=<path> (property tree); gic:sim and its "
    "profile forms (GenICam); other addresses go to the GenICam client as they are";

constexpr const char* kExitCodes = R"(Exit codes:
  0  success
  1  the operation failed (TQV_FAILED, TQV_UNEXPECTED_VALUE, TQV_ERROR), or a host file
  2  the command line is wrong (unknown operation, wrong number of values, bad value)
  3  not supported by this camera (TQV_NOT_SUPPORTED, TQV_NO_LIMITS)
  4  not found (TQV_NOT_FOUND)
  5  value refused (TQV_INVALID_ARGUMENT, TQV_OUT_OF_ENUMERATION, TQV_TOO_LARGE)
  6  not writable or access denied (TQV_NOT_WRITABLE, TQV_ACCESS_DENIED)
  7  the camera did not answer in time (TQV_TIMEOUT)
  8  no camera at the address, or no handle over it
The error text (from tqvErrorToString) goes to stderr.)";

int RunCommandLine(Session& session, std::vector<std::string> arguments, bool inBatch);

// Each line of a batch is a tqv command line; cameras opened by one line stay open for the
// next, so that a batch can change a simulated camera and read it back.
int RunBatch(Session& session, const std::string& path, bool keepGoing) {
  std::ifstream file;
  if (!path.empty() && path != "-") {
    file.open(path);
    if (!file) throw Failure(exitcode::kFailed, "cannot read " + path);
  }
  std::istream& in = path.empty() || path == "-" ? std::cin : file;
  std::string line;
  int worst = exitcode::kOk;
  for (unsigned number = 1; std::getline(in, line); ++number) {
    const std::size_t start = line.find_first_not_of(" \t\r");
    if (start == std::string::npos || line[start] == '#') continue;
    wordexp_t words{};
    if (wordexp(line.c_str(), &words, WRDE_NOCMD | WRDE_UNDEF) != 0) {
      wordfree(&words);
      std::cerr << "tqv: batch line " << number << ": cannot split the line into words\n";
      if (!keepGoing) return exitcode::kUsage;
      worst = exitcode::kUsage;
      continue;
    }
    std::vector<std::string> arguments(words.we_wordv, words.we_wordv + words.we_wordc);
    wordfree(&words);
    if (!arguments.empty() && arguments.front() == "tqv") arguments.erase(arguments.begin());
    const int exit = RunCommandLine(session, arguments, true);
    if (exit != exitcode::kOk) {
      if (!keepGoing) return exit;
      worst = exit;
    }
  }
  return worst;
}

void AddJson(CLI::App* command, bool& json) {
  command->add_flag("--json", json, "print JSON for scripts");
}

int RunCommandLine(Session& session, std::vector<std::string> arguments, bool inBatch) {
  CLI::App app{"tqv: camera settings, camera files, correction tables and frame headers", "tqv"};
  app.footer(kExitCodes);
  app.require_subcommand(1);

  bool json = false, quiet = false, directory = false, keepGoing = false;
  std::string address, name, destination, kind = "file", pattern, like, script;
  std::vector<std::string> rest;

  auto operationCommand = [&](const char* command, const char* description) {
    CLI::App* sub = app.add_subcommand(command, description);
    sub->add_option("address", address, kAddressHelp)->required();
    sub->add_option("operation", name, "operation name (see tqv ops)")->required();
    AddJson(sub, json);
    // Everything after the operation is the operation's: positional values or --name value.
    sub->prefix_command();
    sub->footer(
        "Inputs are given in parameter order or as --name value (tqv ops NAME shows them); "
        "enumerated values take their number or their text; arrays take comma-separated "
        "numbers.");
    return sub;
  };
  CLI::App* get = operationCommand(
      "get", "read a setting: any operation with outputs, by name with or without Get");
  CLI::App* set = operationCommand(
      "set", "change a setting (by name with or without Set) and print what reads back");
  CLI::App* call = operationCommand("call", "run any operation by its full name (actions too)");

  CLI::App* ops = app.add_subcommand("ops", "list the operations and their parameters");
  ops->add_option("pattern", pattern, "only names containing this (any case)");
  AddJson(ops, json);

  CLI::App* info = app.add_subcommand("info",
                                      "camera summary: identity, versions, board, "
                                      "sensor, timing of each preset, temperatures, "
                                      "correction");
  info->add_option("address", address, kAddressHelp)->required();
  AddJson(info, json);

  const std::string kindHelp = "file kind: file (a camera path), nuc, state, lens, palette";
  CLI::App* ls = app.add_subcommand("ls", "list a camera directory or the files of a kind");
  ls->add_option("address", address, kAddressHelp)->required();
  ls->add_option("path", name, "camera directory (default /)");
  ls->add_option("--kind", kind, kindHelp);
  AddJson(ls, json);

  CLI::App* download = app.add_subcommand("download", "copy a camera file to the host");
  download->add_option("address", address, kAddressHelp)->required();
  download->add_option("name", name, "camera path, or the name of a file of the kind")->required();
  download->add_option("destination", destination, "host path (default: the name, here)");
  download->add_option("--kind", kind, kindHelp);
  download->add_flag("-q,--quiet", quiet, "no progress display");

  CLI::App* upload = app.add_subcommand("upload", "copy a host file to the camera");
  upload->add_option("address", address, kAddressHelp)->required();
  upload->add_option("source", destination, "host path")->required();
  upload->add_option("name", name,
                     "camera path (kind file), or the camera name (default: the host file's "
                     "name without extension)");
  upload->add_option("--kind", kind, kindHelp);
  upload->add_flag("-q,--quiet", quiet, "no progress display");

  CLI::App* rm = app.add_subcommand("rm", "remove camera files");
  rm->add_option("address", address, kAddressHelp)->required();
  rm->add_option("names", rest, "camera paths, or names of files of the kind")->required();
  rm->add_option("--kind", kind, kindHelp);
  rm->add_flag("--dir", directory, "remove empty directories");

  CLI::App* nuc = app.add_subcommand("nuc", "correction files on the host");
  nuc->require_subcommand(1);
  CLI::App* nucInfo = nuc->add_subcommand("info", "the header of a camera correction file");
  nucInfo->add_option("file", name, "camera correction file (.nuc)")->required();
  AddJson(nucInfo, json);
  CLI::App* convert = nuc->add_subcommand(
      "convert", "camera file (.nuc) to desktop-tool files (.scg, .sco, .sbp) or back");
  convert->add_option("input", name, "a .nuc file, or one of the .scg/.sco/.sbp files")->required();
  convert->add_option("output", destination, "the .nuc file, or the desktop-tool base name")
      ->required();
  convert->add_option("--like", like,
                      "camera file whose header the written camera file takes (default: the "
                      "library's defaults)");
  CLI::App* image = nuc->add_subcommand("image", "a PNG picture of one table, scaled for viewing");
  image->add_option("file", name, "camera correction file (.nuc)")->required();
  bool gain = false, offset = false, bad = false;
  CLI::Option* gainFlag = image->add_flag("--gain", gain, "the gains");
  CLI::Option* offsetFlag = image->add_flag("--offset", offset, "the offsets");
  CLI::Option* badFlag = image->add_flag("--bad", bad, "the bad-pixel flags");
  gainFlag->excludes(offsetFlag)->excludes(badFlag);
  offsetFlag->excludes(badFlag);
  image->add_option("png", destination, "the PNG file to write")->required();

  std::size_t stride = sizeof(tqvSHeaderRaw), count = 0;
  CLI::App* header = app.add_subcommand(
      "header", "decode frame headers: a file of 128-byte headers, or frames with --stride");
  header->add_option("file", name, "file of headers, or raw frames")->required();
  header->add_option("--stride", stride, "bytes from one header to the next (the frame size)");
  header->add_option("--count", count, "decode at most this many (default: all)");
  AddJson(header, json);

  CLI::App* batch = app.add_subcommand(
      "batch",
      "run tqv command lines from a file or stdin on cameras that stay open between "
      "lines");
  batch->add_option("script", script, "file of command lines (default: stdin)");
  batch->add_flag("-k,--keep-going", keepGoing, "go on after a failing line");

  std::reverse(arguments.begin(), arguments.end());
  try {
    // A mistyped command reads better named than as "a subcommand is required".
    if (!arguments.empty() && arguments.back().rfind('-', 0) != 0) {
      const std::vector<CLI::App*> commands = app.get_subcommands({});
      const bool known = std::any_of(commands.begin(), commands.end(), [&](const CLI::App* sub) {
        return sub->get_name() == arguments.back();
      });
      if (!known) {
        std::string names;
        for (const CLI::App* sub : commands)
          names += (names.empty() ? "" : ", ") + sub->get_name();
        throw Failure(exitcode::kUsage, "no command " + arguments.back() + " (" + names + ")");
      }
    }
    app.parse(arguments);
    rest.insert(rest.end(), app.remaining().begin(), app.remaining().end());
    if (get->parsed() || set->parsed() || call->parsed()) {
      const OperationMode mode = get->parsed()   ? OperationMode::kGet
                                 : set->parsed() ? OperationMode::kSet
                                                 : OperationMode::kCall;
      CLI::App* sub = get->parsed() ? get : set->parsed() ? set : call;
      CommandOperation(session, mode, address, name, sub->remaining(), json);
    } else if (ops->parsed()) {
      CommandOps(pattern, json);
    } else if (info->parsed()) {
      CommandInfo(session, address, json);
    } else if (ls->parsed()) {
      CommandList(session, address, name, kind, json);
    } else if (download->parsed()) {
      CommandDownload(session, address, name, destination, kind, quiet);
    } else if (upload->parsed()) {
      CommandUpload(session, address, destination, name, kind, quiet);
    } else if (rm->parsed()) {
      CommandRemove(session, address, rest, kind, directory);
    } else if (nucInfo->parsed()) {
      CommandNucInfo(name, json);
    } else if (convert->parsed()) {
      CommandNucConvert(name, destination, like);
    } else if (image->parsed()) {
      if (!gain && !offset && !bad)
        throw Failure(exitcode::kUsage, "choose --gain, --offset or --bad");
      CommandNucImage(name,
                      gain     ? Table::kGain
                      : offset ? Table::kOffset
                               : Table::kBad,
                      destination);
    } else if (header->parsed()) {
      CommandHeader(name, stride, count, json);
    } else if (batch->parsed()) {
      if (inBatch) throw Failure(exitcode::kUsage, "a batch cannot run another batch");
      return RunBatch(session, script, keepGoing);
    }
  } catch (const CLI::ParseError& error) {
    const int shown = app.exit(error);
    return shown == 0 ? exitcode::kOk : exitcode::kUsage;
  } catch (const Failure& failure) {
    std::cerr << "tqv: " << failure.what() << '\n';
    return failure.exit();
  }
  return exitcode::kOk;
}

}  // namespace
}  // namespace tqvcli

int main(int argc, char** argv) {
  try {
    tqvcli::Session session;
    return tqvcli::RunCommandLine(session, std::vector<std::string>(argv + 1, argv + argc), false);
  } catch (const std::exception& error) {
    std::cerr << "tqv: " << error.what() << '\n';
    return tqvcli::exitcode::kFailed;
  }
}

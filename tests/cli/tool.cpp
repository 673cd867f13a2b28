#include "tool.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <fstream>
#include <sstream>

extern char** environ;

namespace clitest {

namespace {

std::string ReadText(const std::string& path) {
  const std::vector<zel::u8> bytes = testutil::ReadFile(path);
  return std::string(bytes.begin(), bytes.end());
}

// Runs a program with stdin, stdout and stderr on files of a scratch directory.
Outcome Spawn(const std::vector<std::string>& command, const std::string& input) {
  testutil::TempDir scratch;
  const std::string in = scratch.File("stdin"), out = scratch.File("stdout"),
                    err = scratch.File("stderr");
  std::ofstream(in, std::ios::binary) << input;
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> argv;
  for (const std::string& word : command)
    argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  Outcome run;
  const int spawned = posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << command[0];
    return run;
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) ADD_FAILURE() << "lost " << command[0];
  if (WIFEXITED(status)) run.exit = WEXITSTATUS(status);
  run.out = ReadText(out);
  run.err = ReadText(err);
  return run;
}

std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

Outcome Tool(const std::vector<std::string>& arguments, const std::string& input) {
  std::vector<std::string> command{TQV_TOOL};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return Spawn(command, input);
}

Outcome ToolOnTerminal(const std::vector<std::string>& arguments, const std::string& directory) {
  std::string line = "cd " + Quoted(directory) + " && " + Quoted(TQV_TOOL);
  for (const std::string& word : arguments)
    line.append(" ").append(Quoted(word));
  return Spawn({"script", "--quiet", "--return", "--command", line, "/dev/null"}, "");
}

std::vector<Json> JsonDocuments(const std::string& text) {
  std::vector<Json> documents;
  std::istringstream in(text);
  while (in >> std::ws, in.peek() != std::char_traits<char>::eof()) {
    Json document;
    in >> document;
    documents.push_back(std::move(document));
  }
  return documents;
}

}  // namespace clitest

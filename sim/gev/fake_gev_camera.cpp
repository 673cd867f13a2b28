// tqv-fake-gev-camera: serves a simulated camera as a GigE Vision camera on 127.0.0.1:3956
// (Aravis's fake camera), completing the commands a client executes.
//
//   tqv-fake-gev-camera [--profile FILE] -- COMMAND [ARGS...]
//       makes a network namespace of its own with only loopback in it, serves there, runs the
//       command in it and exits with the command's status (77 when no namespace can be made)
//   tqv-fake-gev-camera [--profile FILE]
//       serves in the current network namespace until interrupted
//   tqv-fake-gev-camera [--profile FILE] --xml
//       prints the camera's GenICam description
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "gev/FakeGev.h"

namespace {

constexpr int kSkipped = 77;
std::atomic<bool> g_stop{false};

void OnSignal(int) { g_stop = true; }

int Usage() {
  std::fprintf(stderr,
               "usage: tqv-fake-gev-camera [--profile FILE] [--xml | -- COMMAND [ARGS...]]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const char* profile = nullptr;
  bool xml = false;
  int command = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) {
      if (i + 1 >= argc) return Usage();
      command = i + 1;
      break;
    }
    if (std::strcmp(argv[i], "--xml") == 0) {
      xml = true;
    } else if (std::strcmp(argv[i], "--profile") == 0 && i + 1 < argc) {
      profile = argv[++i];
    } else {
      return Usage();
    }
  }

  sim::gev::Description description;
  try {
    if (profile) {
      std::ifstream in(profile, std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      if (!in) throw std::runtime_error(std::string("cannot read ") + profile);
      description = sim::gev::Describe(text.str());
    } else {
      description = sim::gev::DefaultDescription();
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tqv-fake-gev-camera: %s\n", error.what());
    return 1;
  }
  if (xml) {
    std::fwrite(description.xml.data(), 1, description.xml.size(), stdout);
    return 0;
  }

  std::string why;
  if (command && !sim::gev::IsolateNetwork(&why)) {
    std::fprintf(stderr, "tqv-fake-gev-camera: %s\n", why.c_str());
    return kSkipped;
  }
  sim::gev::FakeCamera camera(description);
  if (!camera.Running()) {
    std::fprintf(stderr, "tqv-fake-gev-camera: %s\n", camera.Error().c_str());
    return 1;
  }
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);

  pid_t child = -1;
  if (command) {
    child = fork();
    if (child < 0) {
      std::perror("tqv-fake-gev-camera: fork");
      return 1;
    }
    if (child == 0) {
      execvp(argv[command], argv + command);
      std::perror("tqv-fake-gev-camera: exec");
      _exit(127);
    }
  } else {
    std::fprintf(stderr, "tqv-fake-gev-camera: serving gev:127.0.0.1 until interrupted\n");
  }

  // The camera's side of its commands: each executed one is done at once.
  int status = 0;
  while (!g_stop) {
    camera.CompleteCommands();
    if (child > 0 && waitpid(child, &status, WNOHANG) == child) {
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    usleep(10000);
  }
  if (child > 0) {
    kill(child, SIGTERM);
    waitpid(child, &status, 0);
  }
  return 0;
}

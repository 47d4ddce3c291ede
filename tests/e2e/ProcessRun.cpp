#include "ProcessRun.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>

extern char** environ;

namespace {

// A pipe whose ends close when it goes.
struct Pipe {
  int fd[2] = {-1, -1};
  Pipe() {
    if (pipe2(fd, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  }
  ~Pipe() {
    CloseEnd(0);
    CloseEnd(1);
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  void CloseEnd(int end) {
    if (fd[end] >= 0) close(fd[end]);
    fd[end] = -1;
  }
};

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

pid_t Spawn(const std::string& program, std::vector<std::string> arguments,
            std::vector<std::string> environment, Pipe& in, Pipe& out, Pipe& err) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in.fd[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out.fd[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err.fd[1], 2);
  arguments.insert(arguments.begin(), program);
  for (char** entry = environ; *entry; ++entry) environment.emplace_back(*entry);
  std::vector<char*> argv = Pointers(arguments);
  std::vector<char*> envp = Pointers(environment);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + program);
  return pid;
}

// Writes the input and reads both outputs until the child closes them.
void Exchange(Pipe& in, Pipe& out, Pipe& err, const std::string& input, ProcessResult& result) {
  size_t written = 0;
  if (input.empty()) in.CloseEnd(1);
  std::array<char, 4096> buffer{};
  while (out.fd[0] >= 0 || err.fd[0] >= 0) {
    std::array<pollfd, 3> polled{{{out.fd[0], POLLIN, 0}, {err.fd[0], POLLIN, 0}, {in.fd[1], POLLOUT, 0}}};
    if (poll(polled.data(), polled.size(), -1) < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("poll failed");
    }
    for (int i = 0; i < 2; ++i) {
      if (!polled[i].revents) continue;
      Pipe& source = i == 0 ? out : err;
      const ssize_t got = read(source.fd[0], buffer.data(), buffer.size());
      if (got <= 0) {
        source.CloseEnd(0);
      } else {
        (i == 0 ? result.out : result.err).append(buffer.data(), static_cast<size_t>(got));
      }
    }
    if (polled[2].revents) {
      const ssize_t put = write(in.fd[1], input.data() + written, input.size() - written);
      if (put > 0) written += static_cast<size_t>(put);
      if (put <= 0 || written == input.size()) in.CloseEnd(1);
    }
  }
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& input, const std::vector<std::string>& extraEnvironment) {
  std::signal(SIGPIPE, SIG_IGN);  // a child that reads no input must not end the test
  Pipe in;
  Pipe out;
  Pipe err;
  const pid_t pid = Spawn(program, arguments, extraEnvironment, in, out, err);
  in.CloseEnd(0);
  out.CloseEnd(1);
  err.CloseEnd(1);
  ProcessResult result;
  Exchange(in, out, err, input, result);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

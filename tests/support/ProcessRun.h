#pragma once
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

// What a child process left: its exit code (-1 when it did not exit, a
// signal having ended it) and everything it wrote on stdout and stderr.
struct ProcessOutcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// The text as one word of the shell, whatever it holds.
inline std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? "'\\''" : std::string(1, c);
  return quoted + "'";
}

// The file's bytes; empty when it cannot be read.
inline std::string FileContents(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The exit code a std::system status holds; -1 when the child did not exit.
inline int ExitCode(int status) { return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

// Runs the program with the arguments, each passed as one word, the input
// on its stdin and the variables (name, value) added to its environment,
// and waits for it. Its streams go through files of a scratch directory of
// its own, removed again before this returns.
inline ProcessOutcome RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                                 const std::string& input = "",
                                 const std::vector<std::pair<std::string, std::string>>& environment = {}) {
  std::string pattern = (std::filesystem::temp_directory_path() / "nuvrun-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  const std::filesystem::path directory = pattern;
  const std::string in = (directory / "stdin").string();
  const std::string out = (directory / "stdout").string();
  const std::string err = (directory / "stderr").string();
  std::ofstream(in, std::ios::binary) << input;

  std::string command;
  for (const auto& [name, value] : environment) command += name + "=" + ShellQuoted(value) + " ";
  command += ShellQuoted(program);
  for (const std::string& argument : arguments) command += " " + ShellQuoted(argument);
  command += " <" + ShellQuoted(in) + " >" + ShellQuoted(out) + " 2>" + ShellQuoted(err);
  ProcessOutcome outcome;
  outcome.exitCode = ExitCode(std::system(command.c_str()));
  outcome.out = FileContents(out);
  outcome.err = FileContents(err);
  std::error_code ignored;
  std::filesystem::remove_all(directory, ignored);
  return outcome;
}

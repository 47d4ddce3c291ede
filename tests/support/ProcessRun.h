#pragma once
#include <string>
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
std::string ShellQuoted(const std::string& text);

// The file's bytes; empty when it cannot be read.
std::string FileContents(const std::string& path);

// The exit code a std::system status holds; -1 when the child did not exit.
int ExitCode(int status);

// Runs the program with the arguments, each passed as one word, the input
// on its stdin and the variables (name, value) added to its environment,
// and waits for it. Its streams go through files of a scratch directory of
// its own, removed again before this returns.
ProcessOutcome RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& input = "",
                          const std::vector<std::pair<std::string, std::string>>& environment = {});

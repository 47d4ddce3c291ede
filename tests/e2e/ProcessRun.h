#pragma once
#include <string>
#include <vector>

// What a finished process left: its exit code (-1 when it did not exit
// normally) and everything it wrote.
struct ProcessResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs the program with the arguments and the environment of this process
// plus the extra NAME=VALUE entries, feeds it the input and collects what it
// writes to stdout and stderr until it ends.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& input, const std::vector<std::string>& extraEnvironment);

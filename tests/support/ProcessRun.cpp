#include "ProcessRun.h"

#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? "'\\''" : std::string(1, c);
  return quoted + "'";
}

std::string FileContents(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

int ExitCode(int status) { return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

ProcessOutcome RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& input,
                          const std::vector<std::pair<std::string, std::string>>& environment) {
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

#include "Program.h"

#include <new>

#include "Failure.h"
#include "NUVSqliteHost.h"
#include "ParseArguments.h"
#include "QueryRun.h"
#include "StatementText.h"
#include "TextParsing.h"
#include "Usage.h"

namespace {

std::string InitDatabase(const std::string& path) {
  std::string message;
  if (!NUVSqliteHost::WriteSample(path, message)) throw Failure(kDatabaseError, WithPath(path, message));
  return {};
}

std::string Perform(const Options& options, std::FILE* input) {
  switch (options.action) {
    case Action::Help:
      return UsageText();
    case Action::Version:
      return std::string("edbquery ") + kEdbQueryVersion + "\n";
    case Action::Init:
      return InitDatabase(options.initPath);
    case Action::Query:
      break;
  }
  const std::string statement = StatementText(options, input);
  QueryRun run(options);
  return run.Output(statement);
}

}  // namespace

int RunProgram(int argc, const char* const* argv, std::FILE* input, std::string& out, std::string& error) {
  out.clear();
  const ParseResult parsed = ParseArguments(argc, argv);
  if (!parsed.options) {
    error = "edbquery: " + parsed.error + "\n";
    return kUsageError;
  }
  try {
    out = Perform(*parsed.options, input);
    return 0;
  } catch (const Failure& failure) {
    error = "edbquery: " + OneLine(failure.what()) + "\n";
    out.clear();
    return failure.ExitCode();
  } catch (const std::bad_alloc&) {
    error = "edbquery: out of memory\n";
    out.clear();
    return kDatabaseError;
  }
}

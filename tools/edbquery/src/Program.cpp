#include "Program.h"

#include <new>

#include "Failure.h"
#include "NUVSqliteHost.h"
#include "ParseArguments.h"
#include "QueryRun.h"
#include "StatementText.h"
#include "TextParsing.h"
#include "Usage.h"
#include "ValueFiles.h"

namespace {

std::string InitDatabase(const std::string& path) {
  std::string message;
  if (!NUVSqliteHost::WriteSample(path, message)) throw Failure(kDatabaseError, WithPath(path, message));
  return {};
}

std::string Counted(long count) { return std::to_string(count) + (count == 1 ? " row" : " rows"); }

std::string Perform(const Options& options, std::FILE* input, std::string& notice) {
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
  Options loaded = options;
  ReadValueFiles(loaded.parameters);
  QueryRun run(loaded);
  std::string out = run.Output(statement);
  if (run.ChangedRows() >= 0) notice = "edbquery: " + Counted(run.ChangedRows()) + " changed\n";
  return out;
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
    error.clear();
    out = Perform(*parsed.options, input, error);
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

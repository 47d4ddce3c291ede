#include "Program.h"

#include <cerrno>
#include <cstring>
#include <new>

#include "Failure.h"
#include "HostTarget.h"
#include "OutputWriter.h"
#include "ParseArguments.h"
#include "QueryRun.h"
#include "StatementText.h"
#include "TextParsing.h"
#include "Usage.h"
#include "ValueFiles.h"

namespace {

std::string Counted(long count) { return std::to_string(count) + (count == 1 ? " row" : " rows"); }

// Does what the options ask, writing the output as it is made; notice
// receives the changed-row count of a writing statement.
void Perform(const Options& options, std::FILE* input, OutputWriter& writer, std::string& notice) {
  switch (options.action) {
    case Action::Help:
      return writer.Write(UsageText());
    case Action::Version:
      return writer.Write(std::string("edbquery ") + kEdbQueryVersion + "\n");
    case Action::Init:
      return WriteSample(options);
    case Action::Query:
      break;
  }
  const std::string statement = StatementText(options, input);
  Options loaded = options;
  ReadValueFiles(loaded.parameters);
  QueryRun run(loaded);
  run.Output(
      statement, [&](const std::string& text) { writer.Write(text); }, [&] { writer.Finish(); });
  if (run.ChangedRows() >= 0) notice = "edbquery: " + Counted(run.ChangedRows()) + " changed\n";
}

}  // namespace

int RunProgram(int argc, const char* const* argv, std::FILE* input, std::FILE* output, std::string& error) {
  error.clear();
  const ParseResult parsed = ParseArguments(argc, argv);
  if (!parsed.options) {
    error = "edbquery: " + parsed.error + "\n";
    return kUsageError;
  }
  OutputWriter writer(output);
  try {
    Perform(*parsed.options, input, writer, error);
    writer.Finish();
    return 0;
  } catch (const OutputWriter::Failed& failed) {
    // A reader that went away (| head -1) wanted no more: that ends quietly.
    error = failed.error == EPIPE
                ? ""
                : "edbquery: cannot write the output: " + std::string(std::strerror(failed.error)) + "\n";
    return failed.error == EPIPE ? 0 : kDatabaseError;
  } catch (const Failure& failure) {
    error = "edbquery: " + OneLine(failure.what()) + "\n";
    writer.Discard();
    return failure.ExitCode();
  } catch (const std::bad_alloc&) {
    error = "edbquery: out of memory\n";
    writer.Discard();
    return kDatabaseError;
  }
}

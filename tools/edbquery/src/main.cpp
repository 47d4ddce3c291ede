#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "NUVBaseUnknown.h"
#include "NUVError.h"
#include "Program.h"

namespace {

// With EDBQUERY_CHECK_LIVE_OBJECTS set, a base object left alive at the end
// is reported and the run fails with 70 (an internal fault, apart from
// every status a script acts on).
int CheckLiveObjects(int code) {
  if (!std::getenv("EDBQUERY_CHECK_LIVE_OBJECTS")) return code;
  NUVError::ClearRecordedErrors();
  const long alive = NUVBaseUnknown::LiveObjectCount();
  if (alive == 0) return code;
  std::fprintf(stderr, "edbquery: %ld base objects left alive\n", alive);
  return 70;
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that goes away shows as a failed write, so that a writing
  // statement whose output it did not take is rolled back with a message
  // rather than ended by the signal.
  std::signal(SIGPIPE, SIG_IGN);
  std::string error;
  const int code = RunProgram(argc, argv, stdin, stdout, error);
  std::fputs(error.c_str(), stderr);
  return CheckLiveObjects(code);
}

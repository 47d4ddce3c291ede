#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "NUVBaseUnknown.h"
#include "NUVError.h"
#include "Program.h"

namespace {

// With EDBQUERY_CHECK_LIVE_OBJECTS set, a base object left alive at the end
// is reported and the run fails with 3.
int CheckLiveObjects(int code) {
  if (!std::getenv("EDBQUERY_CHECK_LIVE_OBJECTS")) return code;
  NUVError::ClearRecordedErrors();
  const long alive = NUVBaseUnknown::LiveObjectCount();
  if (alive == 0) return code;
  std::fprintf(stderr, "edbquery: %ld base objects left alive\n", alive);
  return 3;
}

// Writes the text to standard output; 0 when all of it went out, else
// the errno of the failure.
int WriteOut(const std::string& text) {
  errno = 0;
  const size_t written = std::fwrite(text.data(), 1, text.size(), stdout);
  if (std::fflush(stdout) == 0 && written == text.size() && !std::ferror(stdout)) return 0;
  return errno != 0 ? errno : EIO;
}

}  // namespace

int main(int argc, char** argv) {
  std::string out;
  std::string error;
  const int code = RunProgram(argc, argv, stdin, out, error);
  const int failure = WriteOut(out);
  std::fputs(error.c_str(), stderr);
  // A reader that went away (| head -1) wanted no more: that ends quietly.
  if (failure != 0 && failure != EPIPE) {
    std::fprintf(stderr, "edbquery: cannot write the output: %s\n", std::strerror(failure));
    return 1;
  }
  return CheckLiveObjects(code);
}

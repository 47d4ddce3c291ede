// edbquery's argument and parameter parsing: the input is split at zero
// bytes into arguments. Any command line gives either options or one line
// naming what is wrong, and never throws.
#include "FuzzCheck.h"
#include "ParseArguments.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> arguments = FuzzPieces(FuzzText(data, size));
  std::vector<const char*> argv{"edbquery"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  const ParseResult result = ParseArguments(static_cast<int>(argv.size()), argv.data());
  FUZZ_CHECK(result.options.has_value() != !result.error.empty());
  FUZZ_CHECK(result.error.find('\n') == std::string::npos);
  return 0;
}

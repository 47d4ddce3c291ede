#include "TempDirectory.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

TempDirectory::TempDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "edbquery-e2e-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary directory");
  path_ = pattern;
}

TempDirectory::~TempDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

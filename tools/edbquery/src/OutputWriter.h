#pragma once
#include <cstdio>
#include <string>

// Writes the program's output to a stream, holding back the first part:
// when the run fails before that much was written, nothing of it reaches
// the stream.
class OutputWriter {
 public:
  // Thrown by Write and Finish when the stream refuses the output; carries
  // the errno of the failure.
  struct Failed {
    int error;
  };

  explicit OutputWriter(std::FILE* stream) : stream_(stream) {}

  // Adds text to the output; writes what is held back once it grows beyond
  // the held-back part.
  void Write(const std::string& text);
  // Writes everything held back and flushes the stream.
  void Finish();
  // Drops what is held back, after a failure.
  void Discard() { pending_.clear(); }

  // How much output is held back before any of it is written.
  static constexpr size_t kHeldBack = 256 * 1024;

 private:
  void WritePending();

  std::FILE* stream_;
  std::string pending_;
};

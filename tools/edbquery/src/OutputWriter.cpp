#include "OutputWriter.h"

#include <cerrno>

void OutputWriter::Write(const std::string& text) {
  pending_ += text;
  if (pending_.size() > kHeldBack) WritePending();
}

void OutputWriter::Finish() {
  WritePending();
  errno = 0;
  if (std::fflush(stream_) != 0 || std::ferror(stream_)) throw Failed{errno != 0 ? errno : EIO};
}

void OutputWriter::WritePending() {
  errno = 0;
  const size_t written = std::fwrite(pending_.data(), 1, pending_.size(), stream_);
  const bool failed = written != pending_.size() || std::ferror(stream_);
  pending_.clear();
  if (failed) throw Failed{errno != 0 ? errno : EIO};
}

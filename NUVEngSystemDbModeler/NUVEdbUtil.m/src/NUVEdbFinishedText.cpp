#include "NUVEdbFinishedText.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "NUVEdbProvenanceRecord.h"

namespace {

// Where every occurrence of pattern starts, searched left to right without
// overlapping, as ReplaceSubString finds them.
std::vector<size_t> Occurrences(std::string_view text, std::string_view pattern) {
  std::vector<size_t> found;
  if (pattern.empty()) return found;
  for (size_t at = text.find(pattern); at != std::string_view::npos; at = text.find(pattern, at + pattern.size()))
    found.push_back(at);
  return found;
}

// The value's place once each occurrence (of the pattern's length) is
// replaced by a text of the replacement's length; false when an
// occurrence covers the whole value, which then no longer stands anywhere.
bool Moved(NUVEdbWrittenValue& value, const std::vector<size_t>& occurrences, size_t pattern,
           size_t replacement) {
  const size_t begin = value.begin;
  const size_t end = value.begin + value.length;
  size_t before = 0;  // occurrences that end before the value begins
  size_t within = 0;  // occurrences inside the value
  for (const size_t at : occurrences) {
    const size_t stop = at + pattern;
    if (at <= begin && end <= stop) return false;
    if (stop <= begin) {
      ++before;
    } else if (begin <= at && stop <= end) {
      ++within;
    } else if (at < end) {
      value.cut = true;  // straddles the value's start or end
    }
  }
  value.begin = begin + before * replacement - before * pattern;
  value.length = value.length + within * replacement - within * pattern;
  return true;
}

}  // namespace

void NUVEdbFinishedText::Replace(const NUVUnicodeString& name, const NUVUnicodeString& value,
                                 NUVEdbWrittenValue::Form form, bool listItem) {
  NUVEdbWrittenValue written;
  written.length = value.View().size();
  written.form = form;
  written.listItem = listItem;
  written.parameter = std::string(name.View());
  Replace(name, value, std::vector<NUVEdbWrittenValue>{std::move(written)});
}

void NUVEdbFinishedText::Replace(const NUVUnicodeString& name, const NUVUnicodeString& text,
                                 const std::vector<NUVEdbWrittenValue>& inside) {
  const std::vector<size_t> occurrences = Occurrences(text_.View(), name.View());
  if (occurrences.empty()) return;
  const size_t pattern = name.View().size();
  const size_t replacement = text.View().size();
  std::vector<NUVEdbWrittenValue> values;
  values.reserve(values_.size() + occurrences.size() * inside.size());
  for (NUVEdbWrittenValue value : values_)
    if (Moved(value, occurrences, pattern, replacement)) values.push_back(std::move(value));
  for (size_t i = 0; i < occurrences.size(); ++i) {
    const size_t start = occurrences[i] + i * replacement - i * pattern;
    for (NUVEdbWrittenValue value : inside) {
      value.begin += start;
      values.push_back(std::move(value));
    }
  }
  consistent_ = false;
  text_.ReplaceSubString(name, text);
  values_ = std::move(values);
  consistent_ = true;
}

void NUVEdbFinishedText::Record() const {
  if (!consistent_) return;
  std::vector<NUVEdbWrittenValue> ordered = values_;
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const NUVEdbWrittenValue& a, const NUVEdbWrittenValue& b) { return a.begin < b.begin; });
  nuvedb::RecordFinishedStatement(text_.View(), std::move(ordered));
}

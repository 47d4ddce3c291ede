#include "NUVEdbFinishedText.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "NUVEdbProvenanceRecord.h"

namespace {

// Moves the value to its place once each occurrence (of the pattern's
// length, at the offsets given) is replaced by a text of the replacement's
// length; false when an occurrence covers the whole value, which then no
// longer stands anywhere.
bool Moved(NUVEdbWrittenValue& value, const std::vector<size_t>& occurrences, size_t pattern,
           size_t replacement) {
  const size_t begin = value.begin;
  const size_t end = value.begin + value.length;
  size_t before = 0;  // occurrences that end before the value begins
  size_t within = 0;  // occurrences inside the value
  for (const size_t at : occurrences) {
    const size_t stop = at + pattern;
    if (at >= end) break;  // the rest lie after the value
    if (at <= begin && end <= stop) return false;
    if (stop <= begin) {
      ++before;
    } else if (begin <= at && stop <= end) {
      ++within;
    } else {
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
  if (!Substitute(name, value)) return;
  const size_t step = value.View().size() - name.View().size();  // wraps when shorter; the sums below agree
  for (size_t i = 0; i < occurrences_.size(); ++i) {
    NUVEdbWrittenValue written;
    written.begin = occurrences_[i] + i * step;
    written.length = value.View().size();
    written.form = form;
    written.listItem = listItem;
    written.parameter = std::string(name.View());
    values_.push_back(std::move(written));
  }
  consistent_ = true;
}

void NUVEdbFinishedText::Replace(const NUVUnicodeString& name, const NUVUnicodeString& text,
                                 const std::vector<NUVEdbWrittenValue>& inside) {
  if (!Substitute(name, text)) return;
  const size_t step = text.View().size() - name.View().size();
  for (size_t i = 0; i < occurrences_.size(); ++i) {
    for (NUVEdbWrittenValue value : inside) {
      value.begin += occurrences_[i] + i * step;
      values_.push_back(std::move(value));
    }
  }
  consistent_ = true;
}

bool NUVEdbFinishedText::Substitute(const NUVUnicodeString& name, const NUVUnicodeString& text) {
  occurrences_.clear();
  consistent_ = false;  // until the values written before are moved along
  text_.ReplaceSubString(name, text, occurrences_);
  if (occurrences_.empty()) {
    consistent_ = true;
    return false;
  }
  const size_t pattern = name.View().size();
  const size_t replacement = text.View().size();
  std::erase_if(values_, [&](NUVEdbWrittenValue& value) {
    return !Moved(value, occurrences_, pattern, replacement);
  });
  return true;
}

void NUVEdbFinishedText::Record() const {
  if (!consistent_) return;
  std::vector<NUVEdbWrittenValue> ordered = values_;
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const NUVEdbWrittenValue& a, const NUVEdbWrittenValue& b) { return a.begin < b.begin; });
  nuvedb::RecordFinishedStatement(text_.View(), std::move(ordered));
}

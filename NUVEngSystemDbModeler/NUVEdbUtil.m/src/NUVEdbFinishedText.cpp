#include "NUVEdbFinishedText.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "NUVEdbProvenanceRecord.h"

namespace {

// Moves the value to its place once each occurrence (of the pattern's
// length, at the offsets given) is replaced by a text of the replacement's
// length; false when an occurrence covers the whole value, which then no
// longer stands anywhere. within counts the occurrences inside the value.
bool Moved(NUVEdbWrittenValue& value, const std::vector<size_t>& occurrences, size_t pattern,
           size_t replacement, size_t& within) {
  const size_t begin = value.begin;
  const size_t end = value.begin + value.length;
  size_t before = 0;  // occurrences that end before the value begins
  within = 0;
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
  for (size_t i = 0; i < occurrences_.size(); ++i) {
    NUVEdbWrittenValue written;
    written.begin = Start(i, name, value);
    written.length = value.View().size();
    written.form = form;
    written.listItem = listItem;
    written.parameter = std::string(name.View());
    Insert(std::move(written));
  }
  consistent_ = true;
}

void NUVEdbFinishedText::Replace(const NUVUnicodeString& name, const NUVUnicodeString& text,
                                 const std::vector<NUVEdbWrittenValue>& inside) {
  if (!Substitute(name, text)) return;
  for (size_t i = 0; i < occurrences_.size(); ++i) {
    for (NUVEdbWrittenValue value : inside) {
      value.begin += Start(i, name, text);
      Insert(std::move(value));
    }
  }
  consistent_ = true;
}

size_t NUVEdbFinishedText::Start(size_t i, const NUVUnicodeString& name, const NUVUnicodeString& text) const {
  // Each occurrence before the i-th moved it by the difference of the two
  // lengths; the sum wraps below zero when the text is the shorter, and
  // comes out right all the same.
  return occurrences_[i] + i * text.View().size() - i * name.View().size();
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
  // Values that end before the first occurrence stay where they are; while
  // no value holds another, they are the ones before the first that ends
  // after it.
  const size_t first = occurrences_.front();
  auto from = values_.begin();
  if (!nested_) {
    from = std::partition_point(values_.begin(), values_.end(), [&](const NUVEdbWrittenValue& value) {
      return value.begin + value.length <= first;
    });
  }
  const auto kept = std::remove_if(from, values_.end(), [&](NUVEdbWrittenValue& value) {
    size_t within = 0;
    const bool stays = Moved(value, occurrences_, pattern, replacement, within);
    if (within > 0) nested_ = true;  // the value now holds the new one
    return !stays;
  });
  values_.erase(kept, values_.end());
  return true;
}

void NUVEdbFinishedText::Insert(NUVEdbWrittenValue value) {
  const auto at = std::upper_bound(
      values_.begin(), values_.end(), value.begin,
      [](size_t begin, const NUVEdbWrittenValue& other) { return begin < other.begin; });
  if (at != values_.begin() && std::prev(at)->begin + std::prev(at)->length > value.begin) nested_ = true;
  values_.insert(at, std::move(value));
}

void NUVEdbFinishedText::Record() const {
  if (consistent_) nuvedb::RecordFinishedStatement(text_.View(), values_);
}

#pragma once
#include <vector>

#include "NUVEdbStatementProvenance.h"
#include "NUVUnicodeString.h"

// The statement text that pre-processing grows substitution by
// substitution, and where each value text it wrote stands in it. Each
// substitution replaces every occurrence of a name as the string's
// ReplaceSubString does, moving the values written before it along.
class NUVEdbFinishedText {
 public:
  // text is the caller's result string, changed in place; it must outlive
  // this object.
  explicit NUVEdbFinishedText(NUVUnicodeString& text) : text_(text) {}

  // Replaces the name by one value text of the given form.
  void Replace(const NUVUnicodeString& name, const NUVUnicodeString& value, NUVEdbWrittenValue::Form form,
               bool listItem);
  // Replaces the name by a text that holds value texts at the places
  // given (offsets from the start of the text).
  void Replace(const NUVUnicodeString& name, const NUVUnicodeString& text,
               const std::vector<NUVEdbWrittenValue>& inside);
  // Hands the text with its value texts to this thread's record of
  // finished statements, unless a substitution was interrupted halfway.
  void Record() const;

 private:
  // Replaces every occurrence of the name by the text, noting where each
  // began, and moves the values written before along; false when the name
  // does not occur. Leaves consistent_ false when it answers true: the
  // caller adds the new values first.
  bool Substitute(const NUVUnicodeString& name, const NUVUnicodeString& text);
  // Where the text that replaced the i-th occurrence of the name begins.
  size_t Start(size_t i, const NUVUnicodeString& name, const NUVUnicodeString& text) const;
  // Adds a value at its place in text order.
  void Insert(NUVEdbWrittenValue value);

  NUVUnicodeString& text_;
  std::vector<NUVEdbWrittenValue> values_;  // in text order
  bool nested_ = false;                     // a value holds another one
  std::vector<size_t> occurrences_;         // where the last substitution's name stood
  bool consistent_ = true;                  // values_ describes text_
};

#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "NUVEdbUtilExport.h"

// One value text that pre-processing wrote into a finished statement in
// place of a parameter's name: where it stands and what form it has.
struct NUVEdbWrittenValue {
  // How the value text is written.
  enum class Form {
    String,  // a string literal: "'", the text in blank-encoded form, "'"
    Number,  // an integer or a double in digits
    Key,     // an object's key text
  };
  size_t begin = 0;   // byte offset in the finished text
  size_t length = 0;  // in bytes
  Form form = Form::String;  // how the value text is written
  bool listItem = false;  // an item of a list parameter
  // A later parameter's name began or ended inside the value text and was
  // replaced together with text around it: the value no longer stands as
  // it was written, and its bounds here are approximate.
  bool cut = false;
  std::string parameter;  // the name the value replaced
};

// Which parts of a finished statement the library wrote. Each call of
// PreProcessSQLStatement records its result text with the value texts it
// wrote, on the calling thread; a host that runs a text asks for that
// record, so that it treats as the library's own exactly those values and
// runs every other part of the text as its author wrote it. The record
// holds the thread's last 64 finished statements.
class NUVEDBUTIL_API NUVEdbStatementProvenance {
 public:
  // True, with the values the library wrote into it (in text order), when
  // text is byte for byte a statement this thread's pre-processing
  // finished among the last 64 it finished or looked up; false, values
  // untouched, for any other text (typed by hand, read from a file,
  // changed after pre-processing, or finished on another thread).
  static bool Find(std::string_view text, std::vector<NUVEdbWrittenValue>& values);
  // Forgets every statement this thread finished.
  static void Forget();
};

#pragma once
#include <optional>
#include <string>
#include <vector>

// What one command line asks edbquery to do, after parsing and before any
// file or database is touched.
enum class Action { Query, Init, Help, Version };
enum class StatementSource { None, Argument, File, StandardInput };
enum class OutputFormat { Table, Csv, Json, JsonLines };
enum class TextMode { FromFile, Encoded, Plain };
enum class ParameterKind { Int, Double, String, Object, IntList, DoubleList, StringList, ObjectList };
enum class OutputKind { Int, Double, String, Object, Objects };

// One named parameter. Scalars have one name and one value; lists one name
// per value, or a single name and a condition. Numbers are parsed already.
struct ParameterOption {
  ParameterKind kind = ParameterKind::Int;
  std::string label;  // the option and name that gave it, for messages
  std::vector<std::string> names;
  std::vector<std::string> texts;  // strings, or object keys
  std::vector<int> integers;
  std::vector<double> doubles;
  std::string classType;  // objects only
  std::string condition;  // lists only; empty for none
  std::string valueFile;  // strings read from this file: the whole text, or a list item per line
};

// One output binding: where the column of that attribute name goes.
struct OutputOption {
  OutputKind kind = OutputKind::String;
  std::string classType;
  std::string attrName;
};

struct Options {
  Action action = Action::Query;
  std::string databasePath;  // empty: the built-in sample
  std::string initPath;
  TextMode textMode = TextMode::FromFile;
  StatementSource source = StatementSource::None;
  std::string statement;  // the text (Argument) or the file name (File)
  std::vector<ParameterOption> parameters;
  std::vector<OutputOption> outputs;
  OutputFormat format = OutputFormat::Table;
  std::string nullText;  // what null prints as in table and CSV output
  bool header = true;    // table and CSV output start with the column names
  bool readOnly = false;
  int timeoutMs = 5000;         // how long to wait for a database another process has locked
  bool timeoutGiven = false;    // --timeout was given: it bounds connecting to a server too
  bool readsOnStandby = false;  // reading statements go to a standby of a server list
  std::optional<int>
      failoverTimeoutMs;  // how long a lost server connection is tried again; unset: the host's
  bool explain = false;
};

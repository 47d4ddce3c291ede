#include "ParseArguments.h"

#include <cctype>
#include <set>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "TextParsing.h"

namespace {

using Operands = std::vector<std::string>;

// Walks the arguments once, filling the options; a malformed argument
// throws std::invalid_argument with the message.
class ArgumentParser {
 public:
  ArgumentParser(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) arguments_.emplace_back(argv[i] ? argv[i] : "");
  }

  Options Parse() {
    while (next_ < arguments_.size() && !Finished()) Step(arguments_[next_++]);
    if (!Finished()) Validate();
    return std::move(options_);
  }

 private:
  using Handler = void (ArgumentParser::*)(const std::string& option, const Operands& operands);
  struct OptionRule {
    const char* name;
    const char* operands;  // the operand words, for the message; their count is the arity
    Handler handler;
    bool list;  // a list option, which --cond may follow
  };
  static const std::vector<OptionRule>& Rules();

  bool Finished() const { return options_.action == Action::Help || options_.action == Action::Version; }

  void Step(const std::string& argument) {
    if (positionalOnly_ || argument == "-" || argument.empty() || argument[0] != '-') {
      Statement(argument);
      return;
    }
    if (argument == "--") {
      positionalOnly_ = true;
      return;
    }
    // "--name=value" gives a one-operand option its operand.
    const size_t equals = argument.rfind("--", 0) == 0 ? argument.find('=') : std::string::npos;
    const std::string name = argument.substr(0, equals);
    for (const OptionRule& rule : Rules()) {
      if (name == rule.name) {
        Apply(rule, equals == std::string::npos ? nullptr : &argument[equals + 1]);
        return;
      }
    }
    Fail("unknown option " + name + " (see --help)");
  }

  // Applies the rule to its operands: the inline one, or the next arguments.
  void Apply(const OptionRule& rule, const char* inlineOperand) {
    const size_t arity = Words(rule.operands).size();
    Operands operands;
    if (inlineOperand) {
      if (arity != 1) Fail(std::string(rule.name) + " takes " + (arity == 0 ? "no operand" : rule.operands));
      operands.emplace_back(inlineOperand);
    } else {
      if (arguments_.size() - next_ < arity) Fail(std::string(rule.name) + " needs " + rule.operands);
      operands.assign(arguments_.begin() + static_cast<long>(next_),
                      arguments_.begin() + static_cast<long>(next_ + arity));
      next_ += arity;
    }
    const bool followsList = lastWasList_;
    lastWasList_ = rule.list;
    if (rule.handler == &ArgumentParser::Condition && !followsList) Fail("--cond must follow a list option");
    (this->*rule.handler)(rule.name, operands);
  }

  static std::vector<std::string> Words(const char* text) {
    std::istringstream stream(text);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
  }

  // The message is kept on one line, whatever the arguments in it hold.
  [[noreturn]] static void Fail(const std::string& message) { throw std::invalid_argument(OneLine(message)); }

  void Statement(const std::string& argument) {
    lastWasList_ = false;
    SetSource(
        argument == "-" && !positionalOnly_ ? StatementSource::StandardInput : StatementSource::Argument,
        argument);
  }
  void SetSource(StatementSource source, const std::string& text) {
    if (options_.source != StatementSource::None) Fail("more than one statement given");
    options_.source = source;
    options_.statement = text;
  }

  void Help(const std::string&, const Operands&) { options_.action = Action::Help; }
  void Version(const std::string&, const Operands&) { options_.action = Action::Version; }
  void Explain(const std::string&, const Operands&) { options_.explain = true; }
  void File(const std::string&, const Operands& operands) { SetSource(StatementSource::File, operands[0]); }
  void Database(const std::string& option, const Operands& operands) {
    Once(option, options_.databasePath, operands[0]);
  }
  void Init(const std::string& option, const Operands& operands) {
    Once(option, options_.initPath, operands[0]);
    options_.action = Action::Init;
  }
  static void Once(const std::string& option, std::string& slot, const std::string& value) {
    if (value.empty()) Fail(option + " needs a non-empty FILE");
    if (!slot.empty()) Fail(option + " given twice");
    slot = value;
  }

  // Refuses an option that sets one thing given a second time: which of
  // the two was meant is not known.
  void Single(const std::string& option) {
    if (!given_.insert(option).second) Fail(option + " given twice");
  }

  void Format(const std::string& option, const Operands& operands) {
    Single(option);
    const std::string& name = operands[0];
    if (name == "table") {
      options_.format = OutputFormat::Table;
    } else if (name == "csv") {
      options_.format = OutputFormat::Csv;
    } else if (name == "json") {
      options_.format = OutputFormat::Json;
    } else if (name == "jsonl") {
      options_.format = OutputFormat::JsonLines;
    } else {
      Fail("unknown format '" + name + "' (table, csv, json or jsonl)");
    }
  }

  void Null(const std::string& option, const Operands& operands) {
    Single(option);
    options_.nullText = operands[0];
  }
  void NoHeader(const std::string&, const Operands&) { options_.header = false; }
  void ReadOnly(const std::string&, const Operands&) { options_.readOnly = true; }
  void Timeout(const std::string& option, const Operands& operands) {
    Single(option);
    options_.timeoutMs = IntegerValue(option, operands[0]);
    if (options_.timeoutMs < 0) Fail(option + ": " + operands[0] + " is below 0");
    options_.timeoutGiven = true;
  }
  void ReadStandby(const std::string&, const Operands&) { options_.readsOnStandby = true; }
  void FailoverTimeout(const std::string& option, const Operands& operands) {
    Single(option);
    const int milliseconds = IntegerValue(option, operands[0]);
    if (milliseconds < 0) Fail(option + ": " + operands[0] + " is below 0");
    options_.failoverTimeoutMs = milliseconds;
  }

  void Text(const std::string& option, const Operands& operands) {
    Single(option);
    if (operands[0] == "plain") {
      options_.textMode = TextMode::Plain;
    } else if (operands[0] == "encoded") {
      options_.textMode = TextMode::Encoded;
    } else {
      Fail("--text: unknown mode '" + operands[0] + "' (plain or encoded)");
    }
  }

  // Parameters ------------------------------------------------------------

  static ParameterOption Named(ParameterKind kind, const std::string& option, const std::string& name) {
    if (name.empty()) Fail(option + " needs a non-empty NAME");
    ParameterOption entry;
    entry.kind = kind;
    entry.label = option + " " + name;
    entry.names.push_back(name);
    return entry;
  }
  static std::string ClassOperand(const std::string& option, const std::string& classType) {
    if (classType.empty()) Fail(option + " needs a non-empty CLASS");
    return classType;
  }

  void Integer(const std::string& option, const Operands& operands) {
    ParameterOption entry = Named(ParameterKind::Int, option, operands[0]);
    entry.integers.push_back(IntegerValue(entry.label, operands[1]));
    options_.parameters.push_back(std::move(entry));
  }
  void Double(const std::string& option, const Operands& operands) {
    ParameterOption entry = Named(ParameterKind::Double, option, operands[0]);
    entry.doubles.push_back(DoubleValue(entry.label, operands[1]));
    options_.parameters.push_back(std::move(entry));
  }
  void String(const std::string& option, const Operands& operands) {
    ParameterOption entry = Named(ParameterKind::String, option, operands[0]);
    entry.texts.push_back(operands[1]);
    options_.parameters.push_back(std::move(entry));
  }
  void StringFile(const std::string& option, const Operands& operands) {
    ParameterOption entry = Named(ParameterKind::String, option, operands[0]);
    entry.valueFile = FileOperand(option, operands[1]);
    options_.parameters.push_back(std::move(entry));
  }
  static std::string FileOperand(const std::string& option, const std::string& path) {
    if (path.empty()) Fail(option + " needs a non-empty FILE");
    return path;
  }
  void Object(const std::string& option, const Operands& operands) {
    ParameterOption entry = Named(ParameterKind::Object, option, operands[0]);
    entry.classType = ClassOperand(option, operands[1]);
    entry.texts.push_back(operands[2]);
    options_.parameters.push_back(std::move(entry));
  }

  static ParameterOption NamedList(ParameterKind kind, const std::string& option, const std::string& names) {
    ParameterOption entry;
    entry.kind = kind;
    entry.label = option + " " + names;
    entry.names = SplitItems(names);
    for (const std::string& name : entry.names) {
      if (name.empty()) Fail(entry.label + ": a name is empty");
    }
    return entry;
  }
  void IntegerList(const std::string& option, const Operands& operands) {
    ParameterOption entry = NamedList(ParameterKind::IntList, option, operands[0]);
    for (const std::string& item : SplitItems(operands[1]))
      entry.integers.push_back(IntegerValue(entry.label, item));
    options_.parameters.push_back(std::move(entry));
  }
  void DoubleList(const std::string& option, const Operands& operands) {
    ParameterOption entry = NamedList(ParameterKind::DoubleList, option, operands[0]);
    for (const std::string& item : SplitItems(operands[1]))
      entry.doubles.push_back(DoubleValue(entry.label, item));
    options_.parameters.push_back(std::move(entry));
  }
  void StringList(const std::string& option, const Operands& operands) {
    ParameterOption entry = NamedList(ParameterKind::StringList, option, operands[0]);
    entry.texts = SplitItems(operands[1]);
    options_.parameters.push_back(std::move(entry));
  }
  void StringListFile(const std::string& option, const Operands& operands) {
    ParameterOption entry = NamedList(ParameterKind::StringList, option, operands[0]);
    entry.valueFile = FileOperand(option, operands[1]);
    options_.parameters.push_back(std::move(entry));
  }
  void ObjectList(const std::string& option, const Operands& operands) {
    ParameterOption entry = NamedList(ParameterKind::ObjectList, option, operands[0]);
    entry.classType = ClassOperand(option, operands[1]);
    entry.texts = SplitItems(operands[2]);
    options_.parameters.push_back(std::move(entry));
  }
  void Condition(const std::string&, const Operands& operands) {
    if (!IsConditionWord(operands[0]))
      Fail("--cond: '" + operands[0] + "' is not a word of letters, digits and _, nor one of | ! %");
    options_.parameters.back().condition = operands[0];
    lastWasList_ = false;
  }

  static bool IsConditionWord(const std::string& word) {
    if (word == "|" || word == "!" || word == "%") return true;
    if (word.empty()) return false;
    for (const char c : word) {
      if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    }
    return true;
  }

  static int IntegerValue(const std::string& context, const std::string& text) {
    int value = 0;
    const NumberStatus status = ParseInt(text, value);
    if (status == NumberStatus::Malformed) Fail(context + ": '" + text + "' is not an integer");
    if (status == NumberStatus::OutOfRange) Fail(context + ": " + text + " is outside the int range");
    return value;
  }
  static double DoubleValue(const std::string& context, const std::string& text) {
    double value = 0;
    const NumberStatus status = ParseDouble(text, value);
    if (status == NumberStatus::Malformed) Fail(context + ": '" + text + "' is not a finite number");
    if (status == NumberStatus::OutOfRange) Fail(context + ": " + text + " is outside the double range");
    return value;
  }

  // Outputs ---------------------------------------------------------------

  void Output(const std::string& option, const Operands& operands) {
    static const std::vector<std::pair<std::string, OutputKind>> kinds = {{"int", OutputKind::Int},
                                                                          {"double", OutputKind::Double},
                                                                          {"string", OutputKind::String},
                                                                          {"object", OutputKind::Object},
                                                                          {"objects", OutputKind::Objects}};
    OutputOption entry;
    bool known = false;
    for (const auto& [word, kind] : kinds) {
      if (word == operands[0]) {
        entry.kind = kind;
        known = true;
      }
    }
    if (!known)
      Fail(option + ": unknown TYPE '" + operands[0] + "' (int, double, string, object or objects)");
    if (operands[1].empty() || operands[2].empty()) Fail(option + " needs a non-empty CLASS and ATTR");
    entry.classType = operands[1];
    entry.attrName = operands[2];
    options_.outputs.push_back(std::move(entry));
  }

  // After the last argument ----------------------------------------------

  void Validate() const {
    if (options_.action == Action::Init) {
      if (options_.source != StatementSource::None) Fail("--init takes no statement");
      if (options_.readOnly) Fail("--readonly and --init disagree: --init writes " + options_.initPath);
      return;
    }
    if (options_.source == StatementSource::None) Fail("no statement given (see --help)");
    if (options_.textMode == TextMode::Plain && options_.databasePath.empty())
      Fail("--text plain needs --db: the built-in sample holds encoded texts");
    if (options_.readOnly && options_.databasePath.empty())
      Fail("--readonly needs --db: changes to the built-in sample are never kept");
    if (options_.readOnly && options_.readsOnStandby)
      Fail("--read-standby and --readonly disagree: a read-only run reads on the server the string names");
    for (const ParameterOption& entry : options_.parameters) ValidateList(entry);
    std::set<std::string> attributes;
    for (const OutputOption& entry : options_.outputs) {
      if (!attributes.insert(entry.attrName).second)
        Fail("--out: attribute " + entry.attrName + " bound twice");
    }
  }

  static std::string Counted(size_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
  }

  static void ValidateList(const ParameterOption& entry) {
    const size_t values = entry.texts.size() + entry.integers.size() + entry.doubles.size();
    const bool list = entry.kind == ParameterKind::IntList || entry.kind == ParameterKind::DoubleList ||
                      entry.kind == ParameterKind::StringList || entry.kind == ParameterKind::ObjectList;
    if (!list) return;
    if (!entry.condition.empty() && entry.names.size() != 1) {
      Fail(entry.label + ": with --cond give one name, not " + std::to_string(entry.names.size()));
    }
    // A file's items are counted when it is read.
    if (entry.condition.empty() && entry.valueFile.empty() && entry.names.size() != values) {
      Fail(entry.label + ": " + Counted(entry.names.size(), "name") + " for " + Counted(values, "value"));
    }
  }

  std::vector<std::string> arguments_;
  size_t next_ = 0;
  bool positionalOnly_ = false;
  bool lastWasList_ = false;
  std::set<std::string> given_;  // the options that may be given once, given so far
  Options options_;
};

const std::vector<ArgumentParser::OptionRule>& ArgumentParser::Rules() {
  static const std::vector<OptionRule> rules = {
      {"--help", "", &ArgumentParser::Help, false},
      {"-h", "", &ArgumentParser::Help, false},
      {"--version", "", &ArgumentParser::Version, false},
      {"--explain", "", &ArgumentParser::Explain, false},
      {"--db", "FILE", &ArgumentParser::Database, false},
      {"--init", "FILE", &ArgumentParser::Init, false},
      {"-f", "FILE", &ArgumentParser::File, false},
      {"--file", "FILE", &ArgumentParser::File, false},
      {"--format", "table|csv|json|jsonl", &ArgumentParser::Format, false},
      {"--null", "TEXT", &ArgumentParser::Null, false},
      {"--no-header", "", &ArgumentParser::NoHeader, false},
      {"--readonly", "", &ArgumentParser::ReadOnly, false},
      {"--timeout", "MS", &ArgumentParser::Timeout, false},
      {"--failover-timeout", "MS", &ArgumentParser::FailoverTimeout, false},
      {"--read-standby", "", &ArgumentParser::ReadStandby, false},
      {"--text", "plain|encoded", &ArgumentParser::Text, false},
      {"--int", "NAME VALUE", &ArgumentParser::Integer, false},
      {"--double", "NAME VALUE", &ArgumentParser::Double, false},
      {"--string", "NAME VALUE", &ArgumentParser::String, false},
      {"--object", "NAME CLASS KEY", &ArgumentParser::Object, false},
      {"--int-list", "NAMES VALUES", &ArgumentParser::IntegerList, true},
      {"--double-list", "NAMES VALUES", &ArgumentParser::DoubleList, true},
      {"--string-list", "NAMES VALUES", &ArgumentParser::StringList, true},
      {"--string-file", "NAME FILE", &ArgumentParser::StringFile, false},
      {"--string-list-file", "NAMES FILE", &ArgumentParser::StringListFile, true},
      {"--object-list", "NAMES CLASS KEYS", &ArgumentParser::ObjectList, true},
      {"--cond", "WORD", &ArgumentParser::Condition, false},
      {"--out", "TYPE CLASS ATTR", &ArgumentParser::Output, false},
  };
  return rules;
}

}  // namespace

ParseResult ParseArguments(int argc, const char* const* argv) {
  ParseResult result;
  try {
    result.options = ArgumentParser(argc, argv).Parse();
  } catch (const std::invalid_argument& error) {
    result.error = error.what();
  }
  return result;
}

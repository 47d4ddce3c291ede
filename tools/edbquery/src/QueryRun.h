#pragma once
#include <memory>
#include <string>
#include <vector>

#include "NUVEdbBrokerTool.h"
#include "NUVSqliteOpenOptions.h"
#include "Options.h"
#include "ResultGrid.h"

class NUVSqliteHost;
class OutputBindings;
class QueryParameters;

// One statement taken the whole road on the database of the options:
// parameters, pre-processing, headers from the output bindings, the run and
// the extraction of every row.
class QueryRun {
 public:
  // Opens the database and installs its host. Throws Failure when the
  // database cannot be opened.
  explicit QueryRun(const Options& options);
  ~QueryRun();
  QueryRun(const QueryRun&) = delete;
  QueryRun& operator=(const QueryRun&) = delete;

  // What the options ask to print for the statement: the rows in their
  // format, or with --explain the finished statement and its columns.
  // Throws Failure for anything that goes wrong; nothing is printed then.
  std::string Output(const std::string& statement);
  // The rows the statement changed; -1 when it only read or did not run.
  long ChangedRows() const { return changedRows_; }

 private:
  // Throws Failure for an object output whose class the database lacks.
  void CheckObjectClasses() const;
  std::string Finish(const std::string& statement, const QueryParameters& parameters);
  static std::string Explain(const std::string& finished, const std::string& columns, NUVSqliteTextMode mode);
  ResultGrid Execute(const std::string& finished, OutputBindings& bindings);
  static std::vector<std::string> ColumnNames(NUVEdbResultTable& table);
  static ResultGrid AllCells(NUVEdbResultTable& table);
  ResultGrid BoundRows(NUVEdbResultTable& table, OutputBindings& bindings);

  const Options& options_;
  std::unique_ptr<NUVSqliteHost> host_;
  NUVEdbBrokerTool broker_;
  long changedRows_ = -1;
};

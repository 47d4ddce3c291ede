#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CellValue.h"
#include "NUVEdbBrokerTool.h"
#include "NUVHost.h"
#include "Options.h"

class OutputBindings;
class QueryParameters;

// One statement taken the whole road on the database of the options:
// parameters, pre-processing, headers from the output bindings, the run and
// the extraction of every row.
class QueryRun {
 public:
  // Takes each piece of the output as it is made.
  using Printer = std::function<void(const std::string& text)>;
  // Writes out everything printed so far; throws when it cannot.
  using Deliverer = std::function<void()>;

  // Opens the database and installs its host. Throws Failure when the
  // database cannot be opened.
  explicit QueryRun(const Options& options);
  ~QueryRun();
  QueryRun(const QueryRun&) = delete;
  QueryRun& operator=(const QueryRun&) = delete;

  // Prints what the options ask for the statement: the rows in their
  // format, batch by batch as the host hands them over, or with --explain
  // the finished statement and its columns. The whole output is printed
  // and delivered before a writing statement commits. Throws Failure for
  // anything that goes wrong, and whatever print and deliver throw for a
  // reading statement; a writing statement is then rolled back, and the
  // Failure says so.
  void Output(const std::string& statement, const Printer& print, const Deliverer& deliver);
  // The rows the statement changed; -1 when it only read or did not run.
  long ChangedRows() const { return changedRows_; }

  // The most rows the host hands over at a time.
  static constexpr size_t kBatchRows = 1000;

 private:
  // Throws Failure for an object output whose class the database lacks.
  void CheckObjectClasses() const;
  std::string Finish(const std::string& statement, const QueryParameters& parameters);
  // What the library writes for each parameter on its own, in place of its
  // names (each insertion ended by a zero byte). Run before Finish, so that
  // the finished statement is the latest the library recorded.
  std::vector<std::string> Insertions(const QueryParameters& parameters);
  static std::string Explain(const std::string& finished, const std::string& columns, bool plainText);
  void Execute(const std::string& finished, OutputBindings& bindings, const Printer& print,
               const Deliverer& deliver);
  // Rethrows a failure carried past the host; one that ended a writing
  // statement becomes a Failure saying that nothing of it was applied.
  [[noreturn]] void Rethrow(const std::exception_ptr& failure) const;
  static std::vector<std::string> ColumnNames(NUVEdbResultTable& table);
  // Every value of the batch, as the database answered it.
  std::vector<std::vector<CellValue>> AllCells(const NUVEdbResultTable& table) const;
  // The bound values of the batch's rows; before is the number of rows of
  // the batches before it.
  std::vector<std::vector<CellValue>> BoundRows(NUVEdbResultTable& table, OutputBindings& bindings,
                                                int before);

  const Options& options_;
  std::unique_ptr<NUVHost> host_;
  std::vector<NUVHostValueSort> sorts_;  // the current batch's, value by value
  NUVEdbBrokerTool broker_;
  long changedRows_ = -1;
};

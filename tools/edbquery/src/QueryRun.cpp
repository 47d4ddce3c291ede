#include "QueryRun.h"

#include <cstring>
#include <exception>

#include "Failure.h"
#include "HostTarget.h"
#include "NUVEdbResultTabHdr.h"
#include "NUVEdbResultTable.h"
#include "NUVError.h"
#include "NUVRefList.h"
#include "OutputBindings.h"
#include "OutputWriter.h"
#include "ParameterChecks.h"
#include "QueryParameters.h"
#include "RecordedMessage.h"
#include "RowCells.h"
#include "RowPrinter.h"

namespace {

int RowCount(const NUVEdbResultTable& table) {
  int count = 0;
  table.GetNumberOfRows(count);
  return count;
}

}  // namespace

QueryRun::QueryRun(const Options& options) : options_(options), host_(OpenHost(options)) {
  host_->Install();
}

QueryRun::~QueryRun() = default;

void QueryRun::Output(const std::string& statement, const Printer& print, const Deliverer& deliver) {
  CheckNamesApart(options_.parameters);
  const QueryParameters parameters(options_.parameters, *host_);
  CheckValuesHoldNoLaterName(options_.parameters, Insertions(parameters));
  CheckNamesOccur(statement, options_.parameters);
  CheckObjectClasses();
  const std::string finished = Finish(statement, parameters);
  std::vector<NUVEdbWrittenValue> written;
  NUVEdbStatementProvenance::Find(finished, written);
  CheckDoublesKept(finished, written, options_.parameters);
  CheckNoCommentMade(statement, finished, written, options_.parameters, host_->Dialect());
  OutputBindings bindings(options_.outputs);
  const std::string columns = bindings.Empty() ? std::string() : bindings.DeriveHeaders(broker_);
  if (options_.explain) return print(Explain(finished, columns, host_->TextMode() == NUVHostTextMode::Plain));
  Execute(finished, bindings, print, deliver);
}

void QueryRun::CheckObjectClasses() const {
  for (const OutputOption& output : options_.outputs) {
    if (output.kind != OutputKind::Object && output.kind != OutputKind::Objects) continue;
    if (!host_->KeyAttribute(output.classType).empty()) continue;
    throw Failure(kDatabaseError,
                  "--out " + std::string(output.kind == OutputKind::Object ? "object " : "objects ") +
                      output.classType + ": the database has no table " + output.classType +
                      " with a one-column key");
  }
}

std::string QueryRun::Finish(const std::string& statement, const QueryParameters& parameters) {
  NUVUnicodeString finished;
  const long code = broker_.PreProcessSQLStatement(NUVUnicodeString(std::string_view(statement)),
                                                   parameters.List(), finished);
  if (code < 0)
    throw Failure(kDatabaseError, RecordedMessage(code, "the parameters could not be substituted"));
  return std::string(finished.View());
}

std::vector<std::string> QueryRun::Insertions(const QueryParameters& parameters) {
  std::vector<std::string> insertions;
  const NUVListPtrNUVBaseUnknown& all = parameters.List();
  for (size_t i = 0; i < options_.parameters.size(); ++i) {
    const ParameterOption& entry = options_.parameters[i];
    NUVListPtrNUVBaseUnknown one;  // borrows the parameter from the set
    one.Append(all[static_cast<int>(i) + 1]);
    std::string insertion;
    // A list joined by a condition writes one expression in place of its
    // one name; any other parameter writes a value in place of each name.
    const size_t names = entry.condition.empty() ? entry.names.size() : 1;
    for (size_t k = 0; k < names; ++k) {
      NUVUnicodeString written;
      if (broker_.PreProcessSQLStatement(NUVUnicodeString(std::string_view(entry.names[k])), one, written) < 0)
        continue;
      insertion += written.View();
      insertion += '\0';  // no name holds a zero byte
    }
    insertions.push_back(std::move(insertion));
  }
  return insertions;
}

std::string QueryRun::Explain(const std::string& finished, const std::string& columns, bool plainText) {
  return "statement: " + finished +
         "\ncolumns: " + (columns.empty() ? "every column of the answer" : columns) +
         "\ntexts: " + (plainText ? "plain (the values written for parameters are decoded and bound; "
                                                        "the statement's own literals run as written)"
                                                      : "encoded") + "\n";
}

void QueryRun::Execute(const std::string& finished, OutputBindings& bindings, const Printer& print,
                       const Deliverer& deliver) {
  RowPrinter printer(options_.format, {options_.nullText, options_.header});
  int before = 0;  // the rows of the batches before
  std::exception_ptr failure;
  // Runs a step of the output; what it throws is carried past the host,
  // which then rolls a writing statement back.
  const auto carried = [&](const std::function<void()>& step) -> long {
    try {
      step();
      return NUV_S_OK;
    } catch (...) {
      failure = std::current_exception();
      return NUV_E_FAIL;
    }
  };
  const auto consume = [&](NUVEdbResultTable& batch) {
    return carried([&] {
      if (before == 0) print(printer.Begin(bindings.Empty() ? ColumnNames(batch) : bindings.ColumnNames()));
      print(printer.Rows(bindings.Empty() ? AllCells(batch) : BoundRows(batch, bindings, before)));
      before += RowCount(batch);
    });
  };
  // The whole output leaves before a write commits: a write whose output
  // cannot be delivered is not applied, so a retry never applies it twice.
  const auto end = [&] {
    return carried([&] {
      print(printer.End());
      deliver();
    });
  };
  const long code = host_->RunInBatches(NUVUnicodeString(std::string_view(finished)), kBatchRows, consume,
                                        bindings.Empty() ? nullptr : &bindings.Headers(), end, &sorts_);
  if (failure) Rethrow(failure);
  if (code < 0) {
    // A write the host ended with any failure but a lost commit answer was
    // rolled back whole.
    const NUVHostFailureKind kind = host_->LastFailure().kind;
    const bool notApplied = host_->LastWrote() && kind != NUVHostFailureKind::CommitUnknown;
    throw Failure(ExitCodeFor(kind), RecordedMessage(code, "the database refused the statement") +
                                         (notApplied ? " (nothing of the statement was applied)" : ""));
  }
  changedRows_ = host_->ChangedRows();
}

void QueryRun::Rethrow(const std::exception_ptr& failure) const {
  if (!host_->LastWrote()) std::rethrow_exception(failure);
  try {
    std::rethrow_exception(failure);
  } catch (const OutputWriter::Failed& failed) {
    throw Failure(kDatabaseError, "cannot write the output: " + std::string(std::strerror(failed.error)) +
                                      "; the statement was rolled back, nothing of it was applied");
  } catch (const Failure& other) {
    throw Failure(other.ExitCode(), std::string(other.what()) + " (the statement was rolled back, nothing of "
                                                                "it was applied)");
  }
}

std::vector<std::string> QueryRun::ColumnNames(NUVEdbResultTable& table) {
  NUVRefList headers;
  table.GetHeader(headers.get());
  std::vector<std::string> names;
  for (int i = 1; i <= headers.Size(); ++i) {
    NUVUnicodeString name;
    static_cast<const NUVEdbResultTabHdr*>(headers.get()[i])->GetAttrName(name);
    names.emplace_back(name.View());
  }
  return names;
}

std::vector<std::vector<CellValue>> QueryRun::AllCells(const NUVEdbResultTable& table) const {
  const std::vector<NUVHostValueSort>& sorts = sorts_;
  std::vector<std::vector<CellValue>> rows;
  const int count = RowCount(table);
  size_t next = 0;  // the sort of the next value
  for (int n = 1; n <= count; ++n) {
    const RowCells cells(table, n);
    std::vector<CellValue> row;
    for (int i = 1; i <= cells.Count(); ++i, ++next)
      row.push_back(cells.Value(i, next < sorts.size() ? sorts[next] : NUVHostValueSort::Null));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<std::vector<CellValue>> QueryRun::BoundRows(NUVEdbResultTable& table, OutputBindings& bindings,
                                                        int before) {
  const std::string missing = before == 0 ? bindings.MissingColumn(table) : std::string();
  if (!missing.empty()) throw Failure(kUsageError, "--out: the answer has no column " + missing);
  std::vector<std::vector<CellValue>> rows;
  const int count = RowCount(table);
  for (int n = 1; n <= count; ++n)
    rows.push_back(bindings.ExtractRow(broker_, table, host_->Query(), n, before + n));
  return rows;
}

#include "NUVSqliteBackend.h"

#include <sqlite3.h>

#include <algorithm>
#include <vector>

#include "IUnknown.h"
#include "NUVEdsGeneralTool.h"
#include "NUVHostQuotedName.h"
#include "NUVSqlTextScan.h"
#include "NUVSqliteCursor.h"
#include "NUVSqliteDialect.h"
#include "NUVSqliteStatement.h"

namespace {

// True when the text holds nothing but blanks, semicolons and comments.
bool HoldsNoStatement(sqlite3* connection, const char* text) {
  while (text && *text) {
    sqlite3_stmt* next = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(connection, text, -1, &next, &tail);
    const bool empty = rc == SQLITE_OK && !next;
    sqlite3_finalize(next);
    if (!empty) return false;
    if (tail == text) return true;
    text = tail;
  }
  return true;
}

}  // namespace

bool NUVSqliteBackend::ReadOnly() const { return sqlite3_db_readonly(database_.Connection(), "main") == 1; }

std::string NUVSqliteBackend::Table(const std::string& classType) const {
  return database_.HasTable(classType) ? classType : std::string();
}

long NUVSqliteBackend::FindKey(const std::string& table, const std::string& column, const std::string& key,
                               bool& exists) {
  exists = false;
  const std::string sql =
      "SELECT 1 FROM " + nuvhost::QuotedName(table) + " WHERE " + nuvhost::QuotedName(column) + " = ?";
  NUVSqliteStatement statement;
  if (sqlite3_prepare_v2(database_.Connection(), sql.c_str(), -1, statement.out(), nullptr) != SQLITE_OK)
    return NUVHostFailed(database_.LastFailure());
  const NUVUnicodeString stored = database_.TextMode() == NUVSqliteTextMode::Encoded
                                      ? NUVEdsGeneralTool().EncodeBlanks(key.c_str())
                                      : NUVUnicodeString(key.c_str());
  sqlite3_bind_text(statement.get(), 1, stored.CastToCharPtr(), -1, SQLITE_TRANSIENT);
  const int rc = sqlite3_step(statement.get());
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) return NUVHostFailed(database_.LastFailure());
  exists = rc == SQLITE_ROW;
  return NUV_S_OK;
}

bool NUVSqliteBackend::Prepare(const std::string& text, NUVSqliteStatement& statement, size_t& rest) {
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(database_.Connection(), text.c_str(), static_cast<int>(text.size()), statement.out(),
                         &tail) != SQLITE_OK)
    return false;
  rest = tail ? static_cast<size_t>(tail - text.c_str()) : text.size();
  return true;
}

long NUVSqliteBackend::PreparePlain(const NUVHostWrittenText& text, NUVSqliteStatement& statement,
                                    std::string& prepared, size_t& rest, int& bound) {
  const std::vector<NUVHostWrittenLiteral>& literals = text.Literals();
  prepared = text.Rewritten([](const NUVHostWrittenLiteral&, size_t) { return std::string("?"); });
  if (Prepare(prepared, statement, rest)) {
    bound = static_cast<int>(literals.size());
    for (size_t i = 0; i < literals.size(); ++i) {
      const std::string& value = literals[i].value;
      sqlite3_bind_text(statement.get(), static_cast<int>(i + 1), value.data(), static_cast<int>(value.size()),
                        SQLITE_TRANSIENT);
    }
    return NUV_S_OK;
  }
  // Some statements (a column's default, a view) take no parameters: the
  // values go into the text as literals of their own.
  const bool inlinable = std::none_of(literals.begin(), literals.end(), [](const NUVHostWrittenLiteral& literal) {
    return literal.value.find('\0') != std::string::npos;
  });
  if (!inlinable) return NUVHostRefused("a text value holds a zero byte, which no literal can carry here");
  prepared = text.Rewritten([](const NUVHostWrittenLiteral& literal, size_t) {
    return nuvhost::QuotedLiteral(literal.value);
  });
  if (!Prepare(prepared, statement, rest)) return NUVHostFailed(database_.LastFailure());
  return NUV_S_OK;
}

long NUVSqliteBackend::Open(NUVHostWrittenText& text, bool /*streaming*/, std::unique_ptr<NUVHostCursor>& cursor) {
  const std::vector<NUVSqlToken> tokens = NUVSqlTextScan::Scan(text.Text());
  for (const NUVSqlToken& token : tokens) {
    if (token.kind != NUVSqlToken::Kind::Parameter) continue;
    return NUVHostRefused("the statement holds the parameter " +
                          std::string(text.Text().substr(token.begin, token.length)) + ", which no value replaced");
  }
  const std::string problem = text.Check(NUVSqliteDialect::Lexemes(text.Text(), tokens));
  if (!problem.empty()) return NUVHostRefused(problem);
  NUVSqliteStatement statement;
  std::string prepared(text.Text());
  size_t rest = 0;
  int bound = 0;
  if (TextMode() == NUVSqliteTextMode::Plain && !text.Literals().empty()) {
    const long code = PreparePlain(text, statement, prepared, rest, bound);
    if (code < 0) return code;
  } else if (!Prepare(prepared, statement, rest)) {
    return NUVHostFailed(database_.LastFailure());
  }
  if (!statement.get()) return NUVHostRefused("the text holds no statement");
  if (!HoldsNoStatement(database_.Connection(), prepared.c_str() + rest))
    return NUVHostRefused("the text holds more than one statement");
  if (sqlite3_bind_parameter_count(statement.get()) != bound)
    return NUVHostRefused("the statement holds a parameter that no value replaced");
  cursor = std::make_unique<NUVSqliteCursor>(database_, std::move(statement));
  return NUV_S_OK;
}

long NUVSqliteBackend::Command(const char* sql) {
  if (sqlite3_exec(database_.Connection(), sql, nullptr, nullptr, nullptr) == SQLITE_OK) return NUV_S_OK;
  return NUVHostFailed(database_.LastFailure());
}

long NUVSqliteBackend::Begin() {
  outermost_ = sqlite3_get_autocommit(database_.Connection()) != 0;
  return Command("SAVEPOINT nuv_run");
}

long NUVSqliteBackend::Commit() {
  const long code = Command("RELEASE nuv_run");
  if (code < 0) Rollback();  // the savepoint stays open when its release fails
  return code;
}

long NUVSqliteBackend::Rollback() {
  sqlite3* connection = database_.Connection();
  // The savepoint that began the transaction ends it whole, locks and all,
  // even where its release has failed.
  if (outermost_) {
    sqlite3_exec(connection, "ROLLBACK", nullptr, nullptr, nullptr);
    return NUV_S_OK;
  }
  sqlite3_exec(connection, "ROLLBACK TO nuv_run", nullptr, nullptr, nullptr);
  sqlite3_exec(connection, "RELEASE nuv_run", nullptr, nullptr, nullptr);
  return NUV_S_OK;
}

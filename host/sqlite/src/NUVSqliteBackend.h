#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "NUVHostBackend.h"
#include "NUVHostWrittenText.h"
#include "NUVSqliteDatabase.h"
#include "NUVSqliteDialect.h"

class NUVSqliteStatement;
struct sqlite3;

// The SQLite side of a host: prepares statements on the connection (one
// per text, literals bound in a plain database), runs writes in a
// savepoint, and answers tables and keys from the schema it reads. Table
// and column names are matched as written.
class NUVSqliteBackend final : public NUVHostBackend {
 public:
  // Takes over an open connection and reads its schema.
  NUVSqliteBackend(sqlite3* connection, NUVSqliteTextMode textMode) : database_(connection, textMode) {}

  // "main", SQLite's name for the connection's database.
  std::string DatabaseName() const override { return "main"; }
  const NUVHostDialect& Dialect() const override { return dialect_; }
  NUVHostTextMode TextMode() const override { return database_.TextMode(); }
  bool ReadOnly() const override;
  // The class type itself when the schema has a table of exactly that
  // name; empty otherwise.
  std::string Table(const std::string& classType) const override;
  bool MatchesNamesIgnoringCase() const override { return false; }
  std::string KeyColumn(const std::string& table) const override { return database_.KeyColumn(table); }
  long FindKey(const std::string& table, const std::string& column, const std::string& key,
               bool& exists) override;
  // Refuses, before anything runs, a text with an SQL parameter, with no
  // statement or with more than one, or whose library-written values lost
  // their shape. streaming changes nothing: SQLite hands the answer over a
  // row at a time.
  long Open(NUVHostWrittenText& statement, bool streaming, std::unique_ptr<NUVHostCursor>& cursor) override;
  // The savepoint nuv_run: Commit releases it (and undoes it when the
  // release fails), Rollback undoes it; a savepoint that began the
  // transaction is undone with the whole transaction.
  long Begin() override;
  long Commit() override;
  long Rollback() override;
  void SchemaChanged() override { database_.LoadSchema(); }

 private:
  // Prepares the first statement of the text; rest is where the next one
  // would begin. False, leaving SQLite's message, when it cannot.
  bool Prepare(const std::string& text, NUVSqliteStatement& statement, size_t& rest);
  // Prepares the first statement of the text with the library's string
  // literals decoded and bound (bound counts them), or written back as
  // literals where the statement takes no parameters; prepared is the text
  // SQLite was given.
  long PreparePlain(const NUVHostWrittenText& text, NUVSqliteStatement& statement, std::string& prepared,
                    size_t& rest, int& bound);
  // Runs a statement that answers nothing; the failure code with SQLite's
  // message when it fails.
  long Command(const char* sql);

  NUVSqliteDialect dialect_;
  NUVSqliteDatabase database_;
  bool outermost_ = false;  // the last savepoint began a transaction
};

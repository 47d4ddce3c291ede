#pragma once
#include <memory>
#include <string>

#include "NUVHost.h"
#include "NUVSqliteBatch.h"
#include "NUVSqliteOpenOptions.h"

// A reference host over a SQLite database (see NUVHost for what every host
// does). The database is "main"; class types and attributes are matched
// to tables, columns and headers exactly as written. Texts are stored in
// the database's text mode (NUVSqliteOpenOptions.h). Run refuses, before
// anything runs, a text holding more than one statement or an SQL
// parameter (":x", "?", "@x", "$x"); a writing statement runs in a
// savepoint. A number read under a string header gives its text as SQLite
// writes it. The tables and their keys are read when the host opens and
// again after a writing statement that changed the schema.
//
// One host, with every object it hands out, is used by one thread at a
// time: its connection is opened without SQLite's per-connection mutex.
class NUVSqliteHost : public NUVHost {
 public:
  // Opens an existing database file; null, with the reason in message, when
  // it does not exist or cannot be opened.
  static std::unique_ptr<NUVSqliteHost> OpenFile(const std::string& path, std::string& message,
                                                 const NUVSqliteOpenOptions& options = {});
  // Opens the built-in sample database in memory (encoded texts).
  static std::unique_ptr<NUVSqliteHost> OpenSample(std::string& message);
  // Writes the sample database to a new file, marked as holding encoded
  // texts; false, with the reason, when the file exists or cannot be
  // written.
  static bool WriteSample(const std::string& path, std::string& message);

 private:
  // Adopts the caller's reference on the session.
  explicit NUVSqliteHost(NUVHostSession* session) : NUVHost(session) {}
  // A host over the session, adopting the caller's reference; null, with
  // the reason, when there is no session (memory ran out).
  static std::unique_ptr<NUVSqliteHost> Adopt(NUVHostSession* session, std::string& message);
};

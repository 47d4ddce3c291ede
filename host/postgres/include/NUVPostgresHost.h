#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "NUVHost.h"
#include "NUVPostgresOpenOptions.h"

class NUVPgBackend;

// A host over a PostgreSQL server (see NUVHost for what every host does).
// The database is the server's current_database(). A class type or
// attribute written in upper case finds the table or column whose unquoted
// name the server folded to lower case, and a header names a column in any
// case. Texts are plain by default: the library's string literals are
// decoded and sent as bound parameters.
//
// Run's cells: int2, int4, bool (0/1, whose value sort in RunInBatches is
// Boolean) and int8 within 32 bits give integer cells, wider int8 its
// decimal text; float4, float8 and numeric that a double holds exactly give
// double cells, other numeric its text; bytea the hexadecimal text; other
// types their text. A refusal carries the server's message and SQLSTATE. A
// statement goes to the server with its values in one round trip (a writing
// one between BEGIN and COMMIT). Run reads the whole answer from the server
// at once (it is kept whole in the table anyway); RunInBatches reads its
// rows as they arrive, one at a time (in chunks where libpq is 17 or
// later). The schema (tables and their keys) is read when the host opens
// and again after a writing statement other than INSERT, UPDATE, DELETE,
// MERGE and WITH.
//
// A connection string may name several servers, a primary and its
// standbys: a host that writes then asks for the one that takes writes. A
// lost connection is made again through all of them within the failover
// timeout (NUVPostgresOpenOptions), with every setting of the host; a
// reading statement that had handed out no row runs again there, a write
// never does, and a commit whose answer was lost is asked about on the new
// server. With reads on a standby, reading statements run on a standby and
// see the host's own writes.
class NUVPostgresHost : public NUVHost {
 public:
  // Connects with a libpq connection string ("host=... dbname=...") or URI
  // ("postgresql://..."); the PG* environment variables apply. Null, with
  // the reason in message (never the password) and, when kind is given,
  // the failure's kind there (unreachable, authentication refused, or the
  // statement failed for settings the server refuses), when it cannot.
  static std::unique_ptr<NUVPostgresHost> Open(const std::string& conninfo, std::string& message,
                                               const NUVPostgresOpenOptions& options = {},
                                               NUVHostFailureKind* kind = nullptr);
  // Creates the sample's tables and rows (plain texts) in the database;
  // false, with nothing changed and the reason in message, when any of its
  // tables exists already or the server refuses. Of the options only the
  // connect timeout applies.
  static bool WriteSample(const std::string& conninfo, std::string& message,
                          const NUVPostgresOpenOptions& options = {});
  // True when the text is meant for this host: a postgresql:// or
  // postgres:// URI, or a keyword=value connection string.
  static bool IsConnectionString(const std::string& text);

  // True when the session answers and, unless the host was opened
  // read-only, runs on a server that takes writes; false, with the reason,
  // for a connection that is lost or a session that a failover left on a
  // standby. Reconnects nothing.
  bool Usable(std::string& message) const;

 private:
  // Adopts the caller's reference on the session, whose backend is the
  // one given.
  NUVPostgresHost(NUVHostSession* session, std::shared_ptr<NUVPgBackend> backend)
      : NUVHost(session), backend_(std::move(backend)) {}

  std::shared_ptr<NUVPgBackend> backend_;  // the session's, shared with it
};

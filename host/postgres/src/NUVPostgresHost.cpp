#include "NUVPostgresHost.h"

#include <libpq-fe.h>

#include "NUVHostSession.h"
#include "NUVPgBackend.h"
#include "NUVPgConnector.h"
#include "NUVPgSample.h"
#include "NUVPostgresHostPlugin.h"

std::unique_ptr<NUVPostgresHost> NUVPostgresHost::Open(const std::string& conninfo, std::string& message,
                                                       const NUVPostgresOpenOptions& options,
                                                       NUVHostFailureKind* kind) {
  NUVPgConnector connector(options);
  NUVHostFailureKind failed = NUVHostFailureKind::StatementFailed;
  PGconn* connection = connector.Read(conninfo, message) ? connector.Connect(message, failed) : nullptr;
  if (!connection) {
    if (kind) *kind = failed;
    return nullptr;
  }
  auto backend = std::make_shared<NUVPgBackend>(connection, options);
  auto* session = new NUVHostSession(backend);
  if (!session) {
    message = "no memory for a session";
    return nullptr;
  }
  return std::unique_ptr<NUVPostgresHost>(new NUVPostgresHost(session, backend));
}

bool NUVPostgresHost::WriteSample(const std::string& conninfo, std::string& message,
                                  const NUVPostgresOpenOptions& options) {
  NUVPostgresOpenOptions connect;
  connect.connectTimeoutMs = options.connectTimeoutMs;
  NUVPgConnector connector(connect);
  NUVHostFailureKind failed = NUVHostFailureKind::StatementFailed;
  PGconn* connection = connector.Read(conninfo, message) ? connector.Connect(message, failed) : nullptr;
  if (!connection) return false;
  NUVPgBackend backend(connection, {});  // finishes the connection
  for (const char* table : {"PRODUCT", "PART", "DOCUMENT", "WORKPACKAGE"}) {
    if (backend.Table(table).empty()) continue;
    message = "the database has a table " + backend.Table(table) + " already; nothing was changed";
    return false;
  }
  // One simple query runs as one transaction: all of the sample or none.
  NUVPgResult loaded(PQexec(connection, NUVPgSampleSql()));
  if (PQresultStatus(loaded.get) == PGRES_COMMAND_OK) return true;
  message = NUVPgBackend::Failure(connection, loaded.get);
  return false;
}

bool NUVPostgresHost::IsConnectionString(const std::string& text) { return NUVPostgresNamesServer(text); }

bool NUVPostgresHost::Usable(std::string& message) const { return backend_->Usable(message); }

#include "NUVPostgresHost.h"

#include <libpq-fe.h>

#include "NUVHostSession.h"
#include "NUVPgBackend.h"
#include "NUVPgConnector.h"
#include "NUVPgRouter.h"
#include "NUVPgSample.h"
#include "NUVPostgresHostPlugin.h"

namespace {

// A backend over a new connection made by the connector; null, with the
// reason and its kind, when it cannot connect.
std::shared_ptr<NUVPgBackend> Connected(const NUVPgConnector& connector,
                                        const NUVPostgresOpenOptions& options, std::string& message,
                                        NUVHostFailureKind& kind) {
  PGconn* connection = connector.Connect(message, kind);
  return connection ? std::make_shared<NUVPgBackend>(connection, options) : nullptr;
}

}  // namespace

std::unique_ptr<NUVPostgresHost> NUVPostgresHost::Open(const std::string& conninfo, std::string& message,
                                                       const NUVPostgresOpenOptions& options,
                                                       NUVHostFailureKind* kind) {
  NUVHostFailureKind failed = NUVHostFailureKind::StatementFailed;
  NUVPgConnector connector(options);
  if (!connector.Read(conninfo, message)) {
    if (kind) *kind = failed;
    return nullptr;
  }
  const bool route = !options.readOnly && (options.readsOnStandby || connector.PrefersStandby());
  if (route) connector.Require("read-write");
  std::shared_ptr<NUVPgBackend> writer = Connected(connector, options, message, failed);
  std::shared_ptr<NUVHostBackend> backend = writer;
  if (writer && route) {
    // The reads' connection: read-only, to a standby while one is up.
    NUVPostgresOpenOptions reading = options;
    reading.readOnly = true;
    NUVPgConnector readers(reading);
    readers.Read(conninfo, message);
    readers.Require("prefer-standby");
    std::shared_ptr<NUVPgBackend> reader = Connected(readers, reading, message, failed);
    backend = reader ? std::make_shared<NUVPgRouter>(writer, reader, options.standbyWaitMs) : nullptr;
  }
  if (!backend) {
    if (kind) *kind = failed;
    return nullptr;
  }
  auto* session = new NUVHostSession(backend);
  if (!session) {
    message = "no memory for a session";
    return nullptr;
  }
  return std::unique_ptr<NUVPostgresHost>(new NUVPostgresHost(session, writer));
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

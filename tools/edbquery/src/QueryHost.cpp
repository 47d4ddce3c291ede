#include "QueryHost.h"

#include <algorithm>
#include <cstdlib>

#include "Failure.h"
#include "NUVPostgresHost.h"
#include "NUVSqliteHost.h"

namespace {

constexpr int kDefaultConnectTimeoutMs = 10000;

// The same calls on either host.
class HostAdapter : public QueryHost {
 public:
  explicit HostAdapter(std::unique_ptr<NUVHost> host) : host_(std::move(host)) {}
  void Install() override { host_->Install(); }
  long RunInBatches(const NUVUnicodeString& statement, size_t batchRows, const Consumer& consumer,
                    const NUVListPtrNUVBaseUnknown* headers, const std::function<long()>& end) override {
    return host_->RunInBatches(statement, batchRows, consumer, headers, end, &sorts_);
  }
  const std::vector<NUVHostValueSort>& BatchSorts() const override { return sorts_; }
  long ChangedRows() const override { return host_->ChangedRows(); }
  bool LastWrote() const override { return host_->LastWrote(); }
  NUVHostFailureKind LastFailureKind() const override { return host_->LastFailure().kind; }
  bool PlainText() const override { return host_->TextMode() == NUVHostTextMode::Plain; }
  std::string KeyAttribute(const std::string& classType) const override {
    return host_->KeyAttribute(classType);
  }
  NUVIEdbSysQuery2* Query() const override { return host_->Query(); }

 private:
  std::unique_ptr<NUVHost> host_;
  std::vector<NUVHostValueSort> sorts_;  // the current batch's
};

// How long connecting to a server may take: --timeout's time when given
// (0 the least libpq waits), else PGCONNECT_TIMEOUT's, else 10 s; a
// connect_timeout in the connection string wins over either.
int ConnectTimeoutMs(const Options& options) {
  if (options.timeoutGiven) return std::max(options.timeoutMs, 1);
  const char* environment = std::getenv("PGCONNECT_TIMEOUT");
  return environment && *environment ? 0 : kDefaultConnectTimeoutMs;
}

std::unique_ptr<QueryHost> OpenServer(const Options& options) {
  NUVPostgresOpenOptions open;
  if (options.textMode == TextMode::Encoded) open.textMode = NUVHostTextMode::Encoded;
  open.readOnly = options.readOnly;
  // 0 fails at once on a held lock, as SQLite's busy timeout of 0 does; the
  // server's 0 would wait for ever.
  open.lockTimeoutMs = std::max(options.timeoutMs, 1);
  open.connectTimeoutMs = ConnectTimeoutMs(options);
  std::string message;
  auto host = NUVPostgresHost::Open(options.databasePath, message, open);
  // The connection string may hold a password: the message never names it.
  if (!host) throw Failure(kDatabaseError, "server: " + message);
  return std::make_unique<HostAdapter>(std::move(host));
}

std::unique_ptr<QueryHost> OpenFile(const Options& options) {
  const std::string& path = options.databasePath;
  NUVSqliteOpenOptions open;
  if (options.textMode == TextMode::Plain) open.textMode = NUVSqliteTextMode::Plain;
  if (options.textMode == TextMode::Encoded) open.textMode = NUVSqliteTextMode::Encoded;
  open.readOnly = options.readOnly;
  open.busyTimeoutMs = options.timeoutMs;
  std::string message;
  std::unique_ptr<NUVSqliteHost> host =
      path.empty() ? NUVSqliteHost::OpenSample(message) : NUVSqliteHost::OpenFile(path, message, open);
  if (!host) throw Failure(kDatabaseError, WithPath(path, message));
  return std::make_unique<HostAdapter>(std::move(host));
}

}  // namespace

bool NamesServer(const std::string& target) { return NUVPostgresHost::IsConnectionString(target); }

std::unique_ptr<QueryHost> OpenQueryHost(const Options& options) {
  return NamesServer(options.databasePath) ? OpenServer(options) : OpenFile(options);
}

void WriteSample(const Options& options) {
  const std::string& target = options.initPath;
  std::string message;
  if (NamesServer(target)) {
    NUVPostgresOpenOptions open;
    open.connectTimeoutMs = ConnectTimeoutMs(options);
    if (!NUVPostgresHost::WriteSample(target, message, open))
      throw Failure(kDatabaseError, "server: " + message);
    return;
  }
  if (!NUVSqliteHost::WriteSample(target, message)) throw Failure(kDatabaseError, WithPath(target, message));
}

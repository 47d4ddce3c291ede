#pragma once
#include <deque>
#include <memory>
#include <string>

#include "NUVBaseUnknown.h"
#include "NUVIEdbDatabaseContext.h"
#include "NUVIEdbErrorReporter.h"
#include "NUVIEdbMetadataToolProvider.h"
#include "NUVRef.h"
#include "NUVSession.h"
#include "NUVSqliteDatabase.h"

class NUVEdsMetadataTool;
class NUVIEdbDatabaseHandle;
class NUVIEdbSysQuery2;

// The host's session: answers the metadata tool provider, the database
// context and the error reporter, and holds one reference on each of the
// host's components.
class NUVSqliteSession : public NUVBaseUnknown,
                         public NUVSession,
                         public NUVIEdbMetadataToolProvider,
                         public NUVIEdbDatabaseContext,
                         public NUVIEdbErrorReporter {
 public:
  explicit NUVSqliteSession(std::shared_ptr<NUVSqliteDatabase> database);
  ~NUVSqliteSession() override;
  NUVSqliteSession(const NUVSqliteSession&) = delete;
  NUVSqliteSession& operator=(const NUVSqliteSession&) = delete;

  long QueryInterface(const GUID& iid, void** out) override;
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }

  long ProvideMetadataTool(NUVEdsMetadataTool** tool) override;
  // The one database is "main"; it cannot be changed.
  long GetCurrentDatabase(NUVUnicodeString& database) override;
  long SetCurrentDatabase(const NUVUnicodeString& database) override;
  long GetDatabaseHandle(const NUVUnicodeString& database, const GUID& iid, void** out) override;
  long ClearReports() override;
  long GetReportCount(unsigned int* count) override;
  // Writes one line to stderr and keeps the last reports.
  long ReportError(NUVError* error, const NUVUnicodeString& first, const NUVUnicodeString& second) override;

  NUVSqliteDatabase& Database() const { return *database_; }
  // The query interface, without a reference for the caller.
  NUVIEdbSysQuery2* Query() const { return query_.get(); }
  const std::deque<std::string>& Reports() const { return reports_; }

  // The name of the one database.
  static constexpr const char* kDatabaseName = "main";

 private:
  std::shared_ptr<NUVSqliteDatabase> database_;
  NUVRef<NUVEdsMetadataTool> metadataTool_;
  NUVRef<NUVIEdbDatabaseHandle> handle_;
  NUVRef<NUVIEdbSysQuery2> query_;
  std::deque<std::string> reports_;
};

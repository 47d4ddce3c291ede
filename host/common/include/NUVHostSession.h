#pragma once
#include <deque>
#include <memory>
#include <string>

#include "NUVBaseUnknown.h"
#include "NUVHostBackend.h"
#include "NUVIEdbDatabaseContext.h"
#include "NUVIEdbErrorReporter.h"
#include "NUVIEdbMetadataToolProvider.h"
#include "NUVRef.h"
#include "NUVSession.h"

class NUVEdsMetadataTool;
class NUVIEdbDatabaseHandle;
class NUVIEdbSysQuery2;

// A host's session over its backend: answers the metadata tool provider,
// the database context (one database, the backend's) and the error
// reporter, and holds one reference on each of the host's components.
class NUVHostSession : public NUVBaseUnknown,
                       public NUVSession,
                       public NUVIEdbMetadataToolProvider,
                       public NUVIEdbDatabaseContext,
                       public NUVIEdbErrorReporter {
 public:
  // A session over the backend, which it shares; its object, handle,
  // query interface and metadata tool are made here.
  explicit NUVHostSession(std::shared_ptr<NUVHostBackend> backend);
  ~NUVHostSession() override;
  NUVHostSession(const NUVHostSession&) = delete;
  NUVHostSession& operator=(const NUVHostSession&) = delete;

  // The metadata-tool provider, database context or error reporter
  // interface, with a new reference; any other as the base object answers.
  long QueryInterface(const GUID& iid, void** out) override;
  // @{
  // The base object's reference count.
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }
  // @}

  // The metadata tool, with a reference for the caller.
  long ProvideMetadataTool(NUVEdsMetadataTool** tool) override;
  // The backend's one database; it cannot be changed.
  long GetCurrentDatabase(NUVUnicodeString& database) override;
  // Succeeds only for the backend's own database's name.
  long SetCurrentDatabase(const NUVUnicodeString& database) override;
  // The handle of the backend's database as the interface iid, with a
  // reference; fails for another database's name.
  long GetDatabaseHandle(const NUVUnicodeString& database, const GUID& iid, void** out) override;
  // Forgets the reports kept so far.
  long ClearReports() override;
  // Writes the number of reports kept.
  long GetReportCount(unsigned int* count) override;
  // Writes one line to stderr and keeps the last reports.
  long ReportError(NUVError* error, const NUVUnicodeString& first, const NUVUnicodeString& second) override;

  // The backend the session runs on.
  NUVHostBackend& Backend() const { return *backend_; }
  // The query interface; the session keeps the reference.
  NUVIEdbSysQuery2* Query() const { return query_.get(); }
  // The reports kept, oldest first.
  const std::deque<std::string>& Reports() const { return reports_; }

  // @{
  // Makes the session the process's session; Uninstall removes it when it
  // is still the installed one.
  void Install();
  void Uninstall();
  // @}

 private:
  std::shared_ptr<NUVHostBackend> backend_;
  NUVRef<NUVEdsMetadataTool> metadataTool_;
  NUVRef<NUVIEdbDatabaseHandle> handle_;
  NUVRef<NUVIEdbSysQuery2> query_;
  std::deque<std::string> reports_;
};

// The key attribute of a class type: the key column of its table, written
// in upper case when the class type found the table by folding and the
// column is a folded (lower-case) name, so that it matches the attribute
// names the caller writes. Empty when there is none.
std::string NUVHostKeyAttribute(const NUVHostBackend& backend, const std::string& classType);

#pragma once
#include <string>
#include <vector>

#include "NUVBaseUnknown.h"
#include "NUVEdsMetadataTool.h"
#include "NUVIEdbDatabaseContext.h"
#include "NUVIEdbDatabaseHandle.h"
#include "NUVIEdbErrorReporter.h"
#include "NUVIEdbMetadataToolProvider.h"
#include "NUVSession.h"

// An in-memory host for the unit tests: a session that answers the
// metadata tool provider, the database context and the error reporter, and
// a database handle. Switches make each part missing, failing, or raising
// a platform error. Install() makes it the process's session.
class TestHost : public NUVBaseUnknown,
                 public NUVSession,
                 public NUVIEdbMetadataToolProvider,
                 public NUVIEdbDatabaseContext,
                 public NUVIEdbErrorReporter {
 public:
  struct Report {
    unsigned int errorId;
    std::string first;
    std::string second;
  };

  TestHost();
  ~TestHost() override;
  void Install();
  static void Uninstall();

  long QueryInterface(const GUID& iid, void** out) override;
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }

  long ProvideMetadataTool(NUVEdsMetadataTool** tool) override;
  long GetCurrentDatabase(NUVUnicodeString& database) override;
  long SetCurrentDatabase(const NUVUnicodeString& database) override;
  long GetDatabaseHandle(const NUVUnicodeString& database, const GUID& iid, void** out) override;
  long ClearReports() override;
  long GetReportCount(unsigned int* count) override;
  long ReportError(NUVError* error, const NUVUnicodeString& first, const NUVUnicodeString& second) override;

  // What the session offers.
  bool offerProvider = true;
  bool offerContext = true;
  bool offerReporter = true;
  bool raiseInProvider = false;  // ProvideMetadataTool raises a platform error
  std::string currentDatabase = "main";
  std::vector<Report> reports;
  NUVEdsMetadataTool* metadataTool;        // holds one reference
  NUVIEdbDatabaseHandle* databaseHandle;   // holds one reference
};

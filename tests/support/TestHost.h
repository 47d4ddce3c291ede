#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "HostScript.h"
#include "NUVBaseUnknown.h"
#include "NUVEdsMetadataTool.h"
#include "NUVIEdbDatabaseContext.h"
#include "NUVIEdbDatabaseHandle.h"
#include "NUVIEdbErrorReporter.h"
#include "NUVIEdbMetadataToolProvider.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVRef.h"
#include "NUVSession.h"

// An in-memory host for the unit tests: a session that answers the
// metadata tool provider, the database context and the error reporter; a
// database handle that makes host objects; a query interface that knows
// the objects of a small schema; a metadata tool. Each component answers
// through its script, which counts its calls and can make the n-th one
// fail, answer null or raise. Install() makes it the process's session.
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

  // A class type of the schema: its key attribute and the keys of the
  // objects that exist.
  struct TestClass {
    std::string keyAttribute;
    std::set<std::string> keys;
  };

  TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  void Install() { NUVSetPtrSession(this); }
  static void Uninstall() { NUVSetPtrSession(nullptr); }

  // Counts a call of the component and of the host; raises when a script
  // says so, else tells the component how to answer.
  HostScript::Answer Enter(HostScript& script);

  long QueryInterface(const GUID& iid, void** out) override;
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }

  long ProvideMetadataTool(NUVEdsMetadataTool** tool) override;
  long GetCurrentDatabase(NUVUnicodeString& database) override;
  long SetCurrentDatabase(const NUVUnicodeString& database) override {
    currentDatabase = database.CastToCharPtr();
    return NUV_S_OK;
  }
  long GetDatabaseHandle(const NUVUnicodeString& database, const GUID& iid, void** out) override;
  long ClearReports() override {
    reports.clear();
    return NUV_S_OK;
  }
  long GetReportCount(unsigned int* count) override {
    *count = static_cast<unsigned int>(reports.size());
    return NUV_S_OK;
  }
  long ReportError(NUVError* error, const NUVUnicodeString& first, const NUVUnicodeString& second) override;

  // The schema: PART (key attribute ID; K1, K2, K3) and DOC (DOCNO; D1).
  std::map<std::string, TestClass> schema;

  // What the session offers.
  bool offerProvider = true;
  bool offerContext = true;
  bool offerReporter = true;
  std::string currentDatabase = "main";
  // The code CreateVolatileObject returns with an object it made.
  long createCode = NUV_S_OK;
  std::vector<Report> reports;
  // The keys CreateVolatileObject was asked for, in order.
  std::vector<std::string> askedKeys;

  // One script per component; `wide` spans all of them.
  HostScript session, provider, context, handle, query, objects, metadata, reporter;
  HostWideScript wide;

  NUVRef<NUVEdsMetadataTool> metadataTool;
  NUVRef<NUVIEdbDatabaseHandle> databaseHandle;
  NUVRef<NUVIEdbSysQuery2> queryInterface;
};

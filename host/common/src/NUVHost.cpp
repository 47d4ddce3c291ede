#include "NUVHost.h"

#include "NUVHostRunner.h"
#include "NUVHostSession.h"

NUVHost::NUVHost(NUVHostSession* session) : session_(NUVAdopt(session)) {}

NUVHost::~NUVHost() { Uninstall(); }

void NUVHost::Install() { session_->Install(); }

void NUVHost::Uninstall() { session_->Uninstall(); }

long NUVHost::Run(const NUVUnicodeString& statement, NUVEdbResultTable& table,
                  const NUVListPtrNUVBaseUnknown* headers) {
  const long code = NUVHostRunner(session_->Backend()).Run(statement, table, headers);
  lastFailure_ = NUVHostFailureOf(code);
  return code;
}

long NUVHost::RunInBatches(const NUVUnicodeString& statement, size_t batchRows,
                           const NUVHostBatchConsumer& consumer, const NUVListPtrNUVBaseUnknown* headers,
                           const NUVHostAnswerEnd& end, std::vector<NUVHostValueSort>* sorts) {
  const long code =
      NUVHostRunner(session_->Backend()).RunInBatches(statement, batchRows, consumer, headers, end, sorts);
  lastFailure_ = NUVHostFailureOf(code);
  return code;
}

NUVHostTextMode NUVHost::TextMode() const { return session_->Backend().TextMode(); }

long NUVHost::ChangedRows() const { return session_->Backend().LastChanges(); }

bool NUVHost::LastWrote() const { return session_->Backend().LastWrote(); }

NUVIEdbSysQuery2* NUVHost::Query() const { return session_->Query(); }

std::string NUVHost::DatabaseName() const { return session_->Backend().DatabaseName(); }

const NUVHostDialect& NUVHost::Dialect() const { return session_->Backend().Dialect(); }

std::string NUVHost::KeyAttribute(const std::string& classType) const {
  return NUVHostKeyAttribute(session_->Backend(), classType);
}

std::vector<std::string> NUVHost::Reports() const {
  return {session_->Reports().begin(), session_->Reports().end()};
}

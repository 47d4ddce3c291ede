#pragma once
#include <memory>
#include <string>

#include "NUVHostBackend.h"
#include "NUVPgBackend.h"

// The backend of a host that reads on a standby, over two connections:
// writing statements, their transactions, the schema and key lookups go
// to the primary; reading statements to a standby (the primary when none
// is up, or when the standby refuses the read as a write). A read after a
// write of the host sees that write: it waits, for at most the standby
// wait, until the standby has replayed the primary's position after the
// write, and else runs on the primary.
class NUVPgRouter final : public NUVHostBackend {
 public:
  // writer: the connection to the primary; reader: the one to a standby.
  NUVPgRouter(std::shared_ptr<NUVPgBackend> writer, std::shared_ptr<NUVPgBackend> reader, int standbyWaitMs);

  std::string DatabaseName() const override { return writer_->DatabaseName(); }
  const NUVHostDialect& Dialect() const override { return writer_->Dialect(); }
  NUVHostTextMode TextMode() const override { return writer_->TextMode(); }
  bool ReadOnly() const override { return writer_->ReadOnly(); }
  std::string Table(const std::string& classType) const override { return writer_->Table(classType); }
  std::string KeyColumn(const std::string& table) const override { return writer_->KeyColumn(table); }
  long FindKey(const std::string& table, const std::string& column, const std::string& key,
               bool& exists) override {
    return writer_->FindKey(table, column, key, exists);
  }
  long Open(NUVHostWrittenText& statement, bool streaming, std::unique_ptr<NUVHostCursor>& cursor) override;
  long Begin() override { return writer_->Begin(); }
  // Commits on the primary; the reads after wait for its position.
  long Commit() override;
  long Rollback() override { return writer_->Rollback(); }
  void SchemaChanged() override { writer_->SchemaChanged(); }

 private:
  // True when the reader has replayed the position of the host's last
  // write, waiting for at most the standby wait.
  bool ReaderCaughtUp();
  // Asks the primary for its position after the last commit.
  void NoteWritePosition();
  // Asks the reader once; caughtUp is true when it replayed the position
  // or is a primary itself. False when it could not be asked.
  bool AskReader(bool& caughtUp);

  std::shared_ptr<NUVPgBackend> writer_;
  std::shared_ptr<NUVPgBackend> reader_;
  int standbyWaitMs_;
  std::string writePosition_;  // the primary's WAL position after the last write; empty for none
  bool writePending_ = false;  // a commit since writePosition_ was asked for
  long checkedOn_ = -1;        // the reader connection (by its generation) known to have replayed it
};

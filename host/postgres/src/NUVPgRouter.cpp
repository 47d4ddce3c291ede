#include "NUVPgRouter.h"

#include <libpq-fe.h>

#include <chrono>
#include <thread>
#include <utility>

#include "IUnknown.h"
#include "NUVHostDialect.h"
#include "NUVHostFailure.h"
#include "NUVHostWrittenText.h"

namespace {

// A position no server reaches: reads go to the primary until the next
// write tells its real one.
constexpr const char* kUnknownPosition = "FFFFFFFF/FFFFFFFF";
// The pause between two questions to a standby that has not caught up.
constexpr std::chrono::milliseconds kReplayPause(5);

}  // namespace

NUVPgRouter::NUVPgRouter(std::shared_ptr<NUVPgBackend> writer, std::shared_ptr<NUVPgBackend> reader,
                         int standbyWaitMs)
    : writer_(std::move(writer)), reader_(std::move(reader)), standbyWaitMs_(standbyWaitMs) {}

long NUVPgRouter::Open(NUVHostWrittenText& statement, bool streaming,
                       std::unique_ptr<NUVHostCursor>& cursor) {
  const bool writes = Dialect().Writes(statement.Text());
  SetLastWrote(writes);
  if (writes || !ReaderCaughtUp()) return writer_->Open(statement, streaming, cursor);
  const long code = reader_->Open(statement, streaming, cursor);
  // A read that the standby refuses as a write (it locks rows, or calls a
  // function that writes) ran nothing there: the primary runs it.
  if (code < 0 && NUVHostFailureOf(code).kind == NUVHostFailureKind::ReadOnly)
    return writer_->Open(statement, streaming, cursor);
  return code;
}

long NUVPgRouter::Commit() {
  // Even a commit in doubt may have applied: the reads after wait for it.
  // The primary's position is asked for by the next read, so that writes
  // in a row pay no round trip for it.
  writePending_ = true;
  checkedOn_ = -1;
  return writer_->Commit();
}

void NUVPgRouter::NoteWritePosition() {
  writePending_ = false;
  // The primary's position now is at or past the commit's: waiting for it
  // may wait for others' writes too, never too little.
  NUVPgResult position(PQexec(writer_->Connection(), "SELECT pg_current_wal_lsn()"));
  const bool known = PQresultStatus(position.get) == PGRES_TUPLES_OK && PQntuples(position.get) == 1;
  writePosition_ = known ? PQgetvalue(position.get, 0, 0) : kUnknownPosition;
}

bool NUVPgRouter::ReaderCaughtUp() {
  if (writePending_) NoteWritePosition();
  if (writePosition_.empty() || checkedOn_ == reader_->Generation()) return true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(standbyWaitMs_);
  for (;;) {
    bool caughtUp = false;
    if (!AskReader(caughtUp)) return false;
    if (caughtUp) {
      checkedOn_ = reader_->Generation();
      return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kReplayPause);
  }
}

bool NUVPgRouter::AskReader(bool& caughtUp) {
  std::string message;
  if (!reader_->Reachable(message)) return false;
  const char* values[] = {writePosition_.c_str()};
  NUVPgResult replayed(PQexecParams(
      reader_->Connection(), "SELECT NOT pg_is_in_recovery() OR pg_last_wal_replay_lsn() >= $1::pg_lsn", 1,
      nullptr, values, nullptr, nullptr, 0));
  if (PQresultStatus(replayed.get) != PGRES_TUPLES_OK || PQntuples(replayed.get) != 1) return false;
  caughtUp = std::string_view(PQgetvalue(replayed.get, 0, 0)) == "t";
  return true;
}

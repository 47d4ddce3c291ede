#pragma once
#include <string>

// What kind of failure ended a host call, so that a program acts on the
// kind (retries, reconnects, asks a person) rather than on message text.
// Each kind is a recorded platform error of its own in the catalog
// "NUVHost", its id the kind's number and its message id the name below.
enum class NUVHostFailureKind {
  None = 0,                   // no failure
  StatementFailed = 1,        // "HostRefused": the statement was refused or failed; nothing of it applied
  Unreachable = 2,            // "HostUnreachable": no connection, or it was lost with nothing applied
  Retryable = 3,              // "HostRetryable": a serialization failure or deadlock; nothing applied, run again
  Timeout = 4,                // "HostTimeout": a statement or lock timeout, or a cancel; nothing applied
  ReadOnly = 5,               // "HostReadOnly": a write where the database or session only reads
  CommitUnknown = 6,          // "HostCommitUnknown": the commit was sent and its answer lost
  AuthenticationRefused = 7,  // "HostAuthenticationRefused": the server refused the credentials
};

// One failure of a host: its kind, the SQLSTATE where the database gave
// one, and the message for people.
struct NUVHostFailure {
  NUVHostFailureKind kind = NUVHostFailureKind::None;  // what kind of failure
  std::string sqlstate;                                // the database's five characters, or empty
  std::string message;                                 // one line for people, never a password

  // True when there is a failure.
  bool Failed() const { return kind != NUVHostFailureKind::None; }
};

// The message id of a kind ("HostRefused" for StatementFailed); empty for
// None.
const char* NUVHostFailureName(NUVHostFailureKind kind);
// Records the failure as a platform error of its kind, carrying its
// message and SQLSTATE, and answers its failure code. A failure of kind
// None is recorded as StatementFailed.
long NUVHostFailed(const NUVHostFailure& failure);
// Records a platform error with the message, of the kind StatementFailed,
// and answers its failure code.
long NUVHostRefused(const std::string& message);
// The failure recorded for a code a host call answered, on this thread;
// kind None when the code is no host failure's (a success, or a code
// whose record is gone: each thread keeps its last eight).
NUVHostFailure NUVHostFailureOf(long code);

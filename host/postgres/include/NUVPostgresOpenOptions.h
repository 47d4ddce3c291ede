#pragma once
#include "NUVHostBackend.h"

// How a connection to a PostgreSQL server is used.
struct NUVPostgresOpenOptions {
  // Server databases hold texts as they are: plain unless said otherwise.
  NUVHostTextMode textMode = NUVHostTextMode::Plain;
  // The most a statement may run, in milliseconds; 0 for no limit.
  int statementTimeoutMs = 0;
  // The most a statement waits for a lock another session holds, in
  // milliseconds; 0 for no limit.
  int lockTimeoutMs = 0;
  // The most connecting may take, in milliseconds (libpq counts whole
  // seconds, at least 2, each address of the server apart), unless the
  // connection string sets connect_timeout; 0 for libpq's own choice
  // (PGCONNECT_TIMEOUT, else no limit).
  int connectTimeoutMs = 0;
  // The most reconnecting may take in all, in milliseconds, once the
  // connection is lost: the servers of the connection string are tried
  // again and again (each for the connect timeout, 5 s when that is 0)
  // until one answers, so that a standby promoted meanwhile is found; 0
  // for one round through them.
  int failoverTimeoutMs = 30000;
  // Every transaction is read-only: writing statements are refused.
  bool readOnly = false;
  // Reading statements go to a standby and writing ones to the primary,
  // over two connections (a connection string that asks for a standby
  // first, target_session_attrs=prefer-standby, asks for this too). Not
  // for a read-only host, which takes the one server the string names.
  bool readsOnStandby = false;
  // With reads on a standby, the most a read after a write waits for the
  // standby to replay that write, in milliseconds, before it reads on the
  // primary instead.
  int standbyWaitMs = 1000;
};

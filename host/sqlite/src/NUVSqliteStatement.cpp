#include "NUVSqliteStatement.h"

#include <sqlite3.h>

NUVSqliteStatement::~NUVSqliteStatement() { sqlite3_finalize(statement_); }

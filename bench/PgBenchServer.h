#pragma once
#include <string>

namespace bench {

// The connection string of a server holding the table BENCH(ID, N, X, S)
// with 100 000 rows of plain texts, written once per process: the server
// NUV_PG_CONNINFO names, or a throwaway one started on first use and
// stopped at exit.
const std::string& PgConninfo();

}  // namespace bench

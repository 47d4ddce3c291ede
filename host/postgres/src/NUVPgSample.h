#pragma once

// The SQL that creates and fills the sample engineering database on a
// server, with plain texts.
const char* NUVPgSampleSql();

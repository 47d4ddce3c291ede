#pragma once

// The SQL that creates and fills the sample engineering database.
const char* NUVSkeletonSampleSql();

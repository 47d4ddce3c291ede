#pragma once
#include "NUVHostBackend.h"

// Takes one batch of an answer: a result table the host filled and
// destroys after the call. A failure code ends the run with that code.
using NUVSqliteBatchConsumer = NUVHostBatchConsumer;

#pragma once
#include <memory>

#include "NUVHost.h"
#include "Options.h"

// Opens the database of --db through the host registry: the host that
// claims the target, or the built-in sample when there is none. Throws
// Failure: a usage error when this build has no host for the target, a
// database error when the host cannot open it.
std::unique_ptr<NUVHost> OpenHost(const Options& options);
// Writes the sample to the target of --init (a new file, or a server that
// has none of its tables) through the host that claims it. Throws Failure
// as OpenHost does, with nothing changed.
void WriteSample(const Options& options);

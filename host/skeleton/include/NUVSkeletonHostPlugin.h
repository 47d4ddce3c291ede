#pragma once
#include <string_view>

#include "NUVHostRegistry.h"

// The host as the registry knows it whether or not the build holds it: its
// name and the targets it claims (here a skeleton:// URI). It must not
// include the database client's headers.
inline NUVHostPlugin NUVSkeletonHostDescription() {
  NUVHostPlugin plugin;
  plugin.name = "Skeleton";
  plugin.claim = [](std::string_view target) {
    return target.rfind("skeleton://", 0) == 0 ? NUVHostClaim::Exactly : NUVHostClaim::None;
  };
  return plugin;
}

// Registers the host with its open and sample calls.
void NUVSkeletonHostRegister();

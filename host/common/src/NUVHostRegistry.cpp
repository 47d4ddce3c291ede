#include "NUVHostRegistry.h"

#include <algorithm>
#include <mutex>

namespace {

std::mutex& Guard() {
  static std::mutex guard;
  return guard;
}

std::vector<NUVHostPlugin>& Plugins() {
  static std::vector<NUVHostPlugin> plugins;
  return plugins;
}

// The first host that answers the predicate; guarded by the caller.
template <class Predicate>
std::optional<NUVHostPlugin> First(Predicate predicate) {
  const auto& plugins = Plugins();
  const auto found = std::find_if(plugins.begin(), plugins.end(), predicate);
  if (found == plugins.end()) return std::nullopt;
  return *found;
}

}  // namespace

void NUVHostRegistry::Register(const NUVHostPlugin& plugin) {
  const std::lock_guard<std::mutex> lock(Guard());
  auto& plugins = Plugins();
  const auto same = std::find_if(plugins.begin(), plugins.end(),
                                 [&](const NUVHostPlugin& known) { return known.name == plugin.name; });
  if (same == plugins.end()) {
    plugins.push_back(plugin);
    return;
  }
  if (plugin.Built() || !same->Built()) *same = plugin;
}

std::optional<NUVHostPlugin> NUVHostRegistry::ForTarget(std::string_view target) {
  const std::lock_guard<std::mutex> lock(Guard());
  const auto claims = [&](NUVHostClaim claim) {
    return [=](const NUVHostPlugin& plugin) { return plugin.claim && plugin.claim(target) == claim; };
  };
  if (auto exact = First(claims(NUVHostClaim::Exactly))) return exact;
  return First(claims(NUVHostClaim::AsFilePath));
}

std::optional<NUVHostPlugin> NUVHostRegistry::WithSample() {
  const std::lock_guard<std::mutex> lock(Guard());
  return First([](const NUVHostPlugin& plugin) { return plugin.openSample != nullptr; });
}

std::optional<NUVHostPlugin> NUVHostRegistry::Named(std::string_view name) {
  const std::lock_guard<std::mutex> lock(Guard());
  return First([&](const NUVHostPlugin& plugin) { return plugin.name == name; });
}

std::vector<NUVHostPlugin> NUVHostRegistry::All() {
  const std::lock_guard<std::mutex> lock(Guard());
  return Plugins();
}

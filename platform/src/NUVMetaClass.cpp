#include "NUVMetaClass.h"

#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace {

// A stable identifier made from the class name (FNV-1a over two seeds).
GUID ClassIdFromName(const char* name) {
  auto hash = [name](uint64_t h) {
    for (const char* p = name; *p; ++p) h = (h ^ static_cast<unsigned char>(*p)) * 1099511628211ULL;
    return h;
  };
  const uint64_t high = hash(14695981039346656037ULL);
  const uint64_t low = hash(0x9E3779B97F4A7C15ULL);
  GUID id{static_cast<uint32_t>(high >> 32), static_cast<uint16_t>(high >> 16),
          static_cast<uint16_t>(high), {}};
  for (int i = 0; i < 8; ++i) id.Data4[i] = static_cast<uint8_t>(low >> (56 - 8 * i));
  return id;
}

struct Registry {
  std::mutex lock;
  std::map<std::string, std::unique_ptr<NUVMetaClass>, std::less<>> byName;
};

// Never destroyed, so that meta-objects outlive every static object.
Registry& TheRegistry() {
  static Registry* const registry = new Registry;
  return *registry;
}

std::atomic<long> requests{0};

}  // namespace

NUVMetaClass::NUVMetaClass(const char* name, ENUMTypeOfClass kind, NUVMetaClass* base,
                           const char* fixedName, const char* framework, size_t instanceSize)
    : name_(name),
      kind_(kind),
      base_(base),
      fixedName_(fixedName),
      framework_(framework),
      instanceSize_(instanceSize),
      classId_(ClassIdFromName(name)) {}

int NUVMetaClass::IsAKindOf(const char* name) const {
  if (!name) return 0;
  for (const NUVMetaClass* m = this; m; m = m->base_) {
    if (std::strcmp(m->name_, name) == 0) return 1;
  }
  return 0;
}

int NUVMetaClass::IsAKindOf(const NUVMetaClass* other) const {
  if (!other) return 0;
  for (const NUVMetaClass* m = this; m; m = m->base_) {
    if (m == other) return 1;
  }
  return 0;
}

NUVMetaClass* fct_RetrieveMetaObject(const char* name, ENUMTypeOfClass kind, NUVMetaClass* base,
                                     const char* fixedName, const char* framework, size_t instanceSize) {
  requests.fetch_add(1, std::memory_order_relaxed);
  if (!name || !*name) return nullptr;
  Registry& registry = TheRegistry();
  std::lock_guard guard(registry.lock);
  auto found = registry.byName.find(name);
  if (found != registry.byName.end()) return found->second.get();
  auto meta = std::make_unique<NUVMetaClass>(name, kind, base, fixedName ? fixedName : "",
                                             framework ? framework : "", instanceSize);
  NUVMetaClass* result = meta.get();
  registry.byName.emplace(name, std::move(meta));
  return result;
}

long NUVMetaObjectRequestCount() { return requests.load(std::memory_order_relaxed); }

#include "NUVSession.h"

#include <atomic>

#include "NUVError.h"

namespace {
std::atomic<NUVSession*> installed{nullptr};  // holds one reference when not null
}  // namespace

long GetPtrSession(NUVSession*& session) {
  session = installed.load(std::memory_order_acquire);
  return session ? 0 : NUVError::kFailureCode;
}

void NUVSetPtrSession(NUVSession* session) {
  if (session) session->AddRef();
  if (NUVSession* previous = installed.exchange(session, std::memory_order_acq_rel)) previous->Release();
}

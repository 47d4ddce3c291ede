#include "NUVPostgresPool.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace {

// The pause before opening again when no server answered.
constexpr std::chrono::milliseconds kOpenPause(200);

}  // namespace

NUVPostgresPool::Lease& NUVPostgresPool::Lease::operator=(Lease&& other) noexcept {
  if (this != &other) {
    Return();
    pool_ = std::exchange(other.pool_, nullptr);
    host_ = std::move(other.host_);
  }
  return *this;
}

void NUVPostgresPool::Lease::Return() {
  if (pool_ && host_) pool_->GiveBack(std::move(host_));
  pool_ = nullptr;
}

void NUVPostgresPool::Lease::Discard() {
  if (!host_) return;
  host_.reset();
  pool_->GiveBack(nullptr);
  pool_ = nullptr;
}

NUVPostgresPool::NUVPostgresPool(std::string conninfo, const NUVPostgresOpenOptions& options, size_t size)
    : conninfo_(std::move(conninfo)), options_(options), size_(size == 0 ? 1 : size) {}

NUVPostgresPool::~NUVPostgresPool() = default;

NUVPostgresPool::Lease NUVPostgresPool::Borrow(std::chrono::milliseconds wait, std::string& message,
                                               NUVHostFailureKind* kind) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    std::unique_ptr<NUVPostgresHost> host;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (!returned_.wait_until(lock, deadline, [&] { return !idle_.empty() || open_ < size_; })) {
        message = "no host of the pool came free within " + std::to_string(wait.count()) + " ms";
        if (kind) *kind = NUVHostFailureKind::Timeout;
        return {};
      }
      if (!idle_.empty()) {
        host = std::move(idle_.back());
        idle_.pop_back();
      } else {
        ++open_;  // the place is taken while the host opens
      }
    }
    if (host) {
      // Checked outside the lock: a round trip to the server.
      std::string reason;
      if (host->Usable(reason)) return Lease(this, std::move(host));
      host.reset();
      std::lock_guard<std::mutex> lock(mutex_);
      --open_;
      ++dropped_;
      continue;
    }
    NUVHostFailureKind failed = NUVHostFailureKind::Unreachable;
    std::string reason;  // the caller's message stays as it is on success
    host = NUVPostgresHost::Open(conninfo_, reason, options_, &failed);
    if (host) return Lease(this, std::move(host));
    GiveBack(nullptr);
    // No server answers now (a primary lost and no standby promoted yet):
    // it may within the wait.
    const auto left = deadline - std::chrono::steady_clock::now();
    if (failed != NUVHostFailureKind::Unreachable || left <= std::chrono::steady_clock::duration::zero()) {
      message = reason;
      if (kind) *kind = failed;
      return {};
    }
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kOpenPause, left));
  }
}

void NUVPostgresPool::GiveBack(std::unique_ptr<NUVPostgresHost> host) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (host)
      idle_.push_back(std::move(host));
    else
      --open_;
  }
  returned_.notify_one();
}

size_t NUVPostgresPool::Open() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_;
}

size_t NUVPostgresPool::Dropped() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return dropped_;
}

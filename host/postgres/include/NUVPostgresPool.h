#pragma once
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "NUVHostFailure.h"
#include "NUVPostgresHost.h"
#include "NUVPostgresOpenOptions.h"

// Hosts over one server (or one list of servers, a primary and its
// standbys) for a program with many threads: it lends each host to one
// thread at a time and opens at most its size of them. A host comes back
// when its lease ends and is checked when it is lent again: one whose
// connection is lost, or that a failover left on a standby while the pool
// writes, is dropped and another opened in its place. All of it may be
// used from any thread; the pool must outlive its leases.
class NUVPostgresPool {
 public:
  // One host lent to one thread; it goes back to the pool when the lease
  // ends (is destroyed or assigned over).
  class Lease {
   public:
    // A lease of nothing.
    Lease() = default;
    // Gives the host back.
    ~Lease() { Return(); }
    // Takes the other's host; the other holds nothing after.
    Lease(Lease&& other) noexcept = default;
    // Gives back the host held, then takes the other's.
    Lease& operator=(Lease&& other) noexcept;
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;

    // True when the lease holds a host.
    explicit operator bool() const { return host_ != nullptr; }
    // @{
    // The host lent; only for a lease that holds one.
    NUVPostgresHost& operator*() const { return *host_; }
    NUVPostgresHost* operator->() const { return host_.get(); }
    // @}
    // Closes the host instead of giving it back, for a caller that no
    // longer trusts its session; the pool may then open another.
    void Discard();

   private:
    friend class NUVPostgresPool;
    Lease(NUVPostgresPool* pool, std::unique_ptr<NUVPostgresHost> host)
        : pool_(pool), host_(std::move(host)) {}
    void Return();

    NUVPostgresPool* pool_ = nullptr;
    std::unique_ptr<NUVPostgresHost> host_;
  };

  // Opens nothing yet: hosts are opened with the connection string and
  // options as threads ask for them, at most size of them (at least one).
  NUVPostgresPool(std::string conninfo, const NUVPostgresOpenOptions& options, size_t size);
  ~NUVPostgresPool();
  NUVPostgresPool(const NUVPostgresPool&) = delete;
  NUVPostgresPool& operator=(const NUVPostgresPool&) = delete;

  // Lends a host that is usable now: an idle one that passes its check, or
  // a new one while fewer than size are open; waits up to wait for a
  // lease to end when all are lent, and for a server to answer when none
  // does (a standby not yet promoted). An empty lease, with the reason in
  // message and the failure's kind in kind, when none came in time
  // (timeout, or unreachable when no server answered) or a new host could
  // not be opened for another reason (its own kind).
  Lease Borrow(std::chrono::milliseconds wait, std::string& message, NUVHostFailureKind* kind = nullptr);

  // The hosts open now, lent or idle.
  size_t Open() const;
  // The hosts dropped so far because their check failed.
  size_t Dropped() const;

 private:
  // Takes a host back from a lease, or only its place when host is null.
  void GiveBack(std::unique_ptr<NUVPostgresHost> host);

  const std::string conninfo_;
  const NUVPostgresOpenOptions options_;
  const size_t size_;
  mutable std::mutex mutex_;
  std::condition_variable returned_;                    // a host or a place came back
  std::vector<std::unique_ptr<NUVPostgresHost>> idle_;  // hosts open and not lent
  size_t open_ = 0;                                     // hosts lent, idle or being opened
  size_t dropped_ = 0;
};

#pragma once
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

// The value of a keyword in a keyword=value connection string; empty when
// it has none.
inline std::string Keyword(const std::string& conninfo, const std::string& keyword) {
  const size_t at = (" " + conninfo).find(" " + keyword + "=");
  if (at == std::string::npos) return {};
  const size_t from = at + keyword.size() + 1;
  return conninfo.substr(from, conninfo.find(' ', from) - from);
}

inline int UnixSocket(const std::string& path, bool listen) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  const auto* raw = reinterpret_cast<const sockaddr*>(&address);
  const bool done = listen ? bind(fd, raw, sizeof address) == 0 && ::listen(fd, 8) == 0
                           : connect(fd, raw, sizeof address) == 0;
  if (done) return fd;
  close(fd);
  return -1;
}

// Relays connections to the server's socket. Once a client's COMMIT has
// been answered by the server, it drops that answer and closes the
// client's connection; with refuseAfterCut it then takes no connection
// again, as a server that went away.
class CuttingRelay {
 public:
  CuttingRelay(const std::string& serverDirectory, const std::string& port, bool refuseAfterCut)
      : server_(serverDirectory + "/.s.PGSQL." + port), refuseAfterCut_(refuseAfterCut) {
    std::string pattern = (std::filesystem::temp_directory_path() / "nuvrelay-XXXXXX").string();
    directory_ = mkdtemp(pattern.data());
    socket_ = directory_ + "/.s.PGSQL." + port;
    listener_ = UnixSocket(socket_, true);
    thread_ = std::thread([this] { Accept(); });
  }
  ~CuttingRelay() {
    stop_ = true;
    thread_.join();
    for (std::thread& pump : pumps_) pump.join();
    if (listener_ >= 0) close(listener_);
    std::filesystem::remove_all(directory_);
  }
  const std::string& Directory() const { return directory_; }
  bool Cut() const { return cut_; }

 private:
  void Accept() {
    while (!stop_) {
      pollfd ready{listener_, POLLIN, 0};
      if (poll(&ready, 1, 50) <= 0) continue;
      const int client = accept(listener_, nullptr, nullptr);
      if (client < 0) continue;
      const int server = UnixSocket(server_, false);
      pumps_.emplace_back([this, client, server] { Pump(client, server); });
    }
  }

  void Pump(int client, int server) {
    static const char kCommit[] =
        "Q\0\0\0\x0b"
        "COMMIT";  // a simple query message holding COMMIT
    bool committing = false;
    char buffer[65536];
    while (!stop_) {
      pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
      if (poll(ends, 2, 50) <= 0) continue;
      if (ends[0].revents) {
        const ssize_t got = read(client, buffer, sizeof buffer);
        if (got <= 0) break;
        if (memmem(buffer, static_cast<size_t>(got), kCommit, sizeof kCommit - 1)) committing = true;
        if (write(server, buffer, static_cast<size_t>(got)) != got) break;
      }
      if (ends[1].revents) {
        const ssize_t got = read(server, buffer, sizeof buffer);
        if (got <= 0) break;
        if (committing) {  // the server has committed: its answer never arrives
          // Gone as a stopped server is, before the client notices: no
          // socket for a reconnect to reach.
          if (refuseAfterCut_) std::filesystem::remove(socket_);
          cut_ = true;
          break;
        }
        if (write(client, buffer, static_cast<size_t>(got)) != got) break;
      }
    }
    close(client);
    close(server);
  }

  std::string server_;
  bool refuseAfterCut_;
  std::string directory_;
  std::string socket_;  // the listener's socket file in directory_
  int listener_ = -1;
  std::atomic<bool> stop_{false};
  std::atomic<bool> cut_{false};
  std::thread thread_;
  std::vector<std::thread> pumps_;
};

// The connection string with the server's socket directory replaced by
// the relay's.
inline std::string ViaRelay(const std::string& conninfo, const CuttingRelay& relay) {
  std::string via = conninfo;
  via.replace(via.find("host=") + 5, Keyword(conninfo, "host").size(), relay.Directory());
  return via;
}

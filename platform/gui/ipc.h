#pragma once
// Datagram sockets between the programs of the device, one per program in
// <root>/.device/run/ (mode 0700), named after the process id.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui/datagram.h"
#include "platform/gui/log_limiter.h"

namespace platform::gui {

std::filesystem::path runFolder();
std::filesystem::path socketPathFor(int processId);

class Endpoint {
  public:
    // Binds a socket at the given path (replacing a stale file there).
    explicit Endpoint(std::filesystem::path path);
    ~Endpoint();
    Endpoint(const Endpoint&) = delete;
    Endpoint& operator=(const Endpoint&) = delete;

    // This program's own endpoint at socketPathFor(getpid()), bound on first use.
    static Endpoint& own();
    static bool ownIsOpen();
    static void closeOwn();

    int fd() const { return fd_; }
    const std::filesystem::path& path() const { return path_; }

    bool sendTo(const std::filesystem::path& target, const Datagram& d) const;
    bool sendToProcess(int processId, const Datagram& d) const;
    // Reads one waiting datagram without blocking. Malformed or oversized datagrams, and
    // window messages whose parameters are addresses, are skipped and logged (a few lines
    // per interval, then a count); nothing when none waits.
    std::optional<Datagram> receive();
    // Waits until a datagram can be read, up to timeoutMs; true if one can.
    bool waitReadable(int timeoutMs) const;

  private:
    void drop(const std::string& why);

    std::filesystem::path path_;
    int fd_ = -1;
    std::vector<std::uint8_t> buffer_;
    LogLimiter dropLog_{10, std::chrono::seconds(10)};
};

}  // namespace platform::gui

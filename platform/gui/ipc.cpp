#include "platform/gui/ipc.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "platform/api/device.h"
#include "platform/api/program.h"
#include "platform/gui/message_params.h"

namespace platform::gui {
namespace {

std::unique_ptr<Endpoint>& ownEndpoint() {
    static std::unique_ptr<Endpoint> e;
    return e;
}
std::mutex& ownMutex() {
    static std::mutex m;
    return m;
}

bool fillAddress(const std::filesystem::path& p, sockaddr_un& addr) {
    std::string s = p.string();
    if (s.size() >= sizeof(addr.sun_path))
        return false;
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, s.c_str(), s.size() + 1);
    return true;
}

}  // namespace

std::filesystem::path runFolder() {
    std::filesystem::path folder = deviceRoot() / ".device" / "run";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    ::chmod(folder.c_str(), 0700);
    return folder;
}

std::filesystem::path socketPathFor(int processId) {
    return runFolder() / (std::to_string(processId) + ".sock");
}

Endpoint::Endpoint(std::filesystem::path path) : path_(std::move(path)) {
    sockaddr_un addr;
    if (!fillAddress(path_, addr)) {
        throw std::runtime_error("device socket path too long: " + path_.string());
    }
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0)
        throw std::runtime_error("cannot create device socket");
    ::unlink(path_.c_str());
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        int err = errno;
        ::close(fd_);
        fd_ = -1;
        throw std::runtime_error("cannot bind device socket " + path_.string() + ": " +
                                 std::strerror(err));
    }
    // Room for bursts of input and posted messages.
    int size = 1 << 20;
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
}

Endpoint::~Endpoint() {
    if (fd_ >= 0)
        ::close(fd_);
    ::unlink(path_.c_str());
}

Endpoint& Endpoint::own() {
    std::lock_guard lock(ownMutex());
    auto& e = ownEndpoint();
    if (!e)
        e = std::make_unique<Endpoint>(socketPathFor(static_cast<int>(::getpid())));
    return *e;
}

bool Endpoint::ownIsOpen() {
    std::lock_guard lock(ownMutex());
    return ownEndpoint() != nullptr;
}

void Endpoint::closeOwn() {
    std::lock_guard lock(ownMutex());
    ownEndpoint().reset();
}

bool Endpoint::sendTo(const std::filesystem::path& target, const Datagram& d) const {
    sockaddr_un addr;
    if (!fillAddress(target, addr))
        return false;
    std::vector<std::uint8_t> bytes = encodeDatagram(d);
    if (bytes.size() > kMaxDatagramSize)
        return false;
    // A full receiver is given a moment to catch up before the datagram is given up.
    for (int attempt = 0; attempt < 200; ++attempt) {
        ssize_t n = ::sendto(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL,
                             reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        if (n == static_cast<ssize_t>(bytes.size()))
            return true;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == ENOBUFS)) {
            ::usleep(5000);
            continue;
        }
        return false;
    }
    return false;
}

bool Endpoint::sendToProcess(int processId, const Datagram& d) const {
    return sendTo(socketPathFor(processId), d);
}

void Endpoint::drop(const std::string& why) {
    if (dropLog_.admit(LogLimiter::Clock::now()))
        logLine(why);
}

std::optional<Datagram> Endpoint::receive() {
    if (auto summary =
            dropLog_.endIntervalIfOver(LogLimiter::Clock::now(), "message datagrams dropped")) {
        logLine(*summary);
    }
    buffer_.resize(kMaxDatagramSize + 1);
    for (;;) {
        ssize_t n = ::recv(fd_, buffer_.data(), buffer_.size(), MSG_DONTWAIT | MSG_TRUNC);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (static_cast<std::size_t>(n) > kMaxDatagramSize) {
            drop("dropped an oversized message datagram of " + std::to_string(n) + " bytes");
            continue;
        }
        auto d = decodeDatagram({buffer_.data(), static_cast<std::size_t>(n)});
        if (!d) {
            drop("dropped a malformed message datagram of " + std::to_string(n) + " bytes");
            continue;
        }
        if (!mayCrossProcesses(*d)) {
            drop("refused message " + std::to_string(d->message) +
                 " from another program: its parameters are addresses");
            // The sender waits for an answer; it gets the one of a window that did nothing.
            if (d->kind == DatagramKind::Send) {
                Datagram reply;
                reply.kind = DatagramKind::SendReply;
                reply.sequence = d->sequence;
                sendToProcess(d->senderPid, reply);
            }
            continue;
        }
        // Answers go only to the sockets of the device's own programs and control clients.
        if (d->kind == DatagramKind::Control && !d->replyPath.empty() &&
            !resolvesInside(d->replyPath, runFolder())) {
            drop("refused a control request that answers outside the device: " +
                 d->replyPath.substr(0, 200));
            continue;
        }
        return d;
    }
}

bool Endpoint::waitReadable(int timeoutMs) const {
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) > 0 && (p.revents & POLLIN);
}

}  // namespace platform::gui

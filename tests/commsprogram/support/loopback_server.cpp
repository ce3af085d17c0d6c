#include "tests/commsprogram/support/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace commsprogram::test {
namespace {

std::string reason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 401:
            return "Unauthorized";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        case 503:
            return "Service Unavailable";
        default:
            return "Status";
    }
}

void sendAll(int connection, std::string_view data) {
    while (!data.empty()) {
        ssize_t sent = ::send(connection, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent <= 0)
            return;
        data.remove_prefix(static_cast<std::size_t>(sent));
    }
}

}  // namespace

LoopbackServer::LoopbackServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0)
        throw std::runtime_error("loopback server cannot listen");
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

LoopbackServer::~LoopbackServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

void LoopbackServer::route(const std::string& prefix, Route answer) {
    std::lock_guard lock(mutex_);
    routes_[prefix] = std::move(answer);
}

std::vector<Asked> LoopbackServer::asked() const {
    std::lock_guard lock(mutex_);
    return asked_;
}

void LoopbackServer::forget() {
    std::lock_guard lock(mutex_);
    asked_.clear();
}

void LoopbackServer::serve() {
    while (!stop_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0)
            continue;
        int connection = ::accept(listener_, nullptr, nullptr);
        if (connection < 0)
            continue;
        answer(connection);
        ::close(connection);
    }
}

void LoopbackServer::answer(int connection) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        pollfd readable{connection, POLLIN, 0};
        if (::poll(&readable, 1, 2000) <= 0)
            return;
        ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0)
            return;
        request.append(buffer, static_cast<std::size_t>(got));
    }
    std::size_t start = request.find(' ') + 1;
    std::string target = request.substr(start, request.find(' ', start) - start);
    Route found{404, "no route", "text/plain"};
    {
        std::lock_guard lock(mutex_);
        asked_.push_back({target, request.substr(0, request.find("\r\n\r\n"))});
        std::size_t best = 0;
        for (const auto& [prefix, route] : routes_) {
            if (target.compare(0, prefix.size(), prefix) == 0 && prefix.size() >= best) {
                best = prefix.size();
                found = route;
            }
        }
    }
    // A late answer waits in small steps, so that a closed client or the end of the test
    // frees the server at once.
    auto until = std::chrono::steady_clock::now() + found.delay;
    while (std::chrono::steady_clock::now() < until && !stop_) {
        pollfd closed{connection, POLLIN, 0};
        if (::poll(&closed, 1, 20) > 0) {
            if (::recv(connection, buffer, sizeof buffer, MSG_DONTWAIT) == 0)
                return;
        }
    }
    std::string body = found.body;
    std::size_t announced = body.size();
    if (found.truncate) {
        announced = body.size();
        body.resize(body.size() / 2);
    }
    std::string head = "HTTP/1.1 " + std::to_string(found.status) + " " + reason(found.status) +
                       "\r\nContent-Type: " + found.contentType +
                       "\r\nContent-Length: " + std::to_string(announced) +
                       "\r\nConnection: close\r\n\r\n";
    sendAll(connection, head);
    sendAll(connection, body);
}

}  // namespace commsprogram::test

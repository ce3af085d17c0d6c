#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the comms tests: answers each request by the
// route whose text the request's path and query start with (the longest such route), one
// connection at a time, and records what it was asked. A route may answer late, cut its
// answer short or answer with any status.

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace commsprogram::test {

struct Route {
    int status = 200;
    std::string body;
    std::string contentType = "application/json";
    std::chrono::milliseconds delay{0};  // before the answer (the headers) goes out
    bool truncate = false;               // announces more bytes than it sends, then closes
};

struct Asked {
    std::string target;  // path and query
    std::string headers;
};

class LoopbackServer {
  public:
    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_; }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }

    void route(const std::string& prefix, Route answer);
    std::vector<Asked> asked() const;
    void forget();

  private:
    void serve();
    void answer(int connection);

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::map<std::string, Route> routes_;
    std::vector<Asked> asked_;
    std::thread thread_;
};

}  // namespace commsprogram::test

// The HTTP client against a server on 127.0.0.1: each way a download goes wrong gives its own
// code, the size cap and the time-out hold, a cancel stops a transfer, and only HTTPS (or the
// loopback address) is ever asked. The recorded answers stand in for the network the same way.

#include <gtest/gtest.h>

#include <thread>

#include "commsprogram/http_fetcher.h"
#include "commsprogram/replay_fetcher.h"
#include "tests/commsprogram/support/comms_test_support.h"
#include "tests/commsprogram/support/loopback_server.h"
#include "tests/platform/support/test_device.h"

using namespace commsprogram;
using namespace commsprogram::test;
using namespace std::chrono_literals;

namespace {

FetchRequest at(std::string url) {
    FetchRequest request;
    request.url = std::move(url);
    return request;
}

HttpOptions quick() {
    HttpOptions options;
    options.timeout = 1500ms;
    options.connectTimeout = 1000ms;
    return options;
}

}  // namespace

TEST(HttpClient, AnswersAndEachFailure) {
    LoopbackServer server;
    server.route("/ok", {200, "{\"a\":1}"});
    server.route("/broken", {500, "oops"});
    server.route("/slow", {200, "late", "text/plain", 4000ms});
    server.route("/cut", {200, std::string(4000, 'x'), "text/plain", 0ms, true});
    server.route("/big", {200, std::string(5000, 'y')});
    std::atomic<bool> cancel{false};
    HttpFetcher fetcher(cancel, quick());

    Fetched ok = fetcher.get({server.base() + "/ok?x=1", {"X-Test: 7"}});
    EXPECT_FALSE(ok.failure) << ok.failure.detail;
    EXPECT_EQ(ok.body, "{\"a\":1}");
    ASSERT_FALSE(server.asked().empty());
    EXPECT_EQ(server.asked().back().target, "/ok?x=1");
    EXPECT_NE(server.asked().back().headers.find("X-Test: 7"), std::string::npos);
    EXPECT_NE(server.asked().back().headers.find("User-Agent: VornRoamerComms/"),
              std::string::npos);

    EXPECT_EQ(fetcher.get(at(server.base() + "/broken")).failure.code, errorCode::ServerFailed);
    EXPECT_EQ(fetcher.get(at(server.base() + "/nothing-here")).failure.code,
              errorCode::ServerFailed);
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(fetcher.get(at(server.base() + "/slow")).failure.code, errorCode::ServerFailed);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 3500ms);
    EXPECT_EQ(fetcher.get(at(server.base() + "/cut")).failure.code, errorCode::Incomplete);
    FetchRequest capped{server.base() + "/big", {}, 1000};
    Fetched big = fetcher.get(capped);
    EXPECT_EQ(big.failure.code, errorCode::Incomplete);
    EXPECT_TRUE(big.body.empty());
}

TEST(HttpClient, NoServerIsNoNetwork) {
    int port = 0;
    {
        LoopbackServer gone;
        port = gone.port();
    }
    std::atomic<bool> cancel{false};
    HttpFetcher fetcher(cancel, quick());
    Fetched fetched = fetcher.get(at("http://127.0.0.1:" + std::to_string(port) + "/x"));
    EXPECT_EQ(fetched.failure.code, errorCode::NoNetwork) << fetched.failure.detail;
}

TEST(HttpClient, CancelStopsATransfer) {
    LoopbackServer server;
    server.route("/slow", {200, "late", "text/plain", 10000ms});
    std::atomic<bool> cancel{false};
    HttpOptions options;
    options.timeout = 20000ms;
    HttpFetcher fetcher(cancel, options);
    std::thread closer([&] {
        std::this_thread::sleep_for(300ms);
        cancel = true;
    });
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(fetcher.get(at(server.base() + "/slow")).failure.code, errorCode::Cancelled);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 3000ms);
    closer.join();
}

TEST(HttpClient, OnlySecureOrLoopbackAddresses) {
    EXPECT_TRUE(isAllowedUrl("https://api.open-meteo.com/v1/forecast"));
    EXPECT_TRUE(isAllowedUrl("http://127.0.0.1:8080/x"));
    EXPECT_TRUE(isAllowedUrl("http://localhost/x"));
    EXPECT_FALSE(isAllowedUrl("http://api.open-meteo.com/v1/forecast"));
    EXPECT_FALSE(isAllowedUrl("http://127.0.0.1.evil.example/x"));
    EXPECT_FALSE(isAllowedUrl("file:///etc/passwd"));
    EXPECT_FALSE(isAllowedUrl("https://x.example/a b"));
    std::atomic<bool> cancel{false};
    HttpFetcher fetcher(cancel, quick());
    EXPECT_EQ(fetcher.get(at("http://example.com/")).failure.code, errorCode::ServerFailed);
}

TEST(ReplayClient, AnswersByTheLongestMatchingPart) {
    platform::test::useTestDevice();
    writeDeviceFile(L"\\rec\\replay.txt",
                    "/v1/search?~none.json\n/v1/search?name=Paris~paris.json\n"
                    "/down~down.json~503\n/lost~lost.json\n/evil~..\\..\\x\n");
    writeDeviceFile(L"\\rec\\none.json", "{}");
    writeDeviceFile(L"\\rec\\paris.json", "{\"results\":[]}");
    writeDeviceFile(L"\\rec\\down.json", "down");
    ReplayFetcher fetcher(L"\\rec\\");
    EXPECT_EQ(fetcher.entries().size(), 4u);  // the one naming a file elsewhere is dropped
    EXPECT_EQ(fetcher.get(at("https://x/v1/search?name=Paris&count=20")).body, "{\"results\":[]}");
    EXPECT_EQ(fetcher.get(at("https://x/v1/search?name=Rome")).body, "{}");
    EXPECT_EQ(fetcher.get(at("https://x/down")).failure.code, errorCode::ServerFailed);
    EXPECT_EQ(fetcher.get(at("https://x/lost")).failure.code, errorCode::NoNetwork);
    EXPECT_EQ(fetcher.get(at("https://x/other")).failure.code, errorCode::NoNetwork);
    FetchRequest small{"https://x/v1/search?name=Paris", {}, 4};
    EXPECT_EQ(fetcher.get(small).failure.code, errorCode::Incomplete);
}

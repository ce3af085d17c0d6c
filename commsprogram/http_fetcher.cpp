#include "commsprogram/http_fetcher.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace commsprogram {
namespace {

struct Transfer {
    std::string body;
    std::size_t limit = 0;
    bool overLimit = false;
    const std::atomic<bool>* cancel = nullptr;
};

std::size_t collect(char* data, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    if (transfer->body.size() + bytes > transfer->limit) {
        transfer->overLimit = true;
        return 0;  // curl ends the transfer with a write error
    }
    transfer->body.append(data, bytes);
    return bytes;
}

int progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(user);
    return transfer->cancel->load() ? 1 : 0;
}

void initialiseOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

Failure failureOf(CURLcode code, const Transfer& transfer, const char* message) {
    std::string detail = std::string(curl_easy_strerror(code)) + ": " + message;
    if (transfer.overLimit)
        return fail(errorCode::Incomplete,
                    "answer larger than " + std::to_string(transfer.limit) + " bytes");
    switch (code) {
        case CURLE_ABORTED_BY_CALLBACK:
            return fail(errorCode::Cancelled, detail);
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_CONNECT:
            return fail(errorCode::NoNetwork, detail);
        case CURLE_OPERATION_TIMEDOUT:
            // Cut off after part of the answer came is an incomplete download; with nothing
            // at all the server never answered.
            return fail(transfer.body.empty() ? errorCode::ServerFailed : errorCode::Incomplete,
                        detail);
        case CURLE_PARTIAL_FILE:
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
        case CURLE_FILESIZE_EXCEEDED:
        case CURLE_BAD_CONTENT_ENCODING:
            return fail(errorCode::Incomplete, detail);
        default:
            return fail(errorCode::ServerFailed, detail);
    }
}

bool startsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

}  // namespace

bool isAllowedUrl(std::string_view url) {
    if (url.size() > 4096 || url.find_first_of(" \r\n\t") != std::string_view::npos)
        return false;
    if (startsWith(url, "https://"))
        return true;
    for (std::string_view host :
         {"http://127.0.0.1:", "http://127.0.0.1/", "http://localhost:", "http://localhost/"}) {
        if (startsWith(url, host))
            return true;
    }
    return false;
}

HttpFetcher::HttpFetcher(const std::atomic<bool>& cancel, HttpOptions options)
    : cancel_(cancel), options_(std::move(options)) {
    initialiseOnce();
}

Fetched HttpFetcher::get(const FetchRequest& request) {
    Fetched fetched;
    if (!isAllowedUrl(request.url)) {
        fetched.failure = fail(errorCode::ServerFailed, "refused address " + request.url);
        return fetched;
    }
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) {
        fetched.failure = fail(errorCode::NoNetwork, "no HTTP client");
        return fetched;
    }
    Transfer transfer;
    transfer.limit = request.maxBytes;
    transfer.cancel = &cancel_;
    curl_slist* headers = nullptr;
    for (const std::string& header : request.headers)
        headers = curl_slist_append(headers, header.c_str());
    char message[CURL_ERROR_SIZE] = {};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(c, CURLOPT_USERAGENT, options_.userAgent.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 3L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(options_.timeout.count()));
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(options_.connectTimeout.count()));
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(request.maxBytes));
    curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, message);
    CURLcode code = curl_easy_perform(c);
    curl_slist_free_all(headers);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &fetched.status);
    if (code != CURLE_OK) {
        fetched.failure = failureOf(code, transfer, message);
        return fetched;
    }
    if (fetched.status < 200 || fetched.status >= 300) {
        fetched.failure =
            fail(errorCode::ServerFailed,
                 "HTTP status " + std::to_string(fetched.status) + " from " + request.url);
        return fetched;
    }
    fetched.body = std::move(transfer.body);
    return fetched;
}

}  // namespace commsprogram

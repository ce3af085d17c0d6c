#include "commsprogram/ecb_rates.h"

#include <expat.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>

namespace commsprogram {
namespace {

constexpr std::size_t kMaxRates = 200;
constexpr int kMaxDepth = 16;

struct Reading {
    Rates rates;
    int depth = 0;
    bool bad = false;
    std::string problem;
};

bool isCurrencyCode(std::string_view code) {
    if (code.size() != 3)
        return false;
    for (char c : code) {
        if (c < 'A' || c > 'Z')
            return false;
    }
    return true;
}

bool isIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

// The element's local name, after any namespace prefix.
std::string_view localName(const char* name) {
    std::string_view full(name);
    std::size_t colon = full.rfind(':');
    return colon == std::string_view::npos ? full : full.substr(colon + 1);
}

void onStart(void* user, const char* name, const char** attributes) {
    auto* reading = static_cast<Reading*>(user);
    if (++reading->depth > kMaxDepth) {
        reading->bad = true;
        reading->problem = "nested too deeply";
        return;
    }
    if (localName(name) != "Cube")
        return;
    const char* time = nullptr;
    const char* currency = nullptr;
    const char* rate = nullptr;
    for (int i = 0; attributes[i] && attributes[i + 1]; i += 2) {
        std::string_view key = attributes[i];
        if (key == "time")
            time = attributes[i + 1];
        else if (key == "currency")
            currency = attributes[i + 1];
        else if (key == "rate")
            rate = attributes[i + 1];
    }
    if (time) {
        if (!reading->rates.date.empty() || !isIsoDate(time)) {
            reading->bad = true;
            reading->problem = "more than one day, or a malformed day";
            return;
        }
        reading->rates.date = time;
    }
    if (currency || rate) {
        double value = 0;
        std::string_view text = rate ? rate : "";
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (!currency || !isCurrencyCode(currency) || error != std::errc() ||
            end != text.data() + text.size() || !(value > 0) || !std::isfinite(value) ||
            reading->rates.rates.size() >= kMaxRates) {
            reading->bad = true;
            reading->problem = "malformed rate";
            return;
        }
        reading->rates.rates.emplace_back(currency, value);
    }
}

void onEnd(void* user, const char*) {
    --static_cast<Reading*>(user)->depth;
}

}  // namespace

std::string ecbRatesUrl(const std::string& base) {
    return base + "/stats/eurofxref/eurofxref-daily.xml";
}

Answer<Rates> parseEcbRates(std::string_view text) {
    Answer<Rates> answer;
    std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate("UTF-8"),
                                                                        XML_ParserFree);
    if (!parser) {
        answer.failure = fail(errorCode::Unreadable, "no XML parser");
        return answer;
    }
    Reading reading;
    // A document type with entities is never part of this answer; expat keeps them from
    // expanding without bound, and a declared one is refused below.
    XML_SetUserData(parser.get(), &reading);
    XML_SetElementHandler(parser.get(), onStart, onEnd);
    XML_SetStartDoctypeDeclHandler(parser.get(),
                                   [](void* user, const char*, const char*, const char*, int) {
                                       auto* r = static_cast<Reading*>(user);
                                       r->bad = true;
                                       r->problem = "document type declared";
                                   });
    std::size_t offset = 0;
    while (offset < text.size() && !reading.bad) {
        int chunk = static_cast<int>(std::min<std::size_t>(text.size() - offset, 1 << 16));
        if (XML_Parse(parser.get(), text.data() + offset, chunk, 0) != XML_STATUS_OK) {
            answer.failure =
                fail(errorCode::Unreadable, std::string("malformed XML: ") +
                                                XML_ErrorString(XML_GetErrorCode(parser.get())));
            return answer;
        }
        offset += static_cast<std::size_t>(chunk);
    }
    if (!reading.bad && XML_Parse(parser.get(), "", 0, 1) != XML_STATUS_OK) {
        answer.failure =
            fail(errorCode::Unreadable,
                 std::string("malformed XML: ") + XML_ErrorString(XML_GetErrorCode(parser.get())));
        return answer;
    }
    if (reading.bad) {
        answer.failure = fail(errorCode::Unreadable, "rates answer: " + reading.problem);
        return answer;
    }
    if (reading.rates.date.empty() || reading.rates.rates.empty()) {
        answer.failure = fail(errorCode::Unreadable, "rates answer lacks its day or its rates");
        return answer;
    }
    reading.rates.base = "EUR";
    reading.rates.source = "European Central Bank";
    answer.value = std::move(reading.rates);
    return answer;
}

Answer<Rates> EcbRates::latest(Fetcher& fetcher) {
    Fetched fetched = fetcher.get({ecbRatesUrl(base_), {}, 256 << 10});
    if (fetched.failure)
        return {std::nullopt, fetched.failure};
    return parseEcbRates(fetched.body);
}

}  // namespace commsprogram

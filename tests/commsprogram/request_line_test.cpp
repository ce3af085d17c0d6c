// The request lines the main program starts the comms program with.

#include <gtest/gtest.h>

#include "commsprogram/request_line.h"
#include "platform/api/device.h"

using namespace commsprogram;

TEST(RequestLine, EveryRequestOfTheMainProgram) {
    auto manual = parseRequest(L"/manual 14");
    ASSERT_TRUE(manual);
    EXPECT_EQ(manual->kind, RequestKind::Weather);
    EXPECT_EQ(manual->mask, 14);
    EXPECT_TRUE(manual->city.empty());

    auto city = parseRequest(L"/manual $$cityGB2643743$$3840");
    ASSERT_TRUE(city);
    EXPECT_EQ(city->city, L"GB2643743");
    EXPECT_EQ(city->mask, 3840);

    EXPECT_EQ(parseRequest(L"/citylookup")->kind, RequestKind::CityLookup);
    EXPECT_EQ(parseRequest(L"/currency")->kind, RequestKind::Currency);
    EXPECT_EQ(parseRequest(L"/flighthistory")->kind, RequestKind::FlightHistory);
    EXPECT_EQ(parseRequest(L" /schedule ")->kind, RequestKind::Schedule);
    EXPECT_EQ(parseRequest(L"/retry")->kind, RequestKind::Retry);
}

TEST(RequestLine, TheCradleStartsItWithNoRequestOrTheSerialEvent) {
    for (const wchar_t* line : {L"", L"  ", L"AppRunAtRs232Detect", L"--replay \\r"}) {
        auto request = parseRequest(line);
        ASSERT_TRUE(request) << platform::toUtf8(line);
        EXPECT_EQ(request->kind, RequestKind::Docking);
        EXPECT_TRUE(isUnattended(request->kind));
    }
    EXPECT_FALSE(isUnattended(RequestKind::Weather));
    EXPECT_FALSE(parseRequest(L"AppRunAtRs232Detect 5"));
}

TEST(RequestLine, ReplayFolderIsTakenOut) {
    auto request = parseRequest(L"/manual 10 --replay \\replays\\london");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->mask, 10);
    EXPECT_EQ(request->replay, L"\\replays\\london");
    auto first = parseRequest(L"--replay \\r /currency");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->kind, RequestKind::Currency);
    EXPECT_EQ(first->replay, L"\\r");
}

TEST(RequestLine, MalformedLinesAreNoRequests) {
    for (const wchar_t* line :
         {L"/manual", L"/manual x", L"/manual 1234567890", L"/manual $$city..\\x$$14",
          L"/manual $$cityLON14", L"/manual $$city$$14", L"/currencyx", L"/currency 5",
          L"/citylookup now", L"/unknown", L"manual 14"}) {
        EXPECT_FALSE(parseRequest(line));
    }
}

// The character entities of unit symbols, the amount keypad's entry, and the rates' age.

#include <gtest/gtest.h>

#include <string>

#include "conversions/entities.h"
#include "conversions/keypad_entry.h"
#include "conversions/rates_age.h"

namespace conversions {
namespace {

TEST(EntitiesTest, NamedAndNumericEntitiesDecode) {
    EXPECT_EQ(decodeEntities(L"&lt;a&gt; &quot;b&quot;"), L"<a> \"b\"");
    EXPECT_EQ(decodeEntities(L"K&#269;"), L"K\u010D");
    EXPECT_EQ(decodeEntities(L"&#8364;"), L"\u20AC");
    EXPECT_EQ(decodeEntities(L"&#128;"), L"\u20AC") << "code 128 is the euro sign";
    EXPECT_EQ(decodeEntities(L"&#65;&#66;"), L"AB");
    EXPECT_EQ(decodeEntities(L"plain"), L"plain");
    EXPECT_EQ(decodeEntities(L""), L"");
}

TEST(EntitiesTest, AmpAndAposAreKnownByTheirFirstCharacters) {
    EXPECT_EQ(decodeEntities(L"R&amp;D"), L"R&D");
    EXPECT_EQ(decodeEntities(L"it&apos;s"), L"it's");
    EXPECT_EQ(decodeEntities(L"a&ampXb"), L"a&b") << "takes five characters whatever the fifth";
    EXPECT_EQ(decodeEntities(L"x&amp"), L"x&") << "at the end takes what there is";
    EXPECT_EQ(decodeEntities(L"x&apos"), L"x'");
}

TEST(EntitiesTest, WhatIsNoEntityIsCopiedUnchanged) {
    EXPECT_EQ(decodeEntities(L"A&B"), L"A&B") << "a lone & between letters";
    EXPECT_EQ(decodeEntities(L"&"), L"&");
    EXPECT_EQ(decodeEntities(L"&#8364"), L"&#8364") << "never closed by ;";
    EXPECT_EQ(decodeEntities(L"&#8364 and &#65;"), L"&#8364 and A");
    EXPECT_EQ(decodeEntities(L"&#;"), L"&#;");
    EXPECT_EQ(decodeEntities(L"&#x41;"), L"&#x41;");
    EXPECT_EQ(decodeEntities(L"&#0;"), L"&#0;") << "no NUL in a symbol";
    EXPECT_EQ(decodeEntities(L"&#55296;"), L"&#55296;") << "a lone surrogate is no character";
    EXPECT_EQ(decodeEntities(L"&#1114112;"), L"&#1114112;") << "beyond Unicode";
    EXPECT_EQ(decodeEntities(L"&#99999999999999999999;"), L"&#99999999999999999999;");
    EXPECT_EQ(decodeEntities(L"&&#65;"), L"&A");
    EXPECT_EQ(decodeEntities(L"&lt"), L"&lt");
}

std::wstring typed(std::initializer_list<KeypadKey> keys) {
    KeypadEntry entry;
    entry.open(L"12.000");
    for (KeypadKey key : keys) entry.press(key);
    return entry.entry();
}

using K = KeypadKey;

TEST(KeypadTest, DigitsPointAndZero) {
    EXPECT_EQ(typed({K::Digit4, K::Digit2, K::Point, K::Digit1, K::Digit9, K::Digit5}), L"42.195");
    EXPECT_EQ(typed({K::Digit0}), L"") << "no leading zero";
    EXPECT_EQ(typed({K::Digit1, K::Digit0}), L"10");
    EXPECT_EQ(typed({K::Point, K::Point, K::Digit5}), L".5") << "one point";
    EXPECT_EQ(typed({K::Digit1, K::Point, K::Digit2, K::Point}), L"1.2");
}

TEST(KeypadTest, SignBackspaceAndClear) {
    EXPECT_EQ(typed({K::Digit5, K::Sign}), L"-5");
    EXPECT_EQ(typed({K::Digit5, K::Sign, K::Sign}), L"5");
    EXPECT_EQ(typed({K::Sign}), L"") << "no sign on an empty entry";
    EXPECT_EQ(typed({K::Digit5, K::Sign, K::Backspace, K::Sign}), L"")
        << "\"-\" followed by +- becomes empty";
    EXPECT_EQ(typed({K::Digit1, K::Digit2, K::Backspace}), L"1");
    EXPECT_EQ(typed({K::Backspace}), L"");
    EXPECT_EQ(typed({K::Digit1, K::Digit2, K::Clear, K::Digit3}), L"3");
}

TEST(KeypadTest, PlaceholderDoneCancelAndBounds) {
    KeypadEntry entry;
    entry.open(L"26.219");
    EXPECT_EQ(entry.shown(), L"26.219");
    EXPECT_EQ(entry.press(K::Backspace), KeypadOutcome::Edited);
    EXPECT_EQ(entry.shown(), L"0") << "every key resets the placeholder";
    EXPECT_FALSE(entry.amount().has_value()) << "an empty entry converts nothing";
    entry.press(K::Digit5);
    entry.press(K::Sign);
    EXPECT_EQ(entry.press(K::Done), KeypadOutcome::Done);
    EXPECT_EQ(entry.amount(), -5.0);
    EXPECT_EQ(entry.press(K::Cancel), KeypadOutcome::Cancelled);
    entry.open(L"0");
    entry.press(K::Digit5);
    entry.press(K::Sign);
    entry.press(K::Backspace);
    EXPECT_EQ(entry.entry(), L"-");
    EXPECT_FALSE(entry.amount().has_value()) << "\"-\" is no number";
    entry.open(L"0");
    for (int i = 0; i < 40; ++i) entry.press(K::Digit9);
    EXPECT_EQ(entry.entry().size(), KeypadEntry::kMaxLength);
    EXPECT_TRUE(entry.amount().has_value());
}

TEST(KeypadTest, HardwareKeys) {
    EXPECT_EQ(keypadKeyOf('7', true), K::Digit7);
    EXPECT_EQ(keypadKeyOf('7', false), std::nullopt) << "the key-down already typed it";
    EXPECT_EQ(keypadKeyOf(0x08, true), K::Backspace);
    EXPECT_EQ(keypadKeyOf(0x0D, true), K::Done);
    EXPECT_EQ(keypadKeyOf(0x77, true), K::Point) << "star";
    EXPECT_EQ(keypadKeyOf(46, true), K::Point);
    EXPECT_EQ(keypadKeyOf(222, true), K::Point);
    EXPECT_EQ(keypadKeyOf('*', false), K::Point);
    EXPECT_EQ(keypadKeyOf(0x78, true), K::Sign) << "hash";
    EXPECT_EQ(keypadKeyOf('#', false), K::Sign);
    EXPECT_EQ(keypadKeyOf('A', true), std::nullopt);
}

platform::FileTime dayOf(int year, int month, int day) {
    platform::SystemTime time;
    time.year = static_cast<std::uint16_t>(year);
    time.month = static_cast<std::uint16_t>(month);
    time.day = static_cast<std::uint16_t>(day);
    return *platform::toFileTime(time);
}

TEST(RatesAgeTest, TheDatedLineWinsOverTheFileTimeAndAWeekMakesThemStale) {
    UnitTable table;
    EXPECT_FALSE(ratesAge(table, dayOf(2026, 1, 1)).has_value());
    table.fileTime = dayOf(2026, 1, 1);
    auto age = ratesAge(table, dayOf(2026, 1, 8));
    ASSERT_TRUE(age);
    EXPECT_EQ(age->days, 7);
    EXPECT_FALSE(age->stale) << "a week old is not yet stale";
    EXPECT_TRUE(ratesAge(table, dayOf(2026, 1, 9))->stale);
    EXPECT_EQ(ratesAge(table, dayOf(2025, 1, 1))->days, 0) << "a file from the future";
    table.ratesSource = L"Seed";
    table.ratesDate = L"2025-12-31";
    age = ratesAge(table, dayOf(2026, 1, 2));
    EXPECT_EQ(age->days, 2);
    EXPECT_EQ(age->source, L"Seed");
    EXPECT_EQ(age->date.year, 2025);
    table.ratesDate = L"2025-02-30";
    EXPECT_EQ(ratesAge(table, dayOf(2026, 1, 2))->date.year, 2026) << "no such day: file time";
}

TEST(RatesAgeTest, IsoDates) {
    EXPECT_TRUE(parseIsoDate(L"2024-02-29"));
    EXPECT_FALSE(parseIsoDate(L"2023-02-29"));
    EXPECT_FALSE(parseIsoDate(L"2024-13-01"));
    EXPECT_FALSE(parseIsoDate(L"2024-1-01"));
    EXPECT_FALSE(parseIsoDate(L"20x4-01-01"));
    EXPECT_FALSE(parseIsoDate(L""));
}

}  // namespace
}  // namespace conversions

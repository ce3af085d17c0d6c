// Every string number the screens use exists in both language files, and a translation keeps
// exactly the printf conversions of the English text, so a format filled in by the code never
// meets a conversion it does not expect.

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/text_file.h"
#include "platform/api/device.h"
#include "tests/platform/support/test_device.h"

namespace {

// The string numbers the screens use, one per line of the generator's reference list (the
// number is the first tab-separated field).
std::set<int> usedStringNumbers() {
    std::ifstream in(std::string(VORN_SOURCE_DIR) + "/tools/data/string_refs.tsv");
    std::set<int> numbers;
    std::string line;
    while (std::getline(in, line)) {
        std::size_t tab = line.find('\t');
        std::string first = line.substr(0, tab);
        if (!first.empty() && first.find_first_not_of("0123456789") == std::string::npos) {
            numbers.insert(std::stoi(first));
        }
    }
    return numbers;
}

// The lines of a language file as the language loader reads them (line k is string k).
std::vector<std::wstring> languageLines(const std::string& file) {
    std::ifstream in(std::string(VORN_SOURCE_DIR) + "/data/lang/" + file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string l = text.substr(start, end - start);
        if (!l.empty() && l.back() == '\r')
            l.pop_back();
        lines.push_back(platform::fromUtf8(l));
        start = end + 1;
    }
    return lines;
}

// The printf conversions of a text in order ("%d", "%02d", "%s", "%.1f"; "%%" is not one).
std::vector<std::wstring> conversions(const std::wstring& text) {
    std::vector<std::wstring> out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'%')
            continue;
        std::size_t j = i + 1;
        while (j < text.size() &&
               std::wstring_view(L"-+ #0123456789.lh").find(text[j]) != std::wstring_view::npos) {
            ++j;
        }
        if (j >= text.size())
            break;
        if (text[j] == L'%') {
            i = j;
            continue;
        }
        if (std::wstring_view(L"diuxXcsSfeEgG").find(text[j]) != std::wstring_view::npos) {
            out.push_back(text.substr(i, j - i + 1));
        }
        i = j;
    }
    return out;
}

TEST(LanguageCoverage, EveryUsedStringExistsInBothLanguagesWithTheSameConversions) {
    std::set<int> used = usedStringNumbers();
    ASSERT_GT(used.size(), 400u);
    auto english = languageLines("lang.0409.mui.txt");
    auto german = languageLines("lang.0407.mui.txt");
    int englishCount = std::stoi(platform::toUtf8(english.at(0)));
    int germanCount = std::stoi(platform::toUtf8(german.at(0)));
    for (int n : used) {
        ASSERT_LE(n, englishCount) << "string " << n << " missing in English";
        ASSERT_LE(n, germanCount) << "string " << n << " missing in German";
        const std::wstring& en = english.at(static_cast<std::size_t>(n - 1));
        const std::wstring& de = german.at(static_cast<std::size_t>(n - 1));
        EXPECT_FALSE(en.empty()) << "string " << n;
        EXPECT_FALSE(de.empty()) << "string " << n;
        EXPECT_EQ(conversions(en), conversions(de)) << "string " << n;
    }
}

// The strings the screens name by their own numbers (above those listed) must keep the
// conversions too: a German text with "%s" where the English has "%d" would print its mistake.
TEST(LanguageCoverage, EveryTranslationKeepsTheConversionsOfTheEnglishText) {
    auto english = languageLines("lang.0409.mui.txt");
    auto german = languageLines("lang.0407.mui.txt");
    ASSERT_EQ(english.at(0), german.at(0)) << "both files hold the same strings";
    const std::size_t count = static_cast<std::size_t>(std::stoi(platform::toUtf8(english.at(0))));
    ASSERT_GE(english.size(), count);
    ASSERT_GE(german.size(), count);
    for (std::size_t n = 2; n <= count; ++n) {
        const std::wstring& en = english[n - 1];
        const std::wstring& de = german[n - 1];
        EXPECT_EQ(en.empty(), de.empty()) << "string " << n << " is translated or left out in both";
        EXPECT_EQ(conversions(en), conversions(de)) << "string " << n;
    }
}

}  // namespace

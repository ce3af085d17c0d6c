// Writes the table of comparison letters that platform::searchLetter looks up, as C++ source,
// from the locale library's canonical decompositions: a character whose decomposition starts
// with a letter followed only by combining marks compares as that letter in lower case, any
// other character as itself in lower case. Made at build time so that programs never spend
// their start building it.
//
// Usage: search_letters OUTPUT_FILE

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <cstdio>
#include <string>

namespace {

constexpr UChar32 kTableSize = 0x3000;

UChar32 comparisonLetter(const icu::Normalizer2& nfd, UChar32 c) {
    UChar32 letter = u_tolower(c);
    icu::UnicodeString parts;
    if (!nfd.getDecomposition(c, parts) || parts.length() == 0)
        return letter;
    UChar32 base = parts.char32At(0);
    for (int32_t i = U16_LENGTH(base); i < parts.length();) {
        UChar32 mark = parts.char32At(i);
        if (u_charType(mark) != U_NON_SPACING_MARK)
            return letter;
        i += U16_LENGTH(mark);
    }
    return u_isalpha(base) ? u_tolower(base) : letter;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: search_letters OUTPUT_FILE\n");
        return 2;
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    if (U_FAILURE(status) || !nfd) {
        std::fprintf(stderr, "search_letters: no canonical decompositions: %s\n",
                     u_errorName(status));
        return 1;
    }
    std::string text =
        "// Made by platform/locale/generate/search_letters.cpp at build time.\n"
        "constexpr char16_t kSearchLetters[] = {\n";
    char entry[16];
    for (UChar32 c = 0; c < kTableSize; ++c) {
        UChar32 letter = comparisonLetter(*nfd, c);
        // The table holds 16-bit letters; a fold leaving the basic plane could not be stored.
        if (letter < 0 || letter > 0xFFFF) {
            std::fprintf(stderr, "search_letters: U+%04X folds beyond 16 bits\n",
                         static_cast<unsigned>(c));
            return 1;
        }
        std::snprintf(entry, sizeof entry, "0x%04X,%c", static_cast<unsigned>(letter),
                      c % 12 == 11 ? '\n' : ' ');
        text += entry;
    }
    text += "\n};\n";
    std::string aside = std::string(argv[1]) + ".new";
    std::FILE* out = std::fopen(aside.c_str(), "wb");
    if (!out)
        return 1;
    bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    written = std::fclose(out) == 0 && written;
    if (!written || std::rename(aside.c_str(), argv[1]) != 0) {
        std::remove(aside.c_str());
        std::fprintf(stderr, "search_letters: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

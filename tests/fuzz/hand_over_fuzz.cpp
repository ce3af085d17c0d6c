// Feeds arbitrary bytes as the hand-over file a second start of the main program leaves for
// the running one. What is taken is one line of text, bounded, without NULs or line ends.

#include <cstdint>
#include <cstdlib>
#include <span>

// The reader is compiled in on its own: the rest of the application is not needed.
#include "app/hand_over_text.cpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto line = app::parseHandOver(std::span<const std::uint8_t>(data, size));
    if (!line)
        return 0;
    if (line->size() > app::kHandOverLineLimit)
        std::abort();
    for (wchar_t c : *line) {
        if (c == L'\0' || c == L'\r' || c == L'\n')
            std::abort();
    }
    return 0;
}

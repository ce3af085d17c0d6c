#include "alarms/screens/sound_list.h"

#include <string>

#include "core/language.h"
#include "platform/api/device.h"

namespace alarms {

namespace {

constexpr int kVibrateString = 38;
constexpr std::wstring_view kPatterns[] = {L"*.wav", L"*.mp3", L"*.wma"};
// The list shows every sound a person could have put on the device, up to this many.
constexpr int kMaxSounds = 500;

void addFolder(core::RecordTable& sounds, const std::wstring& folder) {
    for (std::wstring_view pattern : kPatterns) {
        for (const platform::DirectoryEntry& entry : platform::listFolder(folder, pattern)) {
            if (sounds.rowCount() >= kMaxSounds)
                return;
            int row = sounds.appendRow();
            sounds.setField(row, soundField::Name, entry.name);
            sounds.setField(row, soundField::Path, folder + L"\\" + entry.name);
        }
    }
}

}  // namespace

core::RecordTable buildSoundList(std::wstring_view mainPath) {
    core::RecordTable sounds(2);
    int first = sounds.appendRow();
    sounds.setField(first, soundField::Name, core::languageString(kVibrateString));
    sounds.setField(first, soundField::Path, kVibratePath);
    std::wstring install(mainPath);
    while (!install.empty() && install.back() == L'\\') install.pop_back();
    addFolder(sounds, install + L"\\sounds");
    addFolder(sounds, L"\\My Ringtones");
    addFolder(sounds, L"\\Windows");
    sounds.setCurrentRow(1);
    return sounds;
}

int soundRowOf(const core::RecordTable& sounds, std::wstring_view name) {
    for (int row = 1; row <= sounds.rowCount(); ++row) {
        if (sounds.fieldText(row, soundField::Name) == name)
            return row;
    }
    return 1;
}

}  // namespace alarms

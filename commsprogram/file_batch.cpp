#include "commsprogram/file_batch.h"

#include "platform/api/device.h"

namespace commsprogram {

std::wstring recordRow(const std::vector<std::wstring>& fields) {
    std::wstring row;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i)
            row += L'~';
        row += fields[i];
    }
    return row + L'\n';
}
namespace {

constexpr std::wstring_view kStagedSuffix = L".new";

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

void FileBatch::addTable(std::wstring devicePath, std::wstring_view text) {
    std::string bytes = "\xEF\xBB\xBF" + platform::toUtf8(text);
    files_.push_back({std::move(devicePath), std::move(bytes)});
}

void FileBatch::addBytes(std::wstring devicePath, std::string bytes) {
    files_.push_back({std::move(devicePath), std::move(bytes)});
}

void FileBatch::addRemoval(std::wstring devicePath) {
    removals_.push_back(std::move(devicePath));
}

Failure FileBatch::commit(const std::atomic<bool>& cancel) {
    std::vector<std::wstring> staged;
    auto unstage = [&] {
        for (const std::wstring& path : staged) platform::deleteFile(path);
    };
    for (const File& file : files_) {
        std::wstring path = file.path + std::wstring(kStagedSuffix);
        if (cancel.load()) {
            unstage();
            return fail(errorCode::Cancelled, "closed before the files were saved");
        }
        if (!platform::writeFileAtomic(path, bytesOf(file.bytes))) {
            unstage();
            return fail(errorCode::SaveFailed, "cannot write " + platform::toUtf8(path));
        }
        staged.push_back(std::move(path));
    }
    if (cancel.load()) {
        unstage();
        return fail(errorCode::Cancelled, "closed before the files were saved");
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
        if (!platform::moveFile(staged[i], files_[i].path)) {
            // The files renamed so far are whole and new; the rest stay old.
            for (std::size_t j = i; j < staged.size(); ++j) platform::deleteFile(staged[j]);
            return fail(errorCode::SaveFailed, "cannot rename " + platform::toUtf8(staged[i]));
        }
    }
    for (const std::wstring& path : removals_) {
        if (platform::fileExists(path))
            platform::deleteFile(path);
    }
    return {};
}

}  // namespace commsprogram

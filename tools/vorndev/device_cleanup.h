#pragma once
// What programs killed in the middle of their work leave on a device: temporary files of
// writes that were never renamed into place, and message sockets nobody listens on. The
// device removes them when it starts.

#include <filesystem>
#include <optional>
#include <string_view>

namespace vorndev {

enum class LeftoverKind { TemporaryFile, Socket, ScratchFolder };

struct Leftover {
    LeftoverKind kind;
    int processId;  // the process that made it
};

// Recognises a leftover by the shape of its name: ".<name>.tmp-PID-N" and "<name>.tmp-PID"
// (files written beside their final name, then renamed), "<name>.vorndev-PID" (the
// installer's); in the run folder also "PID.sock", "ctl-PID-N.sock" and ctl's screenshot
// folders "shot-PID-XXXXXX". Nothing for any other name.
std::optional<Leftover> leftoverOf(std::string_view name, bool inRunFolder);

struct CleanupCount {
    int files = 0;
    int sockets = 0;
};

// Removes the leftovers of processes that no longer run below the device root, never
// following a link. Walks a bounded number of entries.
CleanupCount removeLeftovers(const std::filesystem::path& root);

}  // namespace vorndev

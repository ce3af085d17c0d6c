#pragma once
// The settings the flight status screen shares with the comms program.

#include "core/settings_key.h"

namespace travel::keys {

using core::settings::TextKey;

// The flight query for the comms program: airline code "~" flight number "~" from "~" to.
constexpr TextKey FltHstRequest{L"FltHstRequest", L"", core::byteLimit::Long};
// The comms program's answer: the name of the flight file it wrote in the download folder.
constexpr TextKey FltHstResult{L"FltHstResult", L"", core::byteLimit::Long};

}  // namespace travel::keys

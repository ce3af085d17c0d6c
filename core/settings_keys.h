#pragma once
// The settings several parts of the system share (the options screen, the main program, the
// comms program, the Today plug-in). A subsystem declares its own keys beside its code
// (worldtime/settings_keys.h). Flags that readers test against 0 or 1 keep the whole range, so
// every stored value means what it meant before.

#include "core/settings_key.h"

namespace core::keys {

using settings::NumberKey;
using settings::OutOfRange;
using settings::TextKey;

// The install folder and its "downloads\\" folder, with trailing backslashes, which the main
// program publishes at every start for the other programs.
constexpr TextKey MainPath{L"MainPath", L"", byteLimit::Path};
constexpr TextKey DownloadPath{L"DownloadPath", L"", byteLimit::Path};
// The language: its code, and the code of a language file waiting to be downloaded.
constexpr TextKey OptLang{L"OptLang", L"", byteLimit::Short};
constexpr TextKey OptLangDownload{L"OptLangDownload", L"", byteLimit::Short};
// core::timeFormat: 1 the device's, 2 twelve-hour, 3 twenty-four-hour.
constexpr NumberKey OptTimeFormat{L"OptTimeFormat", 1, 1, 3, OutOfRange::UseDefault};
// Celsius and km/h when 1. Units and day labels are read where values are shown (the weather
// screens, the home screen, the Today plug-in), so they are declared here, with the options
// every program shares, and nobody keeps a copy of them.
constexpr NumberKey OptTempFormat{L"OptTempFormat", 1};
constexpr NumberKey OptWindFormat{L"OptWindFormat", 1};
// Day labels in the weather forecast when not 0.
constexpr NumberKey OptWeatherDays{L"OptWeatherDays", 0};
// The module the program opens with (1 also means the home screen, 10).
constexpr NumberKey OptStartScreen{L"OptStartScreen", 10, 1, 99, OutOfRange::UseDefault};
// The set-up wizard: the licence step reached (3: accepted) and whether it finished (not 0).
constexpr NumberKey WizardEULA{L"WizardEULA", 0, 0, 3};
constexpr NumberKey WizardDone{L"WizardDone", 0};
// A start request another program leaves for the main program ("start_worldtime", ...).
constexpr TextKey HomeStarting{L"HomeStarting", L"", byteLimit::Text};
// Set to 1 when the home screen must rebuild its layout (a favourite changed).
constexpr NumberKey OptHomeLayoutReload{L"OptHomeLayoutReload", 0};
// The comms program: not 0 while it runs; the code of its last error.
constexpr NumberKey SchedulerStatus{L"SchedulerStatus", 0};
constexpr NumberKey SchedErrorStr{L"SchedErrorStr", 0};

}  // namespace core::keys

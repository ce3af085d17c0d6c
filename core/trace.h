#pragma once
// Start-up trace labels ("starting", "initlang complete", ...). They cost nothing unless
// switched on: VORN_TRACE=1 in the environment writes them to the device log, and tests may
// install a collector to see them in order.

#include <functional>
#include <string_view>

namespace core {

using TraceCollector = std::function<void(std::string_view label)>;

// Records one label when tracing is on.
void traceLabel(std::string_view label);

// True when VORN_TRACE=1 was set at the first label or a collector is installed.
bool traceEnabled();

// Installs a collector (replacing the device log as destination) and returns the previous
// one; an empty collector goes back to the environment's choice.
TraceCollector setTraceCollector(TraceCollector collector);

}  // namespace core

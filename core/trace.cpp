#include "core/trace.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "platform/api/program.h"

namespace core {
namespace {

TraceCollector& collector() {
    static TraceCollector installed;
    return installed;
}

bool enabledByEnvironment() {
    static const bool enabled = [] {
        const char* value = std::getenv("VORN_TRACE");
        return value && std::strcmp(value, "1") == 0;
    }();
    return enabled;
}

}  // namespace

bool traceEnabled() {
    return collector() || enabledByEnvironment();
}

void traceLabel(std::string_view label) {
    if (const auto& sink = collector()) {
        sink(label);
        return;
    }
    if (enabledByEnvironment())
        platform::logLine("trace: " + std::string(label));
}

TraceCollector setTraceCollector(TraceCollector next) {
    return std::exchange(collector(), std::move(next));
}

}  // namespace core

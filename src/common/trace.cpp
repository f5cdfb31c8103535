#include "common/trace.h"

#include <cstdarg>
#include <cstdio>

namespace {
TraceSink traceSink = nullptr;
}

void SetTraceSink(TraceSink sink) { traceSink = sink; }

void Trace(const char* format, ...) {
    if (!traceSink) return;
    char message[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    traceSink(message);
}

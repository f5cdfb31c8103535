#pragma once
// The trace facility: printf-style marks at start-up, the command line, the
// single-instance check, input that ends the saver and the choice of a link.
// Messages go to a sink; by default they are discarded.

using TraceSink = void (*)(const char* message);

void Trace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Installs the sink that receives every formatted message (nullptr discards).
void SetTraceSink(TraceSink sink);

#pragma once
// For tests only: what a Rotation keeps to itself.
#include "display/rotation.h"

struct RotationProbe {
    static std::size_t CurrentChannelIndex(const Rotation& r) { return r.currentChannel_; }
    // A step waits for a fetch's result (or its time-out).
    static bool FetchInFlight(const Rotation& r) { return r.step_.waiting; }
};

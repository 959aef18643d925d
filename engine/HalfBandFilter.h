#pragma once

#include "AllPassFilterCascade.h"

#include <memory>

/** Polyphase IIR half-band filter: two all-pass branches, the second one delayed by one call. */
class HalfBandFilter
{
public:
    HalfBandFilter (int order, bool steep);

    double process (double input);

    std::unique_ptr<AllPassFilterCascade> filterA;
    std::unique_ptr<AllPassFilterCascade> filterB;
    double oldOut = 0.0;
};

#pragma once

#include "AllPassFilterCascade.h"

#include <memory>

/** Polyphase IIR half-band filter: two all-pass branches, the second one delayed by one call. */
class HalfBandFilter
{
public:
    /** There is one design only (order 8, steep); the arguments are kept for the call sites. */
    HalfBandFilter (int order, bool steep);

    double process (double input) noexcept
    {
        const double out = (filterA->process (input) + oldOut) * 0.5;
        oldOut = filterB->process (input);
        return out;
    }

    /** Clears both branches and the delayed output. */
    void reset() noexcept;

    /** False once a NaN or infinity has got into either branch or the delayed output. */
    bool hasFiniteState() const noexcept;

    std::unique_ptr<AllPassFilterCascade> filterA;
    std::unique_ptr<AllPassFilterCascade> filterB;
    double oldOut = 0.0;
};

#pragma once

// One processor per fuzzing process, and the checks every input must pass.

#include "plugin/PluginProcessor.h"
#include "tests/support/SmallStack.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace fuzz_support
{
inline SombraxAudioProcessor& processor()
{
    // Made once and never shut down: building the processor costs far more than one input,
    // and the framework's shutdown would run after its own statics are gone.
    static auto* instance = []
    {
        juce::initialiseJuce_GUI();
        auto* p = new SombraxAudioProcessor();
        p->prepareToPlay (44100.0, 32);
        return p;
    }();
    return *instance;
}

/** Runs one input on a thread with a small stack, so that recursion the guard in front of the
    XML parser should have refused crashes at once, however little of it there is. */
template <typename Body>
int runInput (Body&& body)
{
    processor(); // made on the calling thread, which stays the message thread
    test_support::runOnSmallStack (body);
    return 0;
}

/** Whatever came in, every parameter holds a finite normalised value and its own child. */
inline void checkParameters (SombraxAudioProcessor& p)
{
    for (auto* parameter : p.getParameters())
    {
        const auto value = parameter->getValue();

        if (! std::isfinite (value) || value < 0.0f || value > 1.0f)
            std::abort();
    }

    if (! p.parameters.state.isValid())
        std::abort();
}
} // namespace fuzz_support

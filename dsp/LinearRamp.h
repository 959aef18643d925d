#pragma once

#include <algorithm>

/** A parameter value that glides linearly toward its target over a fixed number of samples. */
struct LinearRamp
{
    float current = 0.0f;
    float step = 0.0f;
    int samplesLeft = 0;

    /** Starts a new glide from wherever the ramp is now. Called every block, so an
        unchanged target simply gives a step of (almost) zero. */
    void setTarget (float target, int lengthInSamples) noexcept
    {
        step = (target - current) / (float) lengthInSamples;
        samplesLeft = lengthInSamples;
    }

    /** Advances one sample and returns the value for it: the first sample already carries one step. */
    float next() noexcept
    {
        if (samplesLeft > 0)
        {
            current += step;
            --samplesLeft;
        }

        return current;
    }

    /** Writes the next numSamples values. The value is not snapped to the target at the end
        of a glide, so this must add the steps one by one exactly as next() does. */
    void fill (float* destination, int numSamples) noexcept
    {
        // Locals: the destination could alias the members, which would force a store and
        // reload of the running value on every sample.
        const int gliding = std::max (0, std::min (numSamples, samplesLeft));
        const float increment = step;
        float value = current;
        int i = 0;

        for (; i < gliding; ++i)
        {
            value += increment;
            destination[i] = value;
        }

        for (; i < numSamples; ++i)
            destination[i] = value;

        current = value;
        samplesLeft -= gliding;
    }
};

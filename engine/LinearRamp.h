#pragma once

/** A parameter value that glides linearly toward its target over a fixed number of samples. */
struct LinearRamp
{
    float current = 0.0f;
    float step = 0.0f;
    int samplesLeft = 0;
};

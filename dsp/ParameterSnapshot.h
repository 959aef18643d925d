#pragma once

/** The block's parameter values that change only at block boundaries. */
struct ParameterSnapshot
{
    float resonance = 0.0f;
    float cutoffModDepth = 0.0f;
    float lfoRate = 1.0f;
    float lfoHighRate = 60.0f;
    bool lfoHighRateMode = false;
    int lfoWave = 0;
    bool lfoSync = false;
    int lfoSyncedRateIndex = 5;
    bool filterActive = true;
    float feedback = 0.0f;
    bool distortionActive = true;
    bool filterPost = false;
};

#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace oskv
{
/** Sets one parameter from a small integer (a wave number, a mode switch) for selector
    components that are neither sliders nor buttons. */
class ParameterLink
{
public:
    ParameterLink (juce::AudioProcessorParameter* parameter, const juce::NormalisableRange<float>& range);

    /** Sets the parameter to `value`, normalised through the range and clamped to 0..1. */
    void updateIntParameter (int value);

    juce::AudioProcessorParameter* parameter = nullptr;
    juce::NormalisableRange<float> range;

    /** Asked once at construction; in Ableton Live the changes go without gestures. */
    bool isAbletonLive = false;
};
} // namespace oskv

#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace oskv
{
/** Sets a parameter as a change the plug-in makes itself, so the host records it as
    automation: inside a change gesture when `withGesture`, and the listeners notified. */
void setParameterAsUserChange (juce::AudioProcessorParameter& parameter, float normalisedValue, bool withGesture);
} // namespace oskv

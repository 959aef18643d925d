#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace oskv
{
/** Sets a parameter as a change the plug-in makes itself, so the host records it as
    automation: inside a change gesture when `withGesture`, and the listeners notified. */
void setParameterAsUserChange (juce::AudioProcessorParameter& parameter, float normalisedValue, bool withGesture);

/** Tells the host the value a parameter holds now as such a change, without setting it: for
    a value the plug-in already placed by loading a state, which another thread may since
    have changed again. */
void announceParameterValue (juce::AudioProcessorParameter& parameter, bool withGesture);
} // namespace oskv

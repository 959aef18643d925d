#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace oskv
{
/** Owns the attachments that keep the editor's sliders and switch buttons in step with
    their parameters. Its owner destroys it before the attached controls. */
class ControlToParameterMapper
{
public:
    explicit ControlToParameterMapper (juce::AudioProcessorValueTreeState& state);
    ~ControlToParameterMapper();

    void attachSliderToParameter (juce::Slider* slider, const juce::String& parameterID);
    void attachButtonToParameter (juce::Button* button, const juce::String& parameterID);

    juce::AudioProcessorValueTreeState& parameterState;
    juce::OwnedArray<juce::AudioProcessorValueTreeState::SliderAttachment> sliderAttachments;
    juce::OwnedArray<juce::AudioProcessorValueTreeState::ButtonAttachment> buttonAttachments;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ControlToParameterMapper)
};
} // namespace oskv

#include "ControlToParameterMapper.h"

namespace oskv
{
ControlToParameterMapper::ControlToParameterMapper (juce::AudioProcessorValueTreeState& state)
    : parameterState (state)
{
}

ControlToParameterMapper::~ControlToParameterMapper()
{
    // Buttons before sliders, each group first to last (OwnedArray alone would go last to first).
    while (! buttonAttachments.isEmpty())
        buttonAttachments.remove (0);

    while (! sliderAttachments.isEmpty())
        sliderAttachments.remove (0);
}

void ControlToParameterMapper::attachSliderToParameter (juce::Slider* slider, const juce::String& parameterID)
{
    // An attachment to a missing parameter would bind nothing and assert inside the framework.
    if (slider == nullptr || parameterState.getParameter (parameterID) == nullptr)
        return;

    sliderAttachments.add (new juce::AudioProcessorValueTreeState::SliderAttachment (parameterState, parameterID, *slider));
    slider->setComponentID (parameterID);
}

void ControlToParameterMapper::attachButtonToParameter (juce::Button* button, const juce::String& parameterID)
{
    if (button == nullptr || parameterState.getParameter (parameterID) == nullptr)
        return;

    buttonAttachments.add (new juce::AudioProcessorValueTreeState::ButtonAttachment (parameterState, parameterID, *button));
    button->setComponentID (parameterID);
}
} // namespace oskv

#include "VXTransparentLook.h"

namespace oskv
{
void VXTransparentLook::drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour&, bool, bool)
{
}

void VXTransparentLook::drawButtonText (juce::Graphics&, juce::TextButton&, bool, bool)
{
}

void VXTransparentLook::drawLinearSliderBackground (juce::Graphics&, int, int, int, int, float, float, float,
                                                    juce::Slider::SliderStyle, juce::Slider&)
{
}

void VXTransparentLook::drawRotarySlider (juce::Graphics&, int, int, int, int, float, float, float, juce::Slider&)
{
}
} // namespace oskv

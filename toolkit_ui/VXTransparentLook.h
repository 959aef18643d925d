#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace oskv
{
/** For invisible controls laid over artwork that their owner draws: text buttons, rotary
    sliders and linear slider tracks paint nothing but still take the mouse. */
class VXTransparentLook : public juce::LookAndFeel_V2
{
public:
    VXTransparentLook() = default;
    ~VXTransparentLook() override = default;

    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool isMouseOverButton, bool isButtonDown) override;
    void drawButtonText (juce::Graphics& g, juce::TextButton& button,
                         bool isMouseOverButton, bool isButtonDown) override;
    void drawLinearSliderBackground (juce::Graphics& g, int x, int y, int width, int height,
                                     float sliderPos, float minSliderPos, float maxSliderPos,
                                     juce::Slider::SliderStyle style, juce::Slider& slider) override;
    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                           float sliderPos, float rotaryStartAngle, float rotaryEndAngle,
                           juce::Slider& slider) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VXTransparentLook)
};
} // namespace oskv

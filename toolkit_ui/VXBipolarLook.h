#pragma once

#include "toolkit_ui/VXLook.h"

namespace oskv
{
/** The main look for controls whose neutral setting is mid-range: the knob's arc and the
    horizontal slider's bar grow from the centre towards the value. */
class VXBipolarLook : public VXLook
{
public:
    VXBipolarLook();
    ~VXBipolarLook() override;

    void drawLinearSliderBackground (juce::Graphics& g, int x, int y, int width, int height,
                                     float sliderPos, float minSliderPos, float maxSliderPos,
                                     juce::Slider::SliderStyle style, juce::Slider& slider) override;
    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                           float sliderPos, float rotaryStartAngle, float rotaryEndAngle,
                           juce::Slider& slider) override;

    /** Where the knob's arc starts: the top of the dial, the middle of the default
        rotary travel of 1.2 pi to 2.8 pi. */
    float centreAngle = 0.0f;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VXBipolarLook)
};
} // namespace oskv

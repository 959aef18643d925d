#include "VXBipolarLook.h"

namespace oskv
{
VXBipolarLook::VXBipolarLook()
{
    centreAngle = juce::MathConstants<float>::twoPi;
}

VXBipolarLook::~VXBipolarLook() = default;

void VXBipolarLook::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                                      float sliderPos, float rotaryStartAngle, float rotaryEndAngle,
                                      juce::Slider& slider)
{
    const auto knob = getKnobGeometry (x, y, width, height, sliderPos, rotaryStartAngle, rotaryEndAngle, slider);

    if (! (knob.radius > 0.0f))
        return;

    drawKnobBody (g, knob);

    if (getValueProportion (slider) < 0.5f)
        fillKnobArc (g, knob, knob.angle, centreAngle);
    else
        fillKnobArc (g, knob, centreAngle, knob.angle);

    drawKnobCapAndPointer (g, knob);
}

void VXBipolarLook::drawLinearSliderBackground (juce::Graphics& g, int x, int y, int width, int height,
                                                float, float, float,
                                                juce::Slider::SliderStyle style, juce::Slider& slider)
{
    if (style != juce::Slider::LinearHorizontal)
        return;

    const auto p = getValueProportion (slider);
    const auto thumbColour = slider.findColour (juce::Slider::thumbColourId);
    const int innerHeight = juce::jmax (height - 4, 0);
    const int half = width / 2;

    fillTrack (g, x, y, width, height, slider);

    g.setColour (thumbColour);
    g.fillRect (x + (width - 2) / 2, y + 2, 2, innerHeight);

    // The bar keeps a 2-pixel gap to the centre mark on its inner end.
    if (p < 0.5f)
    {
        const int length = (int) ((float) half * (1.0f - 2.0f * p));
        g.fillRect (x + half + 2 - length, y + 2, juce::jmax (length - 4, 0), innerHeight);
    }
    else
    {
        const int length = (int) ((float) half * 2.0f * (p - 0.5f));
        g.fillRect (x + half + 2, y + 2, juce::jmax (length - 4, 0), innerHeight);
    }

    drawHorizontalTrackGlossAndOutline (g, x, y, width, height);
}
} // namespace oskv

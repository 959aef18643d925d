#include "support/ToolkitTestSupport.h"

#include "toolkit_ui/VXLook.h"

#include <SombraxBinaryData.h>

#include <gtest/gtest.h>

using toolkit_test::drawKnob;
using toolkit_test::pixelAtAngle;
using toolkit_test::render;
using toolkit_test::sameColour;

namespace
{
constexpr float pi = juce::MathConstants<float>::pi;
constexpr float startAngle = toolkit_test::knobStartAngle;
constexpr float endAngle = toolkit_test::knobEndAngle;

using BareKnobLook = toolkit_test::BareKnobLook<oskv::VXLook>;
} // namespace

TEST (ToolkitVXLookKnob, WedgeIsAlphaCCEnabledAnd66DisabledWhateverTheFillAlpha)
{
    BareKnobLook look;
    juce::Slider slider;
    slider.setColour (juce::Slider::rotarySliderFillColourId, juce::Colour (0x40ff0000));

    // 200 x 200: r = 98, centre (100, 100); the top of the dial lies inside a full wedge.
    auto image = drawKnob (look, slider, 200, 200, 1.0f);
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, 2.0f * pi, 0.6f * 98.0f).getAlpha(), 0xcc);
    EXPECT_TRUE (sameColour (pixelAtAngle (image, 100.0f, 100.0f, 2.0f * pi, 0.6f * 98.0f), juce::Colour (0xccff0000)));

    slider.setEnabled (false);
    image = drawKnob (look, slider, 200, 200, 1.0f);
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, 2.0f * pi, 0.6f * 98.0f).getAlpha(), 0x66);
}

TEST (ToolkitVXLookKnob, DisabledByParentCountsAsDisabled)
{
    BareKnobLook look;
    juce::Component parent;
    juce::Slider slider;
    parent.addAndMakeVisible (slider);
    parent.setEnabled (false);
    slider.setColour (juce::Slider::rotarySliderFillColourId, juce::Colours::red);

    const auto image = drawKnob (look, slider, 200, 200, 1.0f);
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, 2.0f * pi, 0.6f * 98.0f).getAlpha(), 0x66);
}

TEST (ToolkitVXLookKnob, PointerIsOpaqueEnabledAnd7fDisabled)
{
    BareKnobLook look;
    juce::Slider slider;
    slider.setColour (juce::Slider::rotarySliderFillColourId, juce::Colour (0x20ff0000));

    // At sliderPos 0 the wedge is empty and the pointer points at the start angle.
    auto image = drawKnob (look, slider, 200, 200, 0.0f);
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, startAngle, 0.32f * 98.0f).getAlpha(), 0xff);
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, startAngle, 0.1f * 98.0f).getAlpha(), 0);
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, startAngle, 0.55f * 98.0f).getAlpha(), 0);

    slider.setEnabled (false);
    image = drawKnob (look, slider, 200, 200, 0.0f);
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, startAngle, 0.32f * 98.0f).getAlpha(), 0x7f);
}

TEST (ToolkitVXLookKnob, WedgeIsEmptyAtZeroAndSpansTheTravelAtOne)
{
    BareKnobLook look;
    juce::Slider slider;
    slider.setColour (juce::Slider::rotarySliderFillColourId, juce::Colours::red);
    const float radius = 0.6f * 98.0f;

    auto image = drawKnob (look, slider, 200, 200, 0.0f);
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, 2.0f * pi, radius).getAlpha(), 0);
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, startAngle + 0.3f, radius).getAlpha(), 0);

    image = drawKnob (look, slider, 200, 200, 1.0f);
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, startAngle + 0.06f, radius).getAlpha(), 0xcc);
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, startAngle - 0.06f, radius).getAlpha(), 0);
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, endAngle - 0.3f, radius).getAlpha(), 0xcc);
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, endAngle + 0.06f, radius).getAlpha(), 0);

    // Half way the wedge stops at the top of the dial.
    image = drawKnob (look, slider, 200, 200, 0.5f);
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, 2.0f * pi - 0.06f, radius).getAlpha(), 0xcc);
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, 2.0f * pi + 0.3f, radius).getAlpha(), 0);
}

TEST (ToolkitVXLookKnob, WedgeReachesNinetyPercentOfTheRadius)
{
    BareKnobLook look;
    juce::Slider slider;
    slider.setColour (juce::Slider::rotarySliderFillColourId, juce::Colours::red);

    const auto image = drawKnob (look, slider, 200, 200, 1.0f);
    // 0.9 r = 88.2 pixels above the centre.
    EXPECT_EQ (image.getPixelAt (100, 100 - 87).getAlpha(), 0xcc);
    EXPECT_EQ (image.getPixelAt (100, 100 - 90).getAlpha(), 0);
}

TEST (ToolkitVXLookKnob, FortyBySixtyKnobHasRadiusEighteenCentredInItsBox)
{
    oskv::VXLook look;
    juce::Slider slider;
    slider.setColour (juce::Slider::rotarySliderFillColourId, juce::Colours::red);

    // r = min(20, 30) - 2 = 18 about (20, 30): the body fills the box (2, 12, 36, 36).
    const auto image = drawKnob (look, slider, 40, 60, 0.0f);
    EXPECT_GT (image.getPixelAt (20, 12).getAlpha(), 0xe0);
    EXPECT_EQ (image.getPixelAt (20, 11).getAlpha(), 0);
    EXPECT_GT (image.getPixelAt (20, 47).getAlpha(), 0xe0);
    EXPECT_EQ (image.getPixelAt (20, 48).getAlpha(), 0);
    EXPECT_GT (image.getPixelAt (2, 30).getAlpha(), 0xe0);
    EXPECT_EQ (image.getPixelAt (1, 30).getAlpha(), 0);
    EXPECT_GT (image.getPixelAt (37, 30).getAlpha(), 0xe0);
    EXPECT_EQ (image.getPixelAt (38, 30).getAlpha(), 0);

    BareKnobLook bare;
    const auto wedge = drawKnob (bare, slider, 40, 60, 1.0f);
    // The wedge circle has radius 0.9 x 18 = 16.2 about (20, 30).
    EXPECT_EQ (wedge.getPixelAt (20, 14).getAlpha(), 0xcc);
    EXPECT_EQ (wedge.getPixelAt (20, 12).getAlpha(), 0);
    EXPECT_EQ (wedge.getPixelAt (4, 30).getAlpha(), 0xcc);
    EXPECT_EQ (wedge.getPixelAt (2, 30).getAlpha(), 0);
    // The travel leaves a gap at the bottom of the dial.
    EXPECT_EQ (wedge.getPixelAt (20, 44).getAlpha(), 0);
}

TEST (ToolkitVXLookKnob, BodyCapAndBandShowTheImagesColours)
{
    oskv::VXLook look;
    juce::Slider slider;
    slider.setColour (juce::Slider::rotarySliderFillColourId, juce::Colours::white);

    // r = 98 about (100, 100).
    auto image = drawKnob (look, slider, 200, 200, 0.0f);
    EXPECT_TRUE (sameColour (image.getPixelAt (100, 100), juce::Colour (0xff333333)));        // cap centre
    EXPECT_TRUE (sameColour (image.getPixelAt (100, 100 - 80), juce::Colour (0xff1d1d1d)));   // body, 0.82 r
    EXPECT_TRUE (sameColour (image.getPixelAt (100, 100 - 94), juce::Colour (0xff000000)));   // rim, 0.96 r
    EXPECT_TRUE (sameColour (image.getPixelAt (100, 100 - 71), juce::Colour (0xff000000)));   // cap rim, 0.72 r

    const auto capRing = image.getPixelAt (100 - 61, 100);                                     // 0.62 r, left
    EXPECT_GE (capRing.getRed(), 0x24);
    EXPECT_LE (capRing.getRed(), 0x2e);

    // The value shows as a band between the cap (0.75 r) and 0.9 r: white at 0.8 over the body.
    image = drawKnob (look, slider, 200, 200, 1.0f);
    const auto band = image.getPixelAt (100, 100 - 80);
    EXPECT_NEAR (band.getRed(), 0.8 * 255 + 0.2 * 0x1d, 2.0);
    EXPECT_TRUE (sameColour (image.getPixelAt (100, 100), juce::Colour (0xff333333)));
}

TEST (ToolkitVXLookKnob, TinyKnobDrawsNothingAndDoesNotFail)
{
    oskv::VXLook look;
    juce::Slider slider;

    EXPECT_TRUE (toolkit_test::isBlank (drawKnob (look, slider, 3, 3, 0.5f)));
    EXPECT_TRUE (toolkit_test::isBlank (drawKnob (look, slider, 0, 10, 0.5f)));
}

//==============================================================================
TEST (ToolkitVXLookResources, KnobImagesParseWithTheirCanvasSizes)
{
    auto back = juce::Drawable::createFromImageData (SombraxBinaryData::knob_back_svg,
                                                     (size_t) SombraxBinaryData::knob_back_svgSize);
    auto front = juce::Drawable::createFromImageData (SombraxBinaryData::knob_front_svg,
                                                      (size_t) SombraxBinaryData::knob_front_svgSize);
    ASSERT_NE (back, nullptr);
    ASSERT_NE (front, nullptr);

    EXPECT_EQ (back->getDrawableBounds().toNearestInt(), juce::Rectangle<int> (0, 0, 600, 600));
    EXPECT_EQ (front->getDrawableBounds().toNearestInt(), juce::Rectangle<int> (0, 0, 420, 420));

    const auto xml = juce::parseXML (juce::String::fromUTF8 (SombraxBinaryData::knob_front_svg,
                                                             SombraxBinaryData::knob_front_svgSize));
    ASSERT_NE (xml, nullptr);
    EXPECT_NE (xml->getChildByAttribute ("id", "knob_front"), nullptr);
}

TEST (ToolkitVXLookResources, KnobCapRingFollowsItsGradient)
{
    auto front = juce::Drawable::createFromImageData (SombraxBinaryData::knob_front_svg,
                                                      (size_t) SombraxBinaryData::knob_front_svgSize);
    ASSERT_NE (front, nullptr);

    const auto image = render (420, 420, [&front] (juce::Graphics& g) { front->draw (g, 1.0f); });

    // The ring between radius 151.683 and 190 is #2E2E2E up to the gradient's 0.595 stop
    // and shades to #242424 at its end, along the line (314.86, 57.979) -> (399.723, 218.613).
    const juce::Point<double> start (314.86, 57.979), end (399.723, 218.613);
    const auto line = end - start;
    int shaded = 0;

    for (int degrees = 0; degrees < 360; degrees += 5)
    {
        const auto angle = juce::degreesToRadians ((double) degrees);
        const juce::Point<double> p (210.0 + 170.0 * std::cos (angle), 210.0 + 170.0 * std::sin (angle));
        const auto t = juce::jlimit (0.0, 1.0, (p - start).getDotProduct (line) / line.getDotProduct (line));
        const auto expected = t <= 0.595 ? 46.0 : 46.0 - 10.0 * (t - 0.595) / 0.405;

        shaded += t > 0.7 ? 1 : 0;
        EXPECT_NEAR (image.getPixelAt ((int) p.x, (int) p.y).getRed(), expected, 1.0) << degrees << " degrees, t = " << t;
    }

    EXPECT_GT (shaded, 3);
    EXPECT_TRUE (sameColour (image.getPixelAt (210, 210), juce::Colour (0xff333333)));
    EXPECT_TRUE (sameColour (image.getPixelAt (210, 5), juce::Colour (0xff000000)));
    EXPECT_EQ (image.getPixelAt (5, 5).getAlpha(), 0);
}

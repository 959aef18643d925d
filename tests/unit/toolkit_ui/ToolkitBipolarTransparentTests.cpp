#include "support/ToolkitTestSupport.h"

#include "toolkit_ui/VXBipolarLook.h"
#include "toolkit_ui/VXTransparentLook.h"

#include <gtest/gtest.h>

using toolkit_test::isBlank;
using toolkit_test::pixelAtAngle;
using toolkit_test::render;
using toolkit_test::sameColour;

namespace
{
constexpr float pi = juce::MathConstants<float>::pi;
constexpr float startAngle = toolkit_test::knobStartAngle;
constexpr float endAngle = toolkit_test::knobEndAngle;

using BareBipolarLook = toolkit_test::BareKnobLook<oskv::VXBipolarLook>;

/** Draws the knob at `value` of a 0..1 slider, with sliderPos matching the value: the
    bipolar arc reads the slider's value, not only sliderPos. */
juce::Image drawKnobAt (oskv::VXLook& look, juce::Slider& slider, double value)
{
    slider.setRange (0.0, 1.0);
    slider.setValue (value, juce::dontSendNotification);
    return toolkit_test::drawKnob (look, slider, 200, 200, (float) value);
}

int alphaAt (const juce::Image& image, float angle)
{
    return pixelAtAngle (image, 100.0f, 100.0f, angle, 0.6f * 98.0f).getAlpha();
}
} // namespace

TEST (ToolkitBipolarLook, CentreAngleIsTheTopOfTheDial)
{
    oskv::VXBipolarLook look;
    EXPECT_FLOAT_EQ (look.centreAngle, 6.2831855f);
    EXPECT_NE (look.typeface, nullptr);
    EXPECT_NE (look.knobBack, nullptr);
}

TEST (ToolkitBipolarLook, KnobAtMidRangeShowsNoArc)
{
    BareBipolarLook look;
    juce::Slider slider;
    slider.setColour (juce::Slider::rotarySliderFillColourId, juce::Colours::red);

    const auto image = drawKnobAt (look, slider, 0.5);

    for (float angle = startAngle + 0.1f; angle < endAngle - 0.1f; angle += 0.2f)
        EXPECT_EQ (alphaAt (image, angle), 0) << angle;

    // The pointer still shows, straight up.
    EXPECT_EQ (pixelAtAngle (image, 100.0f, 100.0f, 2.0f * pi, 0.3f * 98.0f).getAlpha(), 0xff);
}

TEST (ToolkitBipolarLook, KnobAtTheStartFillsTheLeftHalfOfTheTravel)
{
    BareBipolarLook look;
    juce::Slider slider;
    slider.setColour (juce::Slider::rotarySliderFillColourId, juce::Colours::red);

    const auto image = drawKnobAt (look, slider, 0.0);

    EXPECT_EQ (alphaAt (image, startAngle + 0.06f), 0xcc);
    EXPECT_EQ (alphaAt (image, 1.5f * pi), 0xcc);
    EXPECT_EQ (alphaAt (image, 2.0f * pi - 0.06f), 0xcc);
    EXPECT_EQ (alphaAt (image, 2.0f * pi + 0.06f), 0);
    EXPECT_EQ (alphaAt (image, 2.5f * pi), 0);
    EXPECT_EQ (alphaAt (image, startAngle - 0.06f), 0);
}

TEST (ToolkitBipolarLook, KnobAtTheEndFillsTheRightHalfOfTheTravel)
{
    BareBipolarLook look;
    juce::Slider slider;
    slider.setColour (juce::Slider::rotarySliderFillColourId, juce::Colours::red);

    const auto image = drawKnobAt (look, slider, 1.0);

    EXPECT_EQ (alphaAt (image, 2.0f * pi - 0.06f), 0);
    EXPECT_EQ (alphaAt (image, 1.5f * pi), 0);
    EXPECT_EQ (alphaAt (image, 2.0f * pi + 0.06f), 0xcc);
    EXPECT_EQ (alphaAt (image, 2.5f * pi), 0xcc);
    EXPECT_EQ (alphaAt (image, endAngle - 0.06f), 0xcc);
    EXPECT_EQ (alphaAt (image, endAngle + 0.06f), 0);
}

TEST (ToolkitBipolarLook, KnobArcRunsBetweenTheValueAndTheTop)
{
    BareBipolarLook look;
    juce::Slider slider;
    slider.setColour (juce::Slider::rotarySliderFillColourId, juce::Colours::red);

    // 0.25 of the travel is 1.6 pi: the arc covers 1.6 pi .. 2 pi only.
    auto image = drawKnobAt (look, slider, 0.25);
    EXPECT_EQ (alphaAt (image, 1.5f * pi), 0);
    EXPECT_EQ (alphaAt (image, 1.8f * pi), 0xcc);
    EXPECT_EQ (alphaAt (image, 2.1f * pi), 0);

    slider.setEnabled (false);
    image = drawKnobAt (look, slider, 0.75);
    EXPECT_EQ (alphaAt (image, 2.2f * pi), 0x66);
    EXPECT_EQ (alphaAt (image, 2.5f * pi), 0);
}

TEST (ToolkitBipolarLook, KnobKeepsTheMainLooksBodyAndCap)
{
    oskv::VXBipolarLook look;
    juce::Slider slider;
    slider.setColour (juce::Slider::rotarySliderFillColourId, juce::Colours::red);

    const auto image = drawKnobAt (look, slider, 0.5);
    EXPECT_TRUE (sameColour (image.getPixelAt (100, 100), juce::Colour (0xff333333)));
    EXPECT_TRUE (sameColour (image.getPixelAt (100, 20), juce::Colour (0xff1d1d1d)));
}

//==============================================================================
namespace
{
juce::Image drawTrackAt (oskv::VXLook& look, juce::Slider& slider, double value,
                         juce::Slider::SliderStyle style = juce::Slider::LinearHorizontal)
{
    toolkit_test::dressLinearSlider (slider, style);
    slider.setValue (value, juce::dontSendNotification);
    return render (100, 20, [&] (juce::Graphics& g)
    {
        look.drawLinearSliderBackground (g, 0, 0, 100, 20, (float) value * 100.0f, 0.0f, 100.0f, style, slider);
    });
}

/** Thumb and track told apart by their blue channel: 4d against at least 60 (half brightness). */
bool isThumb (const juce::Image& image, int x)
{
    return std::abs (image.getPixelAt (x, 10).getRed() - 0xd8) < 20 && image.getPixelAt (x, 10).getBlue() < 0x70;
}
} // namespace

TEST (ToolkitBipolarLook, HorizontalTrackAtMidRangeShowsOnlyTheCentreMark)
{
    oskv::VXBipolarLook look;
    juce::Slider slider;
    const auto image = drawTrackAt (look, slider, 0.5);

    // Mark at x + (100 - 2) / 2 = 49, two pixels wide.
    EXPECT_FALSE (isThumb (image, 48));
    EXPECT_TRUE (isThumb (image, 49));
    EXPECT_TRUE (isThumb (image, 50));
    EXPECT_FALSE (isThumb (image, 51));

    for (int x = 2; x < 98; ++x)
    {
        if (x != 49 && x != 50)
        {
            ASSERT_FALSE (isThumb (image, x)) << x;
        }
    }

    // The track sits at half brightness: 4080c0 becomes 205580.
    EXPECT_NEAR (image.getPixelAt (30, 3).getBlue(), 0x80, 5);
}

TEST (ToolkitBipolarLook, HorizontalBarAtTheEndsRunsFromTheCentreMarkOutwards)
{
    oskv::VXBipolarLook look;
    juce::Slider slider;

    // p = 1: half = 50, L = 50, bar from 52, 46 wide: 52..97.
    auto image = drawTrackAt (look, slider, 1.0);
    EXPECT_FALSE (isThumb (image, 51));
    EXPECT_TRUE (isThumb (image, 52));
    EXPECT_TRUE (isThumb (image, 97));
    EXPECT_FALSE (isThumb (image, 20));

    // p = 0: bar from 50 + 2 - 50 = 2, 46 wide: 2..47, ending two pixels left of the mark.
    image = drawTrackAt (look, slider, 0.0);
    EXPECT_TRUE (isThumb (image, 2));
    EXPECT_TRUE (isThumb (image, 47));
    EXPECT_FALSE (isThumb (image, 48));
    EXPECT_TRUE (isThumb (image, 49));
    EXPECT_FALSE (isThumb (image, 60));

    // p = 0.75: L = 25, bar 52..72.
    image = drawTrackAt (look, slider, 0.75);
    EXPECT_TRUE (isThumb (image, 52));
    EXPECT_TRUE (isThumb (image, 72));
    EXPECT_FALSE (isThumb (image, 73));
}

TEST (ToolkitBipolarLook, HorizontalTrackKeepsTheDoubleGreyFrame)
{
    oskv::VXBipolarLook look;
    juce::Slider slider;
    const auto image = drawTrackAt (look, slider, 1.0);

    EXPECT_TRUE (sameColour (image.getPixelAt (0, 10), juce::Colour (0xff303030), 0));
    EXPECT_TRUE (sameColour (image.getPixelAt (98, 10), juce::Colour (0xff303030), 0));
    EXPECT_TRUE (sameColour (image.getPixelAt (50, 1), juce::Colour (0xff303030), 0));
}

TEST (ToolkitBipolarLook, OtherStylesShowNoTrackMarkOrBar)
{
    oskv::VXBipolarLook look;
    juce::Slider slider;

    EXPECT_TRUE (isBlank (drawTrackAt (look, slider, 1.0, juce::Slider::LinearVertical)));
    EXPECT_TRUE (isBlank (drawTrackAt (look, slider, 0.0, juce::Slider::TwoValueHorizontal)));
}

//==============================================================================
TEST (ToolkitTransparentLook, TextButtonIsInvisibleWhateverItsState)
{
    oskv::VXTransparentLook look;
    juce::TextButton button ("PRESET NAME");
    button.setLookAndFeel (&look);
    button.setBounds (0, 0, 120, 24);
    button.setVisible (true);
    button.setColour (juce::TextButton::buttonColourId, juce::Colours::red);
    button.setColour (juce::TextButton::textColourOffId, juce::Colours::white);

    EXPECT_TRUE (isBlank (button.createComponentSnapshot (button.getLocalBounds())));

    button.setToggleState (true, juce::dontSendNotification);
    EXPECT_TRUE (isBlank (button.createComponentSnapshot (button.getLocalBounds())));

    button.setLookAndFeel (nullptr);
}

TEST (ToolkitTransparentLook, InvisibleButtonStillClicks)
{
    oskv::VXTransparentLook look;
    juce::TextButton button ("WAVE");
    button.setLookAndFeel (&look);
    button.setBounds (0, 0, 40, 20);
    button.setVisible (true);
    button.setClickingTogglesState (true);
    int clicks = 0;
    button.onClick = [&clicks] { ++clicks; };

    const auto event = toolkit_test::makeMouseDown (button, {});
    juce::Component& component = button;
    component.mouseDown (event);
    component.mouseUp (event);

    EXPECT_EQ (clicks, 1);
    EXPECT_TRUE (button.getToggleState());
    button.setLookAndFeel (nullptr);
}

TEST (ToolkitTransparentLook, RotarySliderPaintsNothing)
{
    oskv::VXTransparentLook look;
    juce::Slider slider (juce::Slider::RotaryVerticalDrag, juce::Slider::NoTextBox);
    slider.setLookAndFeel (&look);
    slider.setBounds (0, 0, 60, 60);
    slider.setVisible (true);

    EXPECT_TRUE (isBlank (slider.createComponentSnapshot (slider.getLocalBounds())));
    slider.setLookAndFeel (nullptr);
}

TEST (ToolkitTransparentLook, LinearSliderKeepsOnlyTheFrameworksThumb)
{
    oskv::VXTransparentLook look;
    juce::LookAndFeel_V2 framework;
    juce::Slider slider (juce::Slider::LinearHorizontal, juce::Slider::NoTextBox);
    slider.setBounds (0, 0, 100, 20);

    const auto track = render (100, 20, [&] (juce::Graphics& g)
    {
        look.drawLinearSliderBackground (g, 0, 0, 100, 20, 50.0f, 0.0f, 100.0f, juce::Slider::LinearHorizontal, slider);
    });
    EXPECT_TRUE (isBlank (track));

    const auto whole = render (100, 20, [&] (juce::Graphics& g)
    {
        look.drawLinearSlider (g, 0, 0, 100, 20, 50.0f, 0.0f, 100.0f, juce::Slider::LinearHorizontal, slider);
    });
    const auto thumb = render (100, 20, [&] (juce::Graphics& g)
    {
        g.fillAll (slider.findColour (juce::Slider::backgroundColourId));
        framework.drawLinearSliderThumb (g, 0, 0, 100, 20, 50.0f, 0.0f, 100.0f, juce::Slider::LinearHorizontal, slider);
    });

    EXPECT_FALSE (isBlank (whole));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ (whole.getPixelAt (x, y), thumb.getPixelAt (x, y)) << x << ", " << y;
}

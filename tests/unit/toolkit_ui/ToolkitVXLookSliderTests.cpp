#include "support/ToolkitTestSupport.h"

#include "toolkit_ui/VXLook.h"

#include <gtest/gtest.h>

using toolkit_test::dressLinearSlider;
using toolkit_test::isBlank;
using toolkit_test::render;
using toolkit_test::sameColour;
using toolkit_test::thumbColour;
using toolkit_test::trackColour;

namespace
{
const juce::Colour outlineGrey (0xff303030);

/** What 0x19 white at proportion t of the gloss gradient does to a channel. */
double glossed (double channel, double t)
{
    const double alpha = t * 0x19 / 255.0;
    return channel * (1.0 - alpha) + 255.0 * alpha;
}
} // namespace

TEST (ToolkitVXLookSlider, HorizontalTrackIsBlackAtMinimumAndFullyBrightAtMaximum)
{
    oskv::VXLook look;
    juce::Slider slider;
    dressLinearSlider (slider, juce::Slider::LinearHorizontal);

    slider.setValue (0.0, juce::dontSendNotification);
    auto image = render (100, 20, [&] (juce::Graphics& g)
    {
        look.drawLinearSliderBackground (g, 0, 0, 100, 20, 0.0f, 0.0f, 100.0f, juce::Slider::LinearHorizontal, slider);
    });

    // No value part at the minimum: only the black track under the gloss.
    const auto atMinimum = image.getPixelAt (50, 10);
    EXPECT_NEAR (atMinimum.getRed(), glossed (0, 10.5 / 20.0), 2.0);
    EXPECT_NEAR (atMinimum.getBlue(), glossed (0, 10.5 / 20.0), 2.0);
    EXPECT_EQ (atMinimum.getAlpha(), 0xff);

    // Full brightness turns 4080c0 into 55aaff.
    slider.setValue (1.0, juce::dontSendNotification);
    image = render (100, 20, [&] (juce::Graphics& g)
    {
        look.drawLinearSliderBackground (g, 0, 0, 100, 20, 0.0f, 0.0f, 100.0f, juce::Slider::LinearHorizontal, slider);
    });
    const auto atMaximum = image.getPixelAt (50, 10);
    EXPECT_NEAR (atMaximum.getRed(), glossed (0x55, 10.5 / 20.0), 2.0);
    EXPECT_NEAR (atMaximum.getGreen(), glossed (0xaa, 10.5 / 20.0), 2.0);
    EXPECT_NEAR (atMaximum.getBlue(), 0xff, 1.0);
}

TEST (ToolkitVXLookSlider, HorizontalValuePartEndsTwoPixelsBeforeTheThumbInsideADoubleGreyFrame)
{
    oskv::VXLook look;
    juce::Slider slider;
    dressLinearSlider (slider, juce::Slider::LinearHorizontal);
    slider.setValue (0.5, juce::dontSendNotification);

    const auto image = render (100, 20, [&] (juce::Graphics& g)
    {
        look.drawLinearSliderBackground (g, 0, 0, 100, 20, 60.7f, 0.0f, 100.0f, juce::Slider::LinearHorizontal, slider);
    });

    // The value part is (2, 2) to (58, 18): trunc(60.7) = 60, less 2.
    EXPECT_NEAR (image.getPixelAt (57, 10).getRed(), glossed (thumbColour.getRed(), 10.5 / 20.0), 2.0);
    EXPECT_NEAR (image.getPixelAt (2, 2).getRed(), glossed (thumbColour.getRed(), 2.5 / 20.0), 2.0);
    const auto track = trackColour.withBrightness (0.5f);
    EXPECT_NEAR (image.getPixelAt (58, 10).getRed(), glossed (track.getRed(), 10.5 / 20.0), 2.0);
    EXPECT_NEAR (image.getPixelAt (58, 10).getBlue(), glossed (track.getBlue(), 10.5 / 20.0), 2.0);

    // The frame lies over everything, two pixels wide.
    EXPECT_TRUE (sameColour (image.getPixelAt (0, 10), outlineGrey));
    EXPECT_TRUE (sameColour (image.getPixelAt (1, 10), outlineGrey));
    EXPECT_TRUE (sameColour (image.getPixelAt (99, 10), outlineGrey));
    EXPECT_TRUE (sameColour (image.getPixelAt (50, 0), outlineGrey));
    EXPECT_TRUE (sameColour (image.getPixelAt (50, 19), outlineGrey));
}

TEST (ToolkitVXLookSlider, VerticalValuePartRisesFromTheBottom)
{
    oskv::VXLook look;
    juce::Slider slider;
    dressLinearSlider (slider, juce::Slider::LinearVertical);
    slider.setValue (0.5, juce::dontSendNotification);

    const auto image = render (20, 100, [&] (juce::Graphics& g)
    {
        look.drawLinearSliderBackground (g, 0, 0, 20, 100, 50.0f, 100.0f, 0.0f, juce::Slider::LinearVertical, slider);
    });

    // Gloss runs left to right here; compare at the same column.
    EXPECT_NEAR (image.getPixelAt (10, 90).getRed(), glossed (thumbColour.getRed(), 10.5 / 20.0), 2.0);
    EXPECT_NEAR (image.getPixelAt (10, 53).getRed(), glossed (thumbColour.getRed(), 10.5 / 20.0), 2.0);
    const auto track = trackColour.withBrightness (0.5f);
    EXPECT_NEAR (image.getPixelAt (10, 30).getBlue(), glossed (track.getBlue(), 10.5 / 20.0), 2.0);
    EXPECT_TRUE (sameColour (image.getPixelAt (0, 50), outlineGrey));
    EXPECT_TRUE (sameColour (image.getPixelAt (10, 99), outlineGrey));
}

TEST (ToolkitVXLookSlider, OtherStylesHaveNoTrack)
{
    oskv::VXLook look;
    juce::Slider slider;
    dressLinearSlider (slider, juce::Slider::TwoValueHorizontal);

    const auto image = render (100, 20, [&] (juce::Graphics& g)
    {
        look.drawLinearSliderBackground (g, 0, 0, 100, 20, 50.0f, 0.0f, 100.0f, juce::Slider::TwoValueHorizontal, slider);
    });
    EXPECT_TRUE (isBlank (image));
}

TEST (ToolkitVXLookSlider, PlainLinearSlidersDrawNoThumb)
{
    oskv::VXLook look;

    for (auto style : { juce::Slider::LinearHorizontal, juce::Slider::LinearVertical })
    {
        juce::Slider slider;
        dressLinearSlider (slider, style);
        slider.setBounds (0, 0, 100, 100);
        slider.setValue (0.5, juce::dontSendNotification);

        const auto whole = render (100, 100, [&] (juce::Graphics& g)
        {
            look.drawLinearSlider (g, 0, 0, 100, 100, 50.0f, 0.0f, 100.0f, style, slider);
        });
        const auto trackOnly = render (100, 100, [&] (juce::Graphics& g)
        {
            look.drawLinearSliderBackground (g, 0, 0, 100, 100, 50.0f, 0.0f, 100.0f, style, slider);
        });

        for (int y = 0; y < 100; y += 3)
            for (int x = 0; x < 100; x += 3)
                ASSERT_EQ (whole.getPixelAt (x, y), trackOnly.getPixelAt (x, y)) << x << ", " << y;
    }
}

TEST (ToolkitVXLookSlider, ThumbOfRotaryOrIncDecDrawsNothing)
{
    oskv::VXLook look;

    for (auto style : { juce::Slider::Rotary, juce::Slider::IncDecButtons, juce::Slider::LinearHorizontal })
    {
        juce::Slider slider;
        dressLinearSlider (slider, style);
        slider.setBounds (0, 0, 60, 60);

        const auto image = render (60, 60, [&] (juce::Graphics& g)
        {
            look.drawLinearSliderThumb (g, 0, 0, 60, 60, 30.0f, 10.0f, 50.0f, style, slider);
        });
        EXPECT_TRUE (isBlank (image)) << (int) style;
    }
}

TEST (ToolkitVXLookSlider, TwoValueHorizontalThumbDrawsThreeBarsAtTheOrigin)
{
    oskv::VXLook look;
    juce::Slider slider;
    dressLinearSlider (slider, juce::Slider::TwoValueHorizontal);
    slider.setBounds (0, 0, 100, 40);

    // Thumb radius min(7, 20, 50) + 2 = 9, less 2: r = 7.
    const auto image = render (120, 40, [&] (juce::Graphics& g)
    {
        look.drawLinearSliderThumb (g, 10, 10, 100, 20, 50.0f, 30.0f, 70.0f, juce::Slider::TwoValueHorizontal, slider);
    });

    // (0, 0, 107, 20) light; (3.5, 3.5, 100, 13) black; (24.75, 3.5, 39.125, 13) thumb.
    EXPECT_TRUE (sameColour (image.getPixelAt (1, 1), juce::Colour (0xffaeaeae)));
    EXPECT_TRUE (sameColour (image.getPixelAt (105, 10), juce::Colour (0xffaeaeae)));
    EXPECT_EQ (image.getPixelAt (108, 10).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (50, 21).getAlpha(), 0);
    EXPECT_TRUE (sameColour (image.getPixelAt (10, 10), juce::Colours::black));
    EXPECT_TRUE (sameColour (image.getPixelAt (40, 10), thumbColour));
    EXPECT_TRUE (sameColour (image.getPixelAt (70, 10), juce::Colours::black));
}

TEST (ToolkitVXLookSlider, BarIsTheThumbColourLessSaturated)
{
    oskv::VXLook look;
    juce::Slider slider;
    dressLinearSlider (slider, juce::Slider::LinearBar);

    auto drawBar = [&]
    {
        return render (100, 20, [&] (juce::Graphics& g)
        {
            look.drawLinearSlider (g, 0, 0, 100, 20, 40.0f, 0.0f, 100.0f, juce::Slider::LinearBar, slider);
        });
    };

    auto image = drawBar();
    EXPECT_TRUE (sameColour (image.getPixelAt (20, 10), thumbColour.withMultipliedSaturation (0.9f)));
    EXPECT_TRUE (sameColour (image.getPixelAt (39, 10), thumbColour.withMultipliedSaturation (0.9f)));
    EXPECT_EQ (image.getPixelAt (41, 10).getAlpha(), 0);

    slider.setEnabled (false);
    image = drawBar();
    EXPECT_TRUE (sameColour (image.getPixelAt (20, 10), thumbColour.withMultipliedSaturation (0.5f * 0.9f)));
}

TEST (ToolkitVXLookSlider, VerticalBarFillsFromTheThumbDown)
{
    oskv::VXLook look;
    juce::Slider slider;
    dressLinearSlider (slider, juce::Slider::LinearBarVertical);
    slider.setColour (juce::Slider::backgroundColourId, juce::Colours::white);

    const auto image = render (20, 100, [&] (juce::Graphics& g)
    {
        look.drawLinearSlider (g, 0, 0, 20, 100, 30.0f, 0.0f, 100.0f, juce::Slider::LinearBarVertical, slider);
    });

    EXPECT_TRUE (sameColour (image.getPixelAt (10, 20), juce::Colours::white));
    EXPECT_TRUE (sameColour (image.getPixelAt (10, 31), thumbColour.withMultipliedSaturation (0.9f)));
    EXPECT_TRUE (sameColour (image.getPixelAt (10, 99), thumbColour.withMultipliedSaturation (0.9f)));
}

//==============================================================================
TEST (ToolkitVXLookSlider, TextBoxIsACentredTenPixelLabelWithTheSlidersColours)
{
    oskv::VXLook look;
    juce::Slider slider;
    slider.setColour (juce::Slider::textBoxTextColourId, juce::Colour (0xff112233));
    slider.setColour (juce::Slider::textBoxBackgroundColourId, juce::Colour (0xff445566));
    slider.setColour (juce::Slider::textBoxOutlineColourId, juce::Colour (0xff778899));
    slider.setColour (juce::Slider::textBoxHighlightColourId, juce::Colour (0xffaabbcc));

    std::unique_ptr<juce::Label> box (look.createSliderTextBox (slider));
    ASSERT_NE (dynamic_cast<oskv::VXLook::SliderLabelComp*> (box.get()), nullptr);
    EXPECT_EQ (box->getJustificationType(), juce::Justification (juce::Justification::centred));
    EXPECT_FLOAT_EQ (box->getFont().getHeight(), 10.0f);
    EXPECT_EQ (box->findColour (juce::Label::textColourId), juce::Colour (0xff112233));
    EXPECT_EQ (box->findColour (juce::Label::backgroundColourId), juce::Colour (0xff445566));
    EXPECT_EQ (box->findColour (juce::Label::outlineColourId), juce::Colour (0xff778899));
    EXPECT_EQ (box->findColour (juce::TextEditor::textColourId), juce::Colour (0xff112233));
    EXPECT_EQ (box->findColour (juce::TextEditor::backgroundColourId), juce::Colour (0xff445566));
    EXPECT_EQ (box->findColour (juce::TextEditor::outlineColourId), juce::Colour (0xff778899));
    EXPECT_EQ (box->findColour (juce::TextEditor::highlightColourId), juce::Colour (0xffaabbcc));

    slider.setSliderStyle (juce::Slider::LinearBar);
    box.reset (look.createSliderTextBox (slider));
    EXPECT_EQ (box->findColour (juce::Label::backgroundColourId), juce::Colours::transparentBlack);
    EXPECT_EQ (box->findColour (juce::TextEditor::backgroundColourId), juce::Colour (0xb3445566));
}

TEST (ToolkitVXLookSlider, TextBoxPaintsADarkFillUnderATransparentLabel)
{
    oskv::VXLook look;
    juce::Slider slider;
    slider.setColour (juce::Slider::textBoxBackgroundColourId, juce::Colours::transparentBlack);
    slider.setColour (juce::Slider::textBoxOutlineColourId, juce::Colours::transparentBlack);

    std::unique_ptr<juce::Label> box (look.createSliderTextBox (slider));
    box->setLookAndFeel (&look);
    box->setBounds (0, 0, 40, 12);

    const auto image = render (40, 12, [&box] (juce::Graphics& g) { box->paintEntireComponent (g, false); });
    EXPECT_TRUE (sameColour (image.getPixelAt (2, 2), juce::Colour (0xff272727).withMultipliedBrightness (0.3f), 1));
    box->setLookAndFeel (nullptr);
}

TEST (ToolkitVXLookSlider, TextBoxSwallowsTheMouseWheel)
{
    struct WheelCounter : juce::Component
    {
        void mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&) override { ++moves; }
        int moves = 0;
    };

    oskv::VXLook look;
    juce::Slider slider;
    WheelCounter parent;
    std::unique_ptr<juce::Label> box (look.createSliderTextBox (slider));
    juce::Label plain;
    parent.addAndMakeVisible (*box);
    parent.addAndMakeVisible (plain);

    juce::MouseWheelDetails wheel {};
    wheel.deltaY = 0.5f;

    plain.mouseWheelMove (toolkit_test::makeMouseDown (plain, {}), wheel);
    ASSERT_EQ (parent.moves, 1);

    box->mouseWheelMove (toolkit_test::makeMouseDown (*box, {}), wheel);
    EXPECT_EQ (parent.moves, 1);
}

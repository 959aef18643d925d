#include "support/ToolkitTestSupport.h"

#include "editor/LFOModeSelector.h"
#include "editor/LFOWaveSelector.h"
#include "editor/SombraxRoutingSchema.h"
#include "plugin/PluginProcessor.h"
#include "toolkit_ui/OskvColours.h"
#include "toolkit_ui/VXTransparentLook.h"

#include <gtest/gtest.h>

using toolkit_test::sameColour;

namespace
{
/** What one parameter tells its listeners, in order: "begin", "value", "end". */
struct ParameterEvents : juce::AudioProcessorParameter::Listener
{
    explicit ParameterEvents (juce::AudioProcessorParameter* p) : parameter (p) { parameter->addListener (this); }
    ~ParameterEvents() override { parameter->removeListener (this); }

    void parameterValueChanged (int, float) override { events.add ("value"); }
    void parameterGestureChanged (int, bool starting) override { events.add (starting ? "begin" : "end"); }

    juce::String take()
    {
        const auto joined = events.joinIntoString (" ");
        events.clear();
        return joined;
    }

    juce::AudioProcessorParameter* parameter;
    juce::StringArray events;
};

/** Clicks whatever child the user would hit at `position`, the way a mouse click arrives:
    through the button's own click message, delivered by the message loop. */
void clickAt (juce::Component& component, juce::Point<int> position)
{
    auto* button = dynamic_cast<juce::Button*> (component.getComponentAt (position));
    ASSERT_NE (button, nullptr) << "no button at " << position.toString();
    button->triggerClick();
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
}

struct SelectorFixture : ::testing::Test
{
    juce::RangedAudioParameter* parameter (const juce::String& id) { return processor.parameters.getParameter (id); }
    float plain (const juce::String& id) { return parameter (id)->convertFrom0to1 (parameter (id)->getValue()); }

    std::unique_ptr<LFOWaveSelector> makeWaveSelector()
    {
        auto selector = std::make_unique<LFOWaveSelector> (parameter ("lfo_wave"), processor.parameters.getParameterRange ("lfo_wave"),
                                                           oskv::OskvColours::yellow, transparentLook);
        selector->setBounds (31, 277, 178, 20);
        selector->setVisible (true);
        return selector;
    }

    std::unique_ptr<LFOModeSelector> makeModeSelector()
    {
        auto selector = std::make_unique<LFOModeSelector> (parameter ("lfo_sync"), processor.parameters.getParameterRange ("lfo_sync"),
                                                           parameter ("lfo_high_rate_mode"),
                                                           processor.parameters.getParameterRange ("lfo_high_rate_mode"),
                                                           transparentLook);
        selector->setBounds (146, 218, 63, 46);
        selector->setVisible (true);
        return selector;
    }

    juce::StringArray labelColours (const LFOModeSelector& selector)
    {
        juce::StringArray colours;

        for (auto* label : selector.labels)
            colours.add (label->findColour (juce::Label::textColourId) == oskv::OskvColours::yellow ? "yellow" : "grey");

        return colours;
    }

    SombraxAudioProcessor processor;
    oskv::VXTransparentLook transparentLook;
};

/** Pixels of a picture column that are clearly drawn in yellow or in dark grey. */
struct ColumnInk
{
    int yellow = 0;
    int grey = 0;
};

ColumnInk inkIn (const juce::Image& image, juce::Rectangle<int> area)
{
    ColumnInk ink;

    for (int y = area.getY(); y < area.getBottom(); ++y)
    {
        for (int x = area.getX(); x < area.getRight(); ++x)
        {
            const auto c = image.getPixelAt (x, y);

            if (c.getAlpha() < 0x99)
                continue;

            if (c.getRed() > 150 && c.getGreen() > 130 && c.getBlue() < 80)
                ++ink.yellow;
            else if (c.getRed() < 70 && c.getGreen() < 70 && c.getBlue() < 70)
                ++ink.grey;
        }
    }

    return ink;
}
} // namespace

TEST_F (SelectorFixture, WaveClickOnTheFourthPictureSelectsSawDownInOneGesture)
{
    auto selector = makeWaveSelector();
    ParameterEvents events (parameter ("lfo_wave"));
    ASSERT_EQ (selector->selectedIndex, 0);

    // The fourth of seven columns of 178 / 7 pixels: x 76 to 102.
    clickAt (*selector, { 89, 10 });

    EXPECT_EQ (selector->selectedIndex, 3);
    EXPECT_FLOAT_EQ (plain ("lfo_wave"), 3.0f);
    EXPECT_EQ (parameter ("lfo_wave")->getCurrentValueAsText(), "SAW DOWN");
    EXPECT_EQ (events.take(), "begin value end");

    // The buttons tile the strip on whole pixels, above the one-pixel bar.
    EXPECT_EQ (selector->buttons[3]->getBounds(), juce::Rectangle<int> (76, 0, 25, 19));
    EXPECT_EQ (selector->buttons[6]->getBounds(), juce::Rectangle<int> (153, 0, 25, 19));
}

TEST_F (SelectorFixture, WaveSelectorDrawsTheSelectedPictureInItsColourAndTheOthersGrey)
{
    parameter ("lfo_wave")->setValueNotifyingHost (parameter ("lfo_wave")->convertTo0to1 (3.0f));
    auto selector = makeWaveSelector();
    ASSERT_EQ (selector->selectedIndex, 3);

    // Four times the size, so the thin strokes cover whole pixels.
    constexpr int scale = 4;
    const auto image = selector->createComponentSnapshot (selector->getLocalBounds(), true, (float) scale);

    for (int i = 0; i < 7; ++i)
    {
        const auto column = (selector->columns[(size_t) i] * (float) scale).getSmallestIntegerContainer();
        const auto ink = inkIn (image, column);

        if (i == 3)
        {
            EXPECT_GT (ink.yellow, 20) << i;
            EXPECT_EQ (ink.grey, 0) << i;
        }
        else
        {
            EXPECT_GT (ink.grey, 20) << i;
            EXPECT_EQ (ink.yellow, 0) << i;
        }
    }

    // The faint wash behind the pictures, the solid bar below them.
    EXPECT_TRUE (sameColour (image.getPixelAt (2, 2), oskv::OskvColours::yellow.withAlpha ((juce::uint8) 0x33), 3));
    EXPECT_TRUE (sameColour (image.getPixelAt (2, image.getHeight() - 1), oskv::OskvColours::yellow));
    EXPECT_TRUE (sameColour (image.getPixelAt (image.getWidth() - 3, image.getHeight() - 1), oskv::OskvColours::yellow));
}

TEST_F (SelectorFixture, ModeClicksSetBothSwitchesWithAGesturePerChange)
{
    parameter ("lfo_high_rate_mode")->setValueNotifyingHost (1.0f);
    auto selector = makeModeSelector();
    ParameterEvents sync (parameter ("lfo_sync"));
    ParameterEvents highRate (parameter ("lfo_high_rate_mode"));

    EXPECT_EQ (selector->mode, 2);
    EXPECT_EQ (labelColours (*selector).joinIntoString (" "), "grey grey yellow");

    // Rows of 46 / 3 = 15 pixels: FREE at y 0, SYNC at 15, OSC at 30.
    clickAt (*selector, { 30, 22 });
    EXPECT_EQ (selector->mode, 1);
    EXPECT_EQ (plain ("lfo_sync"), 1.0f);
    EXPECT_EQ (plain ("lfo_high_rate_mode"), 0.0f);
    EXPECT_EQ (sync.take(), "begin value end");
    EXPECT_EQ (highRate.take(), "begin value end");
    EXPECT_EQ (labelColours (*selector).joinIntoString (" "), "grey yellow grey");

    clickAt (*selector, { 30, 37 });
    EXPECT_EQ (selector->mode, 2);
    EXPECT_EQ (plain ("lfo_sync"), 1.0f);
    EXPECT_EQ (plain ("lfo_high_rate_mode"), 1.0f);
    EXPECT_EQ (sync.take(), "");
    EXPECT_EQ (highRate.take(), "begin value end");

    clickAt (*selector, { 30, 7 });
    EXPECT_EQ (selector->mode, 0);
    EXPECT_EQ (plain ("lfo_sync"), 0.0f);
    EXPECT_EQ (plain ("lfo_high_rate_mode"), 0.0f);
    EXPECT_EQ (sync.take(), "begin value end");
    EXPECT_EQ (highRate.take(), "begin value end");
    EXPECT_EQ (labelColours (*selector).joinIntoString (" "), "yellow grey grey");

    // The bottom pixel row lies below the three rows: no button takes it.
    EXPECT_EQ (selector->getComponentAt (30, 45), selector.get());
}

TEST_F (SelectorFixture, ModeClicksInAbletonLiveSendNoGestures)
{
    auto selector = makeModeSelector();
    selector->syncLink.isAbletonLive = true;
    selector->highRateModeLink.isAbletonLive = true;
    ParameterEvents sync (parameter ("lfo_sync"));
    ParameterEvents highRate (parameter ("lfo_high_rate_mode"));

    clickAt (*selector, { 30, 22 });

    EXPECT_EQ (plain ("lfo_sync"), 1.0f);
    EXPECT_EQ (sync.take(), "value");
    EXPECT_EQ (highRate.take(), "value");
}

TEST_F (SelectorFixture, ModeSelectorDrawsItsWashAndStripOverTheRowsOnly)
{
    auto selector = makeModeSelector();
    const auto image = toolkit_test::render (63, 46, [&] (juce::Graphics& g) { selector->paint (g); });

    EXPECT_TRUE (sameColour (image.getPixelAt (62, 0), oskv::OskvColours::yellow));
    EXPECT_TRUE (sameColour (image.getPixelAt (62, 44), oskv::OskvColours::yellow));
    EXPECT_TRUE (sameColour (image.getPixelAt (10, 44), oskv::OskvColours::yellow.withAlpha ((juce::uint8) 0x33), 3));
    EXPECT_EQ (image.getPixelAt (62, 45).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (10, 45).getAlpha(), 0);
}

//==============================================================================
namespace
{
struct ChainInk
{
    bool teal = false;
    bool red = false;
};

ChainInk inkBetween (const juce::Image& image, int left, int right)
{
    ChainInk ink;

    for (int y = 0; y < image.getHeight(); ++y)
    {
        for (int x = left; x < right; ++x)
        {
            const auto c = image.getPixelAt (x, y);

            if (c.getAlpha() < 0xc0)
                continue;

            ink.teal = ink.teal || sameColour (c, oskv::OskvColours::teal, 8);
            ink.red = ink.red || sameColour (c, oskv::OskvColours::red, 8);
        }
    }

    return ink;
}

int firstInkedColumn (const juce::Image& image)
{
    for (int x = 0; x < image.getWidth(); ++x)
        for (int y = 0; y < image.getHeight(); ++y)
            if (image.getPixelAt (x, y).getAlpha() != 0)
                return x;

    return -1;
}
} // namespace

TEST (RoutingSchema, ShowsTheChainInOrderCentredWithoutStretching)
{
    SombraxRoutingSchema schema;
    schema.setBounds (532, 14, 158, 12);

    // 600 by about 67 units fitted to a height of 12: about 107 pixels wide, centred.
    const auto pre = schema.createComponentSnapshot (schema.getLocalBounds());
    const auto first = firstInkedColumn (pre);
    EXPECT_GE (first, 24);
    EXPECT_LE (first, 27);
    EXPECT_EQ (pre.getPixelAt (20, 6).getAlpha(), 0);
    EXPECT_EQ (pre.getPixelAt (137, 6).getAlpha(), 0);

    // Filter block then distortion block.
    EXPECT_TRUE (inkBetween (pre, 26, 44).teal);
    EXPECT_FALSE (inkBetween (pre, 26, 44).red);
    EXPECT_TRUE (inkBetween (pre, 73, 91).red);
    EXPECT_FALSE (inkBetween (pre, 73, 91).teal);

    schema.post = true;
    const auto post = schema.createComponentSnapshot (schema.getLocalBounds());
    EXPECT_TRUE (inkBetween (post, 26, 44).red);
    EXPECT_FALSE (inkBetween (post, 26, 44).teal);
    EXPECT_TRUE (inkBetween (post, 73, 91).teal);
    EXPECT_FALSE (inkBetween (post, 73, 91).red);
}

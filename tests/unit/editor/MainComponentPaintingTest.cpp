// What the main component paints itself, read back from an image at the coordinates it
// draws at; and the whole component with its children rendered at both window sizes.

#include "support/MainComponentTestSupport.h"
#include "support/ToolkitTestSupport.h"
#include "toolkit_ui/OskvColours.h"

#include <cmath>

using editor_test::MainComponentFixture;
using oskv::OskvColours;
using toolkit_test::sameColour;

namespace
{
const juce::Colour rim (0xff3b3b3b);
const juce::Colour panel (0xff202020);
const juce::Colour levelBackground (0xff181818);
const juce::Colour black (juce::Colours::black);

struct PaintFixture : MainComponentFixture
{
    /** The component's own painting, without its children. */
    juce::Image paintOnly()
    {
        return toolkit_test::render (700, 400, [this] (juce::Graphics& g) { component->paint (g); });
    }

    /** The level display's drawing for two peaks. */
    juce::Image paintLevels (float in, float out)
    {
        processor->inputPeak.store (in);
        processor->outputPeak.store (out);
        return paintOnly();
    }

    void expectPixel (const juce::Image& image, int x, int y, juce::Colour expected, int tolerance = 2)
    {
        const auto actual = image.getPixelAt (x, y);
        EXPECT_TRUE (sameColour (actual, expected, tolerance))
            << "at " << x << ", " << y << ": " << actual.toDisplayString (true) << " instead of "
            << expected.toDisplayString (true);
    }
};

/** An opaque colour half over another, as an edge that covers half a pixel leaves it. */
juce::Colour halfOver (juce::Colour under, juce::Colour over)
{
    return under.interpolatedWith (over, 0.5f);
}
} // namespace

TEST_F (PaintFixture, FrameBarsPanelsTitleStripsAndPresetBox)
{
    processor->animationsEnabled = false;
    const auto image = paintOnly();

    // Frame, 2 pixels inside the edge, and the black between it and the bars.
    for (auto [x, y] : { std::pair { 0, 0 }, { 1, 1 }, { 699, 399 }, { 698, 200 }, { 350, 1 }, { 350, 398 } })
        expectPixel (image, x, y, OskvColours::light_grey);

    for (auto [x, y] : { std::pair { 2, 200 }, { 20, 38 }, { 349, 200 }, { 350, 200 }, { 521, 200 }, { 522, 200 },
                         { 20, 321 }, { 697, 200 } })
        expectPixel (image, x, y, black);

    // Top and bottom bars: a 1-pixel rim around the panel colour.
    for (auto [x, y] : { std::pair { 3, 3 }, { 3, 20 }, { 696, 20 }, { 20, 36 }, { 3, 323 }, { 696, 396 }, { 20, 396 } })
        expectPixel (image, x, y, rim);

    for (auto [x, y] : { std::pair { 4, 4 }, { 695, 35 }, { 4, 324 }, { 100, 330 }, { 695, 395 } })
        expectPixel (image, x, y, panel);

    // The three sections: rim, panel and a 30-pixel grey title strip.
    struct Section { int left, right, titleX; };

    for (const auto& s : { Section { 6, 348, 7 }, Section { 351, 520, 352 }, Section { 523, 692, 524 } })
    {
        SCOPED_TRACE (s.left);
        expectPixel (image, s.left, 200, rim);
        expectPixel (image, s.right, 200, rim);
        expectPixel (image, s.left + 1, 200, panel);
        expectPixel (image, s.right - 1, 317, panel);
        expectPixel (image, s.left + 10, 318, rim);
        expectPixel (image, s.left + 10, 41, rim);
        expectPixel (image, s.titleX, 42, OskvColours::grey);
        expectPixel (image, s.titleX, 71, OskvColours::grey);
        expectPixel (image, s.titleX, 72, panel);
    }

    // The preset name box: blue with rounded corners.
    expectPixel (image, 300, 345, OskvColours::blue);
    expectPixel (image, 220, 345, OskvColours::blue);
    expectPixel (image, 479, 345, OskvColours::blue);
    expectPixel (image, 218, 345, panel);
    EXPECT_FALSE (sameColour (image.getPixelAt (219, 334), OskvColours::blue, 10));

    // With animations off the level display's place is plain panel.
    expectPixel (image, 608, 194, panel);
    expectPixel (image, 568, 177, panel);
}

TEST_F (PaintFixture, ModulationWireAndDot)
{
    processor->animationsEnabled = false;
    const auto image = paintOnly();
    const auto yellowWire = OskvColours::yellow.withMultipliedBrightness (0.5f);
    const auto tealWire = OskvColours::teal.withMultipliedBrightness (0.5f);

    // Down from the mod-depth knob, x 118.5 to 119.5: two half-covered columns, y 182 to 241.
    for (int y : { 182, 210, 236 })
    {
        expectPixel (image, 118, y, halfOver (panel, yellowWire), 3);
        expectPixel (image, 119, y, halfOver (panel, yellowWire), 3);
    }

    expectPixel (image, 117, 210, panel);
    expectPixel (image, 120, 210, panel);
    expectPixel (image, 118, 181, panel);

    // The dot, 8 across, centred on (119, 241).
    expectPixel (image, 119, 241, OskvColours::yellow);
    expectPixel (image, 117, 239, OskvColours::yellow);
    expectPixel (image, 120, 243, OskvColours::yellow);
    expectPixel (image, 124, 241, panel);
    expectPixel (image, 119, 246, panel);

    // Across from the cutoff knob's right edge at 85, y 100.5 to 101.5: two half rows.
    for (int x : { 85, 100, 117 })
    {
        expectPixel (image, x, 100, halfOver (panel, tealWire), 3);
        expectPixel (image, x, 101, halfOver (panel, tealWire), 3);
    }

    expectPixel (image, 84, 100, panel);
    expectPixel (image, 100, 99, panel);
    expectPixel (image, 100, 102, panel);

    // Down into the mod-depth knob: the whole column x 119, from y 100.5 to its top at 144.
    for (int y : { 110, 130, 142 })
        expectPixel (image, 119, y, tealWire);

    expectPixel (image, 119, 99, panel);

    expectPixel (image, 119, 143, tealWire);
    expectPixel (image, 119, 144, panel);
    expectPixel (image, 120, 130, panel);
    expectPixel (image, 118, 130, panel);
}

TEST_F (PaintFixture, LevelDisplayBlocks)
{
    processor->animationsEnabled = true;
    const auto amp = juce::Colour (0xffd397ff);
    const auto blockOver = [&] (juce::Colour under, float level)
    {
        return under.overlaidWith (amp.withAlpha ((juce::uint8) juce::jmin (255, juce::roundToInt (level * 204.0f))));
    };

    // Equal peaks of 1: the two blocks coincide, 78 x 33, each filled at alpha 204, over
    // the dark rounded background.
    {
        const auto image = paintLevels (1.0f, 1.0f);
        const auto full = blockOver (blockOver (levelBackground, 1.0f), 1.0f);

        for (auto [x, y] : { std::pair { 569, 178 }, { 646, 210 }, { 608, 194 }, { 569, 210 } })
            expectPixel (image, x, y, full);

        expectPixel (image, 608, 177, levelBackground);
        expectPixel (image, 568, 194, levelBackground);
        expectPixel (image, 647, 194, levelBackground);
        expectPixel (image, 608, 211, levelBackground);
        expectPixel (image, 608, 175, panel);
        expectPixel (image, 566, 194, panel);
    }

    // Out of range peaks are clamped: the same picture.
    {
        const auto clipped = paintLevels (3.0f, 1.5f);
        const auto full = paintLevels (1.0f, 1.0f);
        expectPixel (clipped, 608, 194, full.getPixelAt (608, 194));
        expectPixel (clipped, 569, 178, full.getPixelAt (569, 178));
    }

    // Input 1, output 0.5: a wide flat block (78 x 8.25) and a narrow tall one (19.5 x 33)
    // crossing in the middle, at alpha 153.
    {
        const auto image = paintLevels (1.0f, 0.5f);
        const auto one = blockOver (levelBackground, 0.75f);
        const auto both = blockOver (one, 0.75f);

        expectPixel (image, 575, 194, one);       // wide block only
        expectPixel (image, 608, 182, one);       // tall block only
        expectPixel (image, 608, 194, both);      // where they cross
        expectPixel (image, 575, 182, levelBackground);
        expectPixel (image, 575, 189, levelBackground);
        expectPixel (image, 597, 182, levelBackground);
    }

    // Silent input: nothing, however loud the output.
    {
        const auto image = paintLevels (0.0f, 1.0f);

        for (int x = 569; x < 647; x += 7)
            for (int y = 178; y < 211; y += 4)
                expectPixel (image, x, y, levelBackground);
    }

    // A block exactly 1 pixel high is not drawn, while the other one, 2.4 x 33, is.
    {
        float out = std::sqrt (1.0f / 33.0f);

        for (int i = 0; i < 64 && out * out * 33.0f != 1.0f; ++i)
            out = std::nextafter (out, out * out * 33.0f < 1.0f ? 2.0f : 0.0f);

        ASSERT_EQ (out * out * 33.0f, 1.0f);
        const auto image = paintLevels (1.0f, out);

        // The 78 x 1 block would cross the middle rows.
        expectPixel (image, 575, 194, levelBackground, 0);
        expectPixel (image, 575, 195, levelBackground, 0);
        expectPixel (image, 640, 194, levelBackground, 0);
        EXPECT_FALSE (sameColour (image.getPixelAt (608, 180), levelBackground, 4));
    }
}

TEST_F (PaintFixture, WholeEditorAtBothSizes)
{
    component->timerCallback();

    const auto small = component->createComponentSnapshot (component->getLocalBounds(), true, 1.0f);
    const auto large = component->createComponentSnapshot (component->getLocalBounds(), true, 1.5f);

    ASSERT_EQ (small.getBounds(), juce::Rectangle<int> (0, 0, 700, 400));
    ASSERT_EQ (large.getBounds(), juce::Rectangle<int> (0, 0, 1050, 600));

    // The same drawing, scaled: panels and title strips where they belong at both sizes.
    for (auto [x, y, colour] : { std::tuple { 300, 60, OskvColours::grey }, { 200, 200, panel }, { 100, 20, panel },
                                 { 300, 345, OskvColours::blue }, { 400, 300, panel } })
    {
        SCOPED_TRACE (juce::String (x) + ", " + juce::String (y));
        EXPECT_TRUE (sameColour (small.getPixelAt (x, y), colour, 2));
        EXPECT_TRUE (sameColour (large.getPixelAt (x * 3 / 2, y * 3 / 2), colour, 2));
    }

    // Written out for a look when asked for.
    const auto folder = juce::SystemStats::getEnvironmentVariable ("SOMBRAX_RENDER_DIR", {});

    if (folder.isNotEmpty())
    {
        for (auto [image, name] : { std::pair { &small, "main_component_700x400.png" }, { &large, "main_component_1050x600.png" } })
        {
            const auto file = juce::File (folder).getChildFile (name);
            file.deleteFile();
            juce::FileOutputStream stream (file);
            ASSERT_TRUE (stream.openedOk());
            ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (*image, stream));
        }
    }
}

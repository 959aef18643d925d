#include "support/ToolkitTestSupport.h"

#include "editor/PluginEditor.h"
#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

using toolkit_test::sameColour;

namespace
{
const juce::String widthKey ("editor_width");
const juce::String heightKey ("editor_height");

struct EditorWindow : ::testing::Test
{
    void store (const juce::String& width, const juce::String& height)
    {
        processor.preferences->setValue (widthKey, width);
        processor.preferences->setValue (heightKey, height);
    }

    juce::String storedSize() const
    {
        return processor.preferences->getValue (widthKey) + " x " + processor.preferences->getValue (heightKey);
    }

    static float scaleOf (const juce::Component& component)
    {
        const auto t = component.getTransform();
        EXPECT_FLOAT_EQ (t.mat00, t.mat11) << "the scale is uniform";
        EXPECT_FLOAT_EQ (t.mat01, 0.0f);
        EXPECT_FLOAT_EQ (t.mat10, 0.0f);
        return t.mat00;
    }

    SombraxAudioProcessor processor;
};

/** Writes the editor's rendering to <folder>/editor_<w>x<h>.png when SOMBRAX_EDITOR_PNG_DIR
    names a folder, for a look at the real thing. */
void writePngIfAsked (const juce::Image& image)
{
    const auto folder = juce::SystemStats::getEnvironmentVariable ("SOMBRAX_EDITOR_PNG_DIR", {});

    if (folder.isEmpty())
        return;

    const auto file = juce::File (folder).getChildFile ("editor_" + juce::String (image.getWidth()) + "x"
                                                        + juce::String (image.getHeight()) + ".png");
    file.deleteFile();
    juce::FileOutputStream out (file);
    juce::PNGImageFormat png;
    ASSERT_TRUE (out.openedOk() && png.writeImageToStream (image, out)) << file.getFullPathName();
}
} // namespace

TEST_F (EditorWindow, OpensAtTheLogicalSizeWithNothingStored)
{
    ASSERT_FALSE (processor.preferences->containsKey (widthKey));

    SombraxAudioProcessorEditor editor (processor);

    EXPECT_EQ (editor.getBounds(), juce::Rectangle<int> (0, 0, 700, 400));
    EXPECT_EQ (editor.mainComponent.getBounds(), juce::Rectangle<int> (0, 0, 700, 400));
    EXPECT_FLOAT_EQ (scaleOf (editor.mainComponent), 1.0f);
    EXPECT_EQ (storedSize(), "700 x 400");
    EXPECT_TRUE (editor.isResizable());
}

TEST_F (EditorWindow, OpensAtTheStoredSizeScaledByWidth)
{
    store ("1050", "600");

    SombraxAudioProcessorEditor editor (processor);

    EXPECT_EQ (editor.getWidth(), 1050);
    EXPECT_EQ (editor.getHeight(), 600);
    EXPECT_EQ (editor.mainComponent.getBounds(), juce::Rectangle<int> (0, 0, 700, 400));
    EXPECT_FLOAT_EQ (scaleOf (editor.mainComponent), 1.5f);
    EXPECT_EQ (storedSize(), "1050 x 600");

    // A host that forces a height off the ratio: still scaled by the width alone.
    editor.setSize (1400, 500);
    EXPECT_FLOAT_EQ (scaleOf (editor.mainComponent), 2.0f);
    EXPECT_EQ (editor.mainComponent.getBounds(), juce::Rectangle<int> (0, 0, 700, 400));
    EXPECT_EQ (storedSize(), "1400 x 500");
}

TEST_F (EditorWindow, CornerResizingKeepsTheRatioAndTheMinimumWidth)
{
    SombraxAudioProcessorEditor editor (processor);
    auto* constrainer = editor.getConstrainer();
    ASSERT_NE (constrainer, nullptr);
    EXPECT_DOUBLE_EQ (constrainer->getFixedAspectRatio(), 1.75);
    EXPECT_EQ (constrainer->getMinimumWidth(), 87);

    // The corner drags the bottom-right edges through the editor's constrainer.
    const auto dragTo = [&] (int width, int height)
    {
        constrainer->setBoundsForComponent (&editor, { 0, 0, width, height }, false, false, true, true);
    };

    dragTo (1000, 300);
    EXPECT_NEAR ((double) editor.getWidth() / editor.getHeight(), 1.75, 0.01);
    EXPECT_EQ (storedSize(), juce::String (editor.getWidth()) + " x " + juce::String (editor.getHeight()));
    EXPECT_FLOAT_EQ (scaleOf (editor.mainComponent), (float) editor.getWidth() / 700.0f);

    dragTo (20, 10);
    EXPECT_EQ (editor.getWidth(), 87);
    EXPECT_NEAR ((double) editor.getWidth() / editor.getHeight(), 1.75, 0.02);
    EXPECT_EQ (storedSize(), juce::String (editor.getWidth()) + " x " + juce::String (editor.getHeight()));

    // No upper limit.
    dragTo (7000, 4000);
    EXPECT_EQ (editor.getWidth(), 7000);
    EXPECT_EQ (editor.getHeight(), 4000);

    // The corner itself exists, in the corner, above the main component.
    editor.setVisible (true);
    auto* corner = editor.getComponentAt (editor.getWidth() - 2, editor.getHeight() - 2);
    EXPECT_NE (dynamic_cast<juce::ResizableCornerComponent*> (corner), nullptr);
}

TEST_F (EditorWindow, UnusableStoredSizesOpenAtTheLogicalSize)
{
    const std::pair<const char*, const char*> unusable[] = {
        { "0", "400" }, { "700", "0" }, { "-1050", "-600" }, { "86", "49" },
        { "700", "6401" }, { "abc", "400" }, { "700", "" },
        { "1050.5", "600" }, { "1e3", "600" }, { "99999999999", "600" },
        // Wider than 16 times the logical width: 40000 would reach the host as -25536.
        { "11201", "400" }, { "40000", "600" },
    };

    for (const auto& [width, height] : unusable)
    {
        store (width, height);
        SombraxAudioProcessorEditor editor (processor);
        EXPECT_EQ (editor.getBounds(), juce::Rectangle<int> (0, 0, 700, 400)) << width << " x " << height;
        EXPECT_EQ (storedSize(), "700 x 400") << width << " x " << height;
    }

    // Usable sizes are applied exactly as stored, off the ratio or not.
    const std::pair<int, int> usable[] = { { 87, 50 }, { 87, 6400 }, { 11200, 6400 }, { 11200, 400 }, { 1234, 321 }, { 701, 400 } };

    for (const auto& [width, height] : usable)
    {
        store (juce::String (width), juce::String (height));
        SombraxAudioProcessorEditor editor (processor);
        EXPECT_EQ (editor.getBounds(), juce::Rectangle<int> (0, 0, width, height)) << width << " x " << height;
    }

    // One key alone: the other takes its default.
    processor.preferences->removeValue (heightKey);
    processor.preferences->setValue (widthKey, 1050);
    SombraxAudioProcessorEditor editor (processor);
    EXPECT_EQ (editor.getBounds(), juce::Rectangle<int> (0, 0, 1050, 400));
}

TEST_F (EditorWindow, DrawsTheMainComponentScaledToTheWindow)
{
    // The frame's light grey on the outer edge and a bare stretch of the top bar's panel,
    // at the logical coordinates times the window's scale.
    for (const auto scale : { 1.0f, 1.5f })
    {
        store (juce::String (juce::roundToInt (700 * scale)), juce::String (juce::roundToInt (400 * scale)));
        SombraxAudioProcessorEditor editor (processor);
        editor.mainComponent.timerCallback();
        const auto image = editor.createComponentSnapshot (editor.getLocalBounds());
        writePngIfAsked (image);

        const auto at = [&] (float x, float y) { return image.getPixelAt ((int) (x * scale), (int) (y * scale)); };

        EXPECT_TRUE (sameColour (at (350.0f, 0.5f), juce::Colour (0xffbdbdbd))) << scale;
        EXPECT_TRUE (sameColour (at (0.5f, 200.0f), juce::Colour (0xffbdbdbd))) << scale;
        EXPECT_TRUE (sameColour (at (350.0f, 20.0f), juce::Colour (0xff202020))) << scale;
        EXPECT_TRUE (sameColour (at (350.0f, 3.5f), juce::Colour (0xff3b3b3b))) << scale;
        EXPECT_TRUE (sameColour (at (350.0f, 365.0f), juce::Colour (0xff202020))) << scale;
    }
}

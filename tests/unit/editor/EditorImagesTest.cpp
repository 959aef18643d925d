#include "support/ToolkitTestSupport.h"

#include <SombraxBinaryData.h>
#include <gtest/gtest.h>

namespace
{
struct EditorImage
{
    const char* name;
    const char* data;
    int size;
    float width, height;
    std::vector<juce::uint32> colours; // every colour the editor recolours or relies on
};

const std::vector<EditorImage>& editorImages()
{
    using namespace SombraxBinaryData;
    const juce::uint32 white = 0xffffffff, blue = 0xff1c91ab, teal = 0xff4bc89a;

    static const std::vector<EditorImage> images {
        { "Prev", Prev_svg, Prev_svgSize, 200, 200, { white } },
        { "PrevClicked", PrevClicked_svg, PrevClicked_svgSize, 200, 200, { white } },
        { "Next", Next_svg, Next_svgSize, 200, 200, { white } },
        { "NextClicked", NextClicked_svg, NextClicked_svgSize, 200, 200, { white } },
        { "save_floppy", save_floppy_svg, save_floppy_svgSize, 200, 200, { blue } },
        { "randomise_arrows", randomise_arrows_svg, randomise_arrows_svgSize, 200, 200, { white } },
        { "settings_gear", settings_gear_svg, settings_gear_svgSize, 200, 200, { blue } },
        { "power_symbol", power_symbol_svg, power_symbol_svgSize, 200, 200, { 0xff42d2dd } },
        { "lpf_shape", lpf_shape_svg, lpf_shape_svgSize, 500, 150, { white } },
        { "hpf_shape", hpf_shape_svg, hpf_shape_svgSize, 500, 150, { white } },
        { "bpf_shape", bpf_shape_svg, bpf_shape_svgSize, 500, 150, { white } },
        { "notch_shape", notch_shape_svg, notch_shape_svgSize, 500, 150, { white } },
        { "wave_sine", wave_sine_svg, wave_sine_svgSize, 500, 150, { white } },
        { "wave_square", wave_square_svg, wave_square_svgSize, 500, 150, { white } },
        { "wave_saw_up", wave_saw_up_svg, wave_saw_up_svgSize, 500, 150, { white } },
        { "wave_saw_down", wave_saw_down_svg, wave_saw_down_svgSize, 500, 150, { white } },
        { "wave_triangle", wave_triangle_svg, wave_triangle_svgSize, 500, 150, { white } },
        { "wave_random", wave_random_svg, wave_random_svgSize, 500, 150, { white } },
        { "wave_smooth_random", wave_smooth_random_svg, wave_smooth_random_svgSize, 500, 150, { white } },
        { "product_logo", product_logo_svg, product_logo_svgSize, 600, 160, { white } },
        { "maker_logo", maker_logo_svg, maker_logo_svgSize, 350, 108, { 0xffbdbdbd } },
        { "Routing_Pre", Routing_Pre_svg, Routing_Pre_svgSize, 600, 67.069f, { teal, 0xffd8504d, 0xffd397ff } },
        { "Routing_Post", Routing_Post_svg, Routing_Post_svgSize, 600, 67.277f, { teal, 0xffd8504c, 0xffd397ff } },
    };

    return images;
}
} // namespace

// The editor fits each picture by its drawn bounds and recolours it by exact colour: every
// image must parse with its view box, keep its drawing inside it, and hold each colour that
// is replaced, visibly.
TEST (EditorImages, ParseWithTheirViewBoxAndShowEachColourTheEditorReplaces)
{
    for (const auto& image : editorImages())
    {
        SCOPED_TRACE (image.name);
        auto drawable = juce::Drawable::createFromImageData (image.data, (size_t) image.size);
        auto* composite = dynamic_cast<juce::DrawableComposite*> (drawable.get());
        ASSERT_NE (composite, nullptr);

        const juce::Rectangle<float> viewBox (0, 0, image.width, image.height);
        EXPECT_EQ (composite->getContentArea(), viewBox);
        EXPECT_TRUE (viewBox.expanded (0.01f).contains (drawable->getDrawableBounds()));

        for (auto colour : image.colours)
        {
            const juce::Colour marker (0xffff0000);
            EXPECT_TRUE (drawable->replaceColour (juce::Colour (colour), marker)) << juce::String::toHexString ((int) colour);

            const auto picture = toolkit_test::render (100, 100, [&] (juce::Graphics& g)
            {
                drawable->drawWithin (g, { 0, 0, 100, 100 }, juce::RectanglePlacement::centred, 1.0f);
            });

            bool shown = false;

            for (int y = 0; y < 100 && ! shown; ++y)
                for (int x = 0; x < 100 && ! shown; ++x)
                    shown = toolkit_test::sameColour (picture.getPixelAt (x, y), marker);

            EXPECT_TRUE (shown) << juce::String::toHexString ((int) colour);
            drawable->replaceColour (marker, juce::Colours::transparentBlack);
        }
    }
}

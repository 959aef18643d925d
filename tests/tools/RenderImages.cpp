// Renders every resources/*.svg through the framework's SVG reader, recoloured and fitted
// as the editor draws it, on the editor's panel colour, at scale 1 and 1.5 and large.
// The sheet-*.png files show them magnified four times, pixel for pixel.
#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

namespace
{
const juce::Colour panel (0xff202020);
const juce::Colour blue (0xff1c91ab), teal (0xff4bc89a), red (0xffd8504d), yellow (0xffccb51f);
const juce::Colour darkGrey (0xff272727), lightGrey (0xffbdbdbd), powerCyan (0xff42d2dd);

struct Variant
{
    juce::String suffix;
    juce::Colour from, to; // transparent 'from': drawn as it is
};

struct Placement
{
    float width, height;
    std::vector<Variant> variants;
    juce::String sheet = "icons";
};

Placement placementFor (const juce::String& name)
{
    const Variant asIs { {}, {}, {} };

    if (name.startsWith ("Prev") || name.startsWith ("Next"))
        return { 18, 22, { { {}, juce::Colours::white, blue } } };
    if (name == "randomise_arrows")
        return { 22, 22, { { {}, juce::Colours::white, blue.withMultipliedBrightness (0.8f) },
                           { "-pressed", juce::Colours::white, blue } } };
    if (name == "save_floppy" || name == "settings_gear")
        return { 14, 14, { asIs } };
    if (name == "power_symbol")
        return { 12, 12, { { "-on", powerCyan, teal }, { "-off", powerCyan, lightGrey }, { "-red", powerCyan, red } } };
    if (name.endsWith ("_shape"))
        return { 26, 26, { { {}, juce::Colours::white, teal } }, "shapes" };
    if (name.startsWith ("wave_")) // a selector column of 178 / 7 by 19, less 2 on every side
        return { 178.0f / 7.0f - 4.0f, 15, { { "-selected", juce::Colours::white, yellow },
                                             { "-grey", juce::Colours::white, darkGrey } }, "shapes" };
    if (name.endsWith ("_logo"))
        return { 127, 32, { asIs }, "wide" };
    if (name.startsWith ("Routing_"))
        return { 158, 12, { asIs }, "wide" };
    if (name.startsWith ("knob_"))
        return { 46, 46, { asIs }, "knobs" };

    return { 32, 32, { asIs } };
}

std::unique_ptr<juce::Drawable> load (const juce::File& file, const Variant& variant, bool& recoloured)
{
    juce::MemoryBlock data;
    file.loadFileAsData (data);
    auto drawable = juce::Drawable::createFromImageData (data.getData(), data.getSize());
    recoloured = true;

    if (drawable != nullptr && ! variant.from.isTransparent())
        recoloured = drawable->replaceColour (variant.from, variant.to);

    return drawable;
}

void drawFitted (juce::Graphics& g, juce::Drawable& drawable, juce::Rectangle<float> area, float opacity = 1.0f)
{
    const auto transform = juce::RectanglePlacement (juce::RectanglePlacement::centred)
                               .getTransformToFit (drawable.getDrawableBounds(), area);
    drawable.draw (g, opacity, transform);
}

juce::Image render (juce::Drawable& drawable, float width, float height, float scale, juce::Colour background)
{
    juce::Image image (juce::Image::ARGB, juce::roundToInt (width * scale), juce::roundToInt (height * scale), true);
    juce::Graphics g (image);
    g.fillAll (background);
    g.addTransform (juce::AffineTransform::scale (scale));
    drawFitted (g, drawable, { 0, 0, width, height });
    return image;
}

/** The wave selector as the editor paints it, wave `selected` in yellow. */
juce::Image renderWaveSelector (const juce::File& folder, int selected, float scale)
{
    const char* names[] = { "wave_sine", "wave_square", "wave_saw_up", "wave_saw_down",
                            "wave_triangle", "wave_random", "wave_smooth_random" };
    juce::Image image (juce::Image::ARGB, juce::roundToInt (178 * scale), juce::roundToInt (20 * scale), true);
    juce::Graphics g (image);
    g.fillAll (panel);
    g.addTransform (juce::AffineTransform::scale (scale));
    g.setColour (yellow.withAlpha ((juce::uint8) 0x33));
    g.fillRect (0.0f, 0.0f, 178.0f, 19.0f);

    for (int i = 0; i < 7; ++i)
    {
        bool ok = false;
        const Variant variant { {}, juce::Colours::white, i == selected ? yellow : darkGrey };

        if (auto drawable = load (folder.getChildFile (juce::String (names[i]) + ".svg"), variant, ok))
            drawFitted (g, *drawable, juce::Rectangle<float> (i * (178.0f / 7.0f), 0, 178.0f / 7.0f, 19).reduced (2),
                        i == selected ? 0.7f : 1.0f);
    }

    g.setColour (yellow);
    g.fillRect (0.0f, 19.0f, 178.0f, 1.0f);
    return image;
}

juce::Image magnified (const juce::Image& source, int factor)
{
    juce::Image image (juce::Image::ARGB, source.getWidth() * factor, source.getHeight() * factor, true);

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            image.setPixelAt (x, y, source.getPixelAt (x / factor, y / factor));

    return image;
}

void save (const juce::Image& image, const juce::File& file)
{
    file.deleteFile();
    juce::FileOutputStream stream (file);
    juce::PNGImageFormat().writeImageToStream (image, stream);
}
} // namespace

int main (int argc, char** argv)
{
    if (argc < 2)
    {
        std::cerr << "usage: SombraxRenderImages OUT_DIR [RESOURCES_DIR]\n";
        return 2;
    }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    const juce::File out (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    const juce::File folder (juce::File::getCurrentWorkingDirectory().getChildFile (argc > 2 ? argv[2] : SOMBRAX_RESOURCES_DIR));
    out.createDirectory();

    struct Row { juce::String sheet, label; juce::Image one, oneAndHalf; };
    std::vector<Row> rows;
    int failures = 0;
    auto files = folder.findChildFiles (juce::File::findFiles, false, "*.svg");
    files.sort();

    for (const auto& file : files)
    {
        const auto name = file.getFileNameWithoutExtension();
        const auto placement = placementFor (name);

        for (const auto& variant : placement.variants)
        {
            bool recoloured = false;
            auto drawable = load (file, variant, recoloured);
            auto* composite = dynamic_cast<juce::DrawableComposite*> (drawable.get());

            if (drawable == nullptr || ! recoloured)
            {
                std::cout << name << variant.suffix << ": " << (drawable == nullptr ? "does not parse" : "colour to replace not found") << "\n";
                ++failures;
                continue;
            }

            std::cout << name << variant.suffix << ": view box " << (composite != nullptr ? composite->getContentArea().toString() : "?")
                      << ", drawn bounds " << drawable->getDrawableBounds().toString() << "\n";

            const auto background = name.startsWith ("wave_") ? panel.overlaidWith (yellow.withAlpha ((juce::uint8) 0x33)) : panel;
            Row row { placement.sheet, name + variant.suffix,
                      render (*drawable, placement.width, placement.height, 1.0f, background),
                      render (*drawable, placement.width, placement.height, 1.5f, background) };
            save (row.one, out.getChildFile (row.label + ".png"));
            save (row.oneAndHalf, out.getChildFile (row.label + "@1.5x.png"));
            const auto big = juce::jmin (800.0f / placement.width, 300.0f / placement.height);
            save (render (*drawable, placement.width, placement.height, big, background), out.getChildFile (row.label + "@big.png"));
            rows.push_back (std::move (row));
        }
    }

    for (int selected : { 0, 3 })
    {
        const auto label = "wave_selector-" + juce::String (selected);
        Row row { "shapes", label, renderWaveSelector (folder, selected, 1.0f), renderWaveSelector (folder, selected, 1.5f) };
        save (row.one, out.getChildFile (label + ".png"));
        save (row.oneAndHalf, out.getChildFile (label + "@1.5x.png"));
        rows.push_back (std::move (row));
    }

    // Contact sheets, one per group: label, then scale 1 and scale 1.5, magnified four times.
    for (const juce::String sheetName : { "icons", "shapes", "wide", "knobs" })
    {
        const int factor = 4, labelWidth = 170, gap = 8;
        int width = 0, height = gap;

        for (const auto& row : rows)
        {
            if (row.sheet != sheetName)
                continue;

            width = juce::jmax (width, labelWidth + (row.one.getWidth() + row.oneAndHalf.getWidth()) * factor + 3 * gap);
            height += row.oneAndHalf.getHeight() * factor + gap;
        }

        if (width == 0)
            continue;

        juce::Image sheet (juce::Image::ARGB, width, height, true);
        juce::Graphics g (sheet);
        g.fillAll (juce::Colours::black);
        int y = gap;

        for (const auto& row : rows)
        {
            if (row.sheet != sheetName)
                continue;

            g.setColour (juce::Colours::white);
            g.setFont (14.0f);
            g.drawText (row.label, gap, y, labelWidth - gap, 20, juce::Justification::centredLeft);
            g.drawImageAt (magnified (row.one, factor), labelWidth, y);
            g.drawImageAt (magnified (row.oneAndHalf, factor), labelWidth + row.one.getWidth() * factor + gap, y);
            y += row.oneAndHalf.getHeight() * factor + gap;
        }

        save (sheet, out.getChildFile ("sheet-" + sheetName + ".png"));
    }

    std::cout << rows.size() << " pictures in " << out.getFullPathName() << ", " << failures << " failed\n";
    return failures == 0 ? 0 : 1;
}

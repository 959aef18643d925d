#include "LFOWaveSelector.h"

#include "toolkit_ui/OskvColours.h"

#include <SombraxBinaryData.h>

#include <cmath>
#include <iterator>

namespace
{
struct WavePicture
{
    const char* data;
    int size;
};

// In the order of the wave names: SINE, SQUARE, SAW UP, SAW DOWN, TRIANGLE, RANDOM, SMOOTH RANDOM.
const WavePicture wavePictures[] = {
    { SombraxBinaryData::wave_sine_svg, SombraxBinaryData::wave_sine_svgSize },
    { SombraxBinaryData::wave_square_svg, SombraxBinaryData::wave_square_svgSize },
    { SombraxBinaryData::wave_saw_up_svg, SombraxBinaryData::wave_saw_up_svgSize },
    { SombraxBinaryData::wave_saw_down_svg, SombraxBinaryData::wave_saw_down_svgSize },
    { SombraxBinaryData::wave_triangle_svg, SombraxBinaryData::wave_triangle_svgSize },
    { SombraxBinaryData::wave_random_svg, SombraxBinaryData::wave_random_svgSize },
    { SombraxBinaryData::wave_smooth_random_svg, SombraxBinaryData::wave_smooth_random_svgSize },
};

constexpr int numWaves = (int) std::size (wavePictures);

/** Nearest integer, halves to the even neighbour (the default rounding mode), as the
    parameter's value texts round. Non-finite values count as the first wave. */
int nearestWave (const juce::NormalisableRange<float>& range, float normalised)
{
    if (! std::isfinite (normalised))
        return 0;

    const auto plain = range.convertFrom0to1 (juce::jlimit (0.0f, 1.0f, normalised));
    return juce::jlimit (0, numWaves - 1, (int) std::nearbyint (juce::jlimit (0.0f, (float) (numWaves - 1), plain)));
}

int nearestInt (float value)
{
    return (int) std::nearbyint (value);
}
} // namespace

LFOWaveSelector::LFOWaveSelector (juce::AudioProcessorParameter* parameter, const juce::NormalisableRange<float>& range,
                                  const juce::Colour& colourToUse, juce::LookAndFeel& buttonLook)
    : parameterLink (parameter, range),
      colour (colourToUse)
{
    for (const auto& picture : wavePictures)
    {
        auto* coloured = colouredImages.add (juce::Drawable::createFromImageData (picture.data, (size_t) picture.size));
        auto* grey = greyImages.add (juce::Drawable::createFromImageData (picture.data, (size_t) picture.size));

        if (coloured != nullptr)
            coloured->replaceColour (juce::Colours::white, colour);

        if (grey != nullptr)
            grey->replaceColour (juce::Colours::white, oskv::OskvColours::dark_grey);

        // Invisible: the pictures underneath are what the user sees.
        auto* button = buttons.add (new juce::TextButton());
        button->setLookAndFeel (&buttonLook);
        button->setAlpha (0.0f);
        addAndMakeVisible (button);
        button->addListener (this);

        columns.push_back ({});
    }

    selectedIndex = waveFromParameter();
}

int LFOWaveSelector::waveFromParameter() const
{
    return parameterLink.parameter != nullptr ? nearestWave (parameterLink.range, parameterLink.parameter->getValue()) : 0;
}

LFOWaveSelector::~LFOWaveSelector() = default;

void LFOWaveSelector::paint (juce::Graphics& g)
{
    const auto pictureHeight = juce::jmax (0, getHeight() - barHeight);

    g.setColour (colour.withAlpha ((juce::uint8) 0x33));
    g.fillRect (0, 0, getWidth(), pictureHeight);

    const juce::RectanglePlacement placement (juce::RectanglePlacement::centred);

    for (int i = 0; i < (int) columns.size() && i < numWaves; ++i)
    {
        const bool selected = i == selectedIndex;
        auto* picture = selected ? colouredImages[i] : greyImages[i];
        const auto target = columns[(size_t) i].reduced (2.0f);

        if (picture == nullptr || target.isEmpty())
            continue;

        const auto source = picture->getDrawableBounds();

        if (source.isEmpty())
            continue;

        picture->draw (g, selected ? 0.7f : 1.0f, placement.getTransformToFit (source, target));
    }

    g.setColour (colour);
    g.fillRect (0, pictureHeight, getWidth(), getHeight() - pictureHeight);
}

void LFOWaveSelector::resized()
{
    const auto columnWidth = (float) getWidth() / (float) numWaves;
    const auto columnHeight = (float) juce::jmax (0, getHeight() - barHeight);

    for (int i = 0; i < (int) columns.size(); ++i)
    {
        const juce::Rectangle<float> column ((float) i * columnWidth, 0.0f, columnWidth, columnHeight);
        columns[(size_t) i] = column;

        if (auto* button = buttons[i])
            button->setBounds (nearestInt (column.getX()), nearestInt (column.getY()),
                               nearestInt (column.getWidth()), nearestInt (column.getHeight()));
    }
}

void LFOWaveSelector::buttonClicked (juce::Button* button)
{
    for (int i = 0; i < buttons.size(); ++i)
    {
        if (buttons[i] == button)
        {
            selectedIndex = i;
            parameterLink.updateIntParameter (i);
            repaint();
        }
    }
}

#include "PluginEditor.h"

#include "plugin/PluginProcessor.h"

#include <optional>

namespace
{
/** The stored value as an integer, or nothing when it is not a whole number in plain digits
    ("", "abc", "12.5", "1e3", more digits than any usable size has). */
std::optional<int> storedInteger (const juce::PropertiesFile& preferences, const juce::String& key)
{
    const auto text = preferences.getValue (key).trim();
    const auto digits = text.startsWithChar ('-') || text.startsWithChar ('+') ? text.substring (1) : text;

    if (digits.isEmpty() || digits.length() > 9 || ! digits.containsOnly ("0123456789"))
        return std::nullopt;

    return text.getIntValue();
}

/** Not zero or negative, not narrower than the minimum width, neither side beyond 16 times
    the logical size: no screen shows a larger window, its corner is out of reach, and the
    host's editor rectangle holds only 16-bit sides. */
bool isUsableSize (const SombraxLayout& layout, int width, int height)
{
    constexpr int maximumScale = 16;

    return width >= layout.width / 8 && width <= maximumScale * layout.width
        && height > 0 && height <= maximumScale * layout.height;
}
} // namespace

SombraxAudioProcessorEditor::SombraxAudioProcessorEditor (SombraxAudioProcessor& processor)
    : juce::AudioProcessorEditor (processor),
      audioProcessor (processor),
      mainComponent (processor)
{
    addAndMakeVisible (mainComponent);

    // Resizable by the host, and from a corner that stays above the main component.
    setResizable (true, true);

    if (auto* constrainer = getConstrainer())
    {
        constrainer->setFixedAspectRatio ((double) layout.width / (double) layout.height);
        constrainer->setMinimumWidth (layout.width / 8);
    }

    if (auto* preferences = audioProcessor.preferences.get())
    {
        auto width = layout.width;
        auto height = layout.height;

        // A missing key keeps its default; a stored size no window can use (a damaged or
        // hand-edited file) opens at the logical size instead.
        const auto storedWidth = preferences->containsKey (editorWidthKey) ? storedInteger (*preferences, editorWidthKey)
                                                                           : std::optional<int> (layout.width);
        const auto storedHeight = preferences->containsKey (editorHeightKey) ? storedInteger (*preferences, editorHeightKey)
                                                                             : std::optional<int> (layout.height);

        if (storedWidth.has_value() && storedHeight.has_value()
            && isUsableSize (layout, *storedWidth, *storedHeight))
        {
            width = *storedWidth;
            height = *storedHeight;
        }

        // Applied as stored: the aspect ratio and the minimum width govern later resizing only.
        setSize (width, height);
    }
}

SombraxAudioProcessorEditor::~SombraxAudioProcessorEditor() = default;

void SombraxAudioProcessorEditor::paint (juce::Graphics&)
{
    // Nothing: the main component covers the whole window.
}

void SombraxAudioProcessorEditor::resized()
{
    mainComponent.setBounds (0, 0, layout.width, layout.height);

    // Scaled by the width alone: a host that forces another height still gets the whole width.
    // A zero width would make the transform singular, so the last scale stays until it grows.
    if (getWidth() > 0)
    {
        const auto scale = (float) getWidth() / (float) layout.width;
        mainComponent.setTransform (juce::AffineTransform::scale (scale, scale));
    }

    if (auto* preferences = audioProcessor.preferences.get())
    {
        preferences->setValue (editorWidthKey, getWidth());
        preferences->setValue (editorHeightKey, getHeight());
    }
}

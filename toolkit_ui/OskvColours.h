#pragma once

#include <juce_graphics/juce_graphics.h>

namespace oskv
{
/** The toolkit's palette. Read at run time only, never from another static initialiser,
    so no initialisation order between translation units matters. */
class OskvColours
{
public:
    static const juce::Colour blue;
    static const juce::Colour green;
    static const juce::Colour yellow;
    static const juce::Colour red;
    static const juce::Colour orange;
    static const juce::Colour lime;
    static const juce::Colour teal;
    static const juce::Colour pink;
    static const juce::Colour purple;
    static const juce::Colour grey;
    static const juce::Colour dark_grey;
    static const juce::Colour light_grey;

    OskvColours() = delete;
};
} // namespace oskv

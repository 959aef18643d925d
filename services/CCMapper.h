#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include <atomic>

namespace oskv
{
/** The MIDI controller map: one child per mapped parameter, whose type is the parameter
    ID and whose "cc" property is the controller number. */
class CCMapper
{
public:
    static const juce::String midiMapTag;
    static const juce::String ccValueProperty;

    CCMapper();

    /** Replaces the map with the element's content when it is a map; anything else is ignored. */
    void loadMapFromXml (const juce::XmlElement& element);

    juce::ValueTree mapTree;

    /** The last controller number the audio thread accepted, -1 until one arrives. */
    std::atomic<int> lastCC { -1 };
};
} // namespace oskv

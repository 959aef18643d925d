#include "CCMapper.h"

namespace oskv
{
const juce::String CCMapper::midiMapTag { juce::String ("Sombrax") + "_MIDI_MAP" };
const juce::String CCMapper::ccValueProperty { "cc" };

CCMapper::CCMapper()
    : mapTree (midiMapTag)
{
}

void CCMapper::loadMapFromXml (const juce::XmlElement& element)
{
    if (! element.getTagName().equalsIgnoreCase (midiMapTag))
        return;

    mapTree = juce::ValueTree::fromXml (element);
}
} // namespace oskv

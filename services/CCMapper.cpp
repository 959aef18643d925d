#include "CCMapper.h"

#include "platform/WholeFileWriter.h"
#include "services/ParameterChange.h"
#include "services/StateXml.h"

namespace oskv
{
const juce::String CCMapper::midiMapTag { juce::String ("Sombrax") + "_MIDI_MAP" };
const juce::String CCMapper::ccValueProperty { "cc" };

CCMapper::CCMapper()
    : mapTree (midiMapTag)
{
    mapTree.addListener (&watcher);
}

CCMapper::CCMapper (juce::AudioProcessor& processorWithParameters)
    : CCMapper()
{
    processor = &processorWithParameters;
}

CCMapper::~CCMapper()
{
    mapTree.removeListener (&watcher);
}

void CCMapper::loadMapFromXml (const juce::XmlElement& element)
{
    if (! element.getTagName().equalsIgnoreCase (midiMapTag))
        return;

    auto newMap = juce::ValueTree::fromXml (element);

    const juce::ScopedLock lock (mapLock);
    mapTree = newMap;
}

std::unique_ptr<juce::XmlElement> CCMapper::createMapXml() const
{
    const juce::ScopedLock lock (mapLock);
    return mapTree.createXml();
}

//==============================================================================
void CCMapper::assignToLastController (const juce::String& parameterID)
{
    if (parameterID.isEmpty())
        return;

    const juce::Identifier type (parameterID);
    const int controller = lastCC.load();

    const juce::ScopedLock lock (mapLock);
    auto binding = mapTree.getChildWithName (type);

    if (binding.isValid())
    {
        binding.setProperty (ccValueProperty, controller, nullptr);
        return;
    }

    // Numbered before it joins the map, so the map never holds a binding without "cc".
    juce::ValueTree newBinding (type);
    newBinding.setProperty (ccValueProperty, controller, nullptr);
    mapTree.appendChild (newBinding, nullptr);
}

void CCMapper::removeBinding (const juce::String& parameterID)
{
    if (parameterID.isEmpty())
        return;

    const juce::ScopedLock lock (mapLock);
    auto binding = mapTree.getChildWithName (juce::Identifier (parameterID));

    if (binding.isValid())
        mapTree.removeChild (binding, nullptr);
}

//==============================================================================
bool CCMapper::saveMapToFile (const juce::File& file) const
{
    auto xml = createMapXml();

    if (xml == nullptr)
        return false;

    juce::XmlElement::TextFormat format;
    format.customEncoding = "UTF-8";
    format.lineWrapLength = 60;

    // Whole or not at all: the framework's own file writer replaces the old file even
    // after a short write.
    return WholeFileWriter::replace (file, *xml, format);
}

void CCMapper::loadMapFromFile (const juce::File& file)
{
    if (auto xml = StateXml::parseFile (file))
        loadMapFromXml (*xml);
}

void CCMapper::clearMap()
{
    const juce::ScopedLock lock (mapLock);

    while (mapTree.getNumChildren() > 0)
        mapTree.removeChild (mapTree.getNumChildren() - 1, nullptr);
}

juce::String CCMapper::wildcardForFileChooser()
{
    return "*.mpcc";
}

//==============================================================================
juce::AudioProcessorParameter* CCMapper::findParameter (const juce::String& parameterID) const
{
    if (processor == nullptr)
        return nullptr;

    for (auto* parameter : processor->getParameters())
        if (auto* withID = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter))
            if (withID->paramID == parameterID)
                return parameter;

    return nullptr;
}

void CCMapper::publishBindings()
{
    // Built on the thread that changed the map; the audio thread only ever copies it.
    BindingTable table;

    for (const auto& child : mapTree)
    {
        if (table.size == maxBindings)
            break;

        if (auto* parameter = findParameter (child.getType().toString()))
            table.entries[(size_t) table.size++] = { static_cast<int> (child.getProperty (ccValueProperty)), parameter };
    }

    const juce::SpinLock::ScopedLockType lock (publishedLock);
    published = table;
}

void CCMapper::handleControllerChanges (const juce::MidiBuffer& midiMessages)
{
    // The last value of each controller in this block, -1 where none arrived.
    std::array<int, 128> values;
    values.fill (-1);
    bool anyValue = false;

    for (const auto metadata : midiMessages)
    {
        if (metadata.numBytes < 3)
            continue;

        const auto* data = metadata.data;

        if ((data[0] & 0xf0) != 0xb0)
            continue;

        const int controller = data[1];
        const int value = data[2];

        // 123 is "all notes off"; bytes with the top bit set are no data bytes at all.
        if (controller >= 128 || controller == 123 || value >= 128)
            continue;

        lastCC.store (controller, std::memory_order_relaxed);
        values[(size_t) controller] = value;
        anyValue = true;
    }

    if (! anyValue)
        return;

    {
        const juce::SpinLock::ScopedLockType lock (publishedLock);
        audioBindings.size = published.size;
        std::copy_n (published.entries.begin(), published.size, audioBindings.entries.begin());
    }

    if (audioBindings.size == 0)
        return;

    for (int controller = 0; controller < 128; ++controller)
    {
        const int value = values[(size_t) controller];

        if (value < 0)
            continue;

        const float normalised = (float) value * 0.007874016f;

        for (int i = 0; i < audioBindings.size; ++i)
        {
            const auto& binding = audioBindings.entries[(size_t) i];

            if (binding.controller != controller)
                continue;

            // Gestures with every host, so the host records the move as automation.
            setParameterAsUserChange (*binding.parameter, normalised, true);
        }
    }
}
} // namespace oskv

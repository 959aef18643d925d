#include "PluginStateLoader.h"

#include "services/StateXml.h"

namespace oskv
{
PluginStateLoader::PluginStateLoader (juce::AudioProcessorValueTreeState& parameterState, const void* data, int sizeInBytes)
    : parameters (parameterState),
      xml (readChunk (data, sizeInBytes))
{
}

PluginStateLoader::~PluginStateLoader()
{
    if (xml != nullptr)
        StateXml::assignParameterTree (parameters, *xml, editTree);
}

std::unique_ptr<juce::XmlElement> PluginStateLoader::readChunk (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes < 9)
        return {};

    const auto* bytes = static_cast<const juce::uint8*> (data);

    auto readInt = [bytes] (int offset)
    {
        return (juce::uint32) bytes[offset] | ((juce::uint32) bytes[offset + 1] << 8)
             | ((juce::uint32) bytes[offset + 2] << 16) | ((juce::uint32) bytes[offset + 3] << 24);
    };

    if (readInt (0) != 0x21324356) // "VC2!"
        return {};

    const auto textLength = (juce::int32) readInt (4);

    if (textLength <= 0)
        return {};

    // A length beyond the data is cut to what is there. A text over the limit is turned away
    // before it is even decoded.
    const auto available = (size_t) juce::jmin (sizeInBytes - 8, (int) textLength);

    if (available > StateXml::maxTextBytes)
        return {};

    juce::String text;

    if (! StateXml::decodeUtf8 (bytes + 8, available, text))
        return {};

    return StateXml::parseDocument (text);
}
} // namespace oskv

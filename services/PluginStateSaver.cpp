#include "PluginStateSaver.h"

namespace oskv
{
PluginStateSaver::PluginStateSaver (juce::AudioProcessorValueTreeState& parameterState, juce::MemoryBlock& destination)
    : parameters (parameterState),
      destData (destination),
      // A copy, so values the host or the audio thread set since the framework's last
      // flush are in it too.
      xml (parameterState.copyState().createXml())
{
}

PluginStateSaver::~PluginStateSaver()
{
    if (xml == nullptr)
        return;

    {
        juce::MemoryOutputStream out (destData, false);
        out.writeInt (0x21324356); // "VC2!"
        out.writeInt (0);

        juce::XmlElement::TextFormat format;
        format.customEncoding = "UTF-8";
        xml->writeTo (out, format.singleLine().withoutHeader());
        out.writeByte (0);
    }

    // The stream has set the block's size to what it wrote; the length counts the text only.
    const auto textLength = (juce::uint32) (destData.getSize() - 9);
    auto* bytes = static_cast<juce::uint8*> (destData.getData());

    for (int i = 0; i < 4; ++i)
        bytes[4 + i] = (juce::uint8) (textLength >> (8 * i));
}
} // namespace oskv

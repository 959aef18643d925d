#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace oskv
{
/** Writes the host state chunk when it goes out of scope: the framework's XML envelope
    ("VC2!", the text length, the XML on one line, a 0 byte) around the parameter state,
    plus whatever children the caller appended to `xml` meanwhile. */
class PluginStateSaver
{
public:
    PluginStateSaver (juce::AudioProcessorValueTreeState& parameterState, juce::MemoryBlock& destination);
    ~PluginStateSaver();

    juce::AudioProcessorValueTreeState& parameters;
    juce::MemoryBlock& destData;

    /** The parameter state with its latest values; nullptr when its tree is invalid, in
        which case nothing is written. */
    std::unique_ptr<juce::XmlElement> xml;

private:
    JUCE_DECLARE_NON_COPYABLE (PluginStateSaver)
};
} // namespace oskv

#pragma once

#include "services/StateXml.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace oskv
{
/** Reads a host state chunk at construction; when it goes out of scope, whatever the
    caller left of `xml` becomes the parameter state's tree. A chunk that can't be read
    (too short, wrong magic, no positive length, not UTF-8, not XML) leaves `xml` empty
    and the parameter state untouched. */
class PluginStateLoader
{
public:
    PluginStateLoader (juce::AudioProcessorValueTreeState& parameterState, const void* data, int sizeInBytes);
    ~PluginStateLoader();

    /** The chunk's document element, as the envelope's rules read it. */
    static std::unique_ptr<juce::XmlElement> readChunk (const void* data, int sizeInBytes);

    juce::AudioProcessorValueTreeState& parameters;
    std::unique_ptr<juce::XmlElement> xml;

    /** When set, changes the tree made from `xml` before it is assigned. */
    StateXml::TreeEdit editTree;

private:
    JUCE_DECLARE_NON_COPYABLE (PluginStateLoader)
};
} // namespace oskv

#pragma once

// Helpers shared by the state, preset, controller-map and program-change tests.

#include "plugin/PluginProcessor.h"
#include "services/PresetsManager.h"

#include <gtest/gtest.h>

#include <map>

namespace persistence_test
{
inline float plainValue (SombraxAudioProcessor& p, const juce::String& id)
{
    auto* parameter = p.parameters.getParameter (id);
    return parameter->convertFrom0to1 (parameter->getValue());
}

inline void setPlainValue (SombraxAudioProcessor& p, const juce::String& id, float value)
{
    auto* parameter = p.parameters.getParameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}

inline int parameterIndex (SombraxAudioProcessor& p, const juce::String& id)
{
    return p.parameters.getParameter (id)->getParameterIndex();
}

/** Runs one short block through the processor, as the host's audio thread would. */
inline void processMidi (SombraxAudioProcessor& p, const juce::MidiBuffer& midi)
{
    juce::AudioBuffer<float> audio (2, 32);
    audio.clear();
    auto events = midi;
    p.processBlock (audio, events);
}

inline juce::MidiBuffer controllers (std::initializer_list<juce::MidiMessage> messages)
{
    juce::MidiBuffer buffer;
    int position = 0;

    for (const auto& m : messages)
        buffer.addEvent (m, position++);

    return buffer;
}

/** The framework's envelope around a text, with a length field that may lie. */
inline juce::MemoryBlock chunkWithText (const juce::String& text, int lengthField = -1, bool terminator = true)
{
    juce::MemoryBlock block;
    juce::MemoryOutputStream out (block, false);
    const auto bytes = (int) text.getNumBytesAsUTF8();
    out.writeInt (0x21324356);
    out.writeInt (lengthField >= 0 ? lengthField : bytes);
    out.write (text.toRawUTF8(), (size_t) bytes);

    if (terminator)
        out.writeByte (0);

    out.flush();
    return block;
}

inline juce::MemoryBlock stateOf (SombraxAudioProcessor& p)
{
    juce::MemoryBlock block;
    p.getStateInformation (block);
    return block;
}

inline void restore (SombraxAudioProcessor& p, const juce::MemoryBlock& block)
{
    p.setStateInformation (block.getData(), (int) block.getSize());
}

/** A parameter state as XML text: the given values (as written), optionally marked. */
inline juce::String stateXml (const std::map<juce::String, juce::String>& values,
                              bool extendedSync,
                              const juce::String& extraChildren = {})
{
    juce::String xml ("<Sombrax");

    if (extendedSync)
        xml << " Extended_Sync=\"1\"";

    xml << ">";

    for (const auto& [id, value] : values)
        xml << "<PARAM id=\"" << id << "\" value=\"" << value << "\"/>";

    return xml + extraChildren + "</Sombrax>";
}

inline void writePresetFile (const juce::File& file, const std::map<juce::String, juce::String>& values, bool extendedSync)
{
    ASSERT_TRUE (file.getParentDirectory().createDirectory().wasOk());
    ASSERT_TRUE (file.replaceWithText ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + stateXml (values, extendedSync)));
}

inline juce::File midiFolder()
{
    return juce::File (oskv::PresetsManager::presetsFolderPath).getChildFile ("MIDI");
}

/** Counts what the host would see of each parameter: gestures and value changes. */
class HostView : public juce::AudioProcessorListener
{
public:
    explicit HostView (juce::AudioProcessor& p) : processor (p) { processor.addListener (this); }
    ~HostView() override { processor.removeListener (this); }

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        ++changes[index];
        lastValue[index] = value;
    }

    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override { ++gestureBegins[index]; }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override   { ++gestureEnds[index]; }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    void reset()
    {
        changes.clear();
        lastValue.clear();
        gestureBegins.clear();
        gestureEnds.clear();
    }

    std::map<int, int> changes, gestureBegins, gestureEnds;
    std::map<int, float> lastValue;

private:
    juce::AudioProcessor& processor;
};
} // namespace persistence_test

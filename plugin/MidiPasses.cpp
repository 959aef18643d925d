#include "PluginProcessor.h"

void SombraxAudioProcessor::handleProgramChanges (const juce::MidiBuffer& midiMessages)
{
    int program = -1;

    for (const auto metadata : midiMessages)
        if (metadata.numBytes >= 2 && (metadata.data[0] & 0xf0) == 0xc0 && metadata.data[1] < 0x80)
            program = metadata.data[1];

    if (program < 0)
        return;

    if (getActiveEditor() != nullptr)
    {
        // The editor's timer loads it on the message thread; it reads the flag first.
        pendingProgramNumber.store (program, std::memory_order_release);
        pendingProgramChange.store (true, std::memory_order_release);
        return;
    }

    // No editor to hand it to: load here, with processing suspended meanwhile. This is the
    // one place where the audio thread reads a file, allocates and may wait for the lock.
    suspendProcessing (true);

    const auto file = getMidiProgramPresetFile (program);

    if (file.getFullPathName().isNotEmpty() && file.existsAsFile())
        loadPresetWithRemap (file, true);

    suspendProcessing (false);
}

void SombraxAudioProcessor::handleControllerChanges (const juce::MidiBuffer& midiMessages)
{
    ccMapper.handleControllerChanges (midiMessages);
}

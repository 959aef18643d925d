#include "PluginProcessor.h"

#include "services/PresetsManager.h"
#include "services/ProgramChangeManager.h"

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

    bool isOldPreset = false;

    {
        const juce::ScopedLock lock (parameters.getTreeLock());
        const auto file = oskv::ProgramChangeManager::getPresetFileForMIDIProgramChange (midiProgramPresets, program);

        if (file.getFullPathName().isNotEmpty() && file.existsAsFile())
        {
            parameters.state.removeProperty (extendedSyncProperty, nullptr);

            if (oskv::PresetsManager::loadPreset (file, parameters).wasOk())
                isOldPreset = (int) parameters.state.getProperty (extendedSyncProperty, 0) != 1;
        }
    }

    if (isOldPreset)
        scaleSyncValueForBackwardCompatibility();

    suspendProcessing (false);
}

void SombraxAudioProcessor::handleControllerChanges (const juce::MidiBuffer& midiMessages)
{
    ccMapper.handleControllerChanges (midiMessages);
}

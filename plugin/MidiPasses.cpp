#include "PluginProcessor.h"

void SombraxAudioProcessor::handleProgramChanges (const juce::MidiBuffer& midiMessages)
{
    int program = -1;

    for (const auto metadata : midiMessages)
        if (metadata.numBytes >= 2 && (metadata.data[0] & 0xf0) == 0xc0 && metadata.data[1] < 0x80)
            program = metadata.data[1];

    if (program < 0 || handOverProgramChange (program))
        return;

    // No editor to hand it to: load here, with processing suspended meanwhile. This is the
    // one place where the audio thread reads a file, allocates and may wait for the lock.
    suspendProcessing (true);

    const auto file = getMidiProgramPresetFile (program);

    if (file.getFullPathName().isNotEmpty() && file.existsAsFile())
        loadPresetWithRemap (file, true);

    suspendProcessing (false);
}

bool SombraxAudioProcessor::handOverProgramChange (int program)
{
    // The flag and the count of takers are sequentially consistent on both sides: either the
    // closing editor's exchange sees this flag, or this thread sees the editor gone below.
    if (programChangeTakers.load() == 0)
    {
        // Anything still pending is older than this change, which the caller loads now.
        pendingProgramChange.store (false);
        return false;
    }

    pendingProgramNumber.store (program, std::memory_order_release);
    pendingProgramChange.store (true);

    if (programChangeTakers.load() > 0)
        return true;

    // The last editor closed meanwhile. If it took the change on its way out, it is loaded;
    // otherwise nobody will take it, so it comes back here.
    return ! pendingProgramChange.exchange (false);
}

void SombraxAudioProcessor::startTakingProgramChanges()
{
    programChangeTakers.fetch_add (1);
}

void SombraxAudioProcessor::stopTakingProgramChanges()
{
    programChangeTakers.fetch_sub (1);

    // A change handed over after the editor's last tick is loaded now, not by a later editor
    // over whatever the host or the audio thread has set meanwhile.
    loadPendingProgramChange();
}

void SombraxAudioProcessor::loadPendingProgramChange()
{
    // The flag is taken (and cleared) before the number is read, so a change that arrives
    // during the load waits for the next call instead of being lost. The load takes the tree
    // lock and remaps old synced rates, as the audio thread's own load does; a failed load
    // keeps the current name.
    if (! pendingProgramChange.exchange (false))
        return;

    const int number = pendingProgramNumber.load (std::memory_order_acquire);
    const auto file = getMidiProgramPresetFile (number);

    if (file.getFullPathName().isNotEmpty() && file.existsAsFile() && loadPresetFile (file).wasOk())
        setCurrentPresetName (file.getFileNameWithoutExtension());
}

void SombraxAudioProcessor::handleControllerChanges (const juce::MidiBuffer& midiMessages)
{
    ccMapper.handleControllerChanges (midiMessages);
}

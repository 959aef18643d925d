#pragma once

#include <juce_core/juce_core.h>

namespace oskv
{
/** Presets chosen by MIDI program changes: the files of the presets folder's "MIDI"
    subfolder in natural order, program 0 being the first. */
class ProgramChangeManager
{
public:
    static juce::File getMidiPresetsFolder();

    static juce::StringArray scanMidiPresetsFolder();

    /** The preset file for a program number, or an empty file when there is none. */
    static juce::File getPresetFileForMIDIProgramChange (const juce::StringArray& presetNames, int programNumber);
};
} // namespace oskv

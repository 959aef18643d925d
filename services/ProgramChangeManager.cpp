#include "ProgramChangeManager.h"

#include "PresetsManager.h"

namespace oskv
{
juce::File ProgramChangeManager::getMidiPresetsFolder()
{
    return juce::File (PresetsManager::presetsFolderPath).getChildFile ("MIDI");
}

juce::StringArray ProgramChangeManager::scanMidiPresetsFolder()
{
    juce::StringArray names;
    const auto dir = getMidiPresetsFolder();

    if (! dir.isDirectory())
        return names;

    for (const auto& entry : juce::RangedDirectoryIterator (dir, false, PresetsManager::wildcardForfileChooser(),
                                                            juce::File::findFiles))
        names.add (entry.getFile().getFileName());

    names.sortNatural();
    return names;
}

juce::File ProgramChangeManager::getPresetFileForMIDIProgramChange (const juce::StringArray& presetNames, int programNumber)
{
    if (! juce::isPositiveAndBelow (programNumber, presetNames.size()))
        return {};

    return getMidiPresetsFolder().getChildFile (presetNames[programNumber]);
}
} // namespace oskv

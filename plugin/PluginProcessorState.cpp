#include "PluginProcessor.h"

#include "services/ParameterChange.h"
#include "services/PluginStateLoader.h"
#include "services/PluginStateSaver.h"
#include "services/PresetsManager.h"
#include "services/ProgramChangeManager.h"

namespace
{
// The first child whose tag matches, ignoring case, as older hosts' states may spell it.
juce::XmlElement* findChildIgnoringCase (juce::XmlElement& parent, const juce::String& tag)
{
    for (auto* child : parent.getChildIterator())
        if (child->getTagName().equalsIgnoreCase (tag))
            return child;

    return nullptr;
}
} // namespace

void SombraxAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    const juce::ScopedLock lock (parameters.getTreeLock());

    // Tells a later reader (and any preset saved from this tree) that the synced rate
    // already counts in the 22-entry table.
    parameters.state.setProperty (extendedSyncProperty, 1, nullptr);

    oskv::PluginStateSaver saver (parameters, destData);

    if (saver.xml == nullptr)
        return;

    if (auto map = ccMapper.createMapXml())
        saver.xml->addChildElement (map.release());

    auto* presetName = new juce::XmlElement (presetNameTag);
    presetName->setAttribute (presetNameTag, currentPresetName);
    saver.xml->addChildElement (presetName);
}

void SombraxAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    bool remapped = false;

    {
        const juce::ScopedLock lock (parameters.getTreeLock());

        parameters.state.removeProperty (extendedSyncProperty, nullptr);

        oskv::PluginStateLoader loader (parameters, data, sizeInBytes);

        if (loader.xml == nullptr)
            return;

        // A program change handed to the editor before this state is older than it.
        pendingProgramChange.store (false);

        if (auto* map = findChildIgnoringCase (*loader.xml, oskv::CCMapper::midiMapTag))
        {
            const juce::XmlElement mapCopy (*map);
            loader.xml->removeChildElement (map, true);
            ccMapper.loadMapFromXml (mapCopy);
        }

        if (auto* presetName = findChildIgnoringCase (*loader.xml, presetNameTag))
        {
            currentPresetName = presetName->getStringAttribute (presetNameTag);
            loader.xml->removeChildElement (presetName, true);
        }

        loader.editTree = [this, &remapped] (juce::ValueTree& tree) { remapped = remapOldSyncedRate (tree); };
    }

    if (remapped)
        announceSyncedRate();
}

int SombraxAudioProcessor::extendedSyncedRateIndex (int oldIndex)
{
    // Old index (1 to 16) to the index of the same division in the 22-entry table.
    static constexpr int extendedIndex[16] = { 2, 4, 5, 6, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20 };

    return (oldIndex >= 1 && oldIndex <= 16) ? extendedIndex[oldIndex - 1] : oldIndex;
}

void SombraxAudioProcessor::scaleSyncValueForBackwardCompatibility()
{
    auto* parameter = parameters.getParameter (lfoSyncedRateParamID);

    if (parameter == nullptr)
        return;

    const auto& range = parameter->getNormalisableRange();
    const int oldIndex = juce::roundToInt (range.convertFrom0to1 (parameter->getValue()));
    const float newValue = range.convertTo0to1 ((float) extendedSyncedRateIndex (oldIndex));

    oskv::setParameterAsUserChange (*parameter, newValue, ! juce::PluginHostType().isAbletonLive());
}

bool SombraxAudioProcessor::remapOldSyncedRate (juce::ValueTree& tree) const
{
    if ((int) tree.getProperty (extendedSyncProperty, 0) == 1)
        return false;

    auto* parameter = parameters.getParameter (lfoSyncedRateParamID);

    if (parameter == nullptr)
        return false;

    static const juce::Identifier idProperty ("id"), valueProperty ("value");

    // The parameter state takes a parameter's value from the last child carrying its id,
    // whatever the child's tag, and the default where none does or the child has no value.
    juce::ValueTree child;

    for (const auto& candidate : tree)
        if (candidate.getProperty (idProperty).toString() == lfoSyncedRateParamID)
            child = candidate;

    const float defaultValue = parameter->convertFrom0to1 (parameter->getDefaultValue());
    const float loadedValue = child.isValid() ? (float) child.getProperty (valueProperty, defaultValue) : defaultValue;

    // The index the parameter would hold after reading that value.
    const int oldIndex = juce::roundToInt (parameter->convertFrom0to1 (parameter->convertTo0to1 (loadedValue)));

    if (! child.isValid())
    {
        child = juce::ValueTree ("PARAM");
        child.setProperty (idProperty, lfoSyncedRateParamID, nullptr);
        tree.appendChild (child, nullptr);
    }

    child.setProperty (valueProperty, (float) extendedSyncedRateIndex (oldIndex), nullptr);
    return true;
}

void SombraxAudioProcessor::announceSyncedRate()
{
    // Live records gestures of its own; a second pair confuses its automation.
    if (auto* parameter = parameters.getParameter (lfoSyncedRateParamID))
        oskv::announceParameterValue (*parameter, ! juce::PluginHostType().isAbletonLive());
}

//==============================================================================
juce::String SombraxAudioProcessor::getCurrentPresetName() const
{
    const juce::ScopedLock lock (parameters.getTreeLock());
    return currentPresetName;
}

void SombraxAudioProcessor::setCurrentPresetName (const juce::String& newName)
{
    const juce::ScopedLock lock (parameters.getTreeLock());
    currentPresetName = newName;
}

juce::StringArray SombraxAudioProcessor::getMidiProgramPresets() const
{
    const juce::ScopedLock lock (parameters.getTreeLock());
    return midiProgramPresets;
}

void SombraxAudioProcessor::rescanMidiProgramPresets()
{
    auto names = oskv::ProgramChangeManager::scanMidiPresetsFolder();

    const juce::ScopedLock lock (parameters.getTreeLock());
    midiProgramPresets.swapWith (names);
}

juce::File SombraxAudioProcessor::getMidiProgramPresetFile (int programNumber) const
{
    const juce::ScopedLock lock (parameters.getTreeLock());
    return oskv::ProgramChangeManager::getPresetFileForMIDIProgramChange (midiProgramPresets, programNumber);
}

juce::Result SombraxAudioProcessor::loadPresetFile (const juce::File& file)
{
    return loadPresetWithRemap (file, false);
}

juce::Result SombraxAudioProcessor::loadPresetWithRemap (const juce::File& file, bool unmarkTreeFirst)
{
    bool remapped = false;
    auto result = juce::Result::ok();

    {
        const juce::ScopedLock lock (parameters.getTreeLock());

        if (unmarkTreeFirst)
            parameters.state.removeProperty (extendedSyncProperty, nullptr);

        result = oskv::PresetsManager::loadPreset (file, parameters, [this, &remapped] (juce::ValueTree& tree)
                                                   { remapped = remapOldSyncedRate (tree); });
    }

    if (remapped)
        announceSyncedRate();

    return result;
}

juce::Result SombraxAudioProcessor::savePresetFile (const juce::File& file, bool markExtendedSync)
{
    const juce::ScopedLock lock (parameters.getTreeLock());

    if (markExtendedSync)
        parameters.state.setProperty (extendedSyncProperty, 1, nullptr);

    return oskv::PresetsManager::savePreset (parameters.copyState(), file);
}

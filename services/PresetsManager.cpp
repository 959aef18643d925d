#include "PresetsManager.h"

#include "platform/WholeFileWriter.h"
#include "services/StateXml.h"

namespace oskv
{
const juce::String PresetsManager::defaultPresetName { "User_Default" };

const juce::String PresetsManager::presetsFolderPath {
    juce::File::getSpecialLocation (juce::File::userHomeDirectory).getFullPathName()
    + "/Library/Audio/Presets/" + "Ostel_Kaverno" + "/" + "Sombrax"
};

const juce::String PresetsManager::presetFileExtension { "sbxp" };

juce::File PresetsManager::getDefaultPresetFile() const
{
    return juce::File (presetsFolderPath + juce::File::getSeparatorString() + defaultPresetName)
        .withFileExtension (presetFileExtension);
}

juce::Result PresetsManager::savePreset (const juce::ValueTree& tree, const juce::File& file)
{
    if (! tree.isValid())
        return juce::Result::fail ("Invalid preset data supplied, failed to save preset.");

    auto xml = tree.createXml();

    juce::XmlElement::TextFormat format;
    format.dtd = " ";
    format.customEncoding = "UTF-8";
    format.lineWrapLength = 60;

    // Whole or not at all: the framework's own file writer replaces the old file even
    // after a short write.
    if (xml != nullptr && WholeFileWriter::replace (file, *xml, format))
        return juce::Result::ok();

    return juce::Result::fail ("Could not write preset to file.");
}

juce::Result PresetsManager::loadPreset (const juce::File& file, juce::AudioProcessorValueTreeState& parameters,
                                        const StateXml::TreeEdit& edit)
{
    auto xml = StateXml::parseFile (file);

    if (xml == nullptr)
        return juce::Result::fail ("Invalid preset file supplied, could not load preset.");

    StateXml::assignParameterTree (parameters, *xml, edit);
    return juce::Result::ok();
}

juce::String PresetsManager::wildcardForfileChooser()
{
    return "*." + presetFileExtension;
}
} // namespace oskv

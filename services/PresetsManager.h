#pragma once

#include "services/StateXml.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace oskv
{
/** Preset files: the presets folder, the user default preset, and reading and writing
    a parameter state tree as an XML file. */
class PresetsManager
{
public:
    static const juce::String defaultPresetName;

    /** ~/Library/Audio/Presets/Ostel_Kaverno/Sombrax, without a trailing separator. */
    static const juce::String presetsFolderPath;

    static const juce::String presetFileExtension;

    juce::File getDefaultPresetFile() const;

    static juce::Result savePreset (const juce::ValueTree& tree, const juce::File& file);
    /** Replaces the parameter state's tree with the file's; a value that is not a finite
        number leaves its parameter at the default, and `edit`, when given, changes the tree
        before it is assigned. The processor's own state is shared between threads: call this
        with its tree lock held (see SombraxAudioProcessor). */
    static juce::Result loadPreset (const juce::File& file, juce::AudioProcessorValueTreeState& parameters,
                                    const StateXml::TreeEdit& edit = {});

    static juce::String wildcardForfileChooser();
};
} // namespace oskv

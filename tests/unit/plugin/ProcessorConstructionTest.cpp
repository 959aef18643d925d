#include "plugin/PluginProcessor.h"
#include "services/PresetsManager.h"
#include "services/ProgramChangeManager.h"

#include <gtest/gtest.h>

namespace
{
juce::File presetsFolder() { return juce::File (oskv::PresetsManager::presetsFolderPath); }

juce::File preferencesFile()
{
    // Where the processor keeps its preferences; asking a processor would create the file's folder.
    SombraxAudioProcessor probe;
    return probe.preferences->getFile();
}

void writePreset (const juce::File& file, float cutoff, float drive)
{
    SombraxAudioProcessor source;
    source.parameters.getParameter ("filter_cutoff")->setValueNotifyingHost (source.cutoffRange.convertTo0to1 (cutoff));
    source.parameters.getParameter ("drive")->setValueNotifyingHost (drive / 100.0f);
    ASSERT_TRUE (oskv::PresetsManager::savePreset (source.parameters.copyState(), file).wasOk());
}

float plainValue (SombraxAudioProcessor& p, const char* id)
{
    return p.parameters.getParameter (id)->convertFrom0to1 (p.parameters.getParameter (id)->getValue());
}
} // namespace

TEST (ProcessorConstruction, FixedAnswersToTheHost)
{
    SombraxAudioProcessor p;
    EXPECT_EQ (p.getName(), "Sombrax");
    EXPECT_EQ (p.getTailLengthSeconds(), 0.0);
    EXPECT_TRUE (p.acceptsMidi());
    EXPECT_FALSE (p.producesMidi());
    EXPECT_TRUE (p.hasEditor());
    EXPECT_EQ (p.getNumPrograms(), 1);
    EXPECT_EQ (p.getCurrentProgram(), 0);
    EXPECT_EQ (p.getProgramName (0), "");
    EXPECT_EQ (p.getProgramName (7), "");

    p.setCurrentProgram (3);
    p.changeProgramName (0, "Renamed");
    EXPECT_EQ (p.getCurrentProgram(), 0);
    EXPECT_EQ (p.getProgramName (0), "");
}

TEST (ProcessorConstruction, StereoBusesAndTwoChannelsOfState)
{
    SombraxAudioProcessor p;
    EXPECT_EQ (p.getBusCount (true), 1);
    EXPECT_EQ (p.getBusCount (false), 1);
    EXPECT_EQ (p.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (p.getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (p.getChannelLayoutOfBus (true, 0), juce::AudioChannelSet::stereo());
    EXPECT_EQ (p.getChannelLayoutOfBus (false, 0), juce::AudioChannelSet::stereo());

    const juce::AudioProcessor::BusesLayout mono { { juce::AudioChannelSet::mono() }, { juce::AudioChannelSet::mono() } };
    EXPECT_TRUE (p.setBusesLayout (mono));

    EXPECT_EQ (p.filterStates.size(), 2u);
    EXPECT_EQ (p.upsamplers.size(), 2u);
    EXPECT_EQ (p.downsamplers.size(), 2u);
    EXPECT_EQ (p.dcBlockers.size(), 2u);
    EXPECT_EQ (p.feedbackMemory.size(), 2u);
    EXPECT_EQ (p.lfoWavetables.size(), 7u);
}

TEST (ProcessorConstruction, MembersStartAsDocumented)
{
    SombraxAudioProcessor p;
    EXPECT_FALSE (p.pendingProgramChange.load());
    EXPECT_EQ (p.pendingProgramNumber.load(), -1);
    EXPECT_EQ (p.inputPeak.load(), 0.0f);
    EXPECT_EQ (p.outputPeak.load(), 0.0f);
    EXPECT_EQ (p.currentPresetName, "INIT");
    EXPECT_EQ (p.rampLength, 4410);
    EXPECT_EQ (p.currentSampleRate, 44100.0);
    EXPECT_EQ (p.inverseSampleRate, 1.0 / 44100.0);
    EXPECT_EQ (p.resonanceScale, 1.0f);
    EXPECT_EQ (p.hostBpm, 120.0f);
    EXPECT_EQ (p.msPerBar, 2000.0f);
    EXPECT_EQ (p.ccMapper.lastCC.load(), -1);
    EXPECT_EQ (p.ccMapper.mapTree.getType().toString(), "Sombrax_MIDI_MAP");
    EXPECT_EQ (p.ccMapper.mapTree.getNumChildren(), 0);
    EXPECT_EQ (p.parameters.state.getType().toString(), "Sombrax");
    EXPECT_EQ (p.parameters.state.getNumChildren(), 21);
    EXPECT_EQ (p.smoothingBuffers.cutoff.size(), 512u);
    EXPECT_EQ (p.cutoffRamp.current, 11000.0f);
    EXPECT_EQ (p.lpfGainRamp.current, 1.0f);
    EXPECT_EQ (p.shapeRamp.current, 0.5f);
    EXPECT_EQ (p.dryWetRamp.current, 1.0f);
}

TEST (ProcessorConstruction, CreatesThePresetsFolders)
{
    ASSERT_FALSE (presetsFolder().exists());
    SombraxAudioProcessor p;
    EXPECT_TRUE (presetsFolder().isDirectory());
    EXPECT_TRUE (presetsFolder().getChildFile ("MIDI").isDirectory());
    EXPECT_TRUE (presetsFolder().getFullPathName().endsWith ("/Library/Audio/Presets/Ostel_Kaverno/Sombrax"));
}

TEST (ProcessorConstruction, ListsMidiPresetsPresentAtStart)
{
    presetsFolder().getChildFile ("MIDI").createDirectory();
    writePreset (presetsFolder().getChildFile ("MIDI").getChildFile ("Bright.sbxp"), 5000.0f, 10.0f);

    SombraxAudioProcessor p;
    EXPECT_EQ (p.midiProgramPresets, juce::StringArray ("Bright.sbxp"));
}

TEST (ProcessorConstruction, FreshInstanceStartsAtInitWithDefaults)
{
    SombraxAudioProcessor p;
    EXPECT_EQ (p.currentPresetName, "INIT");
    EXPECT_FLOAT_EQ (plainValue (p, "filter_cutoff"), 11000.0f);
    EXPECT_FLOAT_EQ (plainValue (p, "shape"), 50.0f);
}

TEST (ProcessorConstruction, StartupPrefersUserDefaultThenTypical)
{
    presetsFolder().createDirectory();
    const auto userDefault = oskv::PresetsManager().getDefaultPresetFile();
    const auto typical = presetsFolder().getChildFile ("Typical.sbxp");

    writePreset (typical, 3000.0f, 20.0f);
    {
        SombraxAudioProcessor p;
        EXPECT_EQ (p.currentPresetName, "Typical");
        EXPECT_FLOAT_EQ (plainValue (p, "filter_cutoff"), 3000.0f);
        EXPECT_FLOAT_EQ (plainValue (p, "drive"), 20.0f);
    }

    writePreset (userDefault, 500.0f, 40.0f);
    {
        SombraxAudioProcessor p;
        EXPECT_EQ (p.currentPresetName, "User_Default");
        EXPECT_FLOAT_EQ (plainValue (p, "filter_cutoff"), 500.0f);
        EXPECT_FLOAT_EQ (plainValue (p, "drive"), 40.0f);
    }
}

TEST (ProcessorConstruction, FolderNamedLikeTheDefaultPresetIsPassedOver)
{
    presetsFolder().createDirectory();
    oskv::PresetsManager().getDefaultPresetFile().createDirectory();
    writePreset (presetsFolder().getChildFile ("Typical.sbxp"), 3000.0f, 0.0f);

    SombraxAudioProcessor p;
    EXPECT_EQ (p.currentPresetName, "Typical");
}

TEST (ProcessorConstruction, StartupPresetIsNotRemapped)
{
    // An old preset (no Extended_Sync mark) keeps its synced-rate index at start-up.
    presetsFolder().createDirectory();
    juce::XmlElement root ("Sombrax");
    auto* param = root.createNewChildElement ("PARAM");
    param->setAttribute ("id", "lfo_synced_rate");
    param->setAttribute ("value", 5.0);
    ASSERT_TRUE (root.writeTo (oskv::PresetsManager().getDefaultPresetFile()));

    SombraxAudioProcessor p;
    EXPECT_EQ (p.currentPresetName, "User_Default");
    EXPECT_FLOAT_EQ (plainValue (p, "lfo_synced_rate"), 5.0f);
}

TEST (ProcessorConstruction, AnimationsFlagReadsAnInteger)
{
    EXPECT_TRUE (SombraxAudioProcessor().animationsEnabled);

    const auto file = preferencesFile();
    file.getParentDirectory().createDirectory();
    auto write = [&] (const char* value)
    {
        juce::XmlElement root ("PROPERTIES");
        auto* v = root.createNewChildElement ("VALUE");
        v->setAttribute ("name", "Animations_Enabled");
        v->setAttribute ("val", value);
        ASSERT_TRUE (root.writeTo (file));
    };

    write ("0");
    EXPECT_FALSE (SombraxAudioProcessor().animationsEnabled);
    write ("off");
    EXPECT_FALSE (SombraxAudioProcessor().animationsEnabled);
    write ("1");
    EXPECT_TRUE (SombraxAudioProcessor().animationsEnabled);
}

TEST (ProcessorConstruction, WritesNoPreferencesWhenNothingWasSet)
{
    const auto file = preferencesFile();
    {
        SombraxAudioProcessor p;
        juce::ignoreUnused (p);
    }
    EXPECT_FALSE (file.exists());
}

TEST (ProcessorConstruction, DestructorSavesUnwrittenPreferences)
{
    juce::File file;
    {
        SombraxAudioProcessor p;
        file = p.preferences->getFile();
        p.preferences->setValue ("editor_width", 900);
    }
    ASSERT_TRUE (file.existsAsFile());
    EXPECT_TRUE (file.loadFileAsString().contains ("editor_width"));
}

TEST (ProcessorConstruction, TwoInstancesKeepSeparateState)
{
    SombraxAudioProcessor a, b;
    a.parameters.getParameter ("drive")->setValueNotifyingHost (0.75f);
    EXPECT_FLOAT_EQ (plainValue (a, "drive"), 75.0f);
    EXPECT_FLOAT_EQ (plainValue (b, "drive"), 0.0f);
}

TEST (ProcessorConstruction, CreatesAnEditor)
{
    SombraxAudioProcessor p;
    std::unique_ptr<juce::AudioProcessorEditor> editor (p.createEditor());
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (&editor->processor, &p);
}

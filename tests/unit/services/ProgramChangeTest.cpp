// Program-change presets: the "MIDI" folder's presets in natural order, selected by the
// block's last program change, loaded at once with no editor or handed to an open editor.

#include "support/PersistenceTestSupport.h"
#include "services/ProgramChangeManager.h"
#include "support/ProcessorWithPlainEditor.h"

using namespace persistence_test;

namespace
{
juce::MidiBuffer programChanges (std::initializer_list<std::pair<int, int>> channelAndProgram)
{
    juce::MidiBuffer buffer;
    int position = 0;

    for (const auto& [channel, program] : channelAndProgram)
        buffer.addEvent (juce::MidiMessage::programChange (channel, program), position++);

    return buffer;
}

class ProgramChange : public ::testing::Test
{
protected:
    // Files first: the processor lists the folder when it is made.
    void SetUp() override
    {
        writePresetFile (midiFolder().getChildFile ("2 Strings.sbxp"), { { "drive", "2" } }, true);
        writePresetFile (midiFolder().getChildFile ("10 Brass.sbxp"), { { "drive", "10" } }, true);
        writePresetFile (midiFolder().getChildFile ("1 bells.sbxp"), { { "drive", "1" } }, true);
        processor = std::make_unique<SombraxAudioProcessor>();
        processor->prepareToPlay (44100.0, 32);
    }

    float drive() { return plainValue (*processor, "drive"); }

    std::unique_ptr<SombraxAudioProcessor> processor;
};
} // namespace

TEST_F (ProgramChange, PresetsAreListedInNaturalOrder)
{
    EXPECT_EQ (processor->getMidiProgramPresets(), juce::StringArray ({ "1 bells.sbxp", "2 Strings.sbxp", "10 Brass.sbxp" }));

    for (auto [program, expected] : { std::pair { 0, 1.0f }, { 1, 2.0f }, { 2, 10.0f } })
    {
        processMidi (*processor, programChanges ({ { 1, program } }));
        EXPECT_FLOAT_EQ (drive(), expected) << "program " << program;
    }
}

TEST_F (ProgramChange, OnlyPresetFilesDirectlyInTheFolderAreListed)
{
    writePresetFile (midiFolder().getChildFile ("deeper").getChildFile ("0 Deep.sbxp"), {}, true);
    writePresetFile (midiFolder().getChildFile ("0 Text.txt"), {}, true);
    writePresetFile (midiFolder().getChildFile (".0 Hidden.sbxp"), {}, true);
    processor->rescanMidiProgramPresets();

    EXPECT_EQ (processor->getMidiProgramPresets(),
               juce::StringArray ({ ".0 Hidden.sbxp", "1 bells.sbxp", "2 Strings.sbxp", "10 Brass.sbxp" }));
}

TEST_F (ProgramChange, LookupGivesTheFileOrNothing)
{
    const auto names = processor->getMidiProgramPresets();
    EXPECT_EQ (oskv::ProgramChangeManager::getPresetFileForMIDIProgramChange (names, 2),
               midiFolder().getChildFile ("10 Brass.sbxp"));

    for (int program : { -1, 3, 127 })
        EXPECT_EQ (oskv::ProgramChangeManager::getPresetFileForMIDIProgramChange (names, program), juce::File()) << program;
}

TEST_F (ProgramChange, MissingFolderListsNothing)
{
    ASSERT_TRUE (midiFolder().deleteRecursively());
    EXPECT_TRUE (oskv::ProgramChangeManager::scanMidiPresetsFolder().isEmpty());
}

TEST_F (ProgramChange, LastProgramChangeOfTheBlockIsTheOnlyOneLoaded)
{
    HostView host (*processor);
    processMidi (*processor, programChanges ({ { 1, 0 }, { 5, 2 }, { 16, 1 } }));

    EXPECT_FLOAT_EQ (drive(), 2.0f);
    EXPECT_EQ (host.changes[parameterIndex (*processor, "drive")], 1) << "the earlier presets were never loaded";
}

TEST_F (ProgramChange, LoadingKeepsThePresetNameAndResumesProcessing)
{
    processor->setCurrentPresetName ("Mine");
    processMidi (*processor, programChanges ({ { 1, 2 } }));

    EXPECT_FLOAT_EQ (drive(), 10.0f);
    EXPECT_EQ (processor->getCurrentPresetName(), "Mine");
    EXPECT_FALSE (processor->isSuspended());
}

TEST_F (ProgramChange, ProgramsBeyondTheListLoadNothing)
{
    setPlainValue (*processor, "drive", 55.0f);

    for (int program : { 3, 4, 127 })
    {
        processMidi (*processor, programChanges ({ { 1, program } }));
        EXPECT_FLOAT_EQ (drive(), 55.0f) << program;
        EXPECT_FALSE (processor->isSuspended());
    }
}

TEST_F (ProgramChange, FilesGoneOrReplacedByFoldersArePassedOver)
{
    setPlainValue (*processor, "drive", 55.0f);
    ASSERT_TRUE (midiFolder().getChildFile ("1 bells.sbxp").deleteFile());
    const auto brass = midiFolder().getChildFile ("10 Brass.sbxp");
    ASSERT_TRUE (brass.deleteFile());
    ASSERT_TRUE (brass.createDirectory().wasOk());

    processMidi (*processor, programChanges ({ { 1, 0 } }));
    EXPECT_FLOAT_EQ (drive(), 55.0f);
    processMidi (*processor, programChanges ({ { 1, 2 } }));
    EXPECT_FLOAT_EQ (drive(), 55.0f);
}

TEST_F (ProgramChange, UnreadableFileLoadsNothingButTheMarkIsGone)
{
    ASSERT_TRUE (midiFolder().getChildFile ("1 bells.sbxp").replaceWithText ("not a preset"));
    setPlainValue (*processor, "lfo_synced_rate", 5.0f);
    stateOf (*processor);
    ASSERT_TRUE (processor->parameters.state.hasProperty ("Extended_Sync"));

    processMidi (*processor, programChanges ({ { 1, 0 } }));

    EXPECT_FLOAT_EQ (plainValue (*processor, "lfo_synced_rate"), 5.0f);
    EXPECT_FALSE (processor->parameters.state.hasProperty ("Extended_Sync"));
}

TEST_F (ProgramChange, EditorLoadOfAnUnreadableFileKeepsTheMark)
{
    const auto file = midiFolder().getChildFile ("1 bells.sbxp");
    ASSERT_TRUE (file.replaceWithText ("not a preset"));
    stateOf (*processor);

    EXPECT_TRUE (processor->loadPresetFile (file).failed());
    EXPECT_TRUE (processor->parameters.state.hasProperty ("Extended_Sync")) << "only the audio thread's path unmarks first";
}

TEST_F (ProgramChange, PresetWithoutTheMarkIsRemapped)
{
    writePresetFile (midiFolder().getChildFile ("3 Old.sbxp"), { { "lfo_synced_rate", "5" } }, false);
    writePresetFile (midiFolder().getChildFile ("4 New.sbxp"), { { "lfo_synced_rate", "5" } }, true);
    processor->rescanMidiProgramPresets();

    processMidi (*processor, programChanges ({ { 1, 2 } }));
    EXPECT_FLOAT_EQ (plainValue (*processor, "lfo_synced_rate"), 8.0f);

    processMidi (*processor, programChanges ({ { 1, 3 } }));
    EXPECT_FLOAT_EQ (plainValue (*processor, "lfo_synced_rate"), 5.0f);
}

TEST_F (ProgramChange, PresetSavedIntoTheFolderIsReachableAfterARescan)
{
    setPlainValue (*processor, "drive", 77.0f);
    ASSERT_TRUE (processor->savePresetFile (midiFolder().getChildFile ("0 Saved.sbxp"), true).wasOk());
    processor->rescanMidiProgramPresets();
    setPlainValue (*processor, "drive", 0.0f);

    processMidi (*processor, programChanges ({ { 1, 0 } }));
    EXPECT_FLOAT_EQ (drive(), 77.0f);
}

//==============================================================================
TEST (ProgramChangeWithEditor, OpenEditorGetsTheNumberAndTheFlagInsteadOfALoad)
{
    writePresetFile (midiFolder().getChildFile ("1 One.sbxp"), { { "drive", "1" } }, true);
    ProcessorWithPlainEditor processor;
    processor.prepareToPlay (44100.0, 32);
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
    ASSERT_NE (processor.getActiveEditor(), nullptr);

    processMidi (processor, programChanges ({ { 2, 0 } }));

    EXPECT_TRUE (processor.pendingProgramChange.load());
    EXPECT_EQ (processor.pendingProgramNumber.load(), 0);
    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 0.0f);

    // What the editor's timer then does.
    processor.pendingProgramChange = false;
    const auto file = processor.getMidiProgramPresetFile (processor.pendingProgramNumber);
    ASSERT_TRUE (processor.loadPresetFile (file).wasOk());
    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 1.0f);

    processMidi (processor, programChanges ({ { 1, 5 }, { 1, 9 } }));
    EXPECT_EQ (processor.pendingProgramNumber.load(), 9);

    editor.reset();
    processor.pendingProgramChange = false;
    processMidi (processor, programChanges ({ { 1, 0 } }));
    EXPECT_FALSE (processor.pendingProgramChange.load()) << "with the editor gone the block loads itself";
}

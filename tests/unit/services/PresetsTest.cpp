#include "plugin/PluginProcessor.h"
#include "services/PresetsManager.h"
#include "services/ProgramChangeManager.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{
class PresetFiles : public ::testing::Test
{
protected:
    void SetUp() override { folder.createDirectory(); }

    float plain (const char* id)
    {
        auto* p = processor.parameters.getParameter (id);
        return p->convertFrom0to1 (p->getValue());
    }

    void setPlain (const char* id, float value)
    {
        auto* p = processor.parameters.getParameter (id);
        p->setValueNotifyingHost (p->convertTo0to1 (value));
    }

    SombraxAudioProcessor processor;
    juce::File folder { oskv::PresetsManager::presetsFolderPath };
};
} // namespace

TEST_F (PresetFiles, DefaultFileAndWildcard)
{
    const auto f = oskv::PresetsManager().getDefaultPresetFile();
    EXPECT_EQ (f.getFileName(), "User_Default.sbxp");
    EXPECT_EQ (f.getParentDirectory(), folder);
    EXPECT_EQ (oskv::PresetsManager::wildcardForfileChooser(), "*.sbxp");
}

TEST_F (PresetFiles, SavedFileHasTheExpectedLayout)
{
    processor.parameters.state.setProperty ("Extended_Sync", 1, nullptr);
    const auto file = folder.getChildFile ("Layout.sbxp");
    ASSERT_TRUE (oskv::PresetsManager::savePreset (processor.parameters.copyState(), file).wasOk());

    const auto text = file.loadFileAsString();
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n \r\n<Sombrax"));
    EXPECT_TRUE (text.endsWith (">\r\n"));
    EXPECT_FALSE (text.replace ("\r\n", "").containsChar ('\n'));
    EXPECT_TRUE (text.contains ("Extended_Sync=\"1\""));
    EXPECT_TRUE (text.contains ("\r\n  <PARAM id=\"filter_cutoff\" value=\"11000.0\"/>"));
    EXPECT_FALSE (text.contains ("Sombrax_MIDI_MAP"));
    EXPECT_FALSE (text.contains ("Preset_Name"));
}

TEST_F (PresetFiles, SavedFileGetsTheFrameworksPermissions)
{
    // As the framework's file streams create files: 0644 less the process's mask.
    const auto previousMask = ::umask (002);
    const auto file = folder.getChildFile ("Modes.sbxp");
    const auto result = oskv::PresetsManager::savePreset (processor.parameters.copyState(), file);
    ::umask (previousMask);
    ASSERT_TRUE (result.wasOk());

    struct stat info {};
    ASSERT_EQ (::stat (file.getFullPathName().toRawUTF8(), &info), 0);
    EXPECT_EQ (info.st_mode & 0777, 0644u);
}

TEST_F (PresetFiles, RoundTripRestoresValues)
{
    setPlain ("filter_cutoff", 1234.0f);
    setPlain ("lfo_wave", 4.0f);
    const auto file = folder.getChildFile ("Round.sbxp");
    ASSERT_TRUE (oskv::PresetsManager::savePreset (processor.parameters.copyState(), file).wasOk());

    setPlain ("filter_cutoff", 80.0f);
    setPlain ("lfo_wave", 0.0f);
    ASSERT_TRUE (oskv::PresetsManager::loadPreset (file, processor.parameters).wasOk());
    EXPECT_FLOAT_EQ (plain ("filter_cutoff"), 1234.0f);
    EXPECT_FLOAT_EQ (plain ("lfo_wave"), 4.0f);
}

TEST_F (PresetFiles, InvalidTreeIsNotSaved)
{
    const auto file = folder.getChildFile ("Invalid.sbxp");
    const auto result = oskv::PresetsManager::savePreset (juce::ValueTree(), file);
    EXPECT_TRUE (result.failed());
    EXPECT_EQ (result.getErrorMessage(), "Invalid preset data supplied, failed to save preset.");
    EXPECT_FALSE (file.exists());
}

TEST_F (PresetFiles, UnwritableFolderFailsAndKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";

    const auto locked = folder.getChildFile ("Locked");
    locked.createDirectory();
    const auto file = locked.getChildFile ("Old.sbxp");
    ASSERT_TRUE (file.replaceWithText ("old"));
    ASSERT_EQ (::chmod (locked.getFullPathName().toRawUTF8(), 0555), 0);

    const auto result = oskv::PresetsManager::savePreset (processor.parameters.copyState(), file);
    ::chmod (locked.getFullPathName().toRawUTF8(), 0755);

    EXPECT_EQ (result.getErrorMessage(), "Could not write preset to file.");
    EXPECT_EQ (file.loadFileAsString(), "old");
}

TEST_F (PresetFiles, UnwritableTargetsFail)
{
    // Failures that hold for root too: the parent is a plain file, or the target is a folder in use.
    const auto plainFile = folder.getChildFile ("NotAFolder");
    ASSERT_TRUE (plainFile.replaceWithText ("x"));
    auto result = oskv::PresetsManager::savePreset (processor.parameters.copyState(), plainFile.getChildFile ("P.sbxp"));
    EXPECT_EQ (result.getErrorMessage(), "Could not write preset to file.");

    const auto target = folder.getChildFile ("Taken.sbxp");
    ASSERT_TRUE (target.getChildFile ("inside.txt").create().wasOk());
    result = oskv::PresetsManager::savePreset (processor.parameters.copyState(), target);
    EXPECT_EQ (result.getErrorMessage(), "Could not write preset to file.");
    EXPECT_TRUE (target.getChildFile ("inside.txt").existsAsFile());
}

TEST_F (PresetFiles, DiskFillingUpDuringASaveKeepsTheOldFile)
{
    const auto state = processor.parameters.copyState();
    const auto scratch = folder.getChildFile ("Scratch").getChildFile ("New.sbxp");
    ASSERT_TRUE (scratch.getParentDirectory().createDirectory().wasOk());
    ASSERT_TRUE (oskv::PresetsManager::savePreset (state, scratch).wasOk());
    const auto newSize = (rlim_t) scratch.getSize();

    const juce::String old ("<Sombrax><PARAM id=\"drive\" value=\"12\"/></Sombrax>\r\n");
    ASSERT_GT (newSize / 2, (rlim_t) old.length());
    const auto defaultFile = oskv::PresetsManager().getDefaultPresetFile();

    for (const auto& file : { folder.getChildFile ("Mine.sbxp"), defaultFile })
    {
        ASSERT_TRUE (file.replaceWithText (old, false, false, nullptr));
        const auto namesBefore = test_support::fileNamesIn (folder);

        // Room for the old file, not for the new one.
        const auto exitCode = test_support::runWithFileSizeLimit (newSize / 2, [&]
        {
            const auto result = oskv::PresetsManager::savePreset (state, file);
            return result.getErrorMessage() == "Could not write preset to file." ? 0 : 1;
        });

        EXPECT_EQ (exitCode, 0) << file.getFileName() << ": the save must fail";
        EXPECT_EQ (file.loadFileAsString(), old) << file.getFileName();
        EXPECT_EQ (test_support::fileNamesIn (folder), namesBefore) << file.getFileName();
    }
}

TEST_F (PresetFiles, SaveKilledPartWayLeavesNothingThePresetListsShow)
{
    const auto midiFolder = oskv::ProgramChangeManager::getMidiPresetsFolder();
    ASSERT_TRUE (midiFolder.createDirectory().wasOk());
    ASSERT_TRUE (oskv::PresetsManager::savePreset (processor.parameters.copyState(), midiFolder.getChildFile ("1 Old.sbxp")).wasOk());
    const auto state = processor.parameters.copyState();

    // Killed at its first write.
    const auto ending = test_support::runWithFileSizeLimit (0, [&]
    {
        oskv::PresetsManager::savePreset (state, midiFolder.getChildFile ("2 New.sbxp"));
        return 0;
    }, test_support::AtTheLimit::processIsKilled);

    ASSERT_EQ (ending, -SIGXFSZ);
    EXPECT_EQ (oskv::ProgramChangeManager::scanMidiPresetsFolder().joinIntoString ("\n"), "1 Old.sbxp");
}

TEST_F (PresetFiles, UnreadableFilesFailAndChangeNothing)
{
    setPlain ("drive", 33.0f);
    const auto empty = folder.getChildFile ("Empty.sbxp");
    const auto notXml = folder.getChildFile ("Text.sbxp");
    ASSERT_TRUE (empty.create().wasOk());
    ASSERT_TRUE (notXml.replaceWithText ("this is not xml { drive = 100 }"));

    for (const auto& f : { empty, notXml, folder.getChildFile ("Missing.sbxp"), folder })
    {
        const auto result = oskv::PresetsManager::loadPreset (f, processor.parameters);
        EXPECT_EQ (result.getErrorMessage(), "Invalid preset file supplied, could not load preset.");
        EXPECT_FLOAT_EQ (plain ("drive"), 33.0f);
    }
}

TEST_F (PresetFiles, AnyWellFormedRootReplacesTheTree)
{
    setPlain ("drive", 33.0f);
    const auto file = folder.getChildFile ("Foreign.sbxp");
    ASSERT_TRUE (file.replaceWithText ("<Other><PARAM id=\"shape\" value=\"10\"/></Other>"));

    ASSERT_TRUE (oskv::PresetsManager::loadPreset (file, processor.parameters).wasOk());
    EXPECT_EQ (processor.parameters.state.getType().toString(), "Other");
    EXPECT_FLOAT_EQ (plain ("shape"), 10.0f);
    EXPECT_FLOAT_EQ (plain ("drive"), 0.0f); // no child of its own: back to its default
}

// State chunks, MIDI controllers and program changes as a VST2 host sees them.

#include "HostTestEnvironment.h"
#include "HostTestFiles.h"
#include "VstTestHost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace
{
constexpr int driveIndex = 13;
constexpr int syncedRateIndex = 12;
constexpr int blockSize = 256;

class VstPersistence : public ::testing::Test
{
protected:
    // Files the plug-in should find are written before it is loaded.
    virtual void writeFilesBeforeLoading() {}

    void SetUp() override
    {
        ASSERT_FALSE (getPluginPath().empty()) << "pass --plugin=<path of the VST2 binary> or set SOMBRAX_VST_PLUGIN";
        writeFilesBeforeLoading();

        std::string error;
        ASSERT_TRUE (host.load (getPluginPath(), error)) << error;
        host.open();
        host.setSampleRate (44100.0f);
        host.setBlockSize (blockSize);
    }

    void runBlockWith (const std::vector<VstTestHost::MidiMessage>& messages)
    {
        host.resume();
        ASSERT_EQ (host.sendMidi (messages), 1);

        std::vector<std::vector<float>> input (2, std::vector<float> (blockSize, 0.0f));
        std::vector<std::vector<float>> output (2, std::vector<float> (blockSize, 0.0f));
        host.processReplacing (input, output, blockSize);
        host.suspend();
    }

    VstTestHost host;
};
} // namespace

TEST_F (VstPersistence, ChunkRestoresParametersInAnotherInstance)
{
    host.setParameter (driveIndex, 0.25f);
    host.setParameter (syncedRateIndex, 5.0f / 21.0f);
    const auto chunk = host.getChunk();

    VstTestHost other;
    std::string error;
    ASSERT_TRUE (other.load (getPluginPath(), error)) << error;
    other.open();
    other.setChunk (chunk);

    EXPECT_FLOAT_EQ (other.getParameter (driveIndex), 0.25f);
    EXPECT_FLOAT_EQ (other.getParameter (syncedRateIndex), 5.0f / 21.0f) << "a saved state is not remapped";
    EXPECT_EQ (other.getChunk(), chunk);
}

TEST_F (VstPersistence, UnreadableChunkChangesNothing)
{
    host.setParameter (driveIndex, 0.25f);
    host.setChunk (std::vector<char> { 'V', 'C', '2', '!', 0, 0, 0, 0, 0 });
    EXPECT_FLOAT_EQ (host.getParameter (driveIndex), 0.25f);
}

TEST_F (VstPersistence, OldChunkIsRemapped)
{
    host.setChunk (chunkWithText ("<Sombrax><PARAM id=\"lfo_synced_rate\" value=\"5\"/></Sombrax>"));
    EXPECT_FLOAT_EQ (host.getParameter (syncedRateIndex), 8.0f / 21.0f);
}

TEST_F (VstPersistence, MappedControllerMovesItsParameterAsAutomation)
{
    host.setChunk (chunkWithText ("<Sombrax Extended_Sync=\"1\"><Sombrax_MIDI_MAP><drive cc=\"7\"/></Sombrax_MIDI_MAP></Sombrax>"));
    host.clearRecordedCalls();

    runBlockWith ({ { { 0xb3, 7, 127 }, 0 } });

    EXPECT_FLOAT_EQ (host.getParameter (driveIndex), 1.0f);
    EXPECT_EQ (host.countHostCalls (audioMasterBeginEdit), 1);
    EXPECT_EQ (host.countHostCalls (audioMasterEndEdit), 1);

    bool automated = false;

    for (const auto& event : host.getAutomationEvents())
        automated = automated || (event.index == driveIndex && event.value == 1.0f);

    EXPECT_TRUE (automated);
}

namespace
{
class VstProgramChange : public VstPersistence
{
protected:
    void writeFilesBeforeLoading() override
    {
        std::filesystem::create_directories (midiPresetsFolder());
        std::ofstream (midiPresetsFolder() / "1 Quiet.sbxp") << "<Sombrax Extended_Sync=\"1\"><PARAM id=\"drive\" value=\"10\"/></Sombrax>";
        std::ofstream (midiPresetsFolder() / "2 Loud.sbxp") << "<Sombrax Extended_Sync=\"1\"><PARAM id=\"drive\" value=\"90\"/></Sombrax>";
    }
};
} // namespace

TEST_F (VstProgramChange, ProgramChangeLoadsTheMidiFoldersPreset)
{
    runBlockWith ({ { { 0xc0, 1, 0 }, 0 } });
    EXPECT_NEAR (host.getParameter (driveIndex), 0.9f, 1.0e-6f);

    runBlockWith ({ { { 0xc5, 1, 0 }, 0 }, { { 0xc0, 0, 0 }, 5 } });
    EXPECT_NEAR (host.getParameter (driveIndex), 0.1f, 1.0e-6f);

    runBlockWith ({ { { 0xc0, 2, 0 }, 0 } });
    EXPECT_NEAR (host.getParameter (driveIndex), 0.1f, 1.0e-6f) << "no third preset";
}

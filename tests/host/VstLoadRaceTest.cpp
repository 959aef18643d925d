// A load and the synced-rate remap that follows it, raced against the host's state calls and
// a bound controller from two threads, as a busy host does. Every outcome must be one that
// some serial order of the two operations gives.

#include "HostTestEnvironment.h"
#include "HostTestFiles.h"
#include "VstTestHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>

namespace
{
constexpr int syncedRateIndex = 12;
constexpr int blockSize = 64;
constexpr int tries = 3000;

std::vector<char> stateChunk (int syncedRate, bool marked, const std::string& extra = {})
{
    return chunkWithText (std::string ("<Sombrax") + (marked ? " Extended_Sync=\"1\"" : "")
                          + "><PARAM id=\"lfo_synced_rate\" value=\"" + std::to_string (syncedRate) + "\"/>"
                          + extra + "</Sombrax>");
}

// The synced rate a chunk holds, or -1.
int syncedRateIn (const std::vector<char>& chunk)
{
    const std::string text (chunk.begin(), chunk.end());
    const std::string key = "id=\"lfo_synced_rate\" value=\"";
    const auto at = text.find (key);
    return at == std::string::npos ? -1 : (int) std::lround (std::atof (text.c_str() + at + key.size()));
}

void spinFor (std::chrono::microseconds duration)
{
    const auto end = std::chrono::steady_clock::now() + duration;

    while (std::chrono::steady_clock::now() < end)
    {
    }
}

// Starts both sides at the same moment, one of them after a delay of up to `spread`,
// so that over many tries each overlaps every stage of the other.
template <typename HostSide, typename AudioSide>
void runTogether (HostSide&& hostSide, AudioSide&& audioSide, std::mt19937& random, int spreadMicros)
{
    const int offset = std::uniform_int_distribution<int> (-spreadMicros, spreadMicros) (random);
    std::atomic<int> ready { 0 };

    auto start = [&ready] (int delay)
    {
        ready.fetch_add (1);

        while (ready.load() < 2)
        {
        }

        spinFor (std::chrono::microseconds (std::max (0, delay)));
    };

    std::thread host ([&] { start (offset); hostSide(); });
    start (-offset);
    audioSide();
    host.join();
}

class VstLoadRace : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE (getPluginPath().empty()) << "pass --plugin=<path of the VST2 binary> or set SOMBRAX_VST_PLUGIN";

        // Program 0 is an old preset whose synced rate 1 becomes 2.
        std::filesystem::create_directories (midiPresetsFolder());

        for (const auto& entry : std::filesystem::directory_iterator (midiPresetsFolder()))
            std::filesystem::remove_all (entry.path());

        std::ofstream (midiPresetsFolder() / "01_old.sbxp") << "<Sombrax><PARAM id=\"lfo_synced_rate\" value=\"1\"/></Sombrax>";

        std::string error;
        ASSERT_TRUE (host.load (getPluginPath(), error)) << error;
        host.open();
        host.setSampleRate (44100.0f);
        host.setBlockSize (blockSize);
        host.resume();
    }

    void TearDown() override
    {
        if (host.isLoaded())
            host.suspend();

        std::filesystem::remove_all (midiPresetsFolder());
    }

    void runBlockWith (const std::vector<VstTestHost::MidiMessage>& messages)
    {
        host.sendMidi (messages);
        host.processReplacing (input, output, blockSize);
    }

    int syncedRate() { return (int) std::lround (host.getParameter (syncedRateIndex) * 21.0f); }

    static std::string describe (const std::map<int, int>& outcomes)
    {
        std::string text;

        for (const auto& [value, count] : outcomes)
            text += std::to_string (value) + ": " + std::to_string (count) + " times; ";

        return text;
    }

    VstTestHost host;
    std::vector<std::vector<float>> input = std::vector<std::vector<float>> (2, std::vector<float> (blockSize, 0.0f));
    std::vector<std::vector<float>> output = input;
    std::mt19937 random { 20261207 };
};

const VstTestHost::MidiMessage programChangeToOldPreset { { 0xc0, 0, 0 }, 0 };
} // namespace

TEST_F (VstLoadRace, SaveDuringAProgramChangeSeesTheStateBeforeTheLoadOrAfterItsRemap)
{
    std::map<int, int> saved, final;

    for (int i = 0; i < tries; ++i)
    {
        host.setChunk (stateChunk (10, true));
        std::vector<char> chunk;

        runTogether ([&] { chunk = host.getChunk(); }, [&] { runBlockWith ({ programChangeToOldPreset }); }, random, 150);

        ++saved[syncedRateIn (chunk)];
        ++final[syncedRate()];
    }

    EXPECT_EQ (saved.size(), (size_t) (saved.count (10) + saved.count (2))) << "saved: " << describe (saved);
    EXPECT_EQ (final, (std::map<int, int> { { 2, tries } })) << describe (final);
}

TEST_F (VstLoadRace, RestoreDuringAProgramChangeEndsAsOneLoadAfterTheOther)
{
    std::map<int, int> final;

    for (int i = 0; i < tries; ++i)
    {
        host.setChunk (stateChunk (7, true));
        const auto newState = stateChunk (10, true);

        runTogether ([&] { host.setChunk (newState); }, [&] { runBlockWith ({ programChangeToOldPreset }); }, random, 150);

        ++final[syncedRate()];
    }

    EXPECT_EQ (final.size(), (size_t) (final.count (10) + final.count (2))) << describe (final);
}

TEST_F (VstLoadRace, OldStateRestoredWhileABoundControllerMovesTheRateKeepsOneOfTheTwo)
{
    // Controller 3 is bound to the synced rate; 64 sets it to 11. The old state's 3 becomes 5.
    host.setChunk (chunkWithText ("<Sombrax Extended_Sync=\"1\"><Sombrax_MIDI_MAP><lfo_synced_rate cc=\"3\"/></Sombrax_MIDI_MAP></Sombrax>"));
    const auto oldState = stateChunk (3, false);
    std::map<int, int> final;

    for (int i = 0; i < tries * 3; ++i)
    {
        host.setParameter (syncedRateIndex, 0.0f);

        runTogether ([&] { host.setChunk (oldState); }, [&] { runBlockWith ({ { { 0xb0, 3, 64 }, 0 } }); }, random, 60);

        ++final[syncedRate()];
    }

    EXPECT_EQ (final.size(), (size_t) (final.count (5) + final.count (11))) << describe (final);
}

TEST_F (VstLoadRace, TheRemapStillReachesTheHostAsOneGesture)
{
    host.clearRecordedCalls();
    host.setChunk (stateChunk (5, false));

    EXPECT_EQ (syncedRate(), 8);
    EXPECT_EQ (host.countHostCalls (audioMasterBeginEdit), 1);
    EXPECT_EQ (host.countHostCalls (audioMasterEndEdit), 1);

    std::set<float> announced;

    for (const auto& event : host.getAutomationEvents())
        if (event.index == syncedRateIndex)
            announced.insert (event.value);

    EXPECT_EQ (announced, (std::set<float> { 8.0f / 21.0f }));
}

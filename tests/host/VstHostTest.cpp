// What a VST2 host sees when it loads the built plug-in binary.

#include "HostTestEnvironment.h"
#include "VstTestHost.h"

#include <SombraxVersion.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace
{
constexpr int numParameters = 21;
constexpr double twoPi = 6.283185307179586;

struct ExpectedParameter
{
    const char* name;
    const char* label;
    const char* defaultDisplay;
};

// Host index order.
const ExpectedParameter expectedParameters[numParameters] =
{
    { "Cutoff",             "Hz", "11000 Hz" },
    { "Resonance",          "%",  "0.0 %" },
    { "Cutoff Mod Depth",   "%",  "0.0 %" },
    { "LFO Rate",           "Hz", "1.0 Hz" },
    { "LFO High Rate",      "Hz", "60 Hz" },
    { "LFO High Rate Mode", "",   "0.0" },
    { "LFO Wave",           "",   "SINE" },
    { "LPF Gain",           "dB", "+0.0 dB" },
    { "HPF Gain",           "dB", "-INF dB" },
    { "BPF Gain",           "dB", "-INF dB" },
    { "NOTCH Gain",         "dB", "-INF dB" },
    { "LFO Sync",           "",   "0.0" },
    { "LFO Synced Rate",    "",   "1 BAR" },
    { "Drive",              "%",  "0.0 %" },
    { "Shape",              "%",  "50.0 %" },
    { "Feedback",           "%",  "0.0 %" },
    { "Filter Pre/Post",    "",   "PRE" },
    { "Out Gain",           "dB", "+0.0 dB" },
    { "Dry/Wet",            "%",  "100.0 %" },
    { "Filter Active",      "",   "ON" },
    { "Distortion Active",  "",   "ON" },
};

std::vector<std::vector<float>> makeSineInput (int numChannels, int numSamples, double sampleRate)
{
    std::vector<std::vector<float>> channels ((size_t) numChannels, std::vector<float> ((size_t) numSamples));

    for (int ch = 0; ch < numChannels; ++ch)
        for (int i = 0; i < numSamples; ++i)
            channels[(size_t) ch][(size_t) i] = 0.5f * (float) std::sin (twoPi * 440.0 * (ch + 1) * i / sampleRate);

    return channels;
}

// Outputs start as NaN, so a sample the plug-in forgets to write shows up as non-finite.
std::vector<std::vector<float>> makePoisonedOutput (int numChannels, int numSamples)
{
    return std::vector<std::vector<float>> ((size_t) numChannels,
                                            std::vector<float> ((size_t) numSamples,
                                                                std::numeric_limits<float>::quiet_NaN()));
}

int countNonFinite (const std::vector<std::vector<float>>& channels)
{
    int n = 0;

    for (const auto& channel : channels)
        for (auto sample : channel)
            if (! std::isfinite (sample))
                ++n;

    return n;
}

class VstHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE (getPluginPath().empty()) << "pass --plugin=<path of the VST2 binary> or set SOMBRAX_VST_PLUGIN";

        std::string error;
        ASSERT_TRUE (host.load (getPluginPath(), error)) << error;
        host.open();
    }

    VstTestHost host;
};
} // namespace

//==============================================================================
TEST_F (VstHost, AsksForTheHostVersionWhileLoading)
{
    EXPECT_GE (host.countHostCalls (audioMasterVersion), 1);
}

TEST_F (VstHost, EffectRecordDescribesAStereoEffect)
{
    const auto* effect = host.getEffect();

    EXPECT_EQ (effect->magic, kEffectMagic);
    EXPECT_EQ (effect->numInputs, 2);
    EXPECT_EQ (effect->numOutputs, 2);
    EXPECT_EQ (effect->numParams, numParameters);
    EXPECT_EQ (effect->numPrograms, 1);
    EXPECT_EQ (effect->initialDelay, 0);
    EXPECT_NE (effect->uniqueID, 0);
    EXPECT_EQ (effect->version, SOMBRAX_VERSION_CODE);

    EXPECT_NE (effect->dispatcher, nullptr);
    EXPECT_NE (effect->setParameter, nullptr);
    EXPECT_NE (effect->getParameter, nullptr);
    EXPECT_NE (effect->processReplacing, nullptr);
}

TEST_F (VstHost, FlagsAdvertiseEditorChunksAndSingleReplacingOnly)
{
    const auto flags = host.getEffect()->flags;

    EXPECT_NE (flags & effFlagsHasEditor, 0);
    EXPECT_NE (flags & effFlagsCanReplacing, 0);
    EXPECT_NE (flags & effFlagsProgramChunks, 0);
    EXPECT_NE (flags & effFlagsNoSoundInStop, 0);
    EXPECT_EQ (flags & effFlagsIsSynth, 0);
    EXPECT_EQ (flags & effFlagsCanDoubleReplacing, 0);
}

TEST_F (VstHost, ReportsItsIdentity)
{
    EXPECT_EQ (host.getString (effGetEffectName), "Sombrax");
    EXPECT_EQ (host.getString (effGetVendorString), "Ostel_Kaverno");
    EXPECT_EQ (host.getString (effGetProductString), "Sombrax");

    EXPECT_EQ (host.dispatch (effGetVendorVersion), SOMBRAX_VERSION_CODE);
    EXPECT_EQ (host.dispatch (effGetVstVersion), 2400);
    EXPECT_EQ (host.dispatch (effGetPlugCategory), kPlugCategEffect);
}

TEST_F (VstHost, ParameterNamesInHostOrder)
{
    for (int i = 0; i < numParameters; ++i)
        EXPECT_EQ (host.getParameterName (i), expectedParameters[i].name) << "parameter " << i;
}

TEST_F (VstHost, ParameterLabels)
{
    for (int i = 0; i < numParameters; ++i)
        EXPECT_EQ (host.getParameterLabel (i), expectedParameters[i].label) << "parameter " << i;
}

TEST_F (VstHost, ParameterDisplayTextsAtDefaults)
{
    for (int i = 0; i < numParameters; ++i)
        EXPECT_EQ (host.getParameterDisplay (i), expectedParameters[i].defaultDisplay) << "parameter " << i;
}

TEST_F (VstHost, EveryParameterCanBeAutomated)
{
    for (int i = 0; i < numParameters; ++i)
        EXPECT_EQ (host.dispatch (effCanBeAutomated, i), 1) << "parameter " << i;
}

TEST_F (VstHost, ParameterQueriesOutOfRangeAnswerNothing)
{
    for (int index : { -1, numParameters, 1000 })
    {
        EXPECT_EQ (host.getParameterName (index), "") << index;
        EXPECT_EQ (host.getParameterLabel (index), "") << index;
        EXPECT_EQ (host.getParameterDisplay (index), "") << index;
        EXPECT_EQ (host.dispatch (effCanBeAutomated, index), 0) << index;
        EXPECT_EQ (host.getParameter (index), 0.0f) << index;
    }
}

TEST_F (VstHost, CanDoAnswers)
{
    EXPECT_EQ (host.canDo ("receiveVstEvents"), 1);
    EXPECT_EQ (host.canDo ("receiveVstMidiEvent"), 1);
    EXPECT_EQ (host.canDo ("receiveVstMidiEvents"), 1);

    // The wrapper answers "no" to MIDI output with -1.
    EXPECT_EQ (host.canDo ("sendVstEvents"), -1);
    EXPECT_EQ (host.canDo ("sendVstMidiEvent"), -1);
    EXPECT_EQ (host.canDo ("sendVstMidiEvents"), -1);

    EXPECT_EQ (host.canDo ("receiveVstTimeInfo"), 1);
    EXPECT_EQ (host.canDo ("conformsToWindowRules"), 1);
    EXPECT_EQ (host.canDo ("supportsViewDpiScaling"), 1);
    EXPECT_EQ (host.canDo ("bypass"), 1);

    EXPECT_EQ (host.canDo ("openCloseAnyThread"), -1);
    EXPECT_EQ (host.canDo ("MPE"), 0);

    // The wrapper's marker for REAPER's extensions, compared as the 32-bit word hosts read.
    EXPECT_EQ ((std::uint32_t) host.canDo ("hasCockosExtensions"), 0xbeef0000u);

    for (const char* other : { "offline", "noRealTime", "midiProgramNames", "plugAsChannelInsert",
                               "sizeWindow", "hasCockosViewAsConfig", "", "no such capability" })
        EXPECT_EQ (host.canDo (other), 0) << '"' << other << '"';
}

TEST_F (VstHost, OneProgramWithAnEmptyName)
{
    EXPECT_EQ (host.getEffect()->numPrograms, 1);
    EXPECT_EQ (host.dispatch (effGetProgram), 0);
    EXPECT_EQ (host.getString (effGetProgramName), "");

    char name[256] = { 'x', 0 };
    EXPECT_EQ (host.dispatch (effGetProgramNameIndexed, 0, 0, name), 1);
    EXPECT_STREQ (name, "");

    char beyond[256] = { 'x', 0 };
    EXPECT_EQ (host.dispatch (effGetProgramNameIndexed, 1, 0, beyond), 0);
    EXPECT_STREQ (beyond, "x");
}

TEST_F (VstHost, NoTailAndNoLatency)
{
    host.setSampleRate (44100.0f);
    EXPECT_EQ (host.dispatch (effGetTailSize), 0);
    EXPECT_EQ (host.getEffect()->initialDelay, 0);
}

TEST_F (VstHost, ProcessesOneStereoBlockToFiniteOutput)
{
    constexpr int blockSize = 512;

    host.setSampleRate (44100.0f);
    host.setBlockSize (blockSize);
    host.resume();

    auto input = makeSineInput (2, blockSize, 44100.0);
    auto output = makePoisonedOutput (2, blockSize);
    host.processReplacing (input, output, blockSize);

    EXPECT_EQ (countNonFinite (output), 0);
    EXPECT_EQ (host.getEffect()->initialDelay, 0);

    host.suspend();
}

TEST_F (VstHost, AcceptsMidiEventsBeforeABlock)
{
    constexpr int blockSize = 512;

    host.setSampleRate (44100.0f);
    host.setBlockSize (blockSize);
    host.resume();

    // A note, a controller the plug-in has no mapping for, and a program change
    // with no program-change preset behind it.
    const std::vector<VstTestHost::MidiMessage> messages
    {
        { { 0x90, 60, 100 }, 0 },
        { { 0xb0, 20, 64 }, 10 },
        { { 0xc0, 3, 0 }, 20 },
    };

    EXPECT_EQ (host.sendMidi (messages), 1);

    auto input = makeSineInput (2, blockSize, 44100.0);
    auto output = makePoisonedOutput (2, blockSize);
    host.processReplacing (input, output, blockSize);

    EXPECT_EQ (countNonFinite (output), 0);

    host.suspend();
}

TEST_F (VstHost, StateChunkIsTheFrameworksXmlEnvelope)
{
    const auto chunk = host.getChunk();

    ASSERT_GT (chunk.size(), 4u);
    EXPECT_EQ (std::string (chunk.data(), 4), "VC2!");
}

TEST_F (VstHost, ClosesCleanly)
{
    EXPECT_EQ (host.close(), 1);
    EXPECT_FALSE (host.isLoaded());
}

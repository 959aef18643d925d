// Cross-checks our own VST2 interface layer against Debian's independent fst
// headers and against the values real hosts and plug-ins were seen to use.
// A wrong number here means a host would call the wrong opcode or read a
// field at the wrong place, so every disagreement fails the build's tests.

#include "AbiFacts.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace
{
std::optional<long long> findValue (const std::vector<AbiFact>& facts, const std::string& name)
{
    for (const auto& fact : facts)
        if (fact.name == name)
            return fact.value;

    return std::nullopt;
}

// fst gives an enumerator it has not identified the value 100000 plus the
// line of fst.h it sits on.
bool isFstPlaceholder (const AbiFact& fact)
{
    return ! fact.known || (fact.value >= 100000 && fact.value < 110000);
}

// Where fst states a number and we deliberately use another. Both sides are
// pinned so that a change in either shows up.
struct KnownDifference
{
    long long fstValue;
    long long ownValue;
    const char* reason;
};

const std::map<std::string, KnownDifference>& getKnownDifferences()
{
    static const std::map<std::string, KnownDifference> differences
    {
        { "kVstMaxProgNameLen",   { 25, 24, "fst counts the terminating zero; hosts hand a buffer of 24 + 1" } },
        { "kVstMaxVendorStrLen",  { 128, 64, "fst gives a host's buffer size, not the string length" } },
        { "kVstMaxProductStrLen", { 128, 64, "fst gives a host's buffer size, not the string length" } },
        { "sizeof(VstEvent)",     { 16, 32, "fst's generic event stops after the common header; the real one carries 16 data bytes" } },
        { "sizeof(VstEvents)",    { 16, 32, "fst ends with an open array; the real record declares two event pointers" } },
        { "sizeof(VstSpeakerArrangement)", { 8, 8 + 8 * 112, "fst ends with an open array; the real record declares eight speakers" } },
    };

    return differences;
}

int countComparable (const std::vector<AbiFact>& facts)
{
    int n = 0;

    for (const auto& fact : facts)
        if (! isFstPlaceholder (fact))
            ++n;

    return n;
}
} // namespace

TEST (VstAbi, FstReferenceTableIsReadable)
{
    const auto& fst = getFstAbiFacts();

    // Guards against a silently empty or mostly-unknown reference.
    EXPECT_GT (fst.size(), 250u);
    EXPECT_GT (countComparable (fst), 150);
}

TEST (VstAbi, EveryValueFstStatesMatchesOurs)
{
    const auto& own = getOwnAbiFacts();
    const auto& differences = getKnownDifferences();

    for (const auto& fact : getFstAbiFacts())
    {
        if (isFstPlaceholder (fact))
            continue;

        const auto ours = findValue (own, fact.name);
        ASSERT_TRUE (ours.has_value()) << fact.name << " is missing from our headers";

        if (const auto it = differences.find (fact.name); it != differences.end())
        {
            EXPECT_EQ (fact.value, it->second.fstValue) << fact.name << " changed in fst";
            EXPECT_EQ (*ours, it->second.ownValue) << fact.name << ": " << it->second.reason;
            continue;
        }

        EXPECT_EQ (*ours, fact.value) << fact.name;
    }
}

TEST (VstAbi, EveryKnownDifferenceIsStillInTheFstTable)
{
    const auto& fst = getFstAbiFacts();

    for (const auto& [name, difference] : getKnownDifferences())
        EXPECT_TRUE (findValue (fst, name).has_value()) << name;
}

TEST (VstAbi, NamesFstLeavesUnknownAreStillDeclaredByUs)
{
    const auto& own = getOwnAbiFacts();

    for (const auto& fact : getFstAbiFacts())
    {
        if (! isFstPlaceholder (fact))
            continue;

        EXPECT_TRUE (findValue (own, fact.name).has_value()) << fact.name;
    }
}

// Values fst lacks, as real hosts and plug-ins use them.
TEST (VstAbi, ValuesFstLacksMatchHosts)
{
    const std::vector<std::pair<std::string, long long>> expected
    {
        { "audioMasterIdle", 3 },
        { "audioMasterIOChanged", 13 },
        { "audioMasterGetProductString", 33 },
        { "audioMasterVendorSpecific", 35 },
        { "audioMasterUpdateDisplay", 42 },
        { "effSetBypass", 44 },
        { "effGetTailSize", 52 },
        { "effKeysRequired", 57 },
        { "effGetNumMidiInputChannels", 78 },
        { "effGetNumMidiOutputChannels", 79 },
    };

    const auto& own = getOwnAbiFacts();

    for (const auto& [name, value] : expected)
    {
        const auto ours = findValue (own, name);
        ASSERT_TRUE (ours.has_value()) << name;
        EXPECT_EQ (*ours, value) << name;
    }
}

TEST (VstAbi, CoreValuesHostsCheck)
{
    const std::vector<std::pair<std::string, long long>> expected
    {
        { "kEffectMagic", 0x56737450 },
        { "kVstVersion", 2400 },
        { "audioMasterAutomate", 0 },
        { "audioMasterVersion", 1 },
        { "effOpen", 0 },
        { "effClose", 1 },
        { "effFlagsHasEditor", 1 << 0 },
        { "effFlagsCanReplacing", 1 << 4 },
        { "effFlagsProgramChunks", 1 << 5 },
        { "effFlagsIsSynth", 1 << 8 },
        { "effFlagsNoSoundInStop", 1 << 9 },
        { "effFlagsCanDoubleReplacing", 1 << 12 },
        { "kPlugCategEffect", 1 },
        { "kVstMaxParamStrLen", 8 },
        { "kVstMaxLabelLen", 64 },
        { "kVstMaxShortLabelLen", 8 },
    };

    const auto& own = getOwnAbiFacts();

    for (const auto& [name, value] : expected)
    {
        const auto ours = findValue (own, name);
        ASSERT_TRUE (ours.has_value()) << name;
        EXPECT_EQ (*ours, value) << name;
    }
}

TEST (VstAbi, AEffectLayoutMatchesHosts)
{
    const std::vector<std::pair<std::string, long long>> expected
    {
        { "offsetof(AEffect.magic)", 0 },
        { "offsetof(AEffect.dispatcher)", 8 },
        { "offsetof(AEffect.process)", 16 },
        { "offsetof(AEffect.setParameter)", 24 },
        { "offsetof(AEffect.getParameter)", 32 },
        { "offsetof(AEffect.numPrograms)", 40 },
        { "offsetof(AEffect.numParams)", 44 },
        { "offsetof(AEffect.numInputs)", 48 },
        { "offsetof(AEffect.numOutputs)", 52 },
        { "offsetof(AEffect.flags)", 56 },
        { "offsetof(AEffect.resvd1)", 64 },
        { "offsetof(AEffect.resvd2)", 72 },
        { "offsetof(AEffect.initialDelay)", 80 },
        { "offsetof(AEffect.realQualities)", 84 },
        { "offsetof(AEffect.offQualities)", 88 },
        { "offsetof(AEffect.ioRatio)", 92 },
        { "offsetof(AEffect.object)", 96 },
        { "offsetof(AEffect.user)", 104 },
        { "offsetof(AEffect.uniqueID)", 112 },
        { "offsetof(AEffect.version)", 116 },
        { "offsetof(AEffect.processReplacing)", 120 },
        { "offsetof(AEffect.processDoubleReplacing)", 128 },
        { "offsetof(AEffect.future)", 136 },
        { "sizeof(AEffect)", 192 },
    };

    const auto& own = getOwnAbiFacts();

    for (const auto& [name, value] : expected)
    {
        const auto ours = findValue (own, name);
        ASSERT_TRUE (ours.has_value()) << name;
        EXPECT_EQ (*ours, value) << name;
    }
}

TEST (VstAbi, RecordLayoutsMatchHosts)
{
    const std::vector<std::pair<std::string, long long>> expected
    {
        { "offsetof(VstTimeInfo.tempo)", 32 },
        { "offsetof(VstTimeInfo.timeSigNumerator)", 64 },
        { "offsetof(VstTimeInfo.smpteOffset)", 72 },
        { "offsetof(VstTimeInfo.smpteFrameRate)", 76 },
        { "offsetof(VstTimeInfo.samplesToNextClock)", 80 },
        { "offsetof(VstTimeInfo.flags)", 84 },
        { "sizeof(VstTimeInfo)", 88 },
        { "sizeof(VstMidiEvent)", 32 },
        { "offsetof(VstMidiEvent.noteLength)", 16 },
        { "offsetof(VstMidiEvent.noteOffset)", 20 },
        { "offsetof(VstMidiEvent.midiData)", 24 },
        { "offsetof(VstMidiEvent.detune)", 28 },
        { "offsetof(VstMidiEvent.noteOffVelocity)", 29 },
        { "sizeof(VstMidiSysexEvent)", 48 },
        { "offsetof(VstEvents.events)", 16 },
        { "sizeof(VstEvent)", 32 },
        { "sizeof(VstPinProperties)", 128 },
        { "offsetof(VstPinProperties.flags)", 64 },
        { "offsetof(VstPinProperties.arrangementType)", 68 },
        { "offsetof(VstPinProperties.shortLabel)", 72 },
        { "sizeof(VstSpeakerProperties)", 112 },
        { "offsetof(VstSpeakerProperties.name)", 16 },
        { "offsetof(VstSpeakerProperties.type)", 80 },
        { "offsetof(VstSpeakerArrangement.speakers)", 8 },
        { "sizeof(VstSpeakerArrangement)", 8 + 8 * 112 },
        { "sizeof(ERect)", 8 },
        { "sizeof(VstIntPtr)", 8 },
        { "sizeof(VstInt32)", 4 },
        { "sizeof(AEffectDispatcherProc)", 8 },
    };

    const auto& own = getOwnAbiFacts();

    for (const auto& [name, value] : expected)
    {
        const auto ours = findValue (own, name);
        ASSERT_TRUE (ours.has_value()) << name;
        EXPECT_EQ (*ours, value) << name;
    }
}

TEST (VstAbi, OurTableHasNoDuplicateNames)
{
    std::map<std::string, int> seen;

    for (const auto& fact : getOwnAbiFacts())
        EXPECT_EQ (++seen[fact.name], 1) << fact.name;
}

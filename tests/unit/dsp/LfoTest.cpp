#include "support/EngineTestHelpers.h"

#include "dsp/BeatTranslator.h"
#include "dsp/Lfo.h"
#include "dsp/LfoWavetables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

namespace
{
enum Wave { sine, square, sawUp, sawDown, triangle, random, smoothRandom };

class LfoTables : public ::testing::Test
{
protected:
    void SetUp() override { oskv::appendLfoWavetables (tables); }

    const std::vector<float>& table (Wave w) const { return tables[(size_t) w].table; }

    std::vector<oskv::Wavetable<float>> tables;
};

TEST_F (LfoTables, SevenTablesOf1024Values)
{
    ASSERT_EQ (tables.size(), 7u);

    for (const auto& t : tables)
    {
        ASSERT_EQ (t.table.size(), 1024u);

        for (float v : t.table)
        {
            EXPECT_GE (v, -1.0f);
            EXPECT_LE (v, 1.0f);
        }
    }
}

TEST_F (LfoTables, FixedWavesHaveTheirCornerValues)
{
    EXPECT_EQ (table (sine)[0], 0.0f);
    EXPECT_EQ (table (sine)[256], 1.0f);
    EXPECT_EQ (table (sine)[768], -1.0f);

    EXPECT_EQ (table (square)[0], 1.0f);
    EXPECT_EQ (table (square)[511], 1.0f);
    EXPECT_EQ (table (square)[512], -1.0f);
    EXPECT_EQ (table (square)[1023], -1.0f);

    EXPECT_EQ (table (sawUp)[0], -1.0f);
    EXPECT_EQ (table (sawUp)[512], 0.0f);
    EXPECT_EQ (table (sawUp)[1023], 0.998046875f);

    EXPECT_EQ (table (sawDown)[0], 1.0f);
    EXPECT_EQ (table (sawDown)[1023], -0.998046875f);

    EXPECT_EQ (table (triangle)[0], -1.0f);
    EXPECT_EQ (table (triangle)[511], 0.99609375f);
    EXPECT_EQ (table (triangle)[512], 1.0f);
    EXPECT_EQ (table (triangle)[1023], -0.99609375f);
}

TEST_F (LfoTables, RandomTablesStayBelowOneAndDifferPerInstance)
{
    std::vector<oskv::Wavetable<float>> others;
    oskv::appendLfoWavetables (others);

    EXPECT_NE (table (random), others[random].table);
    EXPECT_NE (table (smoothRandom), others[smoothRandom].table);

    for (float v : table (random))
        EXPECT_LT (v, 1.0f);

    std::set<float> distinct (table (random).begin(), table (random).end());
    EXPECT_GT (distinct.size(), 1000u);
}

TEST_F (LfoTables, SmoothRandomRunsInSixteenStepsFromAnchorToAnchorAndWrapsSeamlessly)
{
    const auto& t = table (smoothRandom);

    for (int anchor = 0; anchor < 1024; anchor += 16)
    {
        const float next = t[(size_t) ((anchor + 16) % 1024)];
        const float inc = (next - t[(size_t) anchor]) * 0.0625f;

        for (int i = 1; i < 16; ++i)
            EXPECT_NEAR (t[(size_t) (anchor + i)], t[(size_t) anchor] + inc * (float) i, 1.0e-5f);
    }

    // The last run heads for the first anchor: one more step would land on it.
    const float lastInc = (t[0] - t[1008]) * 0.0625f;
    EXPECT_NEAR (t[1023] + lastInc, t[0], 1.0e-5f);
}

//==============================================================================
TEST (LfoRate, HighRateWinsOverSyncWhichWinsOverTheFreeRate)
{
    ParameterSnapshot s;
    s.lfoRate = 3.0f;
    s.lfoHighRate = 500.0f;
    s.lfoSyncedRateIndex = 5; // 1 BAR

    s.lfoHighRateMode = true;
    s.lfoSync = true;
    EXPECT_EQ (lfoRateForBlock (s, 2000.0f), 500.0f);

    s.lfoHighRateMode = false;
    EXPECT_EQ (lfoRateForBlock (s, 2000.0f), 0.5f);

    s.lfoSync = false;
    EXPECT_EQ (lfoRateForBlock (s, 2000.0f), 3.0f);
}

TEST (LfoRate, SyncedRatesAt120Bpm)
{
    ParameterSnapshot s;
    s.lfoSync = true;

    const float msPerBar = 60000.0f / 120.0f * 4.0f;

    s.lfoSyncedRateIndex = 5;
    EXPECT_FLOAT_EQ (lfoRateForBlock (s, msPerBar), 0.5f);  // "1 BAR": one cycle every 2 s
    s.lfoSyncedRateIndex = 0;
    EXPECT_FLOAT_EQ (lfoRateForBlock (s, msPerBar), 0.0625f); // "8 BARS"
    s.lfoSyncedRateIndex = 21;
    EXPECT_FLOAT_EQ (lfoRateForBlock (s, msPerBar), 64.0f);  // "1/128"

    for (int i = 0; i < 22; ++i)
    {
        s.lfoSyncedRateIndex = i;
        EXPECT_FLOAT_EQ (lfoRateForBlock (s, msPerBar), oskv::BeatTranslator::beatDivTableExtended[i] * 120.0f / 240.0f);
    }
}

TEST (LfoRate, WithoutATempoOneBarLasts240Seconds)
{
    ParameterSnapshot s;
    s.lfoSync = true;
    s.lfoSyncedRateIndex = 5;
    EXPECT_FLOAT_EQ (lfoRateForBlock (s, 240000.0f), 1.0f / 240.0f);
}

TEST (LfoRate, PhaseIncrementAtTheHighestRate)
{
    EXPECT_NEAR (lfoPhaseIncrementFor (1.0 / 44100.0, 1000.0f), 0.0226757f, 1.0e-7f);
    EXPECT_EQ (lfoPhaseIncrementFor (1.0 / 44100.0, 1.0f), (float) (1.0 / 44100.0));
}

TEST (LfoRate, AbsurdRatesKeepThePhaseInsideOneCycle)
{
    EXPECT_LT (lfoPhaseIncrementFor (1.0 / 44100.0, 1.0e9f), 1.0f);
    EXPECT_LT (lfoPhaseIncrementFor (1.0 / 44100.0, INFINITY), 1.0f);
    EXPECT_EQ (lfoPhaseIncrementFor (1.0 / 44100.0, NAN), 0.0f);
    EXPECT_EQ (lfoPhaseIncrementFor (1.0 / 44100.0, -5.0f), 0.0f);
}

//==============================================================================
class LfoRender : public LfoTables
{
protected:
    std::vector<float> render (Wave w, float increment, int n)
    {
        std::vector<float> out ((size_t) n);
        renderLfo (table (w), isSteppedRandomWave (w), increment, phase, previousPhase, stepIndex, out.data(), n);
        return out;
    }

    float phase = 0.0f, previousPhase = 0.0f;
    int stepIndex = 0;
};

TEST_F (LfoRender, FirstValuesStartAtTheTablesStart)
{
    EXPECT_EQ (render (sine, 0.001f, 1)[0], 0.5f);
    phase = 0.0f;
    EXPECT_EQ (render (square, 0.001f, 1)[0], 1.0f);
    phase = 0.0f;
    EXPECT_EQ (render (sawUp, 0.001f, 1)[0], 0.0f);
    phase = 0.0f;
    EXPECT_EQ (render (sawDown, 0.001f, 1)[0], 1.0f);
    phase = 0.0f;
    EXPECT_EQ (render (triangle, 0.001f, 1)[0], 0.0f);
}

TEST_F (LfoRender, SineIsInterpolatedBetweenTableValues)
{
    const float increment = 1.0f / 4096.0f; // a quarter of a table step per sample
    const auto out = render (sine, increment, 4096);

    for (int i = 0; i < 4096; ++i)
        EXPECT_NEAR (out[(size_t) i], 0.5f + 0.5f * (float) std::sin (2.0 * enginetest::pi * i / 4096.0), 5.0e-6f);
}

TEST_F (LfoRender, SquareIsHighForTheFirstHalfAndLowForTheSecond)
{
    const auto out = render (square, 1.0f / 1024.0f, 3 * 1024);

    for (int cycle = 0; cycle < 3; ++cycle)
        for (int i = 0; i < 1024; ++i)
            ASSERT_EQ (out[(size_t) (cycle * 1024 + i)], i < 512 ? 1.0f : 0.0f) << cycle << " " << i;
}

TEST_F (LfoRender, SquareEdgesAreInterpolatedBetweenTableSteps)
{
    const auto out = render (square, 1.0f / 2048.0f, 2048);
    EXPECT_EQ (out[1022], 1.0f);  // position 511
    EXPECT_EQ (out[1023], 0.5f);  // position 511.5, halfway down
    EXPECT_EQ (out[1024], 0.0f);  // position 512
    EXPECT_EQ (out[2047], 0.5f);  // position 1023.5, halfway back up toward t[0]
}

TEST_F (LfoRender, ThePhaseStaysInsideZeroToOne)
{
    render (sawUp, 0.0226757f, 100000);
    EXPECT_GE (phase, 0.0f);
    EXPECT_LT (phase, 1.0f);
}

TEST_F (LfoRender, TheRandomIndexStepsOnTheSampleAfterEachWrap)
{
    // Four samples per cycle: the phase wraps while producing sample 3 (0.75 -> 0), and the
    // index moves while producing sample 4, whose value still comes from the old index.
    const auto out = render (random, 0.25f, 12);
    const auto& t = table (random);
    auto value = [&] (int index) { return (t[(size_t) index] + 1.0f) * 0.5f; };

    for (int i = 0; i <= 4; ++i)
        EXPECT_EQ (out[(size_t) i], value (0)) << i;

    for (int i = 5; i <= 8; ++i)
        EXPECT_EQ (out[(size_t) i], value (1)) << i;

    for (int i = 9; i < 12; ++i)
        EXPECT_EQ (out[(size_t) i], value (2)) << i;

    EXPECT_EQ (stepIndex, 2);
}

TEST_F (LfoRender, TheRandomIndexCountsWrapsWhateverTheWaveAndWrapsAfter1023)
{
    render (sine, 0.5f, 2 * 10 + 1); // ten wraps
    EXPECT_EQ (stepIndex, 10);

    // Switching to RANDOM continues at the index reached, not at 0.
    const auto out = render (random, 0.5f, 1);
    EXPECT_EQ (out[0], (table (random)[10] + 1.0f) * 0.5f);

    stepIndex = 1023;
    previousPhase = 0.9f;
    phase = 0.1f;
    render (sine, 0.001f, 1);
    EXPECT_EQ (stepIndex, 0);
}

TEST_F (LfoRender, SmoothRandomAtOneHertzMovesOneTableStepPerSecond)
{
    const float increment = 1.0f / 100.0f; // 100 samples per cycle stands for 1 Hz at 100 Hz
    const auto out = render (smoothRandom, increment, 400);
    const auto& t = table (smoothRandom);

    std::vector<float> held;
    for (size_t i = 0; i < out.size(); ++i)
        if (i == 0 || out[i] != out[i - 1])
            held.push_back (out[i]);

    ASSERT_GE (held.size(), 4u);
    for (size_t k = 0; k < 4; ++k)
        EXPECT_EQ (held[k], (t[k] + 1.0f) * 0.5f);
}

//==============================================================================
/** The LFO inside the processor: first values after prepare, tempo from the play head. */
class ProcessorLfoFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // With the filter off the modulation buffer keeps the LFO's own output.
        enginetest::setParameter (processor, processor.filterActiveParamID, 0.0f);
    }

    void processOneBlock (int n = 512)
    {
        juce::AudioBuffer<float> buffer (2, n);
        buffer.clear();
        juce::MidiBuffer midi;
        processor.processBlock (buffer, midi);
    }

    SombraxAudioProcessor processor;
};

TEST_F (ProcessorLfoFixture, TheFirstValueAfterPrepareIsTheTablesFirstValue)
{
    const std::pair<int, float> expected[] = { { 0, 0.5f }, { 1, 1.0f }, { 2, 0.0f }, { 3, 1.0f }, { 4, 0.0f } };

    for (const auto& [wave, value] : expected)
    {
        enginetest::setParameter (processor, processor.lfoWaveParamID, (float) wave);
        processor.prepareToPlay (44100.0, 512);
        processOneBlock();
        EXPECT_EQ (processor.modulationBuffer[0], value) << "wave " << wave;
    }
}

TEST_F (ProcessorLfoFixture, SyncedRateFollowsThePlayHeadsTempo)
{
    enginetest::FixedPlayHead playHead (enginetest::FixedPlayHead::Mode::tempo, 120.0);
    processor.setPlayHead (&playHead);
    enginetest::setParameter (processor, processor.lfoSyncParamID, 1.0f);
    enginetest::setParameter (processor, processor.lfoSyncedRateParamID, 5.0f); // 1 BAR
    processor.prepareToPlay (44100.0, 512);

    processOneBlock();
    EXPECT_EQ (processor.hostBpm, 120.0f);
    EXPECT_EQ (processor.msPerBar, 2000.0f);
    EXPECT_FLOAT_EQ (processor.lfoPhaseIncrement, 0.5f / 44100.0f);

    // One cycle every 2 s: after 1 s of SAW UP the output is at the middle.
    enginetest::setParameter (processor, processor.lfoWaveParamID, 2.0f);
    processor.prepareToPlay (44100.0, 441);
    for (int b = 0; b < 100; ++b)
        processOneBlock (441);
    EXPECT_NEAR (processor.lfoPhase, 0.5f, 5.0e-3f);

    playHead.bpm = 90.0;
    processOneBlock();
    EXPECT_EQ (processor.msPerBar, 60000.0f / 90.0f * 4.0f);

    processor.setPlayHead (nullptr);
}

TEST_F (ProcessorLfoFixture, APositionWithoutTempoRunsAtOneBpm)
{
    enginetest::FixedPlayHead playHead (enginetest::FixedPlayHead::Mode::positionWithoutTempo);
    processor.setPlayHead (&playHead);
    enginetest::setParameter (processor, processor.lfoSyncParamID, 1.0f);
    enginetest::setParameter (processor, processor.lfoSyncedRateParamID, 5.0f);
    processor.prepareToPlay (44100.0, 512);
    processOneBlock();

    EXPECT_EQ (processor.hostBpm, 1.0f);
    EXPECT_EQ (processor.msPerBar, 240000.0f);
    EXPECT_FLOAT_EQ (processor.lfoPhaseIncrement, (1.0f / 240.0f) / 44100.0f);
    processor.setPlayHead (nullptr);
}

TEST_F (ProcessorLfoFixture, NoPlayHeadOrNoPositionKeepsTheLastTempo)
{
    processor.prepareToPlay (44100.0, 512);
    processOneBlock();
    EXPECT_EQ (processor.hostBpm, 120.0f);
    EXPECT_EQ (processor.msPerBar, 2000.0f);

    enginetest::FixedPlayHead tempo (enginetest::FixedPlayHead::Mode::tempo, 150.0);
    processor.setPlayHead (&tempo);
    processOneBlock();
    EXPECT_EQ (processor.hostBpm, 150.0f);

    enginetest::FixedPlayHead silent (enginetest::FixedPlayHead::Mode::noPosition);
    processor.setPlayHead (&silent);
    processOneBlock();
    EXPECT_EQ (processor.hostBpm, 150.0f);

    processor.setPlayHead (nullptr);
    processOneBlock();
    EXPECT_EQ (processor.hostBpm, 150.0f);
    EXPECT_EQ (processor.msPerBar, 1600.0f);
}

TEST_F (ProcessorLfoFixture, ABrokenTempoCountsAsNoTempo)
{
    enginetest::FixedPlayHead playHead (enginetest::FixedPlayHead::Mode::tempo, std::nan (""));
    processor.setPlayHead (&playHead);
    enginetest::setParameter (processor, processor.lfoSyncParamID, 1.0f);
    processor.prepareToPlay (44100.0, 512);
    processOneBlock();
    EXPECT_EQ (processor.hostBpm, 1.0f);

    playHead.bpm = 1.0e30;
    enginetest::setParameter (processor, processor.lfoSyncedRateParamID, 21.0f);
    processOneBlock();
    EXPECT_EQ (processor.hostBpm, 1.0e30f);
    EXPECT_GE (processor.lfoPhase, 0.0f);
    EXPECT_LT (processor.lfoPhase, 1.0f);
    for (int i = 0; i < 512; ++i)
        EXPECT_TRUE (std::isfinite (processor.modulationBuffer[(size_t) i]));

    processor.setPlayHead (nullptr);
}

TEST_F (ProcessorLfoFixture, HighRateModeSetsTheIncrement)
{
    enginetest::setParameter (processor, processor.lfoHighRateModeParamID, 1.0f);
    enginetest::setParameter (processor, processor.lfoHighRateParamID, 1000.0f);
    processor.prepareToPlay (44100.0, 512);
    processOneBlock();
    EXPECT_NEAR (processor.lfoPhaseIncrement, 0.0226757f, 1.0e-7f);
}

TEST_F (ProcessorLfoFixture, RePreparingCountsAWrapWhenThePreviousPhaseWasAboveZero)
{
    processor.prepareToPlay (44100.0, 512);
    processOneBlock();
    const int before = processor.randomStepIndex;
    ASSERT_GT (processor.previousLfoPhase, 0.0f);

    processor.prepareToPlay (44100.0, 512);
    EXPECT_EQ (processor.lfoPhase, 0.0f);
    processOneBlock();
    EXPECT_EQ (processor.randomStepIndex, before + 1);
}
} // namespace

#include "dsp/DryWetMix.h"
#include "dsp/LinearRamp.h"
#include "dsp/SnapshotRules.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
//==============================================================================
TEST (LinearRamp, ReachesItsTargetAfterExactlyTheRampLengthWithTheFirstStepOnTheFirstSample)
{
    LinearRamp ramp { 0.0f, 0.0f, 0 };
    ramp.setTarget (1.0f, 4410);

    std::vector<float> values (5000);
    ramp.fill (values.data(), (int) values.size());

    EXPECT_FLOAT_EQ (values[0], 1.0f / 4410.0f);
    EXPECT_NEAR (values[2204], 0.5f, 1.0e-4f);
    EXPECT_NEAR (values[4408], 1.0f - 1.0f / 4410.0f, 1.0e-4f);
    EXPECT_LT (values[4408], values[4409]);
    EXPECT_NEAR (values[4409], 1.0f, 1.0e-4f); // 4410 float additions leave a small residue

    // From then on it holds, with the float residue of the steps (it is not snapped).
    for (size_t i = 4409; i < values.size(); ++i)
        EXPECT_EQ (values[i], values[4409]);

    EXPECT_EQ (ramp.samplesLeft, 0);
}

TEST (LinearRamp, IsLinearInBetween)
{
    LinearRamp ramp { 100.0f, 0.0f, 0 };
    ramp.setTarget (200.0f, 100);

    std::vector<float> values (100);
    ramp.fill (values.data(), 100);

    for (int i = 0; i < 100; ++i)
        EXPECT_NEAR (values[(size_t) i], 100.0f + (float) (i + 1), 1.0e-3f);
}

TEST (LinearRamp, ANewTargetMidGlideStartsANewGlideFromWhereItIs)
{
    LinearRamp ramp { 0.0f, 0.0f, 0 };
    ramp.setTarget (1.0f, 100);

    std::vector<float> values (50);
    ramp.fill (values.data(), 50);
    const float midway = ramp.current;
    EXPECT_NEAR (midway, 0.5f, 1.0e-5f);

    ramp.setTarget (0.0f, 100);
    EXPECT_EQ (ramp.samplesLeft, 100);

    std::vector<float> back (100);
    ramp.fill (back.data(), 100);
    EXPECT_NEAR (back[0], midway - midway / 100.0f, 1.0e-6f);
    EXPECT_NEAR (back[99], 0.0f, 1.0e-6f);
}

TEST (LinearRamp, AnUnchangedTargetGivesAFlatRamp)
{
    LinearRamp ramp { 0.25f, 0.0f, 0 };
    ramp.setTarget (0.25f, 4410);
    EXPECT_EQ (ramp.step, 0.0f);

    std::vector<float> values (64);
    ramp.fill (values.data(), 64);

    for (float v : values)
        EXPECT_EQ (v, 0.25f);
}

TEST (LinearRamp, FillingInPiecesGivesTheSameValuesAsOneSampleAtATime)
{
    LinearRamp whole { 3.0f, 0.0f, 0 };
    LinearRamp pieces = whole;
    whole.setTarget (-7.0f, 300);
    pieces.setTarget (-7.0f, 300);

    std::vector<float> expected;
    for (int i = 0; i < 700; ++i)
        expected.push_back (whole.next());

    std::vector<float> actual (700);
    int done = 0;
    for (int size : { 1, 17, 250, 32, 0, 400 })
    {
        pieces.fill (actual.data() + done, size);
        done += size;
    }

    EXPECT_EQ (actual, expected);
}

//==============================================================================
TEST (DryWetMix, TheCurveIsExactlyOneAtZeroAngle)
{
    EXPECT_EQ (equalPowerWeight (0.0f), 1.0f);
}

TEST (DryWetMix, HalfWayWeighsBothSidesEqually)
{
    EXPECT_FLOAT_EQ (processedWeight (0.5f), 0.7077081f);
    EXPECT_FLOAT_EQ (dryWeight (0.5f), 0.7077081f);
}

TEST (DryWetMix, TheEndsLeakAFixedTinyAmountOfTheOtherSide)
{
    EXPECT_EQ (processedWeight (1.0f), 1.0f);
    EXPECT_EQ (dryWeight (1.0f), 4.76837158203125e-06f);
    EXPECT_EQ (processedWeight (0.0f), 4.76837158203125e-06f);
    EXPECT_EQ (dryWeight (0.0f), 1.0f);
}

TEST (DryWetMix, TheSumOfSquaresStaysNearOneAcrossTheRange)
{
    for (int i = 0; i <= 100; ++i)
    {
        const float w = (float) i / 100.0f;
        const float p = processedWeight (w), d = dryWeight (w);
        EXPECT_NEAR (p * p + d * d, 1.0f, 0.01f) << "w = " << w;
    }
}

TEST (DryWetMix, TheOutputGainActsOnTheProcessedSignalOnly)
{
    // All processed, gain 0: only the tiny leak of the dry signal is left.
    EXPECT_EQ (mixDryWet (0.8f, 0.6f, 0.0f, 1.0f), 4.76837158203125e-06f * 0.6f);
    // All dry: the gain does not matter beyond the tiny leak of the processed signal.
    EXPECT_FLOAT_EQ (mixDryWet (0.8f, 0.6f, 2.0f, 0.0f), 0.6f + 4.76837158203125e-06f * 1.6f);
    EXPECT_FLOAT_EQ (mixDryWet (0.8f, 0.6f, 0.5f, 0.5f), 0.7077081f * 0.4f + 0.7077081f * 0.6f);
}

//==============================================================================
TEST (SnapshotRules, DecibelsBecomeLinearGainsWithSilenceAtMinus70)
{
    EXPECT_EQ (decibelsToGain (0.0f), 1.0f);
    EXPECT_NEAR (decibelsToGain (6.0f), 1.9952623f, 1.0e-6f);
    EXPECT_NEAR (decibelsToGain (-20.0f), 0.1f, 1.0e-7f);
    EXPECT_EQ (decibelsToGain (-70.0f), 0.0f);
    EXPECT_EQ (decibelsToGain (-80.0f), 0.0f);
    EXPECT_GT (decibelsToGain (-69.99f), 0.0f);
}

TEST (SnapshotRules, SwitchesTurnOnAtOneHalf)
{
    EXPECT_FALSE (switchIsOn (0.0f));
    EXPECT_FALSE (switchIsOn (0.49999997f));
    EXPECT_TRUE (switchIsOn (0.5f));
    EXPECT_TRUE (switchIsOn (1.0f));
}
} // namespace

#include "support/EngineTestHelpers.h"

#include "dsp/DCBlocker.h"
#include "dsp/Distortion.h"
#include "dsp/HalfBandFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using enginetest::pi;

namespace
{
/** Steady-state gain of a double-precision filter for a sine at f (cycles per sample). */
template <typename Filter>
double sineGainDecibels (Filter& filter, double f)
{
    constexpr int settle = 10000, measure = 10000;
    double sc = 0.0, cc = 0.0;

    for (int n = 0; n < settle + measure; ++n)
    {
        const double y = filter.process (std::sin (2.0 * pi * f * n));

        if (n >= settle)
        {
            sc += y * std::sin (2.0 * pi * f * n);
            cc += y * std::cos (2.0 * pi * f * n);
        }
    }

    return 20.0 * std::log10 (2.0 * std::sqrt (sc * sc + cc * cc) / measure);
}

//==============================================================================
TEST (AllPassSection, PassesEveryFrequencyAtUnityGain)
{
    const double a[] = { 0.4820706250610472 };

    for (double f : { 0.01, 0.1, 0.25, 0.4, 0.49 })
    {
        AllPassFilterCascade cascade (a, 1);
        EXPECT_NEAR (sineGainDecibels (cascade, f), 0.0, 0.01) << "f = " << f;
    }
}

TEST (AllPassSection, FollowsTheSecondOrderAllPassRecursion)
{
    // (a + z^-2) / (1 + a z^-2): the impulse gives a, 0, 1 - a^2, 0, -a (1 - a^2), ...
    const double a[] = { 0.3 };
    AllPassFilterCascade cascade (a, 1);

    EXPECT_DOUBLE_EQ (cascade.process (1.0), 0.3);
    EXPECT_DOUBLE_EQ (cascade.process (0.0), 0.0);
    EXPECT_DOUBLE_EQ (cascade.process (0.0), 1.0 - 0.09);
    EXPECT_DOUBLE_EQ (cascade.process (0.0), 0.0);
    EXPECT_DOUBLE_EQ (cascade.process (0.0), -0.3 * (1.0 - 0.09));
}

//==============================================================================
TEST (HalfBandFilter, PassesTheLowerHalfAndStopsTheUpperHalf)
{
    for (double f : { 0.01, 0.1, 0.2 })
    {
        HalfBandFilter filter (8, true);
        EXPECT_NEAR (sineGainDecibels (filter, f), 0.0, 0.01) << "f = " << f;
    }

    HalfBandFilter atQuarter (8, true);
    EXPECT_NEAR (sineGainDecibels (atQuarter, 0.25), -3.01, 0.05);

    for (double f : { 0.3, 0.35, 0.4, 0.45, 0.49 })
    {
        HalfBandFilter filter (8, true);
        EXPECT_LT (sineGainDecibels (filter, f), -65.0) << "f = " << f;
    }
}

TEST (HalfBandFilter, TheSecondBranchIsDelayedByOneCall)
{
    HalfBandFilter filter (8, true);

    // The first output only holds the first branch: half of its first section's coefficient.
    EXPECT_DOUBLE_EQ (filter.process (1.0), 0.5 * 0.07711507983241622 * 0.4820706250610472
                                                * 0.7968204713315797 * 0.9412514277740471);
}

TEST (HalfBandFilter, ResetClearsEveryMemoryAndHasFiniteStateNoticesNaN)
{
    HalfBandFilter filter (8, true);
    EXPECT_TRUE (filter.hasFiniteState());

    filter.process (std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE (filter.hasFiniteState());

    filter.reset();
    EXPECT_TRUE (filter.hasFiniteState());

    HalfBandFilter fresh (8, true);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ (filter.process (i == 0 ? 1.0 : 0.0), fresh.process (i == 0 ? 1.0 : 0.0));
}

//==============================================================================
class DistortionFixture : public ::testing::Test
{
protected:
    /** One block through the distortion with constant drive and shape. */
    std::vector<float> run (std::vector<float> samples, float drive, float shape, float feedback)
    {
        const std::vector<float> driveValues (samples.size(), drive), shapeValues (samples.size(), shape);
        processDistortion (samples.data(), (int) samples.size(), up, down, memory, feedback,
                           driveValues.data(), shapeValues.data(), driveGainRange);
        return samples;
    }

    HalfBandFilter up { 8, true };
    HalfBandFilter down { 8, true };
    float memory = 0.0f;
    const juce::NormalisableRange<float> driveGainRange { 1.0f, 20.0f, 0.0f, 1.0f };
};

TEST_F (DistortionFixture, AtDriveZeroSmallSignalsPassAtHalfLevelPeakingThreeSamplesLate)
{
    std::vector<float> impulse (1024, 0.0f);
    impulse[0] = 1.0e-3f;

    const auto out = run (impulse, 0.0f, 0.5f, 0.0f);
    const auto peak = std::max_element (out.begin(), out.end(), [] (float a, float b) { return std::abs (a) < std::abs (b); });
    EXPECT_EQ (peak - out.begin(), 3);

    double sum = 0.0;
    for (float v : out)
        sum += v;

    EXPECT_NEAR (sum / 1.0e-3, 0.5, 1.0e-3); // DC gain: -6 dB
}

TEST_F (DistortionFixture, AtDriveZeroALowSinePassesAtMinusSixDecibels)
{
    std::vector<float> sine (8192);
    for (size_t i = 0; i < sine.size(); ++i)
        sine[i] = 0.01f * (float) std::sin (2.0 * pi * 441.0 * (double) i / 44100.0);

    const auto out = run (sine, 0.0f, 0.0f, 0.0f);
    const double gain = enginetest::sineAmplitude (out, 4096, 441.0, 44100.0) / 0.01;
    EXPECT_NEAR (enginetest::toDecibels (gain), -6.02, 0.05);
}

TEST_F (DistortionFixture, DriveGainRunsFromOneToTwenty)
{
    EXPECT_EQ (driveGainRange.convertFrom0to1 (0.0f), 1.0f);
    EXPECT_EQ (driveGainRange.convertFrom0to1 (0.5f), 10.5f);
    EXPECT_EQ (driveGainRange.convertFrom0to1 (1.0f), 20.0f);
}

TEST_F (DistortionFixture, ShapeBlendsSoftClippingIntoFolding)
{
    EXPECT_FLOAT_EQ (shapeSample (0.5f, 4.0f, 0.0f), std::tanh (2.0f));
    EXPECT_FLOAT_EQ (shapeSample (0.5f, 4.0f, 1.0f), std::sin (2.0f));
    EXPECT_FLOAT_EQ (shapeSample (0.5f, 4.0f, 0.5f), 0.5f * (std::tanh (2.0f) + std::sin (2.0f)));

    // Past pi/2 the sine folds back toward 0 where the tanh keeps saturating.
    EXPECT_LT (shapeSample (1.0f, 3.0f, 1.0f), 0.2f);
    EXPECT_GT (shapeSample (1.0f, 3.0f, 0.0f), 0.99f);
}

TEST_F (DistortionFixture, FullDriveSoftClipsALoudSine)
{
    std::vector<float> sine (8192);
    for (size_t i = 0; i < sine.size(); ++i)
        sine[i] = 10.0f * (float) std::sin (2.0 * pi * 100.0 * (double) i / 44100.0);

    const auto out = run (sine, 1.0f, 0.0f, 0.0f);
    const float peak = *std::max_element (out.begin() + 100, out.end());

    // Driven hard, both oversampled values sit near +-1, which the down-sampler passes
    // with only its small ringing on top.
    EXPECT_GT (peak, 0.9f);
    EXPECT_LT (peak, 1.2f);
}

TEST_F (DistortionFixture, FeedbackDiesAwayAtLowDriveAndSustainsAboveOneNineteenth)
{
    std::vector<float> burst (2048, 0.0f);
    for (size_t i = 0; i < 256; ++i)
        burst[i] = 0.5f * (float) std::sin (2.0 * pi * (double) i / 32.0);

    const std::vector<float> silence (44100, 0.0f);

    run (burst, 0.02f, 0.0f, 1.0f);
    const auto quietTail = run (silence, 0.02f, 0.0f, 1.0f);
    EXPECT_LT (std::abs (quietTail.back()), 1.0e-6f);

    up.reset();
    down.reset();
    memory = 0.0f;

    run (burst, 0.2f, 0.0f, 1.0f);
    const auto ringingTail = run (silence, 0.2f, 0.0f, 1.0f);
    float lastSecondPeak = 0.0f;
    for (size_t i = silence.size() / 2; i < silence.size(); ++i)
        lastSecondPeak = std::max (lastSecondPeak, std::abs (ringingTail[i]));

    EXPECT_GT (lastSecondPeak, 0.05f);
    EXPECT_LE (lastSecondPeak, 1.0f);
}

TEST_F (DistortionFixture, TheFeedbackMemoryHoldsTheLastOutput)
{
    std::vector<float> ramp (32);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = 0.01f * (float) i;

    const auto out = run (ramp, 0.3f, 0.7f, 0.4f);
    EXPECT_EQ (memory, out.back());
}

//==============================================================================
TEST (DCBlocker, ThePoleSitsNearTwentyHertzAtEveryRate)
{
    DCBlocker blocker;

    blocker.prepare (44100.0);
    EXPECT_FLOAT_EQ (blocker.R, 0.99714285f);
    blocker.prepare (48000.0);
    EXPECT_FLOAT_EQ (blocker.R, 0.99737501f);
    blocker.prepare (96000.0);
    EXPECT_FLOAT_EQ (blocker.R, 0.99868751f);
}

TEST (DCBlocker, AConstantInputDecaysWithThePole)
{
    DCBlocker blocker;
    blocker.prepare (44100.0);

    std::vector<float> dc (44100, 1.0f);
    blocker.process (dc.data(), (int) dc.size());

    EXPECT_EQ (dc[0], 1.0f);
    EXPECT_FLOAT_EQ (dc[1], blocker.R);
    EXPECT_FLOAT_EQ (dc[2], blocker.R * blocker.R);
    EXPECT_LT (std::abs (dc.back()), 1.0e-30f);
}

TEST (DCBlocker, SilenceStaysSilentAndAudioPasses)
{
    DCBlocker blocker;
    blocker.prepare (44100.0);

    std::vector<float> zeros (512, 0.0f);
    blocker.process (zeros.data(), 512);
    for (float v : zeros)
        EXPECT_EQ (v, 0.0f);

    std::vector<float> sine (8820);
    for (size_t i = 0; i < sine.size(); ++i)
        sine[i] = (float) std::sin (2.0 * pi * 1000.0 * (double) i / 44100.0);

    blocker.process (sine.data(), (int) sine.size());
    EXPECT_NEAR (enginetest::sineAmplitude (sine, 4410, 1000.0, 44100.0), 1.0, 2.0e-3);
}

TEST (DCBlocker, NonFiniteMemoryIsCleared)
{
    DCBlocker blocker;
    blocker.prepare (44100.0);
    blocker.process (std::numeric_limits<float>::infinity());
    blocker.clearIfNotFinite();

    EXPECT_EQ (blocker.x1, 0.0f);
    EXPECT_EQ (blocker.y1, 0.0f);
    EXPECT_EQ (blocker.process (0.25f), 0.25f);
}
} // namespace

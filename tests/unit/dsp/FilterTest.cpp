#include "support/EngineTestHelpers.h"

#include "dsp/MultimodeFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using enginetest::pi;

namespace
{
constexpr double sampleRate = 44100.0;
constexpr float cutoff = 1000.0f;

// Resonance whose Q is 1/sqrt(2): 0.5 + 9.5 r^2 = 0.7071.
constexpr float butterworthResonance = 0.1476f;

struct Responses
{
    double lp, hp, bp, notch; // dB
};

/** Small-signal response of the four outputs for a sine at `frequency`, fixed cutoff. */
Responses measure (double frequency, float resonance, float amplitude = 0.001f)
{
    const auto c = makeFilterBlockCoefficients (resonance, 1.0 / sampleRate);
    FilterChannelState st;
    st.s1 = st.s2 = 0.0f;

    const int total = (int) sampleRate, first = total / 2;
    std::vector<float> lp, hp, bp, notch;

    for (int n = 0; n < total; ++n)
    {
        const float x = amplitude * (float) std::sin (2.0 * pi * frequency * n / sampleRate);
        const auto o = processFilterSample (st, x, cutoff, c, 1.018f);
        lp.push_back (o.lp);
        hp.push_back (o.hp);
        bp.push_back (o.bp);
        notch.push_back (o.notch);
    }

    auto db = [&] (const std::vector<float>& v)
    { return enginetest::toDecibels (enginetest::sineAmplitude (v, (size_t) first, frequency, sampleRate) / amplitude); };

    return { db (lp), db (hp), db (bp), db (notch) };
}

//==============================================================================
TEST (FilterCoefficients, ResonanceMapsToDampingThroughQ)
{
    EXPECT_EQ (makeFilterBlockCoefficients (0.0f, 1.0 / 44100.0).R, 1.0f);   // Q 0.5
    EXPECT_EQ (makeFilterBlockCoefficients (1.0f, 1.0 / 44100.0).R, 0.05f);  // Q 10

    // 100 % at 96 kHz is scaled by 0.81625: Q = 0.81625^2 x 9.5 + 0.5, about 6.83.
    const float q = 0.81625f * 0.81625f * 9.5f + 0.5f;
    EXPECT_NEAR (q, 6.8296, 1.0e-3);
    EXPECT_FLOAT_EQ (makeFilterBlockCoefficients (0.81625f, 1.0 / 96000.0).R, (float) (1.0 / (2.0 * q)));
}

TEST (FilterCoefficients, ThePeriodGoesThroughFloat)
{
    const auto c = makeFilterBlockCoefficients (0.0f, 1.0 / 44100.0);
    const double t = (double) (float) (1.0 / 44100.0);
    EXPECT_EQ (c.halfT, t * 0.5);
    EXPECT_EQ (c.twoOverT, 2.0 / t);
    EXPECT_EQ (c.twoR, 2.0);
}

//==============================================================================
TEST (MultimodeFilterResponse, LowPassPassesBelowAndFallsTwelveDecibelsPerOctaveAbove)
{
    EXPECT_NEAR (measure (50.0, butterworthResonance).lp, 0.0, 0.1);
    EXPECT_NEAR (measure (100.0, butterworthResonance).lp, 0.0, 0.1);

    const double atCutoff = measure (cutoff, butterworthResonance).lp;
    EXPECT_LT (atCutoff, -1.0);
    EXPECT_GT (atCutoff, -3.5);

    EXPECT_LT (measure (2.0 * cutoff, butterworthResonance).lp, -10.0);
    EXPECT_LT (measure (10.0 * cutoff, butterworthResonance).lp, -40.0);

    const double slope = measure (5000.0, butterworthResonance).lp - measure (10000.0, butterworthResonance).lp;
    EXPECT_NEAR (slope, 14.0, 3.0); // about 12 dB per octave, steeper toward Nyquist
}

TEST (MultimodeFilterResponse, HighPassIsTheMirrorImage)
{
    EXPECT_NEAR (measure (10000.0, butterworthResonance).hp, 0.0, 0.1);

    const double atCutoff = measure (cutoff, butterworthResonance).hp;
    EXPECT_LT (atCutoff, -1.0);
    EXPECT_GT (atCutoff, -3.5);

    EXPECT_LT (measure (500.0, butterworthResonance).hp, -10.0);
    EXPECT_LT (measure (100.0, butterworthResonance).hp, -35.0);
}

TEST (MultimodeFilterResponse, BandPassPeaksAtTheCutoff)
{
    const double atCutoff = measure (cutoff, butterworthResonance).bp;
    EXPECT_GT (atCutoff, measure (0.5 * cutoff, butterworthResonance).bp + 2.0);
    EXPECT_GT (atCutoff, measure (2.0 * cutoff, butterworthResonance).bp + 2.0);
    EXPECT_LT (measure (100.0, butterworthResonance).bp, -19.0);
    EXPECT_LT (measure (10000.0, butterworthResonance).bp, -19.0);
}

TEST (MultimodeFilterResponse, NotchCutsTheCutoffAndLeavesHalfTheLevelElsewhere)
{
    EXPECT_LT (measure (cutoff, 0.0f).notch, -25.0);
    EXPECT_NEAR (measure (50.0, 0.0f).notch, -6.02, 0.1);
    EXPECT_NEAR (measure (20000.0, 0.0f).notch, -6.02, 0.2);
}

TEST (MultimodeFilterResponse, MoreResonanceRaisesThePeakAtTheCutoff)
{
    const double flat = measure (cutoff, 0.0f).lp;
    const double medium = measure (cutoff, 0.5f).lp;
    const double high = measure (cutoff, 0.8f).lp;
    EXPECT_LT (flat, medium);
    EXPECT_LT (medium, high);
    EXPECT_GT (high, 10.0);
}

TEST (MultimodeFilterResponse, TheSaturatedBandPassNeverLeavesMinusOneToOne)
{
    const auto c = makeFilterBlockCoefficients (1.0f, 1.0 / sampleRate);
    FilterChannelState st;
    st.s1 = st.s2 = 0.0f;

    for (int n = 0; n < 44100; ++n)
    {
        const float x = 10.0f * (float) std::sin (2.0 * pi * cutoff * n / sampleRate);
        const auto o = processFilterSample (st, x, cutoff, c, 1.018f);
        ASSERT_LE (std::abs (o.bp), 1.0f);
        ASSERT_TRUE (std::isfinite (o.lp) && std::isfinite (o.hp));
    }
}

TEST (MultimodeFilterResponse, TheStateRecordsTheCoefficientsOfTheLastSample)
{
    const auto c = makeFilterBlockCoefficients (0.3f, 1.0 / sampleRate);
    FilterChannelState st;
    st.s1 = st.s2 = 0.0f;
    processFilterSample (st, 0.1f, 2000.0f, c, 1.018f);

    const double gd = std::tan (2000.0 * 2.0 * pi * c.halfT) * c.twoOverT * c.halfT;
    EXPECT_FLOAT_EQ (st.g, (float) gd);
    EXPECT_FLOAT_EQ (st.k, (float) (gd + c.twoR));
    EXPECT_FLOAT_EQ (st.h, (float) (1.0 / (gd * gd + c.twoR * gd + 1.0)));
    EXPECT_EQ (st.R, c.R);
}

TEST (MultimodeFilterOutputs, GainsAreSummedPerOutput)
{
    const FilterOutputs o { 0.5f, -0.25f, 0.125f, 0.125f };
    EXPECT_EQ (mixFilterOutputs (o, 1.0f, 0.0f, 0.0f, 0.0f), 0.5f);
    EXPECT_EQ (mixFilterOutputs (o, 0.0f, 1.0f, 0.0f, 0.0f), -0.25f);
    EXPECT_EQ (mixFilterOutputs (o, 0.0f, 0.0f, 2.0f, 0.0f), 0.25f);
    EXPECT_EQ (mixFilterOutputs (o, 0.0f, 0.0f, 0.0f, 1.0f), 0.125f);
    EXPECT_EQ (mixFilterOutputs (o, 1.0f, 1.0f, 1.0f, 1.0f), 0.5f);
}

//==============================================================================
TEST (CutoffModulation, TheLfoOnlyOpensTheFilterWithTheDepthSquared)
{
    EXPECT_EQ (modulatedCutoff (0.0f, 500.0f, 1.0f, 11000.0f), 500.0f);
    EXPECT_EQ (modulatedCutoff (1.0f, 500.0f, 1.0f, 11000.0f), 11000.0f);
    EXPECT_EQ (modulatedCutoff (1.0f, 1000.0f, 0.25f, 11000.0f), 3500.0f); // 50 % on the knob: a quarter of the way
    EXPECT_EQ (modulatedCutoff (0.7f, 1234.0f, 0.0f, 11000.0f), 1234.0f);  // depth 0: the knob alone
    EXPECT_EQ (modulatedCutoff (0.3f, 11000.0f, 1.0f, 11000.0f), 11000.0f); // at 11 kHz the LFO does nothing
}

TEST (CutoffModulation, LfoValuesOutsideZeroToOneAreLimited)
{
    EXPECT_EQ (modulatedCutoff (-0.5f, 500.0f, 1.0f, 11000.0f), 500.0f);
    EXPECT_EQ (modulatedCutoff (1.5f, 500.0f, 1.0f, 11000.0f), 11000.0f);
}

TEST (CutoffLimit, EngagesOnlyBelow22050Hertz)
{
    for (double rate : { 22050.0, 32000.0, 44100.0, 48000.0, 96000.0, 192000.0 })
    {
        EXPECT_EQ (cutoffLimitFor (rate), std::numeric_limits<float>::infinity()) << rate;
        // The highest reachable cutoff keeps the tangent's argument below pi/2 there.
        EXPECT_LT (11000.0 * pi / rate, pi / 2.0);
    }

    for (double rate : { 8000.0, 11025.0, 16000.0, 22049.0 })
    {
        const float limit = cutoffLimitFor (rate);
        EXPECT_FLOAT_EQ (limit, (float) (0.45 * rate));
        EXPECT_LT ((double) limit * pi / rate, pi / 2.0 - 0.1);
    }
}

//==============================================================================
/** The filter inside the processor: modulation, channel 1 reusing channel 0's cutoffs. */
class ProcessorFilterFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        using enginetest::setParameter;
        setParameter (processor, processor.distortionActiveParamID, 0.0f);
        setParameter (processor, processor.filterCutoffParamID, 300.0f);
        setParameter (processor, processor.filterResonanceParamID, 60.0f);
        setParameter (processor, processor.filterCutoffModDepthParamID, 100.0f);
        setParameter (processor, processor.lfoRateParamID, 7.0f);
    }

    void prepare (double rate, int blockSize = 512)
    {
        processor.prepareToPlay (rate, blockSize);
    }

    SombraxAudioProcessor processor;
};

TEST_F (ProcessorFilterFixture, ChannelOneSweepsExactlyLikeChannelZero)
{
    prepare (44100.0);
    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;

    for (bool post : { false, true })
    {
        enginetest::setParameter (processor, processor.filterPostParamID, post ? 1.0f : 0.0f);
        enginetest::setParameter (processor, processor.distortionActiveParamID, post ? 1.0f : 0.0f);

        for (int block = 0; block < 40; ++block)
        {
            enginetest::fillSine (buffer, 220.0, 44100.0, 0.5f, block * 512LL);
            processor.processBlock (buffer, midi);

            for (int i = 0; i < 512; ++i)
                ASSERT_EQ (buffer.getSample (0, i), buffer.getSample (1, i)) << "block " << block << " sample " << i;
        }
    }
}

TEST_F (ProcessorFilterFixture, TheModulatedCutoffFollowsTheLfoFromTheKnobUpward)
{
    enginetest::setParameter (processor, processor.lfoWaveParamID, 1.0f); // SQUARE: 1 for the first half-cycle
    enginetest::setParameter (processor, processor.filterCutoffModDepthParamID, 50.0f);
    enginetest::setParameter (processor, processor.filterCutoffParamID, 1000.0f);
    prepare (44100.0);

    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;

    // Let the cutoff ramp settle, then restart the LFO phase; re-preparing keeps the ramps.
    for (int block = 0; block < 200; ++block)
    {
        buffer.clear();
        processor.processBlock (buffer, midi);
    }

    prepare (44100.0);
    buffer.clear();
    processor.processBlock (buffer, midi);

    // The LFO sits at 1, and a depth of 50 % on the knob moves the cutoff a quarter of the way up.
    const float base = processor.smoothingBuffers.cutoff[0];
    EXPECT_NEAR (base, 1000.0f, 0.2f);
    EXPECT_EQ (processor.modulationBuffer[0], (11000.0f - base) * (1.0f * 0.25f) + base);
    EXPECT_NEAR (processor.modulationBuffer[511], 3500.0f, 0.2f);
}

TEST_F (ProcessorFilterFixture, WithoutDepthTheLfoRateMakesNoDifference)
{
    enginetest::setParameter (processor, processor.filterCutoffModDepthParamID, 0.0f);
    prepare (44100.0);
    const auto slow = enginetest::processSine (processor, 2, 512, 20, 440.0, 44100.0, 0.3f);

    SombraxAudioProcessor other;
    enginetest::setParameter (other, other.distortionActiveParamID, 0.0f);
    enginetest::setParameter (other, other.filterCutoffParamID, 300.0f);
    enginetest::setParameter (other, other.filterResonanceParamID, 60.0f);
    enginetest::setParameter (other, other.filterCutoffModDepthParamID, 0.0f);
    enginetest::setParameter (other, other.lfoRateParamID, 19.0f);
    enginetest::setParameter (other, other.lfoWaveParamID, 5.0f);
    other.prepareToPlay (44100.0, 512);
    const auto fast = enginetest::processSine (other, 2, 512, 20, 440.0, 44100.0, 0.3f);

    EXPECT_EQ (slow, fast);
}

TEST_F (ProcessorFilterFixture, AtLowSampleRatesTheCutoffStaysBelowHalfTheRate)
{
    enginetest::setParameter (processor, processor.filterCutoffParamID, 11000.0f);
    enginetest::setParameter (processor, processor.filterResonanceParamID, 100.0f);

    for (double rate : { 8000.0, 11025.0, 16000.0 })
    {
        prepare (rate);
        const auto out = enginetest::processSine (processor, 2, 512, 40, 100.0, rate, 1.0f);

        for (float v : out)
            ASSERT_TRUE (std::isfinite (v));

        for (int i = 0; i < 512; ++i)
            ASSERT_LE (processor.modulationBuffer[(size_t) i], (float) (0.45 * rate));

        // A 100 Hz tone lies far below the (limited) cutoff and passes the low-pass.
        EXPECT_NEAR (enginetest::sineAmplitude (out, out.size() / 2, 100.0, rate), 1.0, 0.1) << rate;
    }
}

TEST_F (ProcessorFilterFixture, From22050HertzOnTheCutoffIsNotLimited)
{
    enginetest::setParameter (processor, processor.filterCutoffParamID, 11000.0f);
    enginetest::setParameter (processor, processor.filterCutoffModDepthParamID, 0.0f);
    prepare (22050.0);

    enginetest::processSine (processor, 2, 512, 20, 100.0, 22050.0, 0.1f);
    EXPECT_NEAR (processor.modulationBuffer[100], 11000.0f, 0.01f);
}
} // namespace

#include "support/EngineTestHelpers.h"

#include <gtest/gtest.h>

#if defined(__SSE__)
 #include <xmmintrin.h>
#endif

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using enginetest::setParameter;

namespace
{
class BlockProcessing : public ::testing::Test
{
protected:
    void process (juce::AudioBuffer<float>& buffer)
    {
        juce::MidiBuffer midi;
        processor.processBlock (buffer, midi);
    }

    /** Runs silence until every ramp has come to rest. Each block starts a new glide toward
        the same target from wherever the ramp is, so the approach is gradual, and it stops
        once a step falls below half a float step: about rampLength / 2 float steps short. */
    void settleRamps (int blockSize = 512)
    {
        juce::AudioBuffer<float> buffer (2, blockSize);

        for (int block = 0; block < 200; ++block)
        {
            buffer.clear();
            process (buffer);
        }
    }

    /** After the ramps have settled, one block of a 1 kHz sine at half scale: the input is
        left in `input`, the processed block in `output`. */
    void processSettledSine()
    {
        settleRamps();
        enginetest::fillSine (output, 1000.0, 44100.0, 0.5f);
        input.makeCopyOf (output);
        process (output);
    }

    juce::AudioBuffer<float> input, output { 2, 512 };

    static void fillConstant (juce::AudioBuffer<float>& buffer, float value)
    {
        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            juce::FloatVectorOperations::fill (buffer.getWritePointer (ch), value, buffer.getNumSamples());
    }

    SombraxAudioProcessor processor;
};

//==============================================================================
TEST_F (BlockProcessing, PrepareSetsTheRateDependentValues)
{
    struct Expected { double rate; float resonanceScale; int rampLength; };
    const Expected table[] = { { 44100.0, 1.0f, 4410 },      { 48000.0, 1.0f, 4800 },      { 48001.0, 0.6325f, 4800 },
                               { 88200.0, 0.8f, 8820 },      { 96000.0, 0.81625f, 9600 },  { 176400.0, 0.9f, 17640 },
                               { 192000.0, 0.908125f, 19200 }, { 22050.0, 1.0f, 2205 },   { 8000.0, 1.0f, 800 } };

    for (const auto& e : table)
    {
        processor.prepareToPlay (e.rate, 512);
        EXPECT_NEAR (processor.resonanceScale, e.resonanceScale, 1.0e-4f) << e.rate;
        EXPECT_EQ (processor.rampLength, e.rampLength) << e.rate;
        EXPECT_EQ (processor.currentSampleRate, e.rate);
        EXPECT_EQ (processor.inverseSampleRate, 1.0 / e.rate);
        EXPECT_EQ (processor.dcBlockers[0].R, (float) (1.0 + (-126.0 / (double) (float) e.rate)));
        EXPECT_EQ (processor.dcBlockers[1].R, processor.dcBlockers[0].R);
    }

    processor.prepareToPlay (44100.0, 512);
    EXPECT_FLOAT_EQ (processor.dcBlockers[0].R, 0.99714285f);
}

TEST_F (BlockProcessing, PrepareSizesTheBuffersAndClearsTheState)
{
    processor.prepareToPlay (48000.0, 256);

    EXPECT_EQ (processor.modulationBuffer.size(), 288u);
    EXPECT_EQ (processor.smoothingBuffers.cutoff.size(), 288u);
    EXPECT_EQ (processor.smoothingBuffers.dryWet.size(), 288u);
    EXPECT_EQ (processor.dryBuffer.getNumChannels(), 2);
    EXPECT_EQ (processor.dryBuffer.getNumSamples(), 256);
    EXPECT_EQ (processor.filterStates[0].s2, 0.0f);
    EXPECT_EQ (processor.filterStates[1].s2, 0.0f);
    EXPECT_EQ (processor.lfoPhase, 0.0f);
}

TEST_F (BlockProcessing, RePreparingAtTheSameRateKeepsScaleAndRamps)
{
    processor.prepareToPlay (96000.0, 512);
    setParameter (processor, processor.dryWetParamID, 30.0f);

    juce::AudioBuffer<float> buffer (2, 512);
    enginetest::fillSine (buffer, 300.0, 96000.0, 0.5f);
    process (buffer);

    processor.resonanceScale = 0.5f; // a marker: only a rate change recomputes it
    const auto ramp = processor.dryWetRamp;

    processor.prepareToPlay (96000.0, 1024);
    EXPECT_EQ (processor.resonanceScale, 0.5f);
    EXPECT_EQ (processor.inverseSampleRate, 1.0 / 96000.0);
    EXPECT_EQ (processor.rampLength, 9600);
    EXPECT_EQ (processor.dryWetRamp.current, ramp.current);
    EXPECT_EQ (processor.dryWetRamp.samplesLeft, ramp.samplesLeft);
    EXPECT_EQ (processor.feedbackMemory[0], 0.0f);
    EXPECT_EQ (processor.inputPeak.load(), 0.0f);
}

// A host that switches the plug-in off and on again (stop and restart, new rate or block
// size) must not hear what was still inside the oversampling filters.
TEST_F (BlockProcessing, AfterSwitchingOffAndOnSilenceInIsSilenceOut)
{
    struct Case { double rateBefore, rateAfter; bool filterPost; };
    const Case cases[] = { { 44100.0, 44100.0, false }, { 44100.0, 96000.0, false }, { 44100.0, 44100.0, true } };

    for (const auto& c : cases)
    {
        SombraxAudioProcessor p;
        setParameter (p, p.driveParamID, 50.0f);
        setParameter (p, p.filterPostParamID, c.filterPost ? 1.0f : 0.0f);
        p.prepareToPlay (c.rateBefore, 512);
        enginetest::processSine (p, 2, 512, 10, 1000.0, c.rateBefore, 0.9f);

        p.prepareToPlay (c.rateAfter, 512);
        juce::AudioBuffer<float> buffer (2, 512);
        fillConstant (buffer, 0.0f);
        juce::MidiBuffer midi;
        p.processBlock (buffer, midi);

        int sounding = 0;

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < 512; ++i)
                sounding += buffer.getSample (ch, i) != 0.0f ? 1 : 0;

        EXPECT_EQ (sounding, 0) << c.rateBefore << " -> " << c.rateAfter << (c.filterPost ? ", filter post" : "")
                                << ", peak " << buffer.getMagnitude (0, 512);
    }
}

TEST_F (BlockProcessing, HostRatesThatMakeNoSenseAreIgnored)
{
    processor.prepareToPlay (44100.0, 512);

    for (double rate : { 0.0, -48000.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity() })
    {
        processor.prepareToPlay (rate, 512);
        EXPECT_EQ (processor.currentSampleRate, 44100.0);
        EXPECT_EQ (processor.rampLength, 4410);
    }

    processor.prepareToPlay (44100.0, 0);
    juce::AudioBuffer<float> buffer (2, 100);
    enginetest::fillSine (buffer, 440.0, 44100.0, 0.5f);
    process (buffer);
    EXPECT_TRUE (std::isfinite (buffer.getSample (0, 99)));
}

//==============================================================================
TEST_F (BlockProcessing, DefaultsPassTheSignalAtHalfLevel)
{
    // Filter low-pass at 11 kHz, distortion at drive 0 (-6 dB), all processed.
    processor.prepareToPlay (44100.0, 512);
    const auto out = enginetest::processSine (processor, 2, 512, 20, 441.0, 44100.0, 0.1f);
    EXPECT_NEAR (enginetest::sineAmplitude (out, 4410, 441.0, 44100.0), 0.05, 0.001);
}

TEST_F (BlockProcessing, WithinOneBlockARampArrivesAfterExactlyTheRampLength)
{
    processor.prepareToPlay (44100.0, 8192);
    setParameter (processor, processor.outGainParamID, -70.0f); // target gain 0

    juce::AudioBuffer<float> buffer (2, 8192);
    buffer.clear();
    process (buffer);

    const auto& gains = processor.smoothingBuffers.outGain;
    EXPECT_FLOAT_EQ (gains[0], 1.0f - 1.0f / 4410.0f); // the first step is on the first sample
    EXPECT_NEAR (gains[2204], 0.5f, 1.0e-4f);
    EXPECT_NEAR (gains[4408], 1.0f / 4410.0f, 1.0e-4f);
    EXPECT_NEAR (gains[4409], 0.0f, 1.0e-4f);

    for (int i = 4410; i < 8192; ++i)
        ASSERT_EQ (gains[(size_t) i], gains[4409]);
}

TEST_F (BlockProcessing, EveryBlockStartsANewGlideFromWhereTheRampIs)
{
    // The target is set again on every block, so with blocks of a tenth of the ramp each
    // block covers a tenth of the distance that is left.
    processor.prepareToPlay (44100.0, 441);
    setParameter (processor, processor.outGainParamID, -70.0f);

    juce::AudioBuffer<float> buffer (2, 441);

    for (int b = 1; b <= 10; ++b)
    {
        buffer.clear();
        process (buffer);
        EXPECT_NEAR (processor.smoothingBuffers.outGain[440], std::pow (0.9f, (float) b), 1.0e-4f) << b;
    }
}

TEST_F (BlockProcessing, OutGainAtMinus70SilencesOnlyTheProcessedPath)
{
    processor.prepareToPlay (44100.0, 512);
    setParameter (processor, processor.outGainParamID, -70.0f);
    setParameter (processor, processor.dryWetParamID, 50.0f);
    processSettledSine();

    // Only the dry half is left; the dry/wet ramp rests a hair from 0.5, hence the tolerance.
    for (int i = 0; i < 512; ++i)
        EXPECT_NEAR (output.getSample (0, i), 0.7077081f * input.getSample (0, i), 2.0e-4f * 0.5f);
}

TEST_F (BlockProcessing, OutGainAtMinus70WithAllProcessedLeavesOnlyTheDryLeak)
{
    processor.prepareToPlay (44100.0, 512);
    setParameter (processor, processor.outGainParamID, -70.0f);
    processSettledSine();

    for (int i = 0; i < 512; ++i)
        EXPECT_NEAR (output.getSample (0, i), 4.76837158203125e-06f * input.getSample (0, i), 1.0e-9f);
}

TEST_F (BlockProcessing, DryWetZeroIsTheDryInputPlusATinyLeak)
{
    processor.prepareToPlay (44100.0, 512);
    setParameter (processor, processor.dryWetParamID, 0.0f);
    processSettledSine();

    for (int i = 0; i < 512; ++i)
        EXPECT_NEAR (output.getSample (1, i), input.getSample (1, i), 0.5f * 4.8e-6f);
}

TEST_F (BlockProcessing, WithBothSectionsOffTheDcBlockerStillRuns)
{
    setParameter (processor, processor.filterActiveParamID, 0.0f);
    setParameter (processor, processor.distortionActiveParamID, 0.0f);
    processor.prepareToPlay (44100.0, 512);

    juce::AudioBuffer<float> buffer (2, 512);
    std::vector<float> out;

    for (int b = 0; b < 100; ++b)
    {
        fillConstant (buffer, 0.5f);
        process (buffer);
        out.push_back (buffer.getSample (0, 0));
        if (b == 0)
        {
            EXPECT_NEAR (buffer.getSample (0, 1), 0.5f * processor.dcBlockers[0].R, 1.0e-5f);
        }
    }

    // All processed: the dry signal only leaks in at 4.77e-6.
    EXPECT_NEAR (out.front(), 0.5f, 1.0e-5f);
    EXPECT_LT (std::abs (out.back()), 1.0e-5f);
}

TEST_F (BlockProcessing, PeaksMeasureTheLargestMagnitudeOverAllChannels)
{
    processor.prepareToPlay (44100.0, 512);
    juce::AudioBuffer<float> buffer (2, 512);
    buffer.clear();
    buffer.setSample (0, 10, 0.25f);
    buffer.setSample (1, 300, -0.75f);
    process (buffer);

    EXPECT_EQ (processor.inputPeak.load(), 0.75f);
    EXPECT_GT (processor.outputPeak.load(), 0.0f);
    EXPECT_LT (processor.outputPeak.load(), 0.75f);

    juce::AudioBuffer<float> empty (2, 0);
    process (empty);
    EXPECT_EQ (processor.inputPeak.load(), 0.0f);
    EXPECT_EQ (processor.outputPeak.load(), 0.0f);

    buffer.clear();
    process (buffer);
    EXPECT_EQ (processor.inputPeak.load(), 0.0f);
}

TEST_F (BlockProcessing, AnEmptyBlockStillRetargetsTheRamps)
{
    processor.prepareToPlay (44100.0, 512);
    setParameter (processor, processor.driveParamID, 40.0f);

    juce::AudioBuffer<float> empty (2, 0);
    process (empty);

    EXPECT_EQ (processor.driveRamp.samplesLeft, 4410);
    EXPECT_FLOAT_EQ (processor.driveRamp.step, 0.4f / 4410.0f);
}

#if defined(__SSE__)
TEST_F (BlockProcessing, TheFloatingPointModeIsRestoredAfterTheBlock)
{
    processor.prepareToPlay (44100.0, 512);
    const auto before = _mm_getcsr();
    _mm_setcsr (before & ~0x8040u); // denormals on

    juce::AudioBuffer<float> buffer (2, 512);
    enginetest::fillSine (buffer, 440.0, 44100.0, 0.5f);
    process (buffer);

    EXPECT_EQ (_mm_getcsr() & 0x8040u, 0u);
    _mm_setcsr (before);
}
#endif

//==============================================================================
TEST_F (BlockProcessing, AMonoLayoutTouchesChannelZeroOnly)
{
    juce::AudioProcessor::BusesLayout mono;
    mono.inputBuses.add (juce::AudioChannelSet::mono());
    mono.outputBuses.add (juce::AudioChannelSet::mono());
    ASSERT_TRUE (processor.setBusesLayout (mono));

    setParameter (processor, processor.filterCutoffParamID, 500.0f);
    setParameter (processor, processor.feedbackParamID, 50.0f);
    processor.prepareToPlay (44100.0, 512);

    juce::AudioBuffer<float> buffer (1, 512);
    for (int b = 0; b < 10; ++b)
    {
        enginetest::fillSine (buffer, 300.0, 44100.0, 0.8f, b * 512LL);
        process (buffer);
    }

    EXPECT_NE (processor.filterStates[0].s2, 0.0f);
    EXPECT_EQ (processor.filterStates[1].s1, 0.0f);
    EXPECT_EQ (processor.filterStates[1].s2, 0.0f);
    EXPECT_EQ (processor.upsamplers[1]->oldOut, 0.0);
    EXPECT_EQ (processor.downsamplers[1]->oldOut, 0.0);
    EXPECT_EQ (processor.feedbackMemory[1], 0.0f);
    EXPECT_EQ (processor.dcBlockers[1].y1, 0.0f);
    EXPECT_NEAR (processor.inputPeak.load(), 0.8f, 1.0e-3f);
}

//==============================================================================
TEST_F (BlockProcessing, ALongBlockSoundsExactlyLikeTheSameBlockWithBiggerBuffers)
{
    auto configure = [] (SombraxAudioProcessor& p)
    {
        setParameter (p, p.filterCutoffParamID, 700.0f);
        setParameter (p, p.filterCutoffModDepthParamID, 80.0f);
        setParameter (p, p.lfoRateParamID, 9.0f);
        setParameter (p, p.lfoWaveParamID, 6.0f);
        setParameter (p, p.driveParamID, 60.0f);
        setParameter (p, p.feedbackParamID, 40.0f);
        setParameter (p, p.dryWetParamID, 70.0f);
        setParameter (p, p.bpfGainParamID, -3.0f);
    };

    SombraxAudioProcessor reference;
    configure (processor);
    configure (reference);
    reference.lfoWavetables = processor.lfoWavetables; // same random tables

    processor.prepareToPlay (44100.0, 128);
    reference.prepareToPlay (44100.0, 2000);

    juce::AudioBuffer<float> a (2, 2000), b (2, 2000);
    for (int block = 0; block < 5; ++block)
    {
        enginetest::fillSine (a, 187.0, 44100.0, 0.9f, block * 2000LL);
        b.makeCopyOf (a);
        process (a);
        juce::MidiBuffer midi;
        reference.processBlock (b, midi);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < 2000; ++i)
                ASSERT_EQ (a.getSample (ch, i), b.getSample (ch, i)) << block << " " << ch << " " << i;
    }
}

TEST_F (BlockProcessing, ProcessingBeforePrepareLeavesTheAudioAlone)
{
    juce::AudioBuffer<float> buffer (2, 64);
    fillConstant (buffer, 0.25f);
    process (buffer);
    EXPECT_EQ (buffer.getSample (0, 63), 0.25f);
}

//==============================================================================
TEST_F (BlockProcessing, ANaNBlockDoesNotBreakTheFollowingOnes)
{
    setParameter (processor, processor.feedbackParamID, 80.0f);
    setParameter (processor, processor.driveParamID, 30.0f);
    processor.prepareToPlay (44100.0, 512);

    juce::AudioBuffer<float> buffer (2, 512);
    enginetest::fillSine (buffer, 200.0, 44100.0, 0.5f);
    buffer.setSample (0, 100, std::numeric_limits<float>::quiet_NaN());
    buffer.setSample (1, 200, std::numeric_limits<float>::infinity());
    process (buffer);

    for (int b = 1; b < 5; ++b)
    {
        enginetest::fillSine (buffer, 200.0, 44100.0, 0.5f, b * 512LL);
        process (buffer);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < 512; ++i)
                ASSERT_TRUE (std::isfinite (buffer.getSample (ch, i))) << b << " " << ch << " " << i;
    }

    EXPECT_GT (processor.outputPeak.load(), 0.01f);
}

TEST_F (BlockProcessing, NonFiniteParameterValuesFallBackToTheDefaults)
{
    processor.prepareToPlay (44100.0, 512);
    auto* cutoff = processor.parameters.getParameter (processor.filterCutoffParamID);
    cutoff->setValueNotifyingHost (std::numeric_limits<float>::quiet_NaN());

    juce::AudioBuffer<float> buffer (2, 512);
    enginetest::fillSine (buffer, 200.0, 44100.0, 0.5f);
    process (buffer);

    EXPECT_TRUE (std::isfinite (processor.cutoffRamp.current));
    for (int i = 0; i < 512; ++i)
        ASSERT_TRUE (std::isfinite (buffer.getSample (0, i)));
}

/** Every parameter randomised per block, loud input: the output must stay finite. */
class RandomisedParameters : public ::testing::TestWithParam<double>
{
};

TEST_P (RandomisedParameters, LoudInputGivesFiniteOutputWhateverTheSettings)
{
    const double rate = GetParam();
    SombraxAudioProcessor processor;
    processor.prepareToPlay (rate, 512);

    std::mt19937 rng (1234);
    std::uniform_real_distribution<float> unit (0.0f, 1.0f);
    std::uniform_int_distribution<int> sizes (0, 700); // now and then beyond the prepared size

    const auto& params = processor.getParameters();
    juce::AudioBuffer<float> buffer (2, 700);
    juce::MidiBuffer midi;
    float largest = 0.0f;

    for (int block = 0; block < 600; ++block)
    {
        for (auto* p : params)
        {
            // Mostly extremes, where the trouble lives.
            const float r = unit (rng);
            p->setValueNotifyingHost (r < 0.3f ? 0.0f : (r < 0.6f ? 1.0f : unit (rng)));
        }

        const int n = sizes (rng);
        buffer.setSize (2, n, false, false, true);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < n; ++i)
                buffer.setSample (ch, i, block % 3 == 0 ? 10.0f * (unit (rng) * 2.0f - 1.0f)
                                                         : 10.0f * (float) std::sin (0.05 * i * (1 + block % 7)));

        processor.processBlock (buffer, midi);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < n; ++i)
            {
                ASSERT_TRUE (std::isfinite (buffer.getSample (ch, i))) << "rate " << rate << " block " << block;
                largest = std::max (largest, std::abs (buffer.getSample (ch, i)));
            }
    }

    RecordProperty ("largestOutput", std::to_string (largest));
}

INSTANTIATE_TEST_SUITE_P (SampleRates, RandomisedParameters,
                          ::testing::Values (8000.0, 11025.0, 16000.0, 22050.0, 44100.0, 96000.0, 192000.0));
} // namespace

// A second, self-contained implementation of the whole signal path (LFO, ramps, filter,
// oversampled distortion, DC blocker, mix), run beside the real processor. Every output
// sample must come out bit-identical: any change to the engine's arithmetic order or float
// and double conversions shows up here as the first sample that differs.

#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <sstream>
#include <vector>

namespace
{
//==============================================================================
// The plain parameter values of one block, in the units the parameters store.
struct RawParameters
{
    float cutoff, resonance, modDepth, lfoRate, lfoHighRate, lfoHighRateMode, lfoWave;
    float lpfGain, hpfGain, bpfGain, notchGain, lfoSync, lfoSyncedRate;
    float drive, shape, feedback, filterPost, outGain, dryWet, filterActive, distortionActive;
};

RawParameters readParameters (SombraxAudioProcessor& processor)
{
    auto raw = [&processor] (const char* id) { return processor.parameters.getRawParameterValue (id)->load(); };

    RawParameters p;
    p.cutoff = raw ("filter_cutoff");
    p.resonance = raw ("filter_resonance");
    p.modDepth = raw ("filter_cutoff_mod_depth");
    p.lfoRate = raw ("lfo_rate");
    p.lfoHighRate = raw ("lfo_high_rate");
    p.lfoHighRateMode = raw ("lfo_high_rate_mode");
    p.lfoWave = raw ("lfo_wave");
    p.lpfGain = raw ("lpf_gain");
    p.hpfGain = raw ("hpf_gain");
    p.bpfGain = raw ("bpf_gain");
    p.notchGain = raw ("notch_gain");
    p.lfoSync = raw ("lfo_sync");
    p.lfoSyncedRate = raw ("lfo_synced_rate");
    p.drive = raw ("drive");
    p.shape = raw ("shape");
    p.feedback = raw ("feedback");
    p.filterPost = raw ("filter_post");
    p.outGain = raw ("out_gain");
    p.dryWet = raw ("dry_wet");
    p.filterActive = raw ("filter_active");
    p.distortionActive = raw ("distortion_active");
    return p;
}

//==============================================================================
struct AllPassSectionModel
{
    double a = 0.0, x0 = 0.0, x1 = 0.0, x2 = 0.0, y0 = 0.0, y1 = 0.0, y2 = 0.0;

    double process (double in)
    {
        x2 = x1;
        x1 = x0;
        x0 = in;
        y2 = y1;
        y1 = y0;
        const double out = x2 + (in - y2) * a;
        y0 = out;
        return out;
    }
};

struct CascadeModel
{
    std::vector<AllPassSectionModel> sections;

    explicit CascadeModel (std::initializer_list<double> coefficients)
    {
        for (auto c : coefficients)
        {
            AllPassSectionModel s;
            s.a = c;
            sections.push_back (s);
        }
    }

    double process (double in)
    {
        for (auto& s : sections)
            in = s.process (in);

        return in;
    }
};

struct HalfBandModel
{
    CascadeModel a { 0.07711507983241622, 0.4820706250610472, 0.7968204713315797, 0.9412514277740471 };
    CascadeModel b { 0.2659685265210946, 0.6651041532634957, 0.8841015085506159, 0.9820054141886075 };
    double oldOut = 0.0;

    double process (double in)
    {
        const double out = (a.process (in) + oldOut) * 0.5;
        oldOut = b.process (in);
        return out;
    }
};

struct RampModel
{
    float current, step = 0.0f;
    int samplesLeft = 0;
};

struct FilterStateModel
{
    float s1 = 0.0f, s2 = 0.0f;
};

struct DcModel
{
    float x1 = 0.0f, y1 = 0.0f, R = 0.0f;
};

//==============================================================================
std::vector<std::vector<float>> makeFixedWavetables()
{
    std::vector<std::vector<float>> t (5, std::vector<float> (1024));

    for (int i = 0; i < 1024; ++i)
    {
        const float fi = (float) i;
        t[0][(size_t) i] = (float) std::sin ((double) fi * 0.006135923151542565);
        t[1][(size_t) i] = i < 512 ? 1.0f : -1.0f;
        t[2][(size_t) i] = (float) (2.0 * (double) (fi * 0.0009765625f) - 1.0);
        t[3][(size_t) i] = (float) (2.0 * (1.0 - (double) (fi * 0.0009765625f)) - 1.0);
        t[4][(size_t) i] = i <= 511 ? (float) (2.0 * (double) (fi * 0.001953125f) - 1.0)
                                    : (float) (2.0 * (1.0 - (double) ((fi - 512.0f) * 0.001953125f)) - 1.0);
    }

    return t;
}

float polynomialCosine (float theta)
{
    const float t = theta * theta;
    return ((t * 0.03705f) + (-0.4967f)) * t + 1.0f;
}

float percent (float v)
{
    return juce::jlimit (0.0f, 1.0f, (v - 0.0f) / (100.0f - 0.0f));
}

float decibelsToGain (float v)
{
    return v > -70.0f ? std::pow (10.0f, 0.05f * v) : 0.0f;
}

bool isOn (float v)
{
    return v >= 0.5f;
}

int nearestIndex (float v)
{
    return (int) std::nearbyint ((double) v);
}

//==============================================================================
class SignalPathModel
{
public:
    explicit SignalPathModel (const std::vector<oskv::Wavetable<float>>& engineTables)
        : tables (makeFixedWavetables())
    {
        // The random tables differ per instance; take the processor's.
        tables.push_back (engineTables[5].table);
        tables.push_back (engineTables[6].table);
    }

    void prepare (double sampleRate, int samplesPerBlock)
    {
        if (sampleRate != currentSampleRate)
        {
            currentSampleRate = sampleRate;
            inverseSampleRate = 1.0 / sampleRate;
            resonanceScale = sampleRate <= 48000.0 ? 1.0f : 1.0f + 0.4f * (float) (-44100.0 / sampleRate);
        }

        rampLength = (int) (rampTimeSeconds * sampleRate);

        for (auto* v : smoothingVectors())
            v->assign ((size_t) samplesPerBlock + 32, 0.0f);

        lfoPhase = 0.0f;

        for (auto& f : filters)
            f.s1 = f.s2 = 0.0f;

        for (int ch = 0; ch < 2; ++ch)
            upsamplers[ch] = downsamplers[ch] = HalfBandModel {};

        for (auto& d : dcBlockers)
        {
            d.R = (float) (1.0 + (-126.0 / (double) (float) sampleRate));
            d.x1 = d.y1 = 0.0f;
        }

        modulation.assign ((size_t) samplesPerBlock + 32, 0.0f);
        dry.assign (2, std::vector<float> ((size_t) samplesPerBlock, 0.0f));
        feedbackMemory[0] = feedbackMemory[1] = 0.0f;
        inputPeak = outputPeak = 0.0f;
    }

    void process (std::vector<std::vector<float>>& channels, int n, const RawParameters& p,
                  juce::AudioPlayHead* playHead)
    {
        if (playHead != nullptr)
        {
            if (auto position = playHead->getPosition())
            {
                hostBpm = std::max (1.0f, (float) position->getBpm().orFallback (0.0));
                msPerBar = 60000.0f / hostBpm * 4.0f;
            }
        }

        takeSnapshot (p);
        fillLfo (n);

        for (int i = 0; i < n; ++i)
        {
            for (int r = 0; r < 9; ++r)
            {
                auto& ramp = ramps[r];

                if (ramp.samplesLeft > 0)
                {
                    ramp.current += ramp.step;
                    ramp.samplesLeft -= 1;
                }

                (*smoothingVectors()[(size_t) r])[(size_t) i] = ramp.current;
            }
        }

        inputPeak = peak (channels, n);

        for (size_t ch = 0; ch < channels.size(); ++ch)
        {
            float* x = channels[ch].data();
            std::copy (x, x + n, dry[ch].begin());

            if (filterActive && ! filterPost)
                filter (x, n, (int) ch);

            if (distortionActive)
                distort (x, n, (int) ch);

            if (filterActive && filterPost)
                filter (x, n, (int) ch);

            auto& dc = dcBlockers[ch];

            for (int i = 0; i < n; ++i)
            {
                const float y = dc.R * dc.y1 + (x[i] - dc.x1);
                dc.x1 = x[i];
                dc.y1 = y;
                x[i] = y;
            }

            for (int i = 0; i < n; ++i)
            {
                const float g = outGainBuf[(size_t) i];
                const float w = dryWetBuf[(size_t) i];
                const float d = dry[ch][(size_t) i];
                const float processed = g * x[i];
                const auto thetaWet = (float) ((double) w * 1.5707963267948966);
                const auto thetaDry = (float) ((1.0 - (double) w) * 1.5707963267948966);
                x[i] = polynomialCosine (thetaDry) * processed + polynomialCosine (thetaWet) * d;
            }
        }

        outputPeak = peak (channels, n);
    }

    std::vector<std::vector<float>> tables;
    float inputPeak = 0.0f, outputPeak = 0.0f;

private:
    std::vector<std::vector<float>*> smoothingVectors()
    {
        return { &cutoffBuf, &lpfBuf, &hpfBuf, &bpfBuf, &notchBuf, &driveBuf, &shapeBuf, &outGainBuf, &dryWetBuf };
    }

    static float peak (const std::vector<std::vector<float>>& channels, int n)
    {
        float result = 0.0f;

        for (auto& c : channels)
            for (int i = 0; i < n; ++i)
                result = std::max (result, std::abs (c[(size_t) i]));

        return result;
    }

    void takeSnapshot (const RawParameters& p)
    {
        resonance = percent (p.resonance) * resonanceScale;
        modDepth = percent (p.modDepth) * percent (p.modDepth);
        lfoRate = p.lfoRate;
        lfoHighRate = p.lfoHighRate;
        lfoHighRateMode = isOn (p.lfoHighRateMode);
        lfoWave = nearestIndex (p.lfoWave);
        lfoSync = isOn (p.lfoSync);
        lfoSyncedRateIndex = nearestIndex (p.lfoSyncedRate);
        filterActive = isOn (p.filterActive);
        feedback = percent (p.feedback);
        distortionActive = isOn (p.distortionActive);
        filterPost = isOn (p.filterPost);

        const float targets[9] = { p.cutoff,
                                   decibelsToGain (p.lpfGain),
                                   decibelsToGain (p.hpfGain),
                                   decibelsToGain (p.bpfGain),
                                   decibelsToGain (p.notchGain),
                                   percent (p.drive),
                                   percent (p.shape),
                                   decibelsToGain (p.outGain),
                                   percent (p.dryWet) };

        for (int r = 0; r < 9; ++r)
        {
            ramps[r].step = (targets[r] - ramps[r].current) / (float) rampLength;
            ramps[r].samplesLeft = rampLength;
        }
    }

    void fillLfo (int n)
    {
        static const float divisions[22] = { 0.125f, 1.0f / 6.0f, 0.25f, 1.0f / 3.0f, 0.5f, 1.0f, 4.0f / 3.0f, 1.5f,
                                             2.0f, 8.0f / 3.0f, 3.0f, 4.0f, 16.0f / 3.0f, 8.0f, 32.0f / 3.0f, 16.0f,
                                             64.0f / 3.0f, 32.0f, 128.0f / 3.0f, 64.0f, 256.0f / 3.0f, 128.0f };
        float rate;

        if (lfoHighRateMode)
            rate = lfoHighRate;
        else if (lfoSync)
            rate = 1000.0f / (msPerBar / divisions[lfoSyncedRateIndex]);
        else
            rate = lfoRate;

        lfoPhaseIncrement = (float) inverseSampleRate * rate;

        const auto& t = tables[(size_t) lfoWave];
        const int L = (int) t.size();
        const auto lengthF = (float) L;
        const bool randomWave = lfoWave == 5 || lfoWave == 6;

        for (int i = 0; i < n; ++i)
        {
            const float old = lfoPhase;
            const float prev = previousLfoPhase;
            const float next = lfoPhaseIncrement + old;
            lfoPhase = next >= 1.0f ? (float) ((double) next - 1.0) : next;

            float pos = randomWave ? (float) randomStepIndex * 0.0009765625f * lengthF : old * lengthF;

            if (! (pos < lengthF))
                pos = lengthF - 1.0f;

            const int idx = (int) std::floor (pos);
            const float lower = t[(size_t) idx];
            const float upper = idx >= L - 1 ? t[0] : t[(size_t) idx + 1];
            const float v = (upper - lower) * (pos - (float) idx) + lower;

            if (prev > old)
                randomStepIndex = randomStepIndex >= 1023 ? 0 : randomStepIndex + 1;

            previousLfoPhase = old;
            modulation[(size_t) i] = (v + 1.0f) * 0.5f;
        }
    }

    void filter (float* samples, int n, int channel)
    {
        if (n <= 0)
            return;

        if (channel == 0)
        {
            for (int i = 0; i < n; ++i)
            {
                const float m = juce::jlimit (0.0f, 1.0f, modulation[(size_t) i]);
                const float base = cutoffBuf[(size_t) i];
                modulation[(size_t) i] = (11000.0f - base) * (m * modDepth) + base;
            }
        }

        const float Q = resonance * resonance * 9.5f + 0.5f;
        const double T = (double) (float) inverseSampleRate;
        const double halfT = T * 0.5;
        const double twoOverT = 2.0 / T;
        const auto R = (float) (1.0 / ((double) Q + (double) Q));
        const double twoR = (double) R + (double) R;
        auto& st = filters[(size_t) channel];

        for (int i = 0; i < n; ++i)
        {
            const float x = samples[i];
            const double wd = (double) modulation[(size_t) i] * 6.283185307179586 * halfT;
            const double gd = std::tan (wd) * twoOverT * halfT;
            const auto h = (float) (1.0 / (gd * gd + (twoR * gd + 1.0)));
            const auto g = (float) gd;
            const auto k = (float) (gd + twoR);
            const float hp = ((x - k * st.s1) - st.s2) * h;
            const float v = hp * g;
            const float bp = std::tanh ((st.s1 + v) * 1.018f);
            const float lp = st.s2 + g * bp;
            st.s1 = v + bp;
            st.s2 = g * bp + lp;
            const auto notch = (float) ((double) lp * 0.5 + (double) hp * 0.5);
            samples[i] = ((lp * lpfBuf[(size_t) i] + hp * hpfBuf[(size_t) i]) + bp * bpfBuf[(size_t) i])
                         + notch * notchBuf[(size_t) i];
        }
    }

    void distort (float* x, int n, int ch)
    {
        auto& up = upsamplers[(size_t) ch];
        auto& down = downsamplers[(size_t) ch];

        for (int i = 0; i < n; ++i)
        {
            const float u = feedbackMemory[(size_t) ch] * feedback + x[i];
            const auto y1 = (float) up.process ((double) u);
            const auto y2 = (float) up.process (0.0);
            const float gain = 1.0f + (20.0f - 1.0f) * driveBuf[(size_t) i];
            const float shapeAmount = shapeBuf[(size_t) i];

            auto shapeOne = [gain, shapeAmount] (float y)
            {
                const float s = y * gain;
                const float t = std::tanh (s);
                return (std::sin (s) - t) * shapeAmount + t;
            };

            const float w1 = shapeOne (y1);
            const float w2 = shapeOne (y2);
            const double d = down.process ((double) w1);
            down.process ((double) w2);
            x[i] = (float) d;
            feedbackMemory[(size_t) ch] = (float) d;
        }
    }

    double currentSampleRate = 44100.0, inverseSampleRate = 1.0 / 44100.0, rampTimeSeconds = 0.1;
    float resonanceScale = 1.0f, hostBpm = 120.0f, msPerBar = 2000.0f;
    int rampLength = 4410;

    RampModel ramps[9] = { { 11000.0f }, { 1.0f }, { 0.0f }, { 0.0f }, { 0.0f }, { 0.0f }, { 0.5f }, { 1.0f }, { 1.0f } };
    std::vector<float> cutoffBuf, lpfBuf, hpfBuf, bpfBuf, notchBuf, driveBuf, shapeBuf, outGainBuf, dryWetBuf;

    float resonance = 0.0f, modDepth = 0.0f, lfoRate = 1.0f, lfoHighRate = 60.0f, feedback = 0.0f;
    bool lfoHighRateMode = false, lfoSync = false, filterActive = true, distortionActive = true, filterPost = false;
    int lfoWave = 0, lfoSyncedRateIndex = 5;

    float lfoPhase = 0.0f, lfoPhaseIncrement = 0.0f, previousLfoPhase = 0.0f;
    int randomStepIndex = 0;
    std::vector<float> modulation;

    FilterStateModel filters[2];
    HalfBandModel upsamplers[2], downsamplers[2];
    DcModel dcBlockers[2];
    float feedbackMemory[2] = { 0.0f, 0.0f };
    std::vector<std::vector<float>> dry;
};

//==============================================================================
class TempoPlayHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setBpm (bpm);
        return info;
    }

    double bpm = 120.0;
};

/** Drives the processor and the model with the same input and parameters, block by block. */
class ReferenceModel : public ::testing::Test
{
protected:
    void prepare (double sampleRate, int blockSize)
    {
        processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor.prepareToPlay (sampleRate, blockSize);
        model.prepare (sampleRate, blockSize);
        rate = sampleRate;
        preparedSize = blockSize;
    }

    void set (const char* id, float plainValue)
    {
        auto* parameter = processor.parameters.getParameter (id);
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (plainValue));
    }

    void usePlayHead()
    {
        processor.setPlayHead (&playHead);
        modelPlayHead = &playHead;
    }

    /** Noise plus a different sine per channel, at the given level. */
    void fillInput (std::vector<std::vector<float>>& input, int n, float level)
    {
        std::uniform_real_distribution<float> noise (-0.5f, 0.5f);

        for (int i = 0; i < n; ++i, ++sampleCount)
        {
            for (size_t ch = 0; ch < input.size(); ++ch)
            {
                const double phase = 2.0 * 3.141592653589793 * (220.0 + 110.0 * (double) ch) * (double) sampleCount / rate;
                input[ch][(size_t) i] = level * (0.6f * (float) std::sin (phase) + noise (random));
            }
        }
    }

    /** Runs one block through both; false (with a failure reported) at the first difference. */
    bool runBlock (int n, float level = 0.5f)
    {
        const int numChannels = processor.getTotalNumOutputChannels();
        std::vector<std::vector<float>> expected ((size_t) numChannels, std::vector<float> ((size_t) n));
        fillInput (expected, n, level);

        juce::AudioBuffer<float> buffer (numChannels, n);

        for (int ch = 0; ch < numChannels; ++ch)
            for (int i = 0; i < n; ++i)
                buffer.setSample (ch, i, expected[(size_t) ch][(size_t) i]);

        const auto p = readParameters (processor);
        juce::MidiBuffer midi;
        processor.processBlock (buffer, midi);
        model.process (expected, n, p, modelPlayHead);

        const int blockIndex = blockCount++;

        for (int ch = 0; ch < numChannels; ++ch)
        {
            for (int i = 0; i < n; ++i)
            {
                const float actual = buffer.getSample (ch, i);
                const float wanted = expected[(size_t) ch][(size_t) i];

                if (! (actual == wanted))
                {
                    std::ostringstream s;
                    s.precision (9);
                    s << "block " << blockIndex << " (" << n << " samples), channel " << ch << ", sample " << i
                      << ": engine " << actual << ", model " << wanted;
                    ADD_FAILURE() << s.str();
                    return false;
                }
            }
        }

        if (processor.inputPeak.load() != model.inputPeak || processor.outputPeak.load() != model.outputPeak)
        {
            ADD_FAILURE() << "block " << blockIndex << ": peaks engine " << processor.inputPeak.load() << "/"
                          << processor.outputPeak.load() << ", model " << model.inputPeak << "/" << model.outputPeak;
            return false;
        }

        return true;
    }

    /** A fixed pattern of block sizes, none above the prepared size, with changes before some blocks. */
    bool runBlocks (int count, float level = 0.5f, const std::function<void (int)>& beforeBlock = {})
    {
        static const int sizes[] = { 512, 37, 256, 1, 480, 129, 64, 511, 300, 2 };

        for (int b = 0; b < count; ++b)
        {
            if (beforeBlock)
                beforeBlock (b);

            if (! runBlock (std::min (preparedSize, sizes[b % 10]), level))
                return false;
        }

        return true;
    }

    SombraxAudioProcessor processor;
    SignalPathModel model { processor.lfoWavetables };
    TempoPlayHead playHead;
    juce::AudioPlayHead* modelPlayHead = nullptr;
    std::mt19937 random { 20240517u };
    double rate = 44100.0;
    int preparedSize = 0;
    long long sampleCount = 0;
    int blockCount = 0;
};

//==============================================================================
TEST_F (ReferenceModel, WavetablesFollowTheirFormulas)
{
    ASSERT_EQ (processor.lfoWavetables.size(), 7u);

    for (size_t w = 0; w < 5; ++w)
        EXPECT_TRUE (processor.lfoWavetables[w].table == model.tables[w]) << "wave " << w;

    const auto& smooth = processor.lfoWavetables[6].table;
    ASSERT_EQ (smooth.size(), 1024u);
    float inc = 0.0f;

    for (size_t i = 0; i < 1024; ++i)
    {
        if (i % 16 == 0)
            inc = (smooth[i == 1008 ? 0 : i + 16] - smooth[i]) * 0.0625f;
        else
            ASSERT_EQ (smooth[i], smooth[i - 1] + inc) << "smooth random, index " << i;
    }

    for (auto v : processor.lfoWavetables[5].table)
        ASSERT_TRUE (v >= -1.0f && v < 1.0f);
}

TEST_F (ReferenceModel, DefaultsAt44k)
{
    prepare (44100.0, 512);
    EXPECT_TRUE (runBlocks (24));
}

TEST_F (ReferenceModel, LfoSweepingWithAllFourGainsAt48k)
{
    prepare (48000.0, 512);
    set ("filter_cutoff_mod_depth", 70.0f);
    set ("filter_resonance", 60.0f);
    set ("filter_cutoff", 600.0f);
    set ("lfo_rate", 13.7f);
    set ("lpf_gain", -3.0f);
    set ("hpf_gain", -12.5f);
    set ("bpf_gain", -6.0f);
    set ("notch_gain", -20.0f);
    set ("lfo_wave", 1.0f);

    EXPECT_TRUE (runBlocks (40, 0.8f, [this] (int b)
    {
        if (b == 10) set ("lfo_wave", 4.0f);
        if (b == 16) set ("filter_cutoff", 2500.0f);
        if (b == 20) set ("lfo_wave", 5.0f);
        if (b == 26) { set ("lfo_wave", 6.0f); set ("lpf_gain", -70.0f); set ("notch_gain", 0.0f); }
        if (b == 32) { set ("lfo_wave", 3.0f); set ("filter_resonance", 100.0f); }
    }));
}

TEST_F (ReferenceModel, BusyDistortionWithFilterPostAt96k)
{
    prepare (96000.0, 512);
    set ("drive", 50.0f);
    set ("shape", 30.0f);
    set ("feedback", 30.0f);
    set ("filter_post", 1.0f);
    set ("filter_resonance", 85.0f);
    set ("filter_cutoff", 1800.0f);
    set ("filter_cutoff_mod_depth", 40.0f);
    set ("lfo_rate", 4.0f);

    EXPECT_TRUE (runBlocks (30, 1.2f, [this] (int b)
    {
        if (b == 12) { set ("shape", 90.0f); set ("drive", 100.0f); set ("feedback", 70.0f); }
        if (b == 18) prepare (96000.0, 512); // same rate: the ramps carry on
        if (b == 24) set ("filter_post", 0.0f);
    }));
}

TEST_F (ReferenceModel, SyncedLfoFollowsTheTempo)
{
    usePlayHead();
    prepare (44100.0, 512);
    set ("lfo_sync", 1.0f);
    set ("lfo_synced_rate", 13.0f);
    set ("filter_cutoff_mod_depth", 100.0f);
    set ("filter_cutoff", 300.0f);
    set ("lfo_wave", 2.0f);

    EXPECT_TRUE (runBlocks (30, 0.5f, [this] (int b)
    {
        if (b == 15) { playHead.bpm = 93.0; set ("lfo_synced_rate", 7.0f); }
        if (b == 22) set ("lfo_synced_rate", 1.0f);
    }));
}

TEST_F (ReferenceModel, HighRateModeWinsOverSync)
{
    usePlayHead();
    prepare (88200.0, 512);
    set ("lfo_high_rate_mode", 1.0f);
    set ("lfo_sync", 1.0f);
    set ("lfo_high_rate", 440.0f);
    set ("filter_cutoff_mod_depth", 50.0f);
    set ("filter_cutoff", 900.0f);
    set ("filter_resonance", 40.0f);

    EXPECT_TRUE (runBlocks (24, 0.5f, [this] (int b)
    {
        if (b == 8) set ("lfo_high_rate", 1000.0f);
        if (b == 14) set ("lfo_wave", 5.0f);
    }));
}

TEST_F (ReferenceModel, DryWetAndOutputGain)
{
    prepare (44100.0, 512);
    set ("dry_wet", 50.0f);
    set ("out_gain", -12.0f);
    set ("drive", 20.0f);
    set ("filter_cutoff", 3000.0f);

    EXPECT_TRUE (runBlocks (30, 0.7f, [this] (int b)
    {
        if (b == 10) { set ("dry_wet", 0.0f); set ("out_gain", 6.0f); }
        if (b == 16) prepare (48000.0, 400); // another rate: new coefficients, same ramps
        if (b == 20) { set ("dry_wet", 100.0f); set ("out_gain", -70.0f); }
    }));
}

TEST_F (ReferenceModel, BothSectionsOffThenOnAgain)
{
    prepare (44100.0, 512);
    set ("filter_active", 0.0f);
    set ("distortion_active", 0.0f);
    set ("drive", 60.0f);
    set ("filter_cutoff", 1200.0f);

    EXPECT_TRUE (runBlocks (24, 0.5f, [this] (int b)
    {
        if (b == 8) set ("distortion_active", 1.0f);
        if (b == 12) set ("filter_active", 1.0f);
        if (b == 16) set ("distortion_active", 0.0f);
    }));

    // A block of no samples still retargets the ramps.
    set ("filter_cutoff", 5000.0f);
    EXPECT_TRUE (runBlock (0));
    EXPECT_TRUE (runBlocks (4));
}

TEST_F (ReferenceModel, MonoLayoutUsesChannelZeroOnly)
{
    juce::AudioProcessor::BusesLayout mono;
    mono.inputBuses.add (juce::AudioChannelSet::mono());
    mono.outputBuses.add (juce::AudioChannelSet::mono());
    ASSERT_TRUE (processor.setBusesLayout (mono));

    prepare (48000.0, 256);
    set ("drive", 35.0f);
    set ("feedback", 20.0f);
    set ("filter_cutoff_mod_depth", 60.0f);
    set ("filter_cutoff", 700.0f);
    set ("lfo_rate", 9.0f);

    EXPECT_TRUE (runBlocks (30, 0.6f, [this] (int b)
    {
        if (b == 12) set ("filter_post", 1.0f);
    }));

    EXPECT_EQ (processor.filterStates[1].s1, 0.0f);
    EXPECT_EQ (processor.filterStates[1].s2, 0.0f);
    EXPECT_EQ (processor.dcBlockers[1].x1, 0.0f);
    EXPECT_EQ (processor.dcBlockers[1].y1, 0.0f);
    EXPECT_EQ (processor.feedbackMemory[1], 0.0f);
}
} // namespace

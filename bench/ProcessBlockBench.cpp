#include "dsp/AllPassFilterCascade.h"
#include "plugin/PluginProcessor.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace
{
constexpr double sampleRate = 44100.0;
constexpr int blockSize = 512;

/** Half a second of noise at -6 dBFS: a signal with a level, so tanh and sine take their
    general paths rather than their shortcuts for tiny or huge arguments. */
juce::AudioBuffer<float> makeSource()
{
    juce::AudioBuffer<float> source (2, blockSize);
    std::mt19937 rng (42);
    std::uniform_real_distribution<float> noise (-0.5f, 0.5f);

    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < blockSize; ++i)
            source.setSample (ch, i, noise (rng));

    return source;
}

void setParameter (SombraxAudioProcessor& processor, const juce::String& id, float plainValue)
{
    auto* parameter = processor.parameters.getParameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (plainValue));
}

void runProcessBlock (benchmark::State& state, SombraxAudioProcessor& processor)
{
    processor.prepareToPlay (sampleRate, blockSize);

    const auto source = makeSource();
    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;

    // Let every ramp settle so the measurement sees the steady state.
    for (int i = 0; i < 200; ++i)
    {
        buffer.makeCopyOf (source, true);
        processor.processBlock (buffer, midi);
    }

    for (auto _ : state)
    {
        buffer.makeCopyOf (source, true);
        processor.processBlock (buffer, midi);
        benchmark::DoNotOptimize (buffer.getReadPointer (0));
        benchmark::ClobberMemory();
    }

    state.SetItemsProcessed (state.iterations() * blockSize);
}

void BM_ProcessBlockDefaults (benchmark::State& state)
{
    SombraxAudioProcessor processor;
    runProcessBlock (state, processor);
}

void BM_ProcessBlockBusy (benchmark::State& state)
{
    SombraxAudioProcessor processor;
    setParameter (processor, processor.filterCutoffParamID, 400.0f);
    setParameter (processor, processor.filterCutoffModDepthParamID, 100.0f);
    setParameter (processor, processor.lfoRateParamID, 5.0f);
    setParameter (processor, processor.driveParamID, 50.0f);
    setParameter (processor, processor.feedbackParamID, 30.0f);
    setParameter (processor, processor.lpfGainParamID, 0.0f);
    setParameter (processor, processor.hpfGainParamID, 0.0f);
    setParameter (processor, processor.bpfGainParamID, 0.0f);
    setParameter (processor, processor.notchGainParamID, 0.0f);
    runProcessBlock (state, processor);
}

//==============================================================================
// The floor: only the work every sample of every channel must do in the busy setting, with
// the same chain of dependencies: one double tangent and the band-pass tanhf in the filter
// recursion, then the oversampled shaper (two tanhf and two sinf) between four half-band
// calls of 2 x 4 all-pass sections each (32 section updates), fed back through the memory.
// No ramps, LFO, mix, DC blocker, peaks or buffer handling.
struct FloorHalfBand
{
    std::array<AllPassSection, 4> a {}, b {};
    double oldOut = 0.0;

    FloorHalfBand()
    {
        const double ca[] = { 0.07711507983241622, 0.4820706250610472, 0.7968204713315797, 0.9412514277740471 };
        const double cb[] = { 0.2659685265210946, 0.6651041532634957, 0.8841015085506159, 0.9820054141886075 };

        for (size_t i = 0; i < 4; ++i)
        {
            a[i].a = ca[i];
            b[i].a = cb[i];
        }
    }

    static double cascade (std::array<AllPassSection, 4>& sections, double input)
    {
        for (auto& s : sections)
        {
            s.x2 = s.x1;
            s.x1 = s.x0;
            s.x0 = input;
            s.y2 = s.y1;
            s.y1 = s.y0;
            s.y0 = s.x2 + (input - s.y2) * s.a;
            input = s.y0;
        }

        return input;
    }

    double process (double input)
    {
        const double out = (cascade (a, input) + oldOut) * 0.5;
        oldOut = cascade (b, input);
        return out;
    }
};

struct FloorChannel
{
    float s1 = 0.0f, s2 = 0.0f, memory = 0.0f;
    FloorHalfBand up, down;
};

void BM_SignalPathFloor (benchmark::State& state)
{
    const auto source = makeSource();
    juce::AudioBuffer<float> buffer (2, blockSize);

    // A cutoff that moves every sample, as the LFO makes it, so nothing can be hoisted.
    std::vector<float> cutoffs (blockSize);
    for (int i = 0; i < blockSize; ++i)
        cutoffs[(size_t) i] = 400.0f + 5000.0f * (float) i / (float) blockSize;

    const double T = (double) (float) (1.0 / sampleRate);
    const double halfT = T * 0.5, twoOverT = 2.0 / T, twoR = 2.0;
    const float driveGain = 10.5f, shape = 0.5f, feedback = 0.3f;
    std::array<FloorChannel, 2> channels;

    for (auto _ : state)
    {
        buffer.makeCopyOf (source, true);

        for (int ch = 0; ch < 2; ++ch)
        {
            auto& c = channels[(size_t) ch];
            float* x = buffer.getWritePointer (ch);

            for (int i = 0; i < blockSize; ++i)
            {
                const double gd = std::tan ((double) cutoffs[(size_t) i] * 6.283185307179586 * halfT) * twoOverT * halfT;
                const float h = (float) (1.0 / (gd * gd + (twoR * gd + 1.0)));
                const float g = (float) gd, k = (float) (gd + twoR);
                const float hp = ((x[i] - k * c.s1) - c.s2) * h;
                const float v = hp * g;
                const float bp = std::tanh ((c.s1 + v) * 1.018f);
                const float lp = c.s2 + g * bp;
                c.s1 = v + bp;
                c.s2 = g * bp + lp;

                const float u = c.memory * feedback + (lp + hp + bp);
                const float y1 = (float) c.up.process ((double) u);
                const float y2 = (float) c.up.process (0.0);
                const float t1 = std::tanh (y1 * driveGain), t2 = std::tanh (y2 * driveGain);
                const float w1 = (std::sin (y1 * driveGain) - t1) * shape + t1;
                const float w2 = (std::sin (y2 * driveGain) - t2) * shape + t2;
                const float d = (float) c.down.process ((double) w1);
                c.down.process ((double) w2);
                c.memory = d;
                x[i] = d;
            }
        }

        benchmark::DoNotOptimize (buffer.getReadPointer (0));
        benchmark::ClobberMemory();
    }

    state.SetItemsProcessed (state.iterations() * blockSize);
}
} // namespace

BENCHMARK (BM_ProcessBlockDefaults);
BENCHMARK (BM_ProcessBlockBusy);
BENCHMARK (BM_SignalPathFloor);

#pragma once

#include "plugin/PluginProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <cmath>
#include <optional>
#include <vector>

namespace enginetest
{
constexpr double pi = 3.14159265358979323846;

/** Sets a parameter from its plain (unnormalised) value, as a host or a control would. */
inline void setParameter (SombraxAudioProcessor& processor, const juce::String& id, float plainValue)
{
    auto* parameter = processor.parameters.getParameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (plainValue));
}

/** A play head with a fixed answer: a tempo, a position without tempo, or no position at all. */
class FixedPlayHead : public juce::AudioPlayHead
{
public:
    enum class Mode { tempo, positionWithoutTempo, noPosition };

    explicit FixedPlayHead (Mode m, double tempo = 120.0) : mode (m), bpm (tempo) {}

    juce::Optional<PositionInfo> getPosition() const override
    {
        if (mode == Mode::noPosition)
            return {};

        PositionInfo info;

        if (mode == Mode::tempo)
            info.setBpm (bpm);

        return info;
    }

    Mode mode;
    double bpm;
};

/** Fills every channel with the same sine. */
inline void fillSine (juce::AudioBuffer<float>& buffer, double frequency, double sampleRate, float amplitude,
                      long long firstSample = 0)
{
    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            buffer.setSample (ch, i, amplitude * (float) std::sin (2.0 * pi * frequency * (double) (firstSample + i) / sampleRate));
}

/** Runs `numBlocks` blocks of a continuous sine through the processor and returns channel 0's output. */
inline std::vector<float> processSine (SombraxAudioProcessor& processor, int numChannels, int blockSize, int numBlocks,
                                       double frequency, double sampleRate, float amplitude)
{
    std::vector<float> out;
    juce::AudioBuffer<float> buffer (numChannels, blockSize);
    juce::MidiBuffer midi;

    for (int b = 0; b < numBlocks; ++b)
    {
        fillSine (buffer, frequency, sampleRate, amplitude, (long long) b * blockSize);
        processor.processBlock (buffer, midi);
        out.insert (out.end(), buffer.getReadPointer (0), buffer.getReadPointer (0) + blockSize);
    }

    return out;
}

/** Peak amplitude of a sine of known frequency, fitted over the given samples (least squares). */
inline double sineAmplitude (const std::vector<float>& signal, size_t first, double frequency, double sampleRate)
{
    double sc = 0.0, cc = 0.0;

    for (size_t i = first; i < signal.size(); ++i)
    {
        const double phase = 2.0 * pi * frequency * (double) i / sampleRate;
        sc += (double) signal[i] * std::sin (phase);
        cc += (double) signal[i] * std::cos (phase);
    }

    const double n = (double) (signal.size() - first);
    return 2.0 * std::sqrt (sc * sc + cc * cc) / n;
}

inline double toDecibels (double gain)
{
    return 20.0 * std::log10 (gain);
}
} // namespace enginetest

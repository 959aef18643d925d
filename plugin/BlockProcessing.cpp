#include "PluginProcessor.h"

#include "dsp/Distortion.h"
#include "dsp/DryWetMix.h"
#include "dsp/Lfo.h"
#include "dsp/MultimodeFilter.h"
#include "plugin/ParameterText.h"
#include "dsp/SnapshotRules.h"

#include <algorithm>
#include <cmath>

namespace
{
// Rates no host means (and which would make the DC blocker's pole leave the unit circle)
// are pinned into this span; every real rate, 8 kHz to 768 kHz, passes unchanged.
constexpr double lowestSampleRate = 1000.0;
constexpr double highestSampleRate = 10.0e6;

// Longer host blocks are processed in chunks of the prepared size, so a host that announces
// an enormous block does not make us allocate for it.
constexpr int largestPreparedBlock = 1 << 16;

// The parameter's raw value; a NaN or infinity that reached a parameter reads as its default,
// so one bad automation value cannot poison a ramp for good.
float readRawValue (const juce::AudioProcessorValueTreeState& state, const juce::String& parameterID)
{
    const auto* raw = state.getRawParameterValue (parameterID);
    const float value = raw != nullptr ? raw->load (std::memory_order_relaxed) : 0.0f;

    if (std::isfinite (value))
        return value;

    if (const auto* parameter = state.getParameter (parameterID))
        return parameter->convertFrom0to1 (parameter->getDefaultValue());

    return 0.0f;
}

// The larger of |minimum| and |maximum| over every channel of the block.
float blockPeak (const juce::AudioBuffer<float>& buffer, int numSamples)
{
    if (buffer.hasBeenCleared() || numSamples <= 0)
        return 0.0f;

    float peak = 0.0f;

    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
    {
        const auto range = juce::FloatVectorOperations::findMinAndMax (buffer.getReadPointer (ch), numSamples);
        peak = juce::jmax (peak, std::abs (range.getStart()), std::abs (range.getEnd()));
    }

    return peak;
}
} // namespace

void SombraxAudioProcessor::prepareToPlay (double sampleRate, int samplesPerBlock)
{
    if (! (std::isfinite (sampleRate) && sampleRate > 0.0))
        sampleRate = currentSampleRate;

    sampleRate = juce::jlimit (lowestSampleRate, highestSampleRate, sampleRate);

    if (sampleRate != currentSampleRate || std::isnan (currentSampleRate))
    {
        currentSampleRate = sampleRate;
        inverseSampleRate = 1.0 / sampleRate;
        // High rates make the resonance peak sharper, so it is scaled back above 48 kHz.
        resonanceScale = sampleRate <= 48000.0 ? 1.0f : 1.0f + 0.4f * (float) (-44100.0 / sampleRate);
    }

    rampLength = (int) (rampTimeSeconds * sampleRate);

    const int blockSize = juce::jlimit (1, largestPreparedBlock, samplesPerBlock);

    for (auto* v : { &smoothingBuffers.cutoff, &smoothingBuffers.lpfGain, &smoothingBuffers.hpfGain,
                     &smoothingBuffers.bpfGain, &smoothingBuffers.notchGain, &smoothingBuffers.drive,
                     &smoothingBuffers.shape, &smoothingBuffers.outGain, &smoothingBuffers.dryWet })
        v->assign ((size_t) blockSize + 32, smoothingBuffers.fillValue);

    lfoPhase = 0.0f;

    for (auto& state : filterStates)
    {
        state.s1 = 0.0f;
        state.s2 = 0.0f;
    }

    // After the host switched us off, what the oversampling filters still held must not play out.
    for (auto* halfBands : { &upsamplers, &downsamplers })
        for (auto& halfBand : *halfBands)
            halfBand->reset();

    for (auto& blocker : dcBlockers)
        blocker.prepare (sampleRate);

    modulationBuffer.assign ((size_t) blockSize + 32, 0.0f);

    dryBuffer.setSize (2, blockSize, false, false, false);
    dryBuffer.clear();

    std::fill (feedbackMemory.begin(), feedbackMemory.end(), 0.0f);

    inputPeak.store (0.0f);
    outputPeak.store (0.0f);
}

void SombraxAudioProcessor::releaseResources()
{
}

void SombraxAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages)
{
    const juce::ScopedNoDenormals noDenormals;

    const int numSamples = buffer.getNumSamples();
    const int totalInputs = getTotalNumInputChannels();
    const int totalOutputs = getTotalNumOutputChannels();

    for (int ch = totalInputs; ch < juce::jmin (totalOutputs, buffer.getNumChannels()); ++ch)
        buffer.clear (ch, 0, numSamples);

    // Tempo: no play head or no position keeps the last tempo; a position without one is 0 BPM.
    if (auto* playHead = getPlayHead())
    {
        if (const auto position = playHead->getPosition())
        {
            auto bpm = (float) position->getBpm().orFallback (0.0);

            if (! std::isfinite (bpm))
                bpm = 0.0f;

            hostBpm = juce::jmax (1.0f, bpm);
            msPerBar = 60000.0f / hostBpm * 4.0f;
        }
    }

    handleProgramChanges (midiMessages);
    handleControllerChanges (midiMessages);

    // Snapshot and ramp targets, once per host block.
    const auto& tree = parameters;
    auto percent = [this] (float v) { return percentRange.convertTo0to1 (v); };
    const int lastWave = juce::jmax (0, (int) lfoWavetables.size() - 1);

    cutoffRamp.setTarget (readRawValue (tree, filterCutoffParamID), rampLength);
    snapshot.resonance = percent (readRawValue (tree, filterResonanceParamID)) * resonanceScale;
    const float depth = percent (readRawValue (tree, filterCutoffModDepthParamID));
    snapshot.cutoffModDepth = depth * depth;
    snapshot.lfoRate = readRawValue (tree, lfoRateParamID);
    snapshot.lfoHighRate = readRawValue (tree, lfoHighRateParamID);
    snapshot.lfoHighRateMode = switchIsOn (readRawValue (tree, lfoHighRateModeParamID));
    snapshot.lfoWave = juce::jlimit (0, lastWave, oskv::nearestInteger (readRawValue (tree, lfoWaveParamID)));
    snapshot.lfoSync = switchIsOn (readRawValue (tree, lfoSyncParamID));
    snapshot.lfoSyncedRateIndex = juce::jlimit (0, 21, oskv::nearestInteger (readRawValue (tree, lfoSyncedRateParamID)));
    snapshot.filterActive = switchIsOn (readRawValue (tree, filterActiveParamID));
    lpfGainRamp.setTarget (decibelsToGain (readRawValue (tree, lpfGainParamID)), rampLength);
    hpfGainRamp.setTarget (decibelsToGain (readRawValue (tree, hpfGainParamID)), rampLength);
    bpfGainRamp.setTarget (decibelsToGain (readRawValue (tree, bpfGainParamID)), rampLength);
    notchGainRamp.setTarget (decibelsToGain (readRawValue (tree, notchGainParamID)), rampLength);
    driveRamp.setTarget (percent (readRawValue (tree, driveParamID)), rampLength);
    shapeRamp.setTarget (percent (readRawValue (tree, shapeParamID)), rampLength);
    snapshot.feedback = percent (readRawValue (tree, feedbackParamID));
    snapshot.distortionActive = switchIsOn (readRawValue (tree, distortionActiveParamID));
    snapshot.filterPost = switchIsOn (readRawValue (tree, filterPostParamID));
    outGainRamp.setTarget (decibelsToGain (readRawValue (tree, outGainParamID)), rampLength);
    dryWetRamp.setTarget (percent (readRawValue (tree, dryWetParamID)), rampLength);

    lfoPhaseIncrement = lfoPhaseIncrementFor (inverseSampleRate, lfoRateForBlock (snapshot, msPerBar));

    inputPeak.store (blockPeak (buffer, numSamples));

    const bool inputIsSilent = buffer.hasBeenCleared();
    const int numChannels = juce::jmin (totalInputs, buffer.getNumChannels(), (int) filterStates.size(),
                                        dryBuffer.getNumChannels());

    // The per-sample work runs in chunks of the prepared size. Snapshot and ramp targets were
    // set once for the whole host block above and the LFO, ramps and channel states simply run
    // on from chunk to chunk, so a long block sounds exactly as if the buffers were that long.
    // Without a prepare there are no buffers: the audio then passes untouched.
    const int chunkSize = juce::jmin (dryBuffer.getNumSamples(), (int) modulationBuffer.size(),
                                      (int) smoothingBuffers.cutoff.size());

    const auto& wave = lfoWavetables[(size_t) snapshot.lfoWave].table;
    const bool steppedRandom = isSteppedRandomWave (snapshot.lfoWave);

    for (int start = 0; chunkSize > 0 && start < numSamples; start += chunkSize)
    {
        const int n = juce::jmin (chunkSize, numSamples - start);

        renderLfo (wave, steppedRandom, lfoPhaseIncrement, lfoPhase, previousLfoPhase, randomStepIndex,
                   modulationBuffer.data(), n);

        cutoffRamp.fill (smoothingBuffers.cutoff.data(), n);
        lpfGainRamp.fill (smoothingBuffers.lpfGain.data(), n);
        hpfGainRamp.fill (smoothingBuffers.hpfGain.data(), n);
        bpfGainRamp.fill (smoothingBuffers.bpfGain.data(), n);
        notchGainRamp.fill (smoothingBuffers.notchGain.data(), n);
        driveRamp.fill (smoothingBuffers.drive.data(), n);
        shapeRamp.fill (smoothingBuffers.shape.data(), n);
        outGainRamp.fill (smoothingBuffers.outGain.data(), n);
        dryWetRamp.fill (smoothingBuffers.dryWet.data(), n);

        for (int ch = 0; ch < numChannels; ++ch)
        {
            float* dry = dryBuffer.getWritePointer (ch);
            float* x = buffer.getWritePointer (ch, start);

            // A buffer flagged clear is silence, whatever its memory holds.
            if (inputIsSilent)
            {
                juce::FloatVectorOperations::clear (dry, n);
                juce::FloatVectorOperations::clear (x, n);
            }
            else
            {
                juce::FloatVectorOperations::copy (dry, x, n);
            }

            if (snapshot.filterActive && ! snapshot.filterPost)
                processFilter (x, n, ch);

            if (snapshot.distortionActive)
                processDistortion (x, n, *upsamplers[(size_t) ch], *downsamplers[(size_t) ch],
                                   feedbackMemory[(size_t) ch], snapshot.feedback,
                                   smoothingBuffers.drive.data(), smoothingBuffers.shape.data(), driveGainRange);

            if (snapshot.filterActive && snapshot.filterPost)
                processFilter (x, n, ch);

            dcBlockers[(size_t) ch].process (x, n);

            const float* outGain = smoothingBuffers.outGain.data();
            const float* dryWet = smoothingBuffers.dryWet.data();

            for (int i = 0; i < n; ++i)
                x[i] = mixDryWet (x[i], dry[i], outGain[i], dryWet[i]);
        }
    }

    // A NaN or infinity that got into a recursive state would keep the channel silent or
    // broken for good; clearing it lets the next block start clean.
    for (int ch = 0; ch < numChannels; ++ch)
    {
        auto& filter = filterStates[(size_t) ch];

        if (! (std::isfinite (filter.s1) && std::isfinite (filter.s2)))
        {
            filter.s1 = 0.0f;
            filter.s2 = 0.0f;
        }

        for (auto* halfBand : { upsamplers[(size_t) ch].get(), downsamplers[(size_t) ch].get() })
            if (! halfBand->hasFiniteState())
                halfBand->reset();

        if (! std::isfinite (feedbackMemory[(size_t) ch]))
            feedbackMemory[(size_t) ch] = 0.0f;

        dcBlockers[(size_t) ch].clearIfNotFinite();
    }

    outputPeak.store (blockPeak (buffer, numSamples));
}

void SombraxAudioProcessor::processFilter (float* samples, int numSamples, int channel)
{
    numSamples = juce::jmin (numSamples, (int) modulationBuffer.size(), (int) smoothingBuffers.cutoff.size());

    if (numSamples <= 0 || samples == nullptr || ! juce::isPositiveAndBelow (channel, (int) filterStates.size()))
        return;

    float* cutoffs = modulationBuffer.data();

    // Channel 0 turns the LFO values into cutoffs in place; channel 1 reuses them, so both
    // channels sweep identically.
    if (channel == 0)
    {
        const float* base = smoothingBuffers.cutoff.data();
        const float depth = snapshot.cutoffModDepth;

        for (int i = 0; i < numSamples; ++i)
            cutoffs[i] = modulatedCutoff (cutoffs[i], base[i], depth, lfoTargetCutoff);

        const float limit = cutoffLimitFor (currentSampleRate);

        if (std::isfinite (limit))
            for (int i = 0; i < numSamples; ++i)
                cutoffs[i] = juce::jmin (cutoffs[i], limit);
    }

    const auto coefficients = makeFilterBlockCoefficients (snapshot.resonance, inverseSampleRate);
    const float* lpfGain = smoothingBuffers.lpfGain.data();
    const float* hpfGain = smoothingBuffers.hpfGain.data();
    const float* bpfGain = smoothingBuffers.bpfGain.data();
    const float* notchGain = smoothingBuffers.notchGain.data();

    // A local copy keeps the state in registers; the samples cannot alias it.
    auto state = filterStates[(size_t) channel];

    for (int i = 0; i < numSamples; ++i)
    {
        const auto outputs = processFilterSample (state, samples[i], cutoffs[i], coefficients, bandPassSaturationGain);
        samples[i] = mixFilterOutputs (outputs, lpfGain[i], hpfGain[i], bpfGain[i], notchGain[i]);
    }

    filterStates[(size_t) channel] = state;
}

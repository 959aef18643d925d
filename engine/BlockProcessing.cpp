#include "PluginProcessor.h"

void SombraxAudioProcessor::prepareToPlay (double sampleRate, int samplesPerBlock)
{
    juce::ignoreUnused (sampleRate, samplesPerBlock);
}

void SombraxAudioProcessor::releaseResources()
{
}

void SombraxAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages)
{
    juce::ignoreUnused (buffer, midiMessages);
}

void SombraxAudioProcessor::processFilter (float* samples, int numSamples, int channel)
{
    juce::ignoreUnused (samples, numSamples, channel);
}

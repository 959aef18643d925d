#include "PluginProcessor.h"

void SombraxAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    juce::ignoreUnused (destData);
}

void SombraxAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    juce::ignoreUnused (data, sizeInBytes);
}

void SombraxAudioProcessor::scaleSyncValueForBackwardCompatibility()
{
}


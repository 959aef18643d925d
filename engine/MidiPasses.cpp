#include "PluginProcessor.h"

void SombraxAudioProcessor::handleProgramChanges (const juce::MidiBuffer& midiMessages)
{
    juce::ignoreUnused (midiMessages);
}

void SombraxAudioProcessor::handleControllerChanges (const juce::MidiBuffer& midiMessages)
{
    juce::ignoreUnused (midiMessages);
}

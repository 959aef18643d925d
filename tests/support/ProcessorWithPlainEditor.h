#pragma once

#include "plugin/PluginProcessor.h"

/** The processor with a stand-in editor, so that opening it makes the audio thread hand
    program changes over instead of loading them itself. */
class ProcessorWithPlainEditor : public SombraxAudioProcessor
{
public:
    struct PlainEditor : juce::AudioProcessorEditor
    {
        explicit PlainEditor (juce::AudioProcessor& p) : juce::AudioProcessorEditor (p) {}
        void paint (juce::Graphics&) override {}
    };

    juce::AudioProcessorEditor* createEditor() override { return new PlainEditor (*this); }
};

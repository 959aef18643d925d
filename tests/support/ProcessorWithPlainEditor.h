#pragma once

#include "plugin/PluginProcessor.h"

/** The processor with a stand-in editor that takes program changes as the real one does, so
    that opening it makes the audio thread hand them over instead of loading them itself. */
class ProcessorWithPlainEditor : public SombraxAudioProcessor
{
public:
    struct PlainEditor : juce::AudioProcessorEditor
    {
        explicit PlainEditor (SombraxAudioProcessor& p) : juce::AudioProcessorEditor (p), owner (p)
        {
            owner.startTakingProgramChanges();
        }

        ~PlainEditor() override { owner.stopTakingProgramChanges(); }

        void paint (juce::Graphics&) override {}

        SombraxAudioProcessor& owner;
    };

    juce::AudioProcessorEditor* createEditor() override { return new PlainEditor (*this); }
};

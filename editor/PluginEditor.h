#pragma once

#include "editor/MainComponent.h"
#include "editor/SombraxLayout.h"

#include <juce_audio_processors/juce_audio_processors.h>

class SombraxAudioProcessor;

/** The editor window: the main component at its logical 700 x 400, scaled by the window's
    width; resizable from a corner at a fixed aspect ratio, its size kept in the preferences. */
class SombraxAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    explicit SombraxAudioProcessorEditor (SombraxAudioProcessor& processor);
    ~SombraxAudioProcessorEditor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    SombraxAudioProcessor& audioProcessor;
    MainComponent mainComponent;
    SombraxLayout layout;
    const juce::String editorWidthKey { "editor_width" };
    const juce::String editorHeightKey { "editor_height" };

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SombraxAudioProcessorEditor)
};

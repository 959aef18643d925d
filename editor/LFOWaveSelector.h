#pragma once

#include "toolkit_ui/ParameterLink.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

/** A strip of the seven LFO wave pictures; clicking one sets `lfo_wave`. The main
    component's timer writes `selectedIndex` when the wave changes from elsewhere. */
class LFOWaveSelector : public juce::Component,
                        public juce::Button::Listener
{
public:
    /** `buttonLook` is the owner's invisible look for the buttons over the pictures; it
        must outlive the selector. */
    LFOWaveSelector (juce::AudioProcessorParameter* parameter, const juce::NormalisableRange<float>& range,
                     const juce::Colour& colour, juce::LookAndFeel& buttonLook);
    ~LFOWaveSelector() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void buttonClicked (juce::Button* button) override;

    /** The wave the linked parameter holds now: its nearest integer, halves to even. */
    int waveFromParameter() const;

    oskv::ParameterLink parameterLink;
    juce::Colour colour;
    juce::OwnedArray<juce::Drawable> colouredImages;
    juce::OwnedArray<juce::Drawable> greyImages;
    juce::OwnedArray<juce::TextButton> buttons;
    std::vector<juce::Rectangle<float>> columns;
    int selectedIndex = 0;
    int barHeight = 1;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LFOWaveSelector)
};

#pragma once

#include "toolkit_ui/ParameterLink.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Three rows, FREE, SYNC and OSC, that set `lfo_sync` and `lfo_high_rate_mode`. The main
    component's timer writes `mode` and recolours `labels` when the switches change from
    elsewhere. */
class LFOModeSelector : public juce::Component,
                        public juce::Button::Listener
{
public:
    /** `buttonLook` is the owner's invisible look for the buttons over the rows; it must
        outlive the selector. */
    LFOModeSelector (juce::AudioProcessorParameter* syncParameter, const juce::NormalisableRange<float>& syncRange,
                     juce::AudioProcessorParameter* highRateModeParameter,
                     const juce::NormalisableRange<float>& highRateModeRange,
                     juce::LookAndFeel& buttonLook);
    ~LFOModeSelector() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void buttonClicked (juce::Button* button) override;

    /** The rows, numbered as `mode` counts them. */
    enum Mode
    {
        freeMode = 0,
        syncMode = 1,
        oscMode = 2
    };

    /** The mode the two switches hold now: the high rate wins over sync, as in the signal path. */
    int modeFromParameters() const;

    /** Yellow for the row of `mode`, dark grey for the other two. */
    void colourLabelsForMode();

    oskv::ParameterLink syncLink;
    oskv::ParameterLink highRateModeLink;
    juce::OwnedArray<juce::Label> labels;
    juce::OwnedArray<juce::TextButton> buttons;
    int mode = 0;
    int stripWidth = 1;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LFOModeSelector)
};

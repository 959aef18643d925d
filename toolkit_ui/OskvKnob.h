#pragma once

#include "toolkit_ui/MIDITarget.h"

namespace oskv
{
/** A rotary knob whose Option-click opens the MIDI-learn menu once it knows its parameter. */
class OskvKnob : public juce::Slider,
                 public MIDITarget
{
public:
    OskvKnob() = default;
    ~OskvKnob() override = default;

    void mouseDown (const juce::MouseEvent& e) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OskvKnob)
};
} // namespace oskv

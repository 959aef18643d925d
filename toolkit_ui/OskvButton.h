#pragma once

#include "toolkit_ui/MIDITarget.h"

namespace oskv
{
/** A text button whose Option-click opens the MIDI-learn menu once it knows its parameter. */
class OskvButton : public juce::TextButton,
                   public MIDITarget
{
public:
    OskvButton() = default;
    ~OskvButton() override = default;

    void mouseDown (const juce::MouseEvent& e) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OskvButton)
};
} // namespace oskv

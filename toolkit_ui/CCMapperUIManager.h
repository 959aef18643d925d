#pragma once

#include "services/CCMapper.h"

#include <juce_events/juce_events.h>

namespace oskv
{
/** Carries out the MIDI-learn requests of the controls it listens to, on the message
    thread, by editing the controller map. */
class CCMapperUIManager : public juce::ChangeListener
{
public:
    CCMapperUIManager() = default;
    ~CCMapperUIManager() override = default;

    /** `source` is the broadcaster of an oskv::MIDITarget; anything else is ignored. */
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

    CCMapper* ccMapper = nullptr;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CCMapperUIManager)
};
} // namespace oskv

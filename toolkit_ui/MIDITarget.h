#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace oskv
{
/** Mix-in of every MIDI-learn control: the attached parameter's ID and the two requests
    that the learn menu raises for the CC mapper's UI manager to carry out. */
class MIDITarget : public juce::ChangeBroadcaster
{
public:
    enum MenuItemIds
    {
        assignItemId = 1,
        clearItemId = 2
    };

    MIDITarget() = default;
    ~MIDITarget() override = default;

    /** Shows the learn menu and, for a choice, raises its flag and sends a change message. */
    void menu();

    juce::String parameterID;
    bool assignRequested = false;
    bool clearRequested = false;

    /** Runs the menu and returns the chosen item ID, 0 when dismissed. Empty means the
        real synchronous popup at the mouse; tests put a scripted answer here. */
    std::function<int (const juce::PopupMenu&)> menuRunner;

private:
    JUCE_DECLARE_WEAK_REFERENCEABLE (MIDITarget)
    JUCE_DECLARE_NON_COPYABLE (MIDITarget)
};
} // namespace oskv

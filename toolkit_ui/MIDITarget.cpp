#include "MIDITarget.h"

namespace oskv
{
void MIDITarget::menu()
{
    juce::PopupMenu learnMenu;
    learnMenu.addItem (assignItemId, "ASSIGN TO LAST CC");
    learnMenu.addItem (clearItemId, "CLEAR CC MAPPING");

    // The menu runs a modal loop, in which the host may close the editor and delete this
    // control; after it nothing may touch a control that is gone.
    const juce::WeakReference<MIDITarget> self (this);
    int result = 0;

    // Without any display there is nowhere to show the menu: that counts as dismissed.
    if (menuRunner != nullptr)
        result = menuRunner (learnMenu);
    else if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr)
        result = learnMenu.show (assignItemId, 60, 0, 0, nullptr);

    if (self.get() == nullptr)
        return;

    if (result == assignItemId)
        assignRequested = true;
    else if (result == clearItemId)
        clearRequested = true;
    else
        return;

    sendChangeMessage();
}
} // namespace oskv

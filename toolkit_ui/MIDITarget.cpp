#include "MIDITarget.h"

namespace oskv
{
void MIDITarget::menu()
{
    juce::PopupMenu learnMenu;
    learnMenu.addItem (assignItemId, "ASSIGN TO LAST CC");
    learnMenu.addItem (clearItemId, "CLEAR CC MAPPING");

    int result = 0;

    if (menuRunner != nullptr)
        result = menuRunner (learnMenu);
    else if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr)
        result = learnMenu.show (assignItemId, 60, 0, 0, nullptr);

    // Without any display there is nowhere to show the menu: that counts as dismissed.

    if (result == assignItemId)
        assignRequested = true;
    else if (result == clearItemId)
        clearRequested = true;
    else
        return;

    sendChangeMessage();
}
} // namespace oskv

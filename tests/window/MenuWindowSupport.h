#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace window_test
{
/** While a popup menu runs its modal loop, hands `action` the open menu window. */
inline void whenMenuIsOpen (std::function<void (juce::Component&)> action, bool& menuWasSeen)
{
    juce::MessageManager::callAsync ([action = std::move (action), &menuWasSeen]
    {
        if (auto* menuWindow = juce::Component::getCurrentlyModalComponent())
        {
            menuWasSeen = true;
            action (*menuWindow);
        }
        else
        {
            // Never leave the loop running if the menu did not open.
            juce::PopupMenu::dismissAllActiveMenus();
        }
    });
}

inline void press (juce::Component& menuWindow, int keyCode)
{
    menuWindow.keyPressed (juce::KeyPress (keyCode));
}
} // namespace window_test

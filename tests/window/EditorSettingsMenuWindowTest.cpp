#include "editor/MainComponent.h"
#include "plugin/PluginProcessor.h"

#include "MenuWindowSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
using window_test::press;
using window_test::whenMenuIsOpen;

/** A left click on the button's centre, delivered through its window as the mouse does. */
void click (juce::Component& window, juce::Button& button)
{
    auto* peer = window.getPeer();
    ASSERT_NE (peer, nullptr);

    const auto position = window.getLocalPoint (&button, button.getLocalBounds().getCentre()).toFloat();
    const auto mouse = juce::MouseInputSource::InputSourceType::mouse;
    const auto time = juce::Time::currentTimeMillis();

    peer->handleMouseEvent (mouse, position, {}, juce::MouseInputSource::defaultPressure, 0.0f, time);
    peer->handleMouseEvent (mouse, position, juce::ModifierKeys::leftButtonModifier,
                            juce::MouseInputSource::defaultPressure, 0.0f, time + 10);
    peer->handleMouseEvent (mouse, position, {}, juce::MouseInputSource::defaultPressure, 0.0f, time + 20);
}

struct EditorSettingsMenuWindow : ::testing::Test
{
    EditorSettingsMenuWindow()
    {
        // The component sits in a window of its own, as in the editor, so it can be
        // deleted while the window stays.
        component = std::make_unique<MainComponent> (processor);
        component->setBounds (0, 0, 700, 400);
        window.addAndMakeVisible (*component);
        window.setBounds (100, 100, 700, 400);
        window.addToDesktop (juce::ComponentPeer::windowHasTitleBar);
        window.setVisible (true);

        processor.ccMapper.mapTree.appendChild (juce::ValueTree ("drive").setProperty ("cc", 20, nullptr), nullptr);
    }

    ~EditorSettingsMenuWindow() override
    {
        component.reset();
    }

    SombraxAudioProcessor processor;
    juce::Component window;
    std::unique_ptr<MainComponent> component;
};
} // namespace

TEST_F (EditorSettingsMenuWindow, ClickOpensTheMenuAndTheKeyboardReachesTheMidiMapSubmenu)
{
    bool seen = false;
    bool submenuSeen = false;

    // UNDO, REDO, INITIALIZE PARAMETERS, SAVE CURRENT STATE AS DEFAULT, then MIDI MAP:
    // right opens it with CLEAR highlighted, return chooses it.
    whenMenuIsOpen ([&submenuSeen] (juce::Component& menu)
    {
        for (int i = 0; i < 5; ++i)
            press (menu, juce::KeyPress::downKey);

        press (menu, juce::KeyPress::rightKey);

        if (auto* submenu = juce::Component::getCurrentlyModalComponent(); submenu != nullptr && submenu != &menu)
        {
            submenuSeen = true;
            press (*submenu, juce::KeyPress::returnKey);
        }
        else
        {
            juce::PopupMenu::dismissAllActiveMenus();
        }
    }, seen);

    click (window, *component->settingsMenuButton);

    EXPECT_TRUE (seen);
    EXPECT_TRUE (submenuSeen);
    EXPECT_EQ (processor.ccMapper.mapTree.getNumChildren(), 0);
}

TEST_F (EditorSettingsMenuWindow, EditorClosedWhileTheMenuIsOpenDoesNothing)
{
    bool seen = false;

    // CLEAR is chosen, and the host closes the editor before the menu call returns.
    whenMenuIsOpen ([this] (juce::Component& menu)
    {
        for (int i = 0; i < 5; ++i)
            press (menu, juce::KeyPress::downKey);

        press (menu, juce::KeyPress::rightKey);

        if (auto* submenu = juce::Component::getCurrentlyModalComponent(); submenu != nullptr && submenu != &menu)
            press (*submenu, juce::KeyPress::returnKey);

        component.reset();
    }, seen);

    click (window, *component->settingsMenuButton);

    EXPECT_TRUE (seen);
    EXPECT_EQ (component, nullptr);
    EXPECT_EQ (processor.ccMapper.mapTree.getNumChildren(), 1);
}

#include "support/ToolkitTestSupport.h"

#include "services/CCMapper.h"
#include "toolkit_ui/CCMapperUIManager.h"
#include "toolkit_ui/OskvButton.h"
#include "toolkit_ui/OskvKnob.h"
#include "toolkit_ui/UIControlFactory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>

using toolkit_test::makeMouseDown;

namespace
{
struct ChangeCounter : juce::ChangeListener
{
    void changeListenerCallback (juce::ChangeBroadcaster*) override { ++messages; }
    int messages = 0;
};

/** Answers the learn menu with a fixed choice and remembers what it was shown. */
struct ScriptedMenu
{
    explicit ScriptedMenu (int choiceToMake) : choice (choiceToMake) {}

    std::function<int (const juce::PopupMenu&)> runner()
    {
        return [this] (const juce::PopupMenu& menu)
        {
            ++shown;

            for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
            {
                const auto& item = it.getItem();
                ids.add (item.itemID);
                texts.add (item.text);
                enabled.add (item.isEnabled);
                ticked.add (item.isTicked);
            }

            return choice;
        };
    }

    int choice = 0;
    int shown = 0;
    juce::Array<int> ids;
    juce::StringArray texts;
    juce::Array<bool> enabled, ticked;
};

std::unique_ptr<oskv::OskvKnob> makeKnob()
{
    std::unique_ptr<oskv::OskvKnob> knob (oskv::UIControlFactory::createRegularKnob (juce::Colours::red));
    knob->setBounds (0, 0, 50, 50);
    knob->setValue (0.25, juce::dontSendNotification);
    return knob;
}
} // namespace

TEST (ToolkitMidiLearn, MenuOffersAssignAndClearInThatOrder)
{
    auto knob = makeKnob();
    knob->parameterID = "drive";
    ScriptedMenu menu (0);
    knob->menuRunner = menu.runner();

    knob->menu();

    ASSERT_EQ (menu.shown, 1);
    ASSERT_EQ (menu.ids.size(), 2);
    EXPECT_EQ (menu.ids[0], 1);
    EXPECT_EQ (menu.texts[0], "ASSIGN TO LAST CC");
    EXPECT_EQ (menu.ids[1], 2);
    EXPECT_EQ (menu.texts[1], "CLEAR CC MAPPING");
    EXPECT_TRUE (menu.enabled[0] && menu.enabled[1]);
    EXPECT_FALSE (menu.ticked[0] || menu.ticked[1]);
}

TEST (ToolkitMidiLearn, OptionClickOnKnobWithoutParameterIsANormalClick)
{
    auto knob = makeKnob();
    ScriptedMenu menu (1);
    knob->menuRunner = menu.runner();
    int dragStarts = 0;
    knob->onDragStart = [&dragStarts] { ++dragStarts; };

    knob->mouseDown (makeMouseDown (*knob, juce::ModifierKeys (juce::ModifierKeys::altModifier)));

    EXPECT_EQ (menu.shown, 0);
    EXPECT_EQ (dragStarts, 1);
    EXPECT_FALSE (knob->assignRequested);
    EXPECT_FALSE (knob->clearRequested);
    knob->mouseUp (makeMouseDown (*knob, {}));
}

TEST (ToolkitMidiLearn, PlainClickOnBoundKnobStartsADrag)
{
    auto knob = makeKnob();
    knob->parameterID = "drive";
    ScriptedMenu menu (1);
    knob->menuRunner = menu.runner();
    int dragStarts = 0;
    knob->onDragStart = [&dragStarts] { ++dragStarts; };

    knob->mouseDown (makeMouseDown (*knob, {}));

    EXPECT_EQ (menu.shown, 0);
    EXPECT_EQ (dragStarts, 1);
    knob->mouseUp (makeMouseDown (*knob, {}));
}

TEST (ToolkitMidiLearn, ChoosingAssignSetsOnlyAssignAndKeepsTheSliderOutOfIt)
{
    auto knob = makeKnob();
    knob->parameterID = "drive";
    ScriptedMenu menu (1);
    knob->menuRunner = menu.runner();
    ChangeCounter counter;
    knob->addChangeListener (&counter);
    int dragStarts = 0;
    knob->onDragStart = [&dragStarts] { ++dragStarts; };

    knob->mouseDown (makeMouseDown (*knob, juce::ModifierKeys (juce::ModifierKeys::altModifier), { 25.0f, 0.0f }));

    EXPECT_EQ (menu.shown, 1);
    EXPECT_TRUE (knob->assignRequested);
    EXPECT_FALSE (knob->clearRequested);
    EXPECT_EQ (dragStarts, 0);
    EXPECT_DOUBLE_EQ (knob->getValue(), 0.25);
    EXPECT_EQ (knob->getThumbBeingDragged(), -1);

    // The message is asynchronous: nothing until it is delivered.
    EXPECT_EQ (counter.messages, 0);
    knob->dispatchPendingMessages();
    EXPECT_EQ (counter.messages, 1);
    knob->removeChangeListener (&counter);
}

TEST (ToolkitMidiLearn, ChoosingClearSetsOnlyClear)
{
    auto knob = makeKnob();
    knob->parameterID = "drive";
    ScriptedMenu menu (2);
    knob->menuRunner = menu.runner();
    ChangeCounter counter;
    knob->addChangeListener (&counter);

    knob->mouseDown (makeMouseDown (*knob, juce::ModifierKeys (juce::ModifierKeys::altModifier)));

    EXPECT_FALSE (knob->assignRequested);
    EXPECT_TRUE (knob->clearRequested);
    knob->dispatchPendingMessages();
    EXPECT_EQ (counter.messages, 1);
    knob->removeChangeListener (&counter);
}

TEST (ToolkitMidiLearn, DismissedMenuChangesAndSendsNothing)
{
    auto knob = makeKnob();
    knob->parameterID = "drive";
    knob->clearRequested = true;
    ScriptedMenu menu (0);
    knob->menuRunner = menu.runner();
    ChangeCounter counter;
    knob->addChangeListener (&counter);

    knob->mouseDown (makeMouseDown (*knob, juce::ModifierKeys (juce::ModifierKeys::altModifier)));

    EXPECT_EQ (menu.shown, 1);
    EXPECT_FALSE (knob->assignRequested);
    EXPECT_TRUE (knob->clearRequested);
    knob->dispatchPendingMessages();
    EXPECT_EQ (counter.messages, 0);
    knob->removeChangeListener (&counter);
}

TEST (ToolkitMidiLearn, UnknownMenuResultIsTreatedAsDismissal)
{
    oskv::OskvKnob knob;
    knob.parameterID = "drive";
    ScriptedMenu menu (7);
    knob.menuRunner = menu.runner();

    knob.menu();

    EXPECT_FALSE (knob.assignRequested);
    EXPECT_FALSE (knob.clearRequested);
}

TEST (ToolkitMidiLearn, OptionClickOnButtonOpensTheMenuInsteadOfPressing)
{
    oskv::OskvButton button;
    button.setBounds (0, 0, 40, 20);
    button.setVisible (true);
    button.setClickingTogglesState (true);
    button.parameterID = "filter_post";
    ScriptedMenu menu (1);
    button.menuRunner = menu.runner();
    int clicks = 0;
    button.onClick = [&clicks] { ++clicks; };

    button.mouseDown (makeMouseDown (button, juce::ModifierKeys (juce::ModifierKeys::altModifier)));

    EXPECT_EQ (menu.shown, 1);
    EXPECT_TRUE (button.assignRequested);
    EXPECT_FALSE (button.isDown());
    EXPECT_FALSE (button.getToggleState());
    EXPECT_EQ (clicks, 0);
}

TEST (ToolkitMidiLearn, PlainClickOnButtonPressesIt)
{
    oskv::OskvButton button;
    button.setBounds (0, 0, 40, 20);
    button.setVisible (true);
    button.parameterID = "filter_post";
    ScriptedMenu menu (1);
    button.menuRunner = menu.runner();

    button.mouseDown (makeMouseDown (button, {}));

    EXPECT_EQ (menu.shown, 0);
    EXPECT_TRUE (button.isDown());
}

TEST (ToolkitMidiLearn, OptionClickOnButtonWithoutParameterIsANormalClick)
{
    oskv::OskvButton button;
    button.setBounds (0, 0, 40, 20);
    button.setVisible (true);
    ScriptedMenu menu (1);
    button.menuRunner = menu.runner();

    button.mouseDown (makeMouseDown (button, juce::ModifierKeys (juce::ModifierKeys::altModifier)));

    EXPECT_EQ (menu.shown, 0);
    EXPECT_FALSE (button.assignRequested);
    EXPECT_TRUE (button.isDown());
}

TEST (ToolkitMidiLearn, WithoutListenerAFlagStaysSet)
{
    oskv::OskvKnob knob;
    knob.parameterID = "drive";
    ScriptedMenu menu (1);
    knob.menuRunner = menu.runner();

    knob.menu();
    knob.dispatchPendingMessages();

    EXPECT_TRUE (knob.assignRequested);
}

TEST (ToolkitMidiLearn, ControlDeletedWhileItsMenuIsOpenIsNotTouchedAfterwards)
{
    // The host may close the editor during the menu's modal loop. The target lives in
    // storage that stays readable after its destruction, so any late write shows.
    alignas (oskv::MIDITarget) unsigned char storage[sizeof (oskv::MIDITarget)];
    static constexpr unsigned char scribble = 0xab;
    auto* target = new (storage) oskv::MIDITarget();
    target->parameterID = "drive";

    target->menuRunner = [target, &storage] (const juce::PopupMenu&)
    {
        // Copied out first: the destructor destroys this very function object.
        auto* doomed = target;
        auto* bytes = storage;
        doomed->~MIDITarget();
        std::fill (bytes, bytes + sizeof (oskv::MIDITarget), scribble);
        return (int) oskv::MIDITarget::assignItemId;
    };

    target->menu();

    for (auto byte : storage)
        ASSERT_EQ (byte, scribble);
}

//==============================================================================
namespace
{
struct LearnFixture : ::testing::Test
{
    LearnFixture()
    {
        manager.ccMapper = &mapper;
    }

    juce::ValueTree child (const juce::String& id) const
    {
        return mapper.mapTree.getChildWithName (id);
    }

    oskv::CCMapper mapper;
    oskv::CCMapperUIManager manager;
};
} // namespace

using ToolkitLearnManager = LearnFixture;

TEST_F (ToolkitLearnManager, AssignBeforeAnyControllerStoresMinusOne)
{
    oskv::OskvKnob knob;
    knob.parameterID = "drive";
    knob.assignRequested = true;

    manager.changeListenerCallback (&knob);

    EXPECT_FALSE (knob.assignRequested);
    ASSERT_EQ (mapper.mapTree.getNumChildren(), 1);
    EXPECT_EQ (mapper.mapTree.getChild (0).getType().toString(), "drive");
    EXPECT_EQ ((int) child ("drive").getProperty (oskv::CCMapper::ccValueProperty, 99), -1);
}

TEST_F (ToolkitLearnManager, AssignTakesTheLastControllerAndRebindingKeepsThePlace)
{
    oskv::OskvKnob drive, shape;
    drive.parameterID = "drive";
    shape.parameterID = "shape";

    mapper.lastCC = 20;
    drive.assignRequested = true;
    manager.changeListenerCallback (&drive);

    mapper.lastCC = 21;
    shape.assignRequested = true;
    manager.changeListenerCallback (&shape);

    mapper.lastCC = 74;
    drive.assignRequested = true;
    manager.changeListenerCallback (&drive);

    ASSERT_EQ (mapper.mapTree.getNumChildren(), 2);
    EXPECT_EQ (mapper.mapTree.getChild (0).getType().toString(), "drive");
    EXPECT_EQ ((int) mapper.mapTree.getChild (0).getProperty ("cc"), 74);
    EXPECT_EQ (mapper.mapTree.getChild (1).getType().toString(), "shape");
    EXPECT_EQ ((int) mapper.mapTree.getChild (1).getProperty ("cc"), 21);
    EXPECT_EQ (mapper.mapTree.getChild (0).getNumProperties(), 1);
}

TEST_F (ToolkitLearnManager, NewBindingNeverAppearsWithoutItsNumber)
{
    // Whoever watches the map (the audio-thread snapshot) must never see a binding
    // without "cc", which would read as controller 0.
    struct Watcher : juce::ValueTree::Listener
    {
        void valueTreeChildAdded (juce::ValueTree&, juce::ValueTree& added) override
        {
            numberWhenAdded = added.getProperty ("cc", "missing");
        }

        juce::var numberWhenAdded;
    };

    Watcher watcher;
    mapper.mapTree.addListener (&watcher);
    mapper.lastCC = 7;

    oskv::OskvKnob knob;
    knob.parameterID = "drive";
    knob.assignRequested = true;
    manager.changeListenerCallback (&knob);

    EXPECT_EQ ((int) watcher.numberWhenAdded, 7);
    mapper.mapTree.removeListener (&watcher);
}

TEST_F (ToolkitLearnManager, ClearRemovesOnlyThatBinding)
{
    mapper.mapTree.appendChild (juce::ValueTree ("drive").setProperty ("cc", 20, nullptr), nullptr);
    mapper.mapTree.appendChild (juce::ValueTree ("shape").setProperty ("cc", 21, nullptr), nullptr);

    oskv::OskvKnob knob;
    knob.parameterID = "drive";
    knob.clearRequested = true;
    manager.changeListenerCallback (&knob);

    EXPECT_FALSE (knob.clearRequested);
    ASSERT_EQ (mapper.mapTree.getNumChildren(), 1);
    EXPECT_EQ (mapper.mapTree.getChild (0).getType().toString(), "shape");
}

TEST_F (ToolkitLearnManager, ClearingAnUnboundParameterChangesNothing)
{
    mapper.mapTree.appendChild (juce::ValueTree ("shape").setProperty ("cc", 21, nullptr), nullptr);
    const auto before = mapper.mapTree.createCopy();

    oskv::OskvKnob knob;
    knob.parameterID = "drive";
    knob.clearRequested = true;
    manager.changeListenerCallback (&knob);

    EXPECT_FALSE (knob.clearRequested);
    EXPECT_TRUE (mapper.mapTree.isEquivalentTo (before));
}

TEST_F (ToolkitLearnManager, BothFlagsSetCarryOutOnlyTheAssignPerMessage)
{
    mapper.lastCC = 5;
    oskv::OskvKnob knob;
    knob.parameterID = "drive";
    knob.assignRequested = true;
    knob.clearRequested = true;

    manager.changeListenerCallback (&knob);

    EXPECT_FALSE (knob.assignRequested);
    EXPECT_TRUE (knob.clearRequested);
    ASSERT_TRUE (child ("drive").isValid());
    EXPECT_EQ ((int) child ("drive").getProperty ("cc"), 5);

    manager.changeListenerCallback (&knob);

    EXPECT_FALSE (knob.clearRequested);
    EXPECT_FALSE (child ("drive").isValid());
}

TEST_F (ToolkitLearnManager, RequestsWithoutParameterOrFromOtherBroadcastersAreIgnored)
{
    oskv::OskvButton unbound;
    unbound.assignRequested = true;
    manager.changeListenerCallback (&unbound);
    EXPECT_FALSE (unbound.assignRequested);
    EXPECT_EQ (mapper.mapTree.getNumChildren(), 0);

    juce::ChangeBroadcaster stranger;
    manager.changeListenerCallback (&stranger);
    manager.changeListenerCallback (nullptr);
    EXPECT_EQ (mapper.mapTree.getNumChildren(), 0);

    oskv::CCMapperUIManager detached;
    oskv::OskvKnob knob;
    knob.parameterID = "drive";
    knob.assignRequested = true;
    detached.changeListenerCallback (&knob);
    EXPECT_FALSE (knob.assignRequested);
}

TEST_F (ToolkitLearnManager, MenuChoiceReachesTheMapThroughTheChangeMessage)
{
    auto knob = makeKnob();
    knob->parameterID = "drive";
    knob->addChangeListener (&manager);
    ScriptedMenu menu (1);
    knob->menuRunner = menu.runner();
    mapper.lastCC = 64;

    knob->mouseDown (makeMouseDown (*knob, juce::ModifierKeys (juce::ModifierKeys::altModifier)));
    EXPECT_EQ (mapper.mapTree.getNumChildren(), 0);

    knob->dispatchPendingMessages();
    EXPECT_FALSE (knob->assignRequested);
    ASSERT_TRUE (child ("drive").isValid());
    EXPECT_EQ ((int) child ("drive").getProperty ("cc"), 64);

    menu.choice = 2;
    knob->mouseDown (makeMouseDown (*knob, juce::ModifierKeys (juce::ModifierKeys::altModifier)));
    knob->dispatchPendingMessages();
    EXPECT_FALSE (child ("drive").isValid());

    knob->removeChangeListener (&manager);
}

TEST (ToolkitMidiLearn, WithoutAnyDisplayTheRealMenuCountsAsDismissed)
{
    // With a display the real menu would wait for a user; that case lives in the window tests.
    if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr)
        GTEST_SKIP() << "a display is present";

    oskv::OskvKnob knob;
    knob.parameterID = "drive";
    ChangeCounter counter;
    knob.addChangeListener (&counter);

    knob.menu();
    knob.dispatchPendingMessages();

    EXPECT_FALSE (knob.assignRequested);
    EXPECT_FALSE (knob.clearRequested);
    EXPECT_EQ (counter.messages, 0);
    knob.removeChangeListener (&counter);
}

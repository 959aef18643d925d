#include "services/CCMapper.h"
#include "toolkit_ui/CCMapperUIManager.h"
#include "toolkit_ui/OskvKnob.h"
#include "toolkit_ui/UIControlFactory.h"
#include "toolkit_ui/VXLook.h"

#include "MenuWindowSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
using window_test::press;
using window_test::whenMenuIsOpen;

struct ToolkitLearnMenuWindow : ::testing::Test
{
    ToolkitLearnMenuWindow()
    {
        juce::LookAndFeel::setDefaultLookAndFeel (&look);
        juce::Typeface::clearTypefaceCache();
        knob.reset (oskv::UIControlFactory::createRegularKnob (juce::Colours::red));
        knob->parameterID = "drive";
        knob->addChangeListener (&manager);
        manager.ccMapper = &mapper;
    }

    ~ToolkitLearnMenuWindow() override
    {
        knob->removeChangeListener (&manager);
        knob.reset();
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    }

    oskv::VXLook look;
    oskv::CCMapper mapper;
    oskv::CCMapperUIManager manager;
    std::unique_ptr<oskv::OskvKnob> knob;
};
} // namespace

TEST_F (ToolkitLearnMenuWindow, EscapeDismissesTheRealMenuWithoutARequest)
{
    bool seen = false;
    whenMenuIsOpen ([] (juce::Component& menu) { press (menu, juce::KeyPress::escapeKey); }, seen);

    knob->menu();

    EXPECT_TRUE (seen);
    EXPECT_FALSE (knob->assignRequested);
    EXPECT_FALSE (knob->clearRequested);
    knob->dispatchPendingMessages();
    EXPECT_EQ (mapper.mapTree.getNumChildren(), 0);
}

TEST_F (ToolkitLearnMenuWindow, ChoosingAssignBindsTheLastController)
{
    mapper.lastCC = 33;
    bool seen = false;
    // Up from no highlight lands on the last item, from the first item wraps to it too;
    // a second Up then reaches item 1 in either case.
    whenMenuIsOpen ([] (juce::Component& menu)
    {
        press (menu, juce::KeyPress::upKey);
        press (menu, juce::KeyPress::upKey);
        press (menu, juce::KeyPress::returnKey);
    }, seen);

    knob->menu();

    EXPECT_TRUE (seen);
    EXPECT_TRUE (knob->assignRequested);
    EXPECT_FALSE (knob->clearRequested);

    knob->dispatchPendingMessages();
    EXPECT_FALSE (knob->assignRequested);
    ASSERT_EQ (mapper.mapTree.getNumChildren(), 1);
    EXPECT_EQ ((int) mapper.mapTree.getChildWithName ("drive").getProperty ("cc"), 33);
}

TEST_F (ToolkitLearnMenuWindow, ChoosingClearRemovesTheBinding)
{
    mapper.mapTree.appendChild (juce::ValueTree ("drive").setProperty ("cc", 12, nullptr), nullptr);
    bool seen = false;
    whenMenuIsOpen ([] (juce::Component& menu)
    {
        press (menu, juce::KeyPress::upKey);
        press (menu, juce::KeyPress::returnKey);
    }, seen);

    knob->menu();

    EXPECT_TRUE (seen);
    EXPECT_FALSE (knob->assignRequested);
    EXPECT_TRUE (knob->clearRequested);

    knob->dispatchPendingMessages();
    EXPECT_EQ (mapper.mapTree.getNumChildren(), 0);
}

TEST_F (ToolkitLearnMenuWindow, MenuIsDrawnByTheDefaultLook)
{
    bool seen = false;
    juce::Image snapshot;
    const juce::LookAndFeel* menuLook = nullptr;

    whenMenuIsOpen ([&] (juce::Component& menu)
    {
        menuLook = &menu.getLookAndFeel();
        snapshot = menu.createComponentSnapshot (menu.getLocalBounds());
        press (menu, juce::KeyPress::escapeKey);
    }, seen);

    knob->menu();

    ASSERT_TRUE (seen);
    EXPECT_EQ (menuLook, &look);
    ASSERT_TRUE (snapshot.isValid());
    // At least 60 wide; two items of 18 pixels each.
    EXPECT_GE (snapshot.getWidth(), 60);
    EXPECT_GE (snapshot.getHeight(), 36);
    EXPECT_EQ (snapshot.getPixelAt (0, snapshot.getHeight() / 2).withAlpha ((juce::uint8) 0xff), juce::Colour (0xff303030));
}

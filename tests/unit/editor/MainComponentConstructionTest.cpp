// The main component as built: its 45 children in order, placed and stacked; the controls
// that take part in MIDI learn; every control bound to its own parameter; the looks, and
// the default look-and-feel handed on when an editor closes.

#include "support/MainComponentTestSupport.h"

#include <map>

using editor_test::MainComponentFixture;

namespace
{
struct Placed
{
    juce::Component* child;
    juce::Rectangle<int> bounds;
    const char* name;
};

std::vector<Placed> expectedChildren (MainComponent& c)
{
    auto& f = c.filterSection;
    const juce::Rectangle<int> rateArea (31, 230, 63, 22);
    const juce::Rectangle<int> routingArea (532, 14, 158, 12);
    const juce::Rectangle<int> nameArea (219, 334, 261, 22);

    // The routing picture was added late and sent to the back at once.
    return {
        { &c.routingSchema, routingArea, "routingSchema" },
        { c.cutoffLabel.get(), { 34, 126, 56, 16 }, "cutoffLabel" },
        { c.resonanceLabel.get(), { 149, 126, 56, 16 }, "resonanceLabel" },
        { c.lfoRateLabel.get(), rateArea, "lfoRateLabel" },
        { f.cutoffKnob.get(), { 39, 78, 46, 46 }, "cutoffKnob" },
        { f.resonanceKnob.get(), { 154, 78, 46, 46 }, "resonanceKnob" },
        { f.modDepthKnob.get(), { 100, 144, 38, 38 }, "modDepthKnob" },
        { f.lfoRateKnob.get(), rateArea, "lfoRateKnob" },
        { f.lfoHighRateKnob.get(), rateArea, "lfoHighRateKnob" },
        { f.lfoSyncedRateKnob.get(), rateArea, "lfoSyncedRateKnob" },
        { &f.modeSelector, { 146, 218, 63, 46 }, "modeSelector" },
        { &f.waveSelector, { 31, 277, 178, 20 }, "waveSelector" },
        { f.lpfGainKnob.get(), { 269, 78, 46, 46 }, "lpfGainKnob" },
        { f.hpfGainKnob.get(), { 269, 140, 46, 46 }, "hpfGainKnob" },
        { f.bpfGainKnob.get(), { 269, 202, 46, 46 }, "bpfGainKnob" },
        { f.notchGainKnob.get(), { 269, 264, 46, 46 }, "notchGainKnob" },
        { f.activeButton.get(), { 13, 48, 12, 12 }, "filter activeButton" },
        { &c.lpfIcon, { 239, 88, 26, 26 }, "lpfIcon" },
        { &c.hpfIcon, { 239, 150, 26, 26 }, "hpfIcon" },
        { &c.bpfIcon, { 239, 212, 26, 26 }, "bpfIcon" },
        { &c.notchIcon, { 239, 274, 26, 26 }, "notchIcon" },
        { c.filterTitleLabel.get(), { 131, 40, 92, 30 }, "filterTitleLabel" },
        { c.driveLabel.get(), { 408, 149, 56, 16 }, "driveLabel" },
        { c.shapeLabel.get(), { 355, 206, 162, 16 }, "shapeLabel" },
        { c.feedbackLabel.get(), { 408, 282, 56, 16 }, "feedbackLabel" },
        { c.driveKnob.get(), { 413, 101, 46, 46 }, "driveKnob" },
        { c.shapeKnob.get(), { 360, 186, 152, 18 }, "shapeKnob" },
        { c.feedbackKnob.get(), { 413, 234, 46, 46 }, "feedbackKnob" },
        { c.distortionActiveButton.get(), { 358, 48, 12, 12 }, "distortionActiveButton" },
        { c.distortionTitleLabel.get(), { 390, 40, 92, 30 }, "distortionTitleLabel" },
        { c.outGainLabel.get(), { 580, 149, 56, 16 }, "outGainLabel" },
        { c.dryWetLabel.get(), { 580, 282, 56, 16 }, "dryWetLabel" },
        { c.routingButton.get(), routingArea, "routingButton" },
        { c.outGainKnob.get(), { 585, 101, 46, 46 }, "outGainKnob" },
        { c.dryWetKnob.get(), { 585, 234, 46, 46 }, "dryWetKnob" },
        { c.ampTitleLabel.get(), { 562, 40, 92, 30 }, "ampTitleLabel" },
        { c.previousPresetButton.get(), { 197, 334, 18, 22 }, "previousPresetButton" },
        { c.presetNameLabel.get(), nameArea, "presetNameLabel" },
        { c.presetNameButton.get(), nameArea, "presetNameButton" },
        { c.nextPresetButton.get(), { 484, 334, 18, 22 }, "nextPresetButton" },
        { c.savePresetButton.get(), { 462, 368, 14, 14 }, "savePresetButton" },
        { c.randomiseButton.get(), { 219, 364, 22, 22 }, "randomiseButton" },
        { c.settingsMenuButton.get(), { 10, 13, 14, 14 }, "settingsMenuButton" },
        { &c.productLogo, { 24, 344, 127, 32 }, "productLogo" },
        { &c.makerLogo, { 549, 344, 127, 32 }, "makerLogo" },
    };
}

/** The learn controls and the parameter each is bound to, by the processor's IDs. */
std::map<oskv::MIDITarget*, juce::String> expectedLearnControls (MainComponent& c, SombraxAudioProcessor& p)
{
    auto& f = c.filterSection;
    return {
        { f.cutoffKnob.get(), p.filterCutoffParamID },       { f.resonanceKnob.get(), p.filterResonanceParamID },
        { f.modDepthKnob.get(), p.filterCutoffModDepthParamID }, { f.lfoRateKnob.get(), p.lfoRateParamID },
        { f.lfoHighRateKnob.get(), p.lfoHighRateParamID },   { f.lfoSyncedRateKnob.get(), p.lfoSyncedRateParamID },
        { f.lpfGainKnob.get(), p.lpfGainParamID },           { f.hpfGainKnob.get(), p.hpfGainParamID },
        { f.bpfGainKnob.get(), p.bpfGainParamID },           { f.notchGainKnob.get(), p.notchGainParamID },
        { c.driveKnob.get(), p.driveParamID },               { c.shapeKnob.get(), p.shapeParamID },
        { c.feedbackKnob.get(), p.feedbackParamID },         { c.outGainKnob.get(), p.outGainParamID },
        { c.dryWetKnob.get(), p.dryWetParamID },             { c.routingButton.get(), p.filterPostParamID },
    };
}
} // namespace

TEST_F (MainComponentFixture, ChildrenInOrderPlacedAndStacked)
{
    auto& c = *component;
    auto& f = c.filterSection;
    const auto expected = expectedChildren (c);

    ASSERT_EQ (c.getNumChildComponents(), (int) expected.size());

    for (int i = 0; i < (int) expected.size(); ++i)
    {
        SCOPED_TRACE (expected[(size_t) i].name);
        EXPECT_EQ (c.getChildComponent (i), expected[(size_t) i].child) << "at index " << i;
        EXPECT_EQ (expected[(size_t) i].child->getBounds(), expected[(size_t) i].bounds);

        // Only the high-rate knob starts hidden; the invisible controls are transparent instead.
        const auto* child = expected[(size_t) i].child;
        EXPECT_EQ (child->isVisible(), child != f.lfoHighRateKnob.get());

        const bool transparent = child == f.lfoRateKnob.get() || child == f.lfoHighRateKnob.get()
                              || child == f.lfoSyncedRateKnob.get() || child == c.routingButton.get()
                              || child == c.presetNameButton.get();
        EXPECT_FLOAT_EQ (child->getAlpha(), transparent ? 0.0f : 1.0f);
    }

    // Fresh state before the first tick.
    EXPECT_TRUE (c.presetNameLabel->getText().isEmpty());
    EXPECT_TRUE (c.lfoRateLabel->getText().isEmpty());
    EXPECT_FALSE (c.routingSchema.post);
    EXPECT_TRUE (c.filterSectionOn);
    EXPECT_TRUE (c.distortionSectionOn);

    // What a click reaches: the transparent controls lie over what they stand for.
    EXPECT_EQ (c.getComponentAt (300, 345), c.presetNameButton.get());
    EXPECT_EQ (c.getComponentAt (610, 20), c.routingButton.get());

    // Until the first tick two rate knobs are shown, the synced one on top; the tick leaves
    // the one of the current mode.
    EXPECT_EQ (c.getComponentAt (60, 240), f.lfoSyncedRateKnob.get());
    c.timerCallback();
    EXPECT_EQ (c.getComponentAt (60, 240), f.lfoRateKnob.get());

    // The momentary buttons don't latch; the section switches do.
    for (auto* button : { c.previousPresetButton.get(), c.nextPresetButton.get(), c.savePresetButton.get(),
                          c.randomiseButton.get(), c.settingsMenuButton.get() })
        EXPECT_FALSE (button->getClickingTogglesState());

    EXPECT_TRUE (f.activeButton->getClickingTogglesState());
    EXPECT_TRUE (c.distortionActiveButton->getClickingTogglesState());
    EXPECT_TRUE (c.routingButton->getClickingTogglesState());

}

TEST_F (MainComponentFixture, FifteenKnobsAndTheRoutingButtonTakePartInLearn)
{
    auto& c = *component;
    const auto expected = expectedLearnControls (c, *processor);
    ASSERT_EQ (expected.size(), 16u);

    // Exactly these children are learn controls, each knowing its parameter.
    std::map<oskv::MIDITarget*, juce::String> found;

    for (auto* child : c.getChildren())
        if (auto* target = dynamic_cast<oskv::MIDITarget*> (child))
            found[target] = target->parameterID;

    EXPECT_EQ (found, expected);

    // Each request reaches the controller map: only a registered listener clears the flag
    // and binds the last controller.
    int controller = 20;

    for (const auto& [target, id] : expected)
    {
        SCOPED_TRACE (id.toStdString());
        processor->ccMapper.lastCC.store (controller);
        target->assignRequested = true;
        target->sendSynchronousChangeMessage();

        EXPECT_FALSE (target->assignRequested);
        auto map = processor->ccMapper.createMapXml();
        ASSERT_NE (map, nullptr);
        auto* binding = map->getChildByName (id);
        ASSERT_NE (binding, nullptr);
        EXPECT_EQ (binding->getIntAttribute (oskv::CCMapper::ccValueProperty, -1), controller);
        ++controller;
    }

    // The knobs carry the shared shadow; the routing button is a plain invisible toggle.
    for (const auto& [target, id] : expected)
    {
        if (auto* knob = dynamic_cast<oskv::OskvKnob*> (target))
        {
            EXPECT_EQ (knob->getComponentEffect(), &c.knobShadow) << id;
        }
    }
}

TEST_F (MainComponentFixture, EveryControlFollowsItsOwnParameter)
{
    auto& c = *component;
    const auto learn = expectedLearnControls (c, *processor);

    // A distinct value for every knob's parameter, then every knob read back: a control
    // bound to the wrong parameter shows another one's value.
    std::map<juce::Slider*, float> normalised;
    float value = 0.13f;

    for (const auto& [target, id] : learn)
    {
        if (auto* knob = dynamic_cast<oskv::OskvKnob*> (target))
        {
            parameter (id)->setValueNotifyingHost (value);
            normalised[knob] = parameter (id)->getValue();
            value += 0.05f;
        }
    }

    ASSERT_EQ (normalised.size(), 15u);

    for (const auto& [knob, n] : normalised)
    {
        SCOPED_TRACE (knob->getComponentID().toStdString());
        auto* p = parameter (knob->getComponentID());
        ASSERT_NE (p, nullptr);
        EXPECT_EQ (knob->getComponentID(), dynamic_cast<oskv::OskvKnob*> (knob)->parameterID);
        EXPECT_NEAR (knob->getValue(), p->convertFrom0to1 (n), 1.0e-3 * (knob->getMaximum() - knob->getMinimum()));
    }

    // The three switches: turning one over turns over its own button and no other.
    const std::vector<std::pair<juce::Button*, juce::String>> switches {
        { c.filterSection.activeButton.get(), processor->filterActiveParamID },
        { c.distortionActiveButton.get(), processor->distortionActiveParamID },
        { c.routingButton.get(), processor->filterPostParamID },
    };

    for (const auto& [button, id] : switches)
    {
        SCOPED_TRACE (id.toStdString());
        std::vector<bool> before;

        for (const auto& other : switches)
            before.push_back (other.first->getToggleState());

        const bool on = parameter (id)->getValue() >= 0.5f;
        parameter (id)->setValueNotifyingHost (on ? 0.0f : 1.0f);

        for (size_t i = 0; i < switches.size(); ++i)
            EXPECT_EQ (switches[i].first->getToggleState(), switches[i].first == button ? ! before[i] : before[i]);
    }
}

TEST_F (MainComponentFixture, LooksOfTheComponentAndItsChildren)
{
    auto& c = *component;

    EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), &c.mainLook);
    EXPECT_EQ (&c.getLookAndFeel(), &c.mainLook);
    EXPECT_EQ (&c.shapeKnob->getLookAndFeel(), &c.bipolarLook);
    EXPECT_EQ (&c.dryWetKnob->getLookAndFeel(), &c.bipolarLook);
    EXPECT_EQ (&c.presetNameButton->getLookAndFeel(), &c.transparentLook);
    EXPECT_EQ (&c.driveKnob->getLookAndFeel(), &c.mainLook);
    EXPECT_EQ (&c.cutoffLabel->getLookAndFeel(), &c.mainLook);
    EXPECT_EQ (c.shapeKnob->getSliderStyle(), juce::Slider::LinearHorizontal);
}

TEST_F (MainComponentFixture, ClosingOneOfTwoEditorsLeavesTheOtherInItsLook)
{
    const auto typefaceName = [] { return juce::Font (12.0f).getTypefacePtr()->getName(); };
    const auto robotoName = component->mainLook.typeface->getName();

    // A second instance's editor opens and then closes: the first's look is the default
    // again, so its fonts and popup menus stay in it.
    {
        SombraxAudioProcessor secondProcessor;
        MainComponent second (secondProcessor);
        EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), &second.mainLook);
    }

    EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), &component->mainLook);
    EXPECT_EQ (&component->getLookAndFeel(), &component->mainLook);
    EXPECT_EQ (typefaceName(), robotoName);

    // The older one closes first: the newer one's look stays the default.
    auto secondProcessor = std::make_unique<SombraxAudioProcessor>();
    auto second = std::make_unique<MainComponent> (*secondProcessor);
    component.reset();
    EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), &second->mainLook);

    // The last one closes: no destroyed look stays the default.
    second.reset();
    EXPECT_EQ (dynamic_cast<oskv::VXLook*> (&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr);
    EXPECT_NE (typefaceName(), robotoName);
}

// The 50 ms refresh, driven by calling it directly: the LFO mode and rate controls, the
// rate text, what gets repainted and when, section dimming, and the program change that
// the audio thread hands over while the editor is open.

#include "support/MainComponentTestSupport.h"
#include "support/PersistenceTestSupport.h"
#include "toolkit_ui/OskvColours.h"

using editor_test::MainComponentFixture;
using oskv::OskvColours;

namespace
{
struct LabelChanges : juce::Label::Listener
{
    void labelTextChanged (juce::Label*) override { ++count; }
    int count = 0;
};

juce::String textOf (juce::RangedAudioParameter* p)
{
    return p->getText (p->getValue(), 512);
}
} // namespace

TEST_F (MainComponentFixture, OscWinsOverSyncForModeLabelsAndTheShownRateControl)
{
    auto& f = component->filterSection;
    auto& labels = f.modeSelector.labels;

    struct Case
    {
        float sync, highRate;
        int mode;
        juce::Component* shownKnob;
        const char* rateID;
    };

    const Case cases[] = {
        { 0.0f, 0.0f, 0, f.lfoRateKnob.get(), "lfo_rate" },
        { 1.0f, 1.0f, 2, f.lfoHighRateKnob.get(), "lfo_high_rate" },
        { 1.0f, 0.0f, 1, f.lfoSyncedRateKnob.get(), "lfo_synced_rate" },
        { 0.0f, 1.0f, 2, f.lfoHighRateKnob.get(), "lfo_high_rate" },
        { 0.0f, 0.0f, 0, f.lfoRateKnob.get(), "lfo_rate" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.rateID);
        setPlain ("lfo_sync", c.sync);
        setPlain ("lfo_high_rate_mode", c.highRate);
        component->timerCallback();

        EXPECT_EQ (f.modeSelector.mode, c.mode);

        for (int i = 0; i < 3; ++i)
            EXPECT_EQ (labels[i]->findColour (juce::Label::textColourId), i == c.mode ? OskvColours::yellow : OskvColours::dark_grey);

        for (auto* knob : { f.lfoRateKnob.get(), f.lfoSyncedRateKnob.get(), f.lfoHighRateKnob.get() })
            EXPECT_EQ (knob->isVisible(), knob == c.shownKnob);

        EXPECT_EQ (component->lfoRateLabel->getText(), textOf (parameter (c.rateID)));
    }
}

TEST_F (MainComponentFixture, RateTextFollowsAutomationWithoutNotifying)
{
    LabelChanges changes;
    component->lfoRateLabel->addListener (&changes);

    for (float hertz : { 2.5f, 0.125f, 17.0f })
    {
        setPlain ("lfo_rate", hertz);
        component->timerCallback();
        EXPECT_EQ (component->lfoRateLabel->getText(), textOf (parameter ("lfo_rate")));
    }

    EXPECT_EQ (component->lfoRateLabel->getText(), "17.0 Hz");
    EXPECT_EQ (changes.count, 0);
    component->lfoRateLabel->removeListener (&changes);
}

TEST_F (MainComponentFixture, RepaintsOnlyWhatChanged)
{
    auto& c = *component;
    processor->animationsEnabled = false;
    c.timerCallback();

    auto& recorder = recordRepaints();
    using Areas = std::vector<std::string>;
    const auto areaOf = [] (const juce::Component& child) { return child.getBounds().toString().toStdString(); };

    // Nothing changes: nothing is repainted, tick after tick.
    for (int i = 0; i < 5; ++i)
        c.timerCallback();

    EXPECT_EQ (recorder.take(), Areas());

    // A new wave repaints the wave strip once.
    setPlain ("lfo_wave", 3.0f);
    c.timerCallback();
    EXPECT_EQ (c.filterSection.waveSelector.selectedIndex, 3);
    EXPECT_EQ (recorder.take(), Areas { areaOf (c.filterSection.waveSelector) });
    c.timerCallback();
    EXPECT_EQ (recorder.take(), Areas());

    // The routing switch: its own button repaints as it toggles, the picture on the next tick.
    setPlain ("filter_post", 1.0f);
    recorder.take();
    c.timerCallback();
    EXPECT_TRUE (c.routingSchema.post);
    EXPECT_EQ (recorder.take(), Areas { areaOf (c.routingSchema) });
    c.timerCallback();
    EXPECT_EQ (recorder.take(), Areas());

    // With animations on, each tick repaints the level display's 86 x 41 and nothing else.
    processor->animationsEnabled = true;

    for (int i = 0; i < 3; ++i)
    {
        c.timerCallback();
        EXPECT_EQ (recorder.take(), Areas { "565 174 86 41" });
    }
}

TEST_F (MainComponentFixture, SectionsDimWhileOffAndComeBack)
{
    auto& c = *component;
    auto& f = c.filterSection;
    const std::vector<juce::Component*> filterDimmed { f.cutoffKnob.get(), f.resonanceKnob.get(), f.modDepthKnob.get(),
                                                       &f.waveSelector, &f.modeSelector, c.lfoRateLabel.get(),
                                                       f.lpfGainKnob.get(), f.hpfGainKnob.get(), f.bpfGainKnob.get(),
                                                       f.notchGainKnob.get() };
    const std::vector<juce::Component*> distortionDimmed { c.driveKnob.get(), c.shapeKnob.get(), c.feedbackKnob.get() };

    // Everything else keeps its alpha.
    std::map<juce::Component*, float> others;

    for (auto* child : c.getChildren())
        if (std::find (filterDimmed.begin(), filterDimmed.end(), child) == filterDimmed.end()
            && std::find (distortionDimmed.begin(), distortionDimmed.end(), child) == distortionDimmed.end())
            others[child] = child->getAlpha();

    ASSERT_EQ (others.size(), 45u - 13u);

    const auto expectAlphas = [&] (float filterAlpha, float distortionAlpha)
    {
        // Alphas are kept in 8 bits.
        for (auto* child : filterDimmed)
            EXPECT_NEAR (child->getAlpha(), filterAlpha, 1.0f / 255.0f);

        for (auto* child : distortionDimmed)
            EXPECT_NEAR (child->getAlpha(), distortionAlpha, 1.0f / 255.0f);

        for (const auto& [child, alpha] : others)
            EXPECT_FLOAT_EQ (child->getAlpha(), alpha);
    };

    setPlain ("filter_active", 0.0f);
    c.timerCallback();
    EXPECT_FALSE (c.filterSectionOn);
    expectAlphas (0.5f, 1.0f);

    setPlain ("distortion_active", 0.0f);
    c.timerCallback();
    expectAlphas (0.5f, 0.5f);

    setPlain ("filter_active", 1.0f);
    setPlain ("distortion_active", 1.0f);
    c.timerCallback();
    EXPECT_TRUE (c.filterSectionOn);
    EXPECT_TRUE (c.distortionSectionOn);
    expectAlphas (1.0f, 1.0f);
}

TEST_F (MainComponentFixture, KnobsGetTheirShadowBackAfterALookChange)
{
    // The framework resets a slider's effect on any look change, as when another instance's
    // editor opens and makes its look the default for every window.
    component->sendLookAndFeelChange();
    EXPECT_EQ (component->driveKnob->getComponentEffect(), nullptr);

    component->timerCallback();

    for (auto* knob : { component->driveKnob.get(), component->shapeKnob.get(), component->dryWetKnob.get(),
                        component->filterSection.lfoHighRateKnob.get() })
        EXPECT_EQ (knob->getComponentEffect(), &component->knobShadow);
}

//==============================================================================
namespace
{
struct ProgramChangeFixture : MainComponentFixture
{
    void SetUp() override
    {
        using persistence_test::writePresetFile;
        const auto folder = persistence_test::midiFolder();
        writePresetFile (folder.getChildFile ("1 Low.sbxp"), { { "drive", "10" } }, true);
        writePresetFile (folder.getChildFile ("2 Old.sbxp"), { { "drive", "20" }, { "lfo_synced_rate", "3" } }, false);
        ASSERT_TRUE (folder.getChildFile ("3 Broken.sbxp").replaceWithText ("not a preset"));
        ASSERT_TRUE (folder.getChildFile ("4 Folder.sbxp").replaceWithText ("-"));
        ASSERT_TRUE (folder.getChildFile ("5 Missing.sbxp").replaceWithText ("-"));

        MainComponentFixture::SetUp();

        // Listed when the processor was made, changed since: one became a folder, one is gone.
        ASSERT_TRUE (folder.getChildFile ("4 Folder.sbxp").deleteFile());
        ASSERT_TRUE (folder.getChildFile ("4 Folder.sbxp").createDirectory().wasOk());
        ASSERT_TRUE (folder.getChildFile ("5 Missing.sbxp").deleteFile());
        processor->setCurrentPresetName ("Before");
        setPlain ("drive", 55.0f);
    }

    /** What the audio thread does with an editor open. */
    void handOver (int program)
    {
        processor->pendingProgramNumber.store (program, std::memory_order_release);
        processor->pendingProgramChange.store (true, std::memory_order_release);
    }

    float plain (const juce::String& id) { return persistence_test::plainValue (*processor, id); }
};
} // namespace

TEST_F (ProgramChangeFixture, PendingChangeLoadsAndNamesThePresetWithinOneTick)
{
    auto& c = *component;
    c.timerCallback();
    EXPECT_EQ (c.presetNameLabel->getText(), "Before");

    handOver (0);
    c.timerCallback();
    EXPECT_FALSE (processor->pendingProgramChange.load());
    EXPECT_FLOAT_EQ (plain ("drive"), 10.0f);
    EXPECT_EQ (processor->getCurrentPresetName(), "1 Low");

    // The label shows the name one tick later.
    EXPECT_EQ (c.presetNameLabel->getText(), "Before");
    c.timerCallback();
    EXPECT_EQ (c.presetNameLabel->getText(), "1 Low");

    // A preset of the older synced-rate table is remapped on this path as on the audio thread's.
    handOver (1);
    c.timerCallback();
    EXPECT_FLOAT_EQ (plain ("drive"), 20.0f);
    EXPECT_FLOAT_EQ (plain ("lfo_synced_rate"), 5.0f);
    EXPECT_EQ (processor->getCurrentPresetName(), "2 Old");
}

TEST_F (ProgramChangeFixture, FailedOrMissingPresetKeepsTheNameAndClearsTheFlag)
{
    auto& c = *component;
    ASSERT_EQ (processor->getMidiProgramPresets().size(), 5);

    // 2: not a preset; 3: a folder; 4: a file gone; 5 and 127: no preset for the number.
    for (int program : { 2, 3, 4, 5, 127 })
    {
        SCOPED_TRACE (program);
        handOver (program);
        c.timerCallback();
        c.timerCallback();

        EXPECT_FALSE (processor->pendingProgramChange.load());
        EXPECT_EQ (processor->getCurrentPresetName(), "Before");
        EXPECT_EQ (c.presetNameLabel->getText(), "Before");
        EXPECT_FLOAT_EQ (plain ("drive"), 55.0f);
    }
}

TEST_F (ProgramChangeFixture, AudioThreadHandsTheChangeToTheOpenEditor)
{
    plainEditor.reset (processor->createEditorIfNeeded());
    ASSERT_NE (plainEditor, nullptr);
    processor->prepareToPlay (44100.0, 32);

    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::programChange (1, 0), 0);
    persistence_test::processMidi (*processor, midi);

    // Handed over, not loaded: the timer does that.
    EXPECT_TRUE (processor->pendingProgramChange.load());
    EXPECT_FLOAT_EQ (plain ("drive"), 55.0f);

    component->timerCallback();
    EXPECT_FLOAT_EQ (plain ("drive"), 10.0f);
    EXPECT_EQ (processor->getCurrentPresetName(), "1 Low");
}

TEST_F (ProgramChangeFixture, ChangePendingAsTheEditorClosesIsLoadedOnceAndNeverByTheNextEditor)
{
    processor->prepareToPlay (44100.0, 32);
    const auto programChange = [this] (int program)
    {
        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::programChange (1, program), 0);
        persistence_test::processMidi (*processor, midi);
    };

    // Handed over after the last tick, then the editor closes: it is loaded on the way out.
    programChange (0);
    ASSERT_TRUE (processor->pendingProgramChange.load());
    component.reset();
    EXPECT_FALSE (processor->pendingProgramChange.load());
    EXPECT_FLOAT_EQ (plain ("drive"), 10.0f);
    EXPECT_EQ (processor->getCurrentPresetName(), "1 Low");

    // With no editor, a newer change is loaded at once and a flag left from before is void.
    handOver (0);
    programChange (1);
    EXPECT_FALSE (processor->pendingProgramChange.load());
    EXPECT_FLOAT_EQ (plain ("drive"), 20.0f);

    // What the host sets meanwhile stays when the next editor opens.
    setPlain ("drive", 70.0f);
    component = std::make_unique<MainComponent> (*processor);
    component->stopTimer();
    component->timerCallback();
    EXPECT_FLOAT_EQ (plain ("drive"), 70.0f);

    // A host state restored after a handed-over change is newer than it.
    juce::MemoryBlock state;
    processor->getStateInformation (state);
    programChange (0);
    processor->setStateInformation (state.getData(), (int) state.getSize());
    component->timerCallback();
    EXPECT_FLOAT_EQ (plain ("drive"), 70.0f);
}

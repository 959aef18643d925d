// The synced-rate remap as part of the load it follows: it reads the loaded value, never
// the live parameter, so a value another thread sets meanwhile is never remapped.

#include "support/PersistenceTestSupport.h"

using namespace persistence_test;

namespace
{
// Sets the synced rate as a bound controller would, the moment the load first moves it:
// the latest a controller on the audio thread could arrive after the load's assignment.
class ControllerDuringTheLoad : public juce::AudioProcessorParameter::Listener
{
public:
    explicit ControllerDuringTheLoad (juce::AudioProcessorParameter& p) : parameter (p) { parameter.addListener (this); }
    ~ControllerDuringTheLoad() override { parameter.removeListener (this); }

    void parameterValueChanged (int, float) override
    {
        if (! armed)
            return;

        armed = false;
        parameter.setValueNotifyingHost (64 * 0.007874016f); // rate 11
    }

    void parameterGestureChanged (int, bool) override {}

    bool armed = true;

private:
    juce::AudioProcessorParameter& parameter;
};

class SyncedRateRemap : public ::testing::Test
{
protected:
    juce::AudioProcessorParameter& syncedRate() { return *processor.parameters.getParameter ("lfo_synced_rate"); }

    SombraxAudioProcessor processor;
};

juce::MidiBuffer programChange (int program)
{
    juce::MidiBuffer buffer;
    buffer.addEvent (juce::MidiMessage::programChange (1, program), 0);
    return buffer;
}
} // namespace

TEST_F (SyncedRateRemap, AValueSetRightAfterTheLoadIsNotRemapped)
{
    writePresetFile (midiFolder().getChildFile ("0 Old.sbxp"), { { "lfo_synced_rate", "3" } }, false);
    processor.rescanMidiProgramPresets();

    const std::vector<std::pair<const char*, std::function<void()>>> loads {
        { "state", [this] { restore (processor, chunkWithText (stateXml ({ { "lfo_synced_rate", "3" } }, false))); } },
        { "program change", [this] { processMidi (processor, programChange (0)); } },
        { "preset list", [this] { EXPECT_TRUE (processor.loadPresetFile (midiFolder().getChildFile ("0 Old.sbxp")).wasOk()); } },
    };

    for (const auto& [name, load] : loads)
    {
        setPlainValue (processor, "lfo_synced_rate", 0.0f);
        ControllerDuringTheLoad controller (syncedRate());

        load();

        EXPECT_FALSE (controller.armed) << name;
        EXPECT_FLOAT_EQ (plainValue (processor, "lfo_synced_rate"), 11.0f) << name << ": the controller's value, as it came";
    }
}

TEST_F (SyncedRateRemap, TheLoadedValueIsReadAsTheParameterStateReadsIt)
{
    const std::pair<juce::String, float> cases[] = {
        { "<PARAM id=\"lfo_synced_rate\" value=\"1\"/>", 2.0f },
        { "", 8.0f },                                                             // the default, 5
        { "<PARAM id=\"lfo_synced_rate\"/>", 8.0f },                              // likewise
        { "<PARAM id=\"lfo_synced_rate\" value=\"nan\"/>", 8.0f },                // dropped, so likewise
        { "<X id=\"lfo_synced_rate\" value=\"3\"/>", 5.0f },                      // any tag
        { "<PARAM id=\"lfo_synced_rate\" value=\"1\"/><PARAM id=\"lfo_synced_rate\" value=\"3\"/>", 5.0f }, // the last
        { "<PARAM id=\"lfo_synced_rate\" value=\"2.6\"/>", 5.0f },                // the nearest index, 3
        { "<PARAM id=\"lfo_synced_rate\" value=\"40\"/>", 21.0f },                // the range's end
        { "<PARAM id=\"lfo_synced_rate\" value=\"-3\"/>", 0.0f },
    };

    for (const auto& [children, expected] : cases)
    {
        setPlainValue (processor, "lfo_synced_rate", 9.0f);
        restore (processor, chunkWithText ("<Sombrax>" + children + "</Sombrax>"));
        EXPECT_FLOAT_EQ (plainValue (processor, "lfo_synced_rate"), expected) << children;
    }
}

TEST_F (SyncedRateRemap, AFailedLoadAnnouncesNothing)
{
    HostView host (processor);
    EXPECT_TRUE (processor.loadPresetFile (midiFolder().getChildFile ("missing.sbxp")).failed());
    restore (processor, chunkWithText ("not xml"));

    EXPECT_TRUE (host.gestureBegins.empty());
    EXPECT_TRUE (host.changes.empty());
}

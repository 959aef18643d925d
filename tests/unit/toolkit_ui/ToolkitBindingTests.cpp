#include "support/ToolkitTestSupport.h"

#include "toolkit_ui/ControlToParameterMapper.h"
#include "toolkit_ui/ParameterLink.h"
#include "toolkit_ui/UIControlFactory.h"

#include <gtest/gtest.h>

using toolkit_test::TinyProcessor;

namespace
{
struct GestureRecorder : juce::AudioProcessorParameter::Listener
{
    void parameterValueChanged (int, float newValue) override
    {
        events.add ("value");
        lastValue = newValue;
    }

    void parameterGestureChanged (int, bool starting) override
    {
        events.add (starting ? "begin" : "end");
    }

    juce::StringArray events;
    float lastValue = -1.0f;
};
} // namespace

TEST (ToolkitBinding, SliderTakesParameterRangeAndComponentID)
{
    TinyProcessor processor;
    std::unique_ptr<oskv::OskvKnob> knob (oskv::UIControlFactory::createRegularKnob (juce::Colours::red));

    {
        oskv::ControlToParameterMapper mapper (processor.parameters);
        mapper.attachSliderToParameter (knob.get(), "drive");

        EXPECT_EQ (knob->getComponentID(), "drive");
        EXPECT_DOUBLE_EQ (knob->getMinimum(), 0.0);
        EXPECT_DOUBLE_EQ (knob->getMaximum(), 100.0);
        EXPECT_NEAR (knob->getInterval(), 0.01, 1.0e-6);
        EXPECT_EQ (mapper.sliderAttachments.size(), 1);

        // Both directions: the parameter moves the knob, the knob moves the parameter.
        auto* drive = processor.parameters.getParameter ("drive");
        drive->setValueNotifyingHost (0.5f);
        EXPECT_NEAR (knob->getValue(), 50.0, 1.0e-3);

        knob->setValue (25.0, juce::sendNotificationSync);
        EXPECT_NEAR (drive->getValue(), 0.25f, 1.0e-4f);
    }

    // With the mapper gone the knob is left alone.
    processor.parameters.getParameter ("drive")->setValueNotifyingHost (1.0f);
    EXPECT_NEAR (knob->getValue(), 25.0, 1.0e-3);
}

TEST (ToolkitBinding, ButtonFollowsItsSwitch)
{
    TinyProcessor processor;
    juce::TextButton button;
    oskv::ControlToParameterMapper mapper (processor.parameters);

    mapper.attachButtonToParameter (&button, "filter_active");

    EXPECT_EQ (button.getComponentID(), "filter_active");
    EXPECT_EQ (mapper.buttonAttachments.size(), 1);
    EXPECT_TRUE (button.getToggleState());

    processor.parameters.getParameter ("filter_active")->setValueNotifyingHost (0.0f);
    EXPECT_FALSE (button.getToggleState());
}

TEST (ToolkitBinding, UnknownParameterOrNoControlAttachesNothing)
{
    TinyProcessor processor;
    juce::Slider slider;
    juce::TextButton button;
    oskv::ControlToParameterMapper mapper (processor.parameters);

    mapper.attachSliderToParameter (&slider, "no_such_parameter");
    mapper.attachButtonToParameter (&button, "no_such_parameter");
    mapper.attachSliderToParameter (nullptr, "drive");
    mapper.attachButtonToParameter (nullptr, "filter_active");

    EXPECT_EQ (mapper.sliderAttachments.size(), 0);
    EXPECT_EQ (mapper.buttonAttachments.size(), 0);
    EXPECT_TRUE (slider.getComponentID().isEmpty());
}

//==============================================================================
TEST (ToolkitParameterLink, WaveLinkClampsToTheEndsOfItsRange)
{
    TinyProcessor processor;
    oskv::ParameterLink link (processor.parameters.getParameter ("lfo_wave"),
                              processor.parameters.getParameterRange ("lfo_wave"));

    link.updateIntParameter (7);
    EXPECT_FLOAT_EQ (link.parameter->getValue(), 1.0f);

    link.updateIntParameter (-1);
    EXPECT_FLOAT_EQ (link.parameter->getValue(), 0.0f);

    link.updateIntParameter (3);
    EXPECT_FLOAT_EQ (link.parameter->getValue(), 0.5f);
    EXPECT_FLOAT_EQ (processor.parameters.getRawParameterValue ("lfo_wave")->load(), 3.0f);
}

TEST (ToolkitParameterLink, OutsideLiveEachChangeIsOneGesture)
{
    TinyProcessor processor;
    auto* wave = processor.parameters.getParameter ("lfo_wave");
    oskv::ParameterLink link (wave, processor.parameters.getParameterRange ("lfo_wave"));
    GestureRecorder recorder;
    wave->addListener (&recorder);

    ASSERT_FALSE (link.isAbletonLive);
    link.updateIntParameter (2);
    link.updateIntParameter (5);

    EXPECT_EQ (recorder.events.joinIntoString (","), "begin,value,end,begin,value,end");
    EXPECT_NEAR (recorder.lastValue, 5.0f / 6.0f, 1.0e-6f);
    wave->removeListener (&recorder);
}

TEST (ToolkitParameterLink, InLiveTheChangeCarriesNoGesture)
{
    TinyProcessor processor;
    auto* mode = processor.parameters.getParameter ("filter_active");
    oskv::ParameterLink link (mode, processor.parameters.getParameterRange ("filter_active"));
    GestureRecorder recorder;
    mode->addListener (&recorder);

    link.isAbletonLive = true;
    link.updateIntParameter (0);

    EXPECT_EQ (recorder.events.joinIntoString (","), "value");
    EXPECT_FLOAT_EQ (mode->getValue(), 0.0f);
    mode->removeListener (&recorder);
}

TEST (ToolkitParameterLink, KeepsItsOwnCopyOfTheRange)
{
    TinyProcessor processor;
    auto range = processor.parameters.getParameterRange ("lfo_wave");
    oskv::ParameterLink link (processor.parameters.getParameter ("lfo_wave"), range);
    range.end = 60.0f;

    EXPECT_FLOAT_EQ (link.range.end, 6.0f);
    EXPECT_FLOAT_EQ (link.range.interval, 1.0f);
}

TEST (ToolkitParameterLink, MissingParameterOrEmptyRangeIsIgnored)
{
    oskv::ParameterLink orphan (nullptr, juce::NormalisableRange<float> (0.0f, 6.0f, 1.0f));
    orphan.updateIntParameter (3);

    TinyProcessor processor;
    auto* wave = processor.parameters.getParameter ("lfo_wave");
    juce::NormalisableRange<float> empty;
    empty.start = 2.0f;
    empty.end = 2.0f;
    oskv::ParameterLink degenerate (wave, empty);
    degenerate.updateIntParameter (3);

    EXPECT_FLOAT_EQ (wave->getValue(), 0.0f);
}

#include "plugin/ParameterText.h"
#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

namespace
{
struct ExpectedParameter
{
    const char* id;
    const char* name;
    const char* label;
    float start, end, interval, skew, defaultValue;
    const char* defaultText;
};

// The host's view of the parameter set, in host order.
const ExpectedParameter expectedParameters[] = {
    { "filter_cutoff", "Cutoff", "Hz", 80.0f, 11000.0f, 1.0f, 0.5f, 11000.0f, "11000 Hz" },
    { "filter_resonance", "Resonance", "%", 0.0f, 100.0f, 0.01f, 1.0f, 0.0f, "0.0 %" },
    { "filter_cutoff_mod_depth", "Cutoff Mod Depth", "%", 0.0f, 100.0f, 0.01f, 1.0f, 0.0f, "0.0 %" },
    { "lfo_rate", "LFO Rate", "Hz", 0.001f, 20.0f, 0.001f, 1.0f, 1.0f, "1.0 Hz" },
    { "lfo_high_rate", "LFO High Rate", "Hz", 20.0f, 1000.0f, 1.0f, 1.0f, 60.0f, "60 Hz" },
    { "lfo_high_rate_mode", "LFO High Rate Mode", "", 0.0f, 1.0f, 1.0f, 1.0f, 0.0f, "0.0" },
    { "lfo_wave", "LFO Wave", "", 0.0f, 6.0f, 1.0f, 1.0f, 0.0f, "SINE" },
    { "lpf_gain", "LPF Gain", "dB", -70.0f, 0.0f, 0.01f, 1.5f, 0.0f, "+0.0 dB" },
    { "hpf_gain", "HPF Gain", "dB", -70.0f, 0.0f, 0.01f, 1.5f, -70.0f, "-INF dB" },
    { "bpf_gain", "BPF Gain", "dB", -70.0f, 0.0f, 0.01f, 1.5f, -70.0f, "-INF dB" },
    { "notch_gain", "NOTCH Gain", "dB", -70.0f, 0.0f, 0.01f, 1.5f, -70.0f, "-INF dB" },
    { "lfo_sync", "LFO Sync", "", 0.0f, 1.0f, 1.0f, 1.0f, 0.0f, "0.0" },
    { "lfo_synced_rate", "LFO Synced Rate", "", 0.0f, 21.0f, 1.0f, 1.0f, 5.0f, "1 BAR" },
    { "drive", "Drive", "%", 0.0f, 100.0f, 0.01f, 1.0f, 0.0f, "0.0 %" },
    { "shape", "Shape", "%", 0.0f, 100.0f, 0.01f, 1.0f, 50.0f, "50.0 %" },
    { "feedback", "Feedback", "%", 0.0f, 100.0f, 0.01f, 1.0f, 0.0f, "0.0 %" },
    { "filter_post", "Filter Pre/Post", "", 0.0f, 1.0f, 1.0f, 1.0f, 0.0f, "PRE" },
    { "out_gain", "Out Gain", "dB", -70.0f, 6.0f, 0.01f, 1.5f, 0.0f, "+0.0 dB" },
    { "dry_wet", "Dry/Wet", "%", 0.0f, 100.0f, 0.01f, 1.0f, 100.0f, "100.0 %" },
    { "filter_active", "Filter Active", "", 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, "ON" },
    { "distortion_active", "Distortion Active", "", 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, "ON" },
};

class ParameterSetTest : public ::testing::Test
{
protected:
    juce::RangedAudioParameter& parameterAt (int index)
    {
        auto* p = dynamic_cast<juce::RangedAudioParameter*> (processor.getParameters()[index]);
        EXPECT_NE (p, nullptr);
        return *p;
    }

    juce::String textAt (const char* id, float plainValue)
    {
        auto* p = processor.parameters.getParameter (id);
        return p->getText (p->convertTo0to1 (plainValue), 1024);
    }

    SombraxAudioProcessor processor;
};
} // namespace

TEST_F (ParameterSetTest, HostSeesTheTableInOrder)
{
    ASSERT_EQ (processor.getParameters().size(), 21);

    for (int i = 0; i < 21; ++i)
    {
        const auto& expected = expectedParameters[i];
        auto& p = parameterAt (i);
        SCOPED_TRACE (expected.id);

        EXPECT_EQ (p.paramID, expected.id);
        EXPECT_EQ (p.getName (1024), expected.name);
        EXPECT_EQ (p.getLabel(), expected.label);
        EXPECT_FLOAT_EQ (p.getNormalisableRange().start, expected.start);
        EXPECT_FLOAT_EQ (p.getNormalisableRange().end, expected.end);
        EXPECT_FLOAT_EQ (p.getNormalisableRange().interval, expected.interval);
        EXPECT_FLOAT_EQ (p.getNormalisableRange().skew, expected.skew);
        EXPECT_FALSE (p.getNormalisableRange().symmetricSkew);
        EXPECT_FLOAT_EQ (p.convertFrom0to1 (p.getDefaultValue()), expected.defaultValue);
        EXPECT_FLOAT_EQ (p.convertFrom0to1 (p.getValue()), expected.defaultValue);
        EXPECT_EQ (p.getCurrentValueAsText(), expected.defaultText);

        // Every parameter is a continuous, automatable float to the host.
        EXPECT_TRUE (p.isAutomatable());
        EXPECT_FALSE (p.isMetaParameter());
        EXPECT_FALSE (p.isDiscrete());
        EXPECT_FALSE (p.isBoolean());
        EXPECT_EQ (p.getCategory(), juce::AudioProcessorParameter::genericParameter);
    }
}

TEST_F (ParameterSetTest, IdMembersMatchTheParameters)
{
    const juce::String* ids[] = { &processor.filterCutoffParamID, &processor.filterResonanceParamID,
                                  &processor.filterCutoffModDepthParamID, &processor.lfoRateParamID,
                                  &processor.lfoHighRateParamID, &processor.lfoHighRateModeParamID,
                                  &processor.lfoWaveParamID, &processor.lpfGainParamID, &processor.hpfGainParamID,
                                  &processor.bpfGainParamID, &processor.notchGainParamID, &processor.lfoSyncParamID,
                                  &processor.lfoSyncedRateParamID, &processor.driveParamID, &processor.shapeParamID,
                                  &processor.feedbackParamID, &processor.filterPostParamID, &processor.outGainParamID,
                                  &processor.dryWetParamID, &processor.filterActiveParamID,
                                  &processor.distortionActiveParamID };

    for (int i = 0; i < 21; ++i)
        EXPECT_EQ (*ids[i], expectedParameters[i].id);
}

TEST_F (ParameterSetTest, SkewedRangesNormaliseAsTheHostSeesThem)
{
    EXPECT_NEAR (processor.parameters.getParameter ("filter_cutoff")->convertFrom0to1 (0.5f), 2810.0f, 0.5f);
    EXPECT_NEAR (processor.parameters.getParameter ("lpf_gain")->convertFrom0to1 (0.5f),
                 -70.0f + 70.0f * std::pow (0.5f, 1.0f / 1.5f), 0.01f);
    EXPECT_NEAR (processor.parameters.getParameter ("lpf_gain")->convertFrom0to1 (0.5f), -25.9f, 0.05f);
}

TEST_F (ParameterSetTest, SwitchAndChoiceTexts)
{
    EXPECT_EQ (textAt ("filter_post", 0.49f), "PRE");
    EXPECT_EQ (textAt ("filter_post", 0.5f), "POST");
    EXPECT_EQ (textAt ("filter_active", 0.49f), "OFF");
    EXPECT_EQ (textAt ("distortion_active", 0.5f), "ON");
    EXPECT_EQ (textAt ("lfo_sync", 1.0f), "1.0");
    EXPECT_EQ (textAt ("lfo_high_rate_mode", 1.0f), "1.0");

    EXPECT_EQ (textAt ("lfo_wave", 0.0f), "SINE");
    EXPECT_EQ (textAt ("lfo_wave", 2.0f), "SAW UP");
    EXPECT_EQ (textAt ("lfo_wave", 3.0f), "SAW DOWN");
    EXPECT_EQ (textAt ("lfo_wave", 5.0f), "RANDOM");
    EXPECT_EQ (textAt ("lfo_wave", 6.0f), "SMOOTH RANDOM");

    EXPECT_EQ (textAt ("lfo_synced_rate", 0.0f), "8 BARS");
    EXPECT_EQ (textAt ("lfo_synced_rate", 21.0f), "1/128");
}

TEST (ParameterText, NumberTextKeepsOneDecimalAndDropsTrailingZeros)
{
    EXPECT_EQ (oskv::numberText (50.0f, 2), "50.0");
    EXPECT_EQ (oskv::numberText (12.5f, 2), "12.5");
    EXPECT_EQ (oskv::numberText (12.34f, 2), "12.34");
    EXPECT_EQ (oskv::numberText (0.0f, 2), "0.0");
    EXPECT_EQ (oskv::numberText (100.0f, 2), "100.0");
    EXPECT_EQ (oskv::numberText (1.0f, 3), "1.0");
    EXPECT_EQ (oskv::numberText (0.001f, 3), "0.001");
    EXPECT_EQ (oskv::numberText (1.25f, 3), "1.25");
    EXPECT_EQ (oskv::numberText (0.05f, 2), "0.05");
    EXPECT_EQ (oskv::numberText (-6.02f, 2), "-6.02");
    EXPECT_EQ (oskv::numberText (-0.001f, 2), "-0.0");
    EXPECT_EQ (oskv::numberText (99.999f, 2), "100.0");
}

TEST (ParameterText, Decibels)
{
    EXPECT_EQ (oskv::getDecibelsParameterText (-70.0f), "-INF dB");
    EXPECT_EQ (oskv::getDecibelsParameterText (-80.0f), "-INF dB");
    EXPECT_EQ (oskv::getDecibelsParameterText (-69.99f), "-69.99 dB");
    EXPECT_EQ (oskv::getDecibelsParameterText (-6.02f), "-6.02 dB");
    EXPECT_EQ (oskv::getDecibelsParameterText (0.0f), "+0.0 dB");
    EXPECT_EQ (oskv::getDecibelsParameterText (6.0f), "+6.0 dB");
}

TEST (ParameterText, PercentAndHertz)
{
    EXPECT_EQ (oskv::getPercentParameterText (75.5f), "75.5 %");
    EXPECT_EQ (oskv::getPercentParameterText (0.0f), "0.0 %");
    EXPECT_EQ (oskv::getHertzParameterText (11000.0f), "11000 Hz");
    EXPECT_EQ (oskv::getHertzParameterText (60.0f), "60 Hz");
    EXPECT_EQ (oskv::getHertzParameterText (80.5f), "80 Hz");
    EXPECT_EQ (oskv::getHertzParameterText (81.5f), "82 Hz");
    EXPECT_EQ (oskv::getHertzWithDecimalsParameterText (1.0f), "1.0 Hz");
    EXPECT_EQ (oskv::getHertzWithDecimalsParameterText (0.125f), "0.125 Hz");
    EXPECT_EQ (oskv::getHertzWithDecimalsParameterText (20.0f), "20.0 Hz");
}

TEST (ParameterText, SyncedTimeTakesTheNearestEvenIndex)
{
    EXPECT_EQ (oskv::getExtendedSyncedTimeParameterText (5.0f), "1 BAR");
    EXPECT_EQ (oskv::getExtendedSyncedTimeParameterText (21.4f), "1/128");
    EXPECT_EQ (oskv::getExtendedSyncedTimeParameterText (21.5f), "");
    EXPECT_EQ (oskv::getExtendedSyncedTimeParameterText (-0.5f), "8 BARS");
    EXPECT_EQ (oskv::getExtendedSyncedTimeParameterText (-0.6f), "");
    EXPECT_EQ (oskv::getExtendedSyncedTimeParameterText (6.0f), "1/2d");
    EXPECT_EQ (oskv::getExtendedSyncedTimeParameterText (12.0f), "1/8d");
}

TEST (ParameterText, NearestIntegerHalvesToEven)
{
    EXPECT_EQ (oskv::nearestInteger (0.5f), 0);
    EXPECT_EQ (oskv::nearestInteger (1.5f), 2);
    EXPECT_EQ (oskv::nearestInteger (2.5f), 2);
    EXPECT_EQ (oskv::nearestInteger (-0.5f), 0);
    EXPECT_EQ (oskv::getExtendedSyncedTimeParameterText (std::numeric_limits<float>::quiet_NaN()), "");
    EXPECT_EQ (oskv::getExtendedSyncedTimeParameterText (1.0e30f), "");
}

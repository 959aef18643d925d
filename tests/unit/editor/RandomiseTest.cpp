// Randomise: what the draws set, what they leave alone, and the gestures the host sees.

#include "unit/editor/EditorActionsFixture.h"

#include <algorithm>

using editor_test::EditorActions;

namespace
{
const juce::StringArray filterGains { "lpf_gain", "hpf_gain", "bpf_gain", "notch_gain" };
const juce::StringArray untouched { "out_gain", "dry_wet", "filter_post", "filter_active", "distortion_active" };
} // namespace

TEST_F (EditorActions, RandomiseSetsOneFilterTypeKeepsOneOfDriveAndFeedbackLowAndLeavesTheRestAlone)
{
    const std::pair<const char*, float> kept[] = {
        { "out_gain", -12.0f }, { "dry_wet", 40.0f }, { "filter_post", 1.0f }, { "filter_active", 0.0f }, { "distortion_active", 0.0f }
    };

    for (const auto& [id, value] : kept)
        setPlain (id, value);

    processor->setCurrentPresetName ("Mine");

    for (juce::int64 seed = 1; seed <= 40; ++seed)
    {
        juce::Random random (seed);
        component->randomiseParameters (random);

        int open = 0, closed = 0;

        for (const auto& id : filterGains)
        {
            open += plain (id) == 0.0f ? 1 : 0;
            closed += plain (id) == -70.0f ? 1 : 0;
        }

        EXPECT_EQ (open, 1) << "seed " << seed;
        EXPECT_EQ (closed, 3) << "seed " << seed;
        EXPECT_LE (std::min (plain ("drive"), plain ("feedback")), 20.0f) << "seed " << seed;

        for (const auto& [id, value] : kept)
            EXPECT_FLOAT_EQ (plain (id), value) << id;

        EXPECT_EQ (presetName(), "Mine");
    }
}

TEST_F (EditorActions, RandomiseDrawsInTheOrderOfTheTable)
{
    const juce::int64 seed = 1234;
    juce::Random random (seed);
    component->randomiseParameters (random);

    // The same seed replayed step by step: each draw must land on its own parameter.
    juce::Random replay (seed);
    std::map<juce::String, float> expected;
    const int filterType = replay.nextInt (4);

    for (int i = 0; i < 4; ++i)
        expected[filterGains[i]] = i == filterType ? 1.0f : 0.0f;

    const bool driveLeads = replay.nextBool();
    const float first = replay.nextFloat(), second = replay.nextFloat();
    expected["drive"] = driveLeads ? first : first * 0.2f;
    expected["feedback"] = driveLeads ? second * 0.2f : second;

    const auto squared = [&replay] { const auto f = replay.nextFloat(); return f * f; };
    expected["filter_cutoff"] = squared();
    expected["filter_resonance"] = squared();
    expected["filter_cutoff_mod_depth"] = squared();
    expected["lfo_high_rate_mode"] = replay.nextBool() ? 1.0f : 0.0f;
    expected["lfo_sync"] = replay.nextBool() ? 1.0f : 0.0f;
    expected["lfo_rate"] = squared();
    expected["lfo_high_rate"] = squared();
    expected["lfo_synced_rate"] = replay.nextFloat();
    expected["lfo_wave"] = replay.nextFloat();
    expected["shape"] = replay.nextFloat();

    for (const auto& [id, value] : expected)
    {
        auto* parameter = processor->parameters.getParameter (id);
        // Through the range, as the parameter stores it (snapped to its interval).
        EXPECT_FLOAT_EQ (parameter->getValue(), parameter->convertTo0to1 (parameter->convertFrom0to1 (value))) << id;
    }
}

TEST_F (EditorActions, RandomiseSendsOneGesturePerParameterExceptUnderLive)
{
    persistence_test::HostView host (*processor);
    juce::Random random (7);
    component->randomiseParameters (random);

    EXPECT_EQ (host.changes.size(), 16u);
    EXPECT_EQ (host.gestureBegins.size(), 16u);

    for (const auto& [index, count] : host.gestureBegins)
    {
        EXPECT_EQ (count, 1);
        EXPECT_EQ (host.gestureEnds[index], 1);
    }

    for (const auto& id : untouched)
        EXPECT_EQ (host.changes.count (persistence_test::parameterIndex (*processor, id)), 0u) << id;

    // The button draws from a generator of its own.
    host.reset();
    component->isAbletonLive = true;
    component->buttonClicked (component->randomiseButton.get());

    EXPECT_EQ (host.changes.size(), 16u);
    EXPECT_TRUE (host.gestureBegins.empty());
    EXPECT_TRUE (host.gestureEnds.empty());
}

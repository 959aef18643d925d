// A value in a preset file or a state chunk that reads as NaN or infinity never reaches a
// parameter: the parameter takes its default, as if the file had no value for it. Any other
// text is read as the framework reads it.

#include "support/PersistenceTestSupport.h"

#include <cmath>

using namespace persistence_test;

namespace
{
enum class Source
{
    presetFile,
    stateChunk
};

void load (SombraxAudioProcessor& p, Source source, const std::map<juce::String, juce::String>& values)
{
    if (source == Source::presetFile)
    {
        const auto file = juce::File (oskv::PresetsManager::presetsFolderPath).getChildFile ("Odd.sbxp");
        writePresetFile (file, values, true);
        ASSERT_TRUE (oskv::PresetsManager::loadPreset (file, p.parameters).wasOk());
    }
    else
    {
        restore (p, chunkWithText (stateXml (values, true)));
    }
}

class NonFiniteValues : public ::testing::TestWithParam<std::tuple<Source, const char*>>
{
};

class DecimalValues : public ::testing::TestWithParam<std::tuple<Source, const char*>>
{
};

class TextValues : public ::testing::TestWithParam<std::tuple<Source, const char*, float>>
{
};
} // namespace

TEST_P (NonFiniteValues, ParameterTakesItsDefault)
{
    const auto [source, text] = GetParam();
    SombraxAudioProcessor p;
    setPlainValue (p, "drive", 50.0f);
    setPlainValue (p, "out_gain", -6.0f);

    load (p, source, { { "drive", text }, { "out_gain", text }, { "filter_cutoff", "440" } });

    EXPECT_FLOAT_EQ (plainValue (p, "drive"), 0.0f);
    EXPECT_FLOAT_EQ (plainValue (p, "out_gain"), 0.0f);
    EXPECT_FLOAT_EQ (plainValue (p, "filter_cutoff"), 440.0f) << "the other values still load";
    EXPECT_TRUE (std::isfinite (*p.parameters.getRawParameterValue ("drive")));
    EXPECT_EQ (p.parameters.state.getNumChildren(), 21);
}

INSTANTIATE_TEST_SUITE_P (Loads, NonFiniteValues,
                          ::testing::Combine (::testing::Values (Source::presetFile, Source::stateChunk),
                                              ::testing::Values ("nan", "NaN", "inf", "-inf", "1e999", "-1e999",
                                                                 "1e39", "-Infinity")));

TEST (NonFiniteValuesInOtherTags, NeverReachTheParameterWhoseIdTheyCarry)
{
    // The parameter state looks a value up by id alone, in a child of any tag.
    const juce::String text = "<Sombrax Extended_Sync=\"1\"><Other id=\"drive\" value=\"nan.25\"/></Sombrax>";

    for (auto source : { Source::presetFile, Source::stateChunk })
    {
        SombraxAudioProcessor p;
        setPlainValue (p, "drive", 50.0f);

        if (source == Source::presetFile)
        {
            const auto file = juce::File (oskv::PresetsManager::presetsFolderPath).getChildFile ("Other.sbxp");
            file.getParentDirectory().createDirectory();
            ASSERT_TRUE (file.replaceWithText (text));
            ASSERT_TRUE (p.loadPresetFile (file).wasOk());
        }
        else
        {
            restore (p, chunkWithText (text));
        }

        EXPECT_TRUE (std::isfinite (p.parameters.getParameter ("drive")->getValue()));
        EXPECT_FLOAT_EQ (plainValue (p, "drive"), 0.0f);
    }
}

TEST_P (DecimalValues, AreTakenAsWritten)
{
    const auto [source, text] = GetParam();
    SombraxAudioProcessor p;
    load (p, source, { { "drive", text } });
    EXPECT_FLOAT_EQ (plainValue (p, "drive"), 42.0f);
}

INSTANTIATE_TEST_SUITE_P (Loads, DecimalValues,
                          ::testing::Combine (::testing::Values (Source::presetFile, Source::stateChunk),
                                              ::testing::Values ("42", "42.0", "+42", "42.", " 42 ", "4.2e1", ".42E+2")));

// Text that starts with no number reads as 0, which the range then clamps; a number followed
// by other text reads as that number.
TEST_P (TextValues, AreReadAsTheFrameworkReadsThem)
{
    const auto [source, text, expected] = GetParam();
    SombraxAudioProcessor p;
    load (p, source, { { "filter_cutoff", text } });
    EXPECT_FLOAT_EQ (plainValue (p, "filter_cutoff"), expected);
}

INSTANTIATE_TEST_SUITE_P (Loads, TextValues,
                          ::testing::Combine (::testing::Values (Source::presetFile, Source::stateChunk),
                                              ::testing::Values ("text", "", "-", "0x10"),
                                              ::testing::Values (80.0f)));

INSTANTIATE_TEST_SUITE_P (LeadingNumber, TextValues,
                          ::testing::Combine (::testing::Values (Source::presetFile, Source::stateChunk),
                                              ::testing::Values ("440abc", "440e", "440 Hz"),
                                              ::testing::Values (440.0f)));

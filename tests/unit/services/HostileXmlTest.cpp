// Texts made to overflow or hang the framework's XML parser, through every way the plug-in
// reads XML. Each case runs in a child process on a small stack: a guard that lets one
// through crashes that child and fails the one test, not the test program.

#include "support/PersistenceTestSupport.h"
#include "support/SmallStack.h"
#include "services/ProgramChangeManager.h"
#include "services/StateXml.h"
#include "services/XmlParserWalk.h"

#include <cstdio>
#include <random>

using namespace persistence_test;

namespace
{
struct HostileText
{
    const char* name;
    juce::String text;
};

// Deep enough to overflow the small stack the checks run on, within the size limit.
juce::String deepNesting()
{
    constexpr int levels = 12000;
    return juce::String::repeatedString ("<a>", levels) + juce::String::repeatedString ("</a>", levels);
}

std::vector<HostileText> hostileTexts (const juce::String& root)
{
    const auto open = "<" + root + ">", close = "</" + root + ">", deep = deepNesting();

    return {
        // The parser takes a stray quote in a tag as an illegal character and reads on.
        { "quote", open + "<x '" + deep + close },
        { "double quote", open + "<x \"" + deep + close },
        { "quote after an attribute", open + "<x a=\"1\" '" + deep + close },
        { "plain nesting", open + deep + close },
        { "unclosed comment", open + "<!--" + deep + close },
        { "unclosed CDATA", open + "<![CDATA[" + deep + close },
        { "unclosed attribute value", open + "<x a=\"" + deep + close },
        // The parser loops for ever on an instruction followed by text inside an element.
        { "instruction then text", open + "<VALUE name=\"x\" val=\"1\"/><?x y?>text" + close },
    };
}

/** Runs every hostile text through a check on a small stack, in a child process that exits
    with 0 only when every check held. */
void expectEveryTextHandled (const std::vector<HostileText>& texts, const std::function<bool (const juce::String& text)>& check)
{
    GTEST_FLAG_SET (death_test_style, "threadsafe");

    EXPECT_EXIT (
        {
            int failures = 0;

            for (const auto& hostile : texts)
            {
                bool held = false;
                test_support::runOnSmallStack ([&] { held = check (hostile.text); });

                if (! held)
                {
                    std::fprintf (stderr, "not handled: %s\n", hostile.name);
                    ++failures;
                }
            }

            std::exit (failures == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode (0), "");
}

juce::File writeText (const juce::File& file, const juce::String& text)
{
    file.getParentDirectory().createDirectory();
    file.replaceWithText (text, false, false, "\n");
    return file;
}

juce::File preferencesFile()
{
    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory)
        .getChildFile ("Ostel_Kaverno")
        .getChildFile ("Sombrax.prefs");
}

float defaultDrive()
{
    SombraxAudioProcessor fresh;
    return fresh.parameters.getParameter ("drive")->convertFrom0to1 (fresh.parameters.getParameter ("drive")->getDefaultValue());
}
} // namespace

TEST (HostileXml, StateChunkIsRefusedAndChangesNothing)
{
    expectEveryTextHandled (hostileTexts ("Sombrax"), [] (const juce::String& text)
    {
        SombraxAudioProcessor processor;
        setPlainValue (processor, "drive", 42.0f);
        processor.setCurrentPresetName ("Mine");

        const auto chunk = chunkWithText (text);
        processor.setStateInformation (chunk.getData(), (int) chunk.getSize());

        return plainValue (processor, "drive") == 42.0f && processor.getCurrentPresetName() == "Mine";
    });
}

TEST (HostileXml, PresetFromTheListFailsAndChangesNothing)
{
    expectEveryTextHandled (hostileTexts ("Sombrax"), [] (const juce::String& text)
    {
        SombraxAudioProcessor processor;
        setPlainValue (processor, "drive", 42.0f);
        const auto file = writeText (juce::File (oskv::PresetsManager::presetsFolderPath).getChildFile ("Bad.sbxp"), text);

        return processor.loadPresetFile (file).failed() && plainValue (processor, "drive") == 42.0f;
    });
}

TEST (HostileXml, StartUpDefaultPresetLeavesTheDefaults)
{
    const auto expected = defaultDrive();

    expectEveryTextHandled (hostileTexts ("Sombrax"), [expected] (const juce::String& text)
    {
        writeText (oskv::PresetsManager().getDefaultPresetFile(), text);
        SombraxAudioProcessor processor;
        return plainValue (processor, "drive") == expected;
    });
}

TEST (HostileXml, ProgramChangePresetOnTheAudioThreadChangesNothing)
{
    expectEveryTextHandled (hostileTexts ("Sombrax"), [] (const juce::String& text)
    {
        writeText (oskv::ProgramChangeManager::getMidiPresetsFolder().getChildFile ("0 Bad.sbxp"), text);
        SombraxAudioProcessor processor;
        processor.prepareToPlay (44100.0, 32);
        setPlainValue (processor, "drive", 42.0f);

        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::programChange (1, 0), 0);
        processMidi (processor, midi);

        return plainValue (processor, "drive") == 42.0f && ! processor.isSuspended();
    });
}

TEST (HostileXml, MidiMapFileLeavesTheMapAsItWas)
{
    expectEveryTextHandled (hostileTexts (oskv::CCMapper::midiMapTag), [] (const juce::String& text)
    {
        SombraxAudioProcessor processor;
        const auto good = writeText (juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile ("good.mpcc"),
                                     "<" + oskv::CCMapper::midiMapTag + "><drive cc=\"7\"/></" + oskv::CCMapper::midiMapTag + ">");
        processor.ccMapper.loadMapFromFile (good);
        const auto before = processor.ccMapper.mapTree.toXmlString();

        processor.ccMapper.loadMapFromFile (writeText (good.getSiblingFile ("bad.mpcc"), text));

        return processor.ccMapper.mapTree.getNumChildren() == 1 && processor.ccMapper.mapTree.toXmlString() == before;
    });
}

TEST (HostileXml, PreferencesFileIsMovedAsideAndTheDefaultsUsed)
{
    // Also a value the framework would parse, unguarded, when it saves the preferences.
    auto texts = hostileTexts ("PROPERTIES");
    texts.push_back ({ "markup in a value",
                       "<PROPERTIES><VALUE name=\"x\" val=\"" + deepNesting() + "\"/></PROPERTIES>" });

    expectEveryTextHandled (texts, [] (const juce::String& text)
    {
        // The hostile part comes after a value the plug-in would otherwise take.
        const auto withValue = text.replaceFirstOccurrenceOf ("<PROPERTIES>", "<PROPERTIES><VALUE name=\"Animations_Enabled\" val=\"0\"/>");
        const auto file = writeText (preferencesFile(), withValue);
        const auto aside = file.getSiblingFile ("Sombrax.prefs.unreadable");
        aside.deleteFile();

        bool animations = false;
        {
            SombraxAudioProcessor processor;
            animations = processor.animationsEnabled && processor.preferences->getAllProperties().size() == 0;
            processor.preferences->setValue (processor.animationsEnabledKey, true);
            processor.preferences->save();
        }

        return animations && aside.loadFileAsString() == withValue;
    });
}

TEST (HostileXml, ReadablePreferencesAreKeptAndRead)
{
    writeText (preferencesFile(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                  "<PROPERTIES><VALUE name=\"Animations_Enabled\" val=\"0\"/></PROPERTIES>\n");
    SombraxAudioProcessor processor;

    EXPECT_FALSE (processor.animationsEnabled);
    EXPECT_FALSE (preferencesFile().getSiblingFile ("Sombrax.prefs.unreadable").exists());
}

TEST (HostileXml, DocumentsUpToTheLimitsLoad)
{
    // Nesting up to the depth limit, and siblings up to the size limit.
    const auto nested = juce::String::repeatedString ("<n>", oskv::StateXml::maxElementDepth - 1)
                        + juce::String::repeatedString ("</n>", oskv::StateXml::maxElementDepth - 1);
    const juce::String head ("<Sombrax Extended_Sync=\"1\"><PARAM id=\"drive\" value=\"77\"/>"), tail ("</Sombrax>");
    const auto sibling = "<x a=\"'" + juce::String::repeatedString ("v", 120) + "\"/>";
    const auto siblings = ((int) oskv::StateXml::maxTextBytes - head.length() - nested.length() - tail.length()) / sibling.length();
    const auto preset = head + juce::String::repeatedString (sibling, siblings) + nested + tail;
    ASSERT_GT (preset.getNumBytesAsUTF8(), oskv::StateXml::maxTextBytes - (size_t) sibling.length());

    SombraxAudioProcessor processor;
    const auto file = writeText (juce::File (oskv::PresetsManager::presetsFolderPath).getChildFile ("Big.sbxp"), preset);
    ASSERT_TRUE (processor.loadPresetFile (file).wasOk());
    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 77.0f);

    EXPECT_NE (oskv::StateXml::parseDocument ("<r>" + nested + "</r>"), nullptr) << "at the limit";
    EXPECT_EQ (oskv::StateXml::parseDocument ("<r><n>" + nested + "</n></r>"), nullptr) << "one level past it";

    // The parser's time grows with the square of the entities in one value.
    const auto valueOf = [] (int entities) { return "<r a=\"" + juce::String::repeatedString ("&amp;", entities) + "\"/>"; };
    EXPECT_NE (oskv::StateXml::parseDocument (valueOf (4096)), nullptr);
    EXPECT_EQ (oskv::StateXml::parseDocument (valueOf (4097)), nullptr);

    // And with the count of names: every new one shifts the framework's pool of names.
    const auto namesOf = [] (int names) { return "<r>" + juce::String::repeatedString ("<n/>", names - 1) + "</r>"; };
    EXPECT_NE (oskv::StateXml::parseDocument (namesOf (oskv::XmlParserWalk::maxNamesInOneText)), nullptr);
    EXPECT_EQ (oskv::StateXml::parseDocument (namesOf (oskv::XmlParserWalk::maxNamesInOneText + 1)), nullptr);
    EXPECT_EQ (oskv::StateXml::parseDocument ("<r" + juce::String::repeatedString (" a=\"\"", oskv::XmlParserWalk::maxNamesInOneText) + "/>"),
               nullptr);
}

TEST (HostileXml, TextsOverTheSizeLimitAreRefusedOnEveryPath)
{
    // Well-formed, and a single byte over the limit.
    const auto over = [] (const juce::String& tag, const juce::String& children)
    {
        const auto open = "<" + tag + " pad=\"", close = "\">" + children + "</" + tag + ">";
        const auto padding = (int) oskv::StateXml::maxTextBytes + 1 - open.length() - close.length();
        return open + juce::String::repeatedString ("p", padding) + close;
    };

    const auto state = over ("Sombrax", "<PARAM id=\"drive\" value=\"77\"/><Preset_Name Preset_Name=\"Big\"/>");
    ASSERT_EQ (state.getNumBytesAsUTF8(), oskv::StateXml::maxTextBytes + 1);
    EXPECT_EQ (oskv::StateXml::parseDocument (state), nullptr);
    EXPECT_NE (oskv::StateXml::parseDocument (state.replaceFirstOccurrenceOf ("pp", "p")), nullptr) << "one byte less";

    SombraxAudioProcessor processor;
    setPlainValue (processor, "drive", 42.0f);
    processor.setCurrentPresetName ("Mine");

    restore (processor, chunkWithText (state));
    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 42.0f);
    EXPECT_EQ (processor.getCurrentPresetName(), "Mine");

    const auto preset = writeText (juce::File (oskv::PresetsManager::presetsFolderPath).getChildFile ("Big.sbxp"), state);
    EXPECT_EQ (processor.loadPresetFile (preset).getErrorMessage(), "Invalid preset file supplied, could not load preset.");
    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 42.0f);

    const auto map = writeText (preset.getSiblingFile ("Big.mpcc"), over (oskv::CCMapper::midiMapTag, "<drive cc=\"7\"/>"));
    processor.ccMapper.loadMapFromFile (map);
    EXPECT_EQ (processor.ccMapper.mapTree.getNumChildren(), 0);

    const auto preferences = over ("PROPERTIES", "<VALUE name=\"Animations_Enabled\" val=\"0\"/>");
    writeText (preferencesFile(), preferences);
    SombraxAudioProcessor next;
    EXPECT_TRUE (next.animationsEnabled);
    EXPECT_EQ (preferencesFile().getSiblingFile ("Sombrax.prefs.unreadable").loadFileAsString(), preferences);
}

namespace
{
// Random layouts of the parser's tricky pieces around a run deep enough to overflow the small
// stack; whatever the guard lets through is parsed there. The exit code tells whether enough
// texts were accepted for the check to mean something.
int parseEveryAcceptedTextOnASmallStack()
{
    static const char* const pieces[] = { "<a>", "</a>", "<a/>", "<a ", "'", "\"", "=", " b=\"1\"", " ", "\n", ">",
                                          "/>", "<", "</", "<!--", "-->", "<![CDATA[", "]]>", "<?x?>", "<?", "?>",
                                          "<!x>", "text", "&amp;", "&#65;", "< a>", "<\xc3\xa9>", "<!DOCTYPE r>" };
    std::mt19937 random (20261207);
    const auto deep = juce::String::repeatedString ("<a>", 20000);
    int accepted = 0;

    for (int round = 0; round < 4000; ++round)
    {
        juce::String text;
        const auto count = 2 + (int) (random() % 12);
        const auto deepAt = (int) (random() % (unsigned) count);

        for (int i = 0; i < count; ++i)
        {
            if (i == deepAt)
                text << deep;

            text << juce::String::fromUTF8 (pieces[random() % std::size (pieces)]);
        }

        if (! oskv::StateXml::isSafeToParse (text))
            continue;

        ++accepted;
        test_support::runOnSmallStack ([&text] { juce::XmlDocument::parse (text); });
    }

    std::fprintf (stderr, "accepted %d\n", accepted);
    return accepted > 100 ? 0 : 1;
}
} // namespace

TEST (HostileXml, EveryTextTheGuardAcceptsParsesOnASmallStack)
{
    GTEST_FLAG_SET (death_test_style, "threadsafe");
    EXPECT_EXIT (std::exit (parseEveryAcceptedTextOnASmallStack()), ::testing::ExitedWithCode (0), "");
}

// The host state chunk: what getStateInformation writes and what setStateInformation
// makes of it, including old states and chunks that can't be read.

#include "support/PersistenceTestSupport.h"
#include "services/StateXml.h"

using namespace persistence_test;

namespace
{
class StateChunk : public ::testing::Test
{
protected:
    // Something of every kind the chunk carries, away from the defaults.
    void giveStateTo (SombraxAudioProcessor& p)
    {
        setPlainValue (p, "filter_cutoff", 1234.0f);
        setPlainValue (p, "drive", 37.5f);
        setPlainValue (p, "lfo_synced_rate", 5.0f);
        setPlainValue (p, "hpf_gain", -12.25f);
        p.ccMapper.lastCC = 7;
        p.ccMapper.assignToLastController ("lfo_rate");
        p.ccMapper.lastCC = 20;
        p.ccMapper.assignToLastController ("drive");
        p.setCurrentPresetName ("Bright Pad");
    }

    static juce::String mapText (SombraxAudioProcessor& p)
    {
        return p.ccMapper.createMapXml()->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
    }

    void expectUnchanged (SombraxAudioProcessor& p)
    {
        EXPECT_FLOAT_EQ (plainValue (p, "filter_cutoff"), 1234.0f);
        EXPECT_FLOAT_EQ (plainValue (p, "drive"), 37.5f);
        EXPECT_FLOAT_EQ (plainValue (p, "lfo_synced_rate"), 5.0f);
        EXPECT_EQ (p.ccMapper.mapTree.getNumChildren(), 2);
        EXPECT_EQ (p.getCurrentPresetName(), "Bright Pad");
    }

    SombraxAudioProcessor processor;
};

juce::String chunkText (const juce::MemoryBlock& chunk)
{
    return juce::String::fromUTF8 (static_cast<const char*> (chunk.getData()) + 8, (int) chunk.getSize() - 9);
}
} // namespace

TEST_F (StateChunk, RoundTripRestoresParametersMapAndNameWithoutRemap)
{
    giveStateTo (processor);
    const auto chunk = stateOf (processor);

    SombraxAudioProcessor restored;
    HostView host (restored);
    restore (restored, chunk);

    EXPECT_FLOAT_EQ (plainValue (restored, "filter_cutoff"), 1234.0f);
    EXPECT_FLOAT_EQ (plainValue (restored, "drive"), 37.5f);
    EXPECT_FLOAT_EQ (plainValue (restored, "hpf_gain"), -12.25f);
    EXPECT_FLOAT_EQ (plainValue (restored, "lfo_synced_rate"), 5.0f) << "a state with Extended_Sync is not remapped";
    EXPECT_EQ (host.gestureBegins[parameterIndex (restored, "lfo_synced_rate")], 0);
    EXPECT_EQ (mapText (restored), mapText (processor));
    EXPECT_EQ (restored.getCurrentPresetName(), "Bright Pad");
}

TEST_F (StateChunk, TheLargestStateThePluginWritesReadsBackFarWithinTheSizeLimit)
{
    // Every parameter bound to a controller and the longest name a preset file can give,
    // made of the characters the writer escapes.
    for (auto* parameter : processor.getParameters())
    {
        processor.ccMapper.lastCC = 127;
        processor.ccMapper.assignToLastController (dynamic_cast<juce::RangedAudioParameter*> (parameter)->paramID);
    }

    const auto name = juce::String::repeatedString ("&<>\"'", 51);
    processor.setCurrentPresetName (name);
    const auto chunk = stateOf (processor);
    EXPECT_LT (chunk.getSize(), oskv::StateXml::maxTextBytes / 16);

    SombraxAudioProcessor restored;
    restore (restored, chunk);
    EXPECT_EQ (restored.ccMapper.mapTree.getNumChildren(), 21);
    EXPECT_EQ (restored.getCurrentPresetName(), name);

    const auto folder = juce::File (oskv::PresetsManager::presetsFolderPath);
    ASSERT_TRUE (restored.savePresetFile (folder.getChildFile ("Full.sbxp"), true).wasOk());
    ASSERT_TRUE (restored.ccMapper.saveMapToFile (folder.getChildFile ("Full.mpcc")));
    EXPECT_TRUE (processor.loadPresetFile (folder.getChildFile ("Full.sbxp")).wasOk());
    processor.ccMapper.clearMap();
    processor.ccMapper.loadMapFromFile (folder.getChildFile ("Full.mpcc"));
    EXPECT_EQ (processor.ccMapper.mapTree.getNumChildren(), 21);
}

TEST_F (StateChunk, EnvelopeLengthAndTerminator)
{
    giveStateTo (processor);
    const auto chunk = stateOf (processor);
    const auto* bytes = static_cast<const juce::uint8*> (chunk.getData());

    ASSERT_GT (chunk.getSize(), 9u);
    EXPECT_EQ (juce::String::fromUTF8 ((const char*) bytes, 4), "VC2!");
    EXPECT_EQ (juce::ByteOrder::littleEndianInt (bytes + 4), (juce::uint32) chunk.getSize() - 9);
    EXPECT_EQ (bytes[chunk.getSize() - 1], 0);

    const auto text = chunkText (chunk);
    EXPECT_TRUE (text.startsWith ("<Sombrax ")) << "no XML declaration before the root";
    EXPECT_FALSE (text.containsAnyOf ("\r\n"));
    EXPECT_FALSE (text.containsChar (0));
}

TEST_F (StateChunk, RootHoldsParamsThenMapThenPresetName)
{
    giveStateTo (processor);
    auto xml = juce::parseXML (chunkText (stateOf (processor)));
    ASSERT_NE (xml, nullptr);

    EXPECT_EQ (xml->getTagName(), "Sombrax");
    EXPECT_EQ (xml->getStringAttribute ("Extended_Sync"), "1");

    const int n = xml->getNumChildElements();
    ASSERT_EQ (n, 23);

    for (int i = 0; i < 21; ++i)
        EXPECT_EQ (xml->getChildElement (i)->getTagName(), "PARAM");

    auto* map = xml->getChildElement (21);
    EXPECT_EQ (map->getTagName(), "Sombrax_MIDI_MAP");
    ASSERT_EQ (map->getNumChildElements(), 2);
    EXPECT_EQ (map->getChildElement (0)->getTagName(), "lfo_rate");
    EXPECT_EQ (map->getChildElement (0)->getIntAttribute ("cc"), 7);

    auto* name = xml->getChildElement (22);
    EXPECT_EQ (name->getTagName(), "Preset_Name");
    EXPECT_EQ (name->getStringAttribute ("Preset_Name"), "Bright Pad");
}

TEST_F (StateChunk, EmptyMapIsWrittenToo)
{
    auto xml = juce::parseXML (chunkText (stateOf (processor)));
    ASSERT_NE (xml, nullptr);
    auto* map = xml->getChildByName ("Sombrax_MIDI_MAP");
    ASSERT_NE (map, nullptr);
    EXPECT_EQ (map->getNumChildElements(), 0);
    EXPECT_EQ (xml->getChildByName ("Preset_Name")->getStringAttribute ("Preset_Name"), "INIT");
}

TEST_F (StateChunk, SavingMarksTheLiveTreeSoLaterPresetsCarryTheMark)
{
    ASSERT_FALSE (processor.parameters.state.hasProperty ("Extended_Sync"));
    stateOf (processor);
    EXPECT_EQ ((int) processor.parameters.state.getProperty ("Extended_Sync"), 1);

    const auto file = juce::File (oskv::PresetsManager::presetsFolderPath).getChildFile ("Marked.sbxp");
    ASSERT_TRUE (processor.savePresetFile (file, false).wasOk());
    EXPECT_TRUE (file.loadFileAsString().contains ("Extended_Sync=\"1\""));
}

TEST_F (StateChunk, ValuesSetSinceTheLastFlushAreSaved)
{
    // No message loop runs here, so only a save that flushes first sees this value.
    setPlainValue (processor, "feedback", 61.0f);
    SombraxAudioProcessor restored;
    restore (restored, stateOf (processor));
    EXPECT_FLOAT_EQ (plainValue (restored, "feedback"), 61.0f);
}

//==============================================================================
struct OldRate
{
    int stored, restored;
};

class OldStates : public ::testing::TestWithParam<OldRate>
{
};

TEST_P (OldStates, SyncedRateMovesToTheExtendedTable)
{
    SombraxAudioProcessor p;
    HostView host (p);
    const auto chunk = chunkWithText (stateXml ({ { "lfo_synced_rate", juce::String (GetParam().stored) + ".0" } }, false));
    restore (p, chunk);

    EXPECT_FLOAT_EQ (plainValue (p, "lfo_synced_rate"), (float) GetParam().restored);
    // Written back even when unchanged, with one gesture outside Ableton Live.
    const int index = parameterIndex (p, "lfo_synced_rate");
    EXPECT_EQ (host.gestureBegins[index], 1);
    EXPECT_EQ (host.gestureEnds[index], 1);
}

INSTANTIATE_TEST_SUITE_P (StateChunk, OldStates,
                          ::testing::Values (OldRate { 5, 8 }, OldRate { 1, 2 }, OldRate { 16, 20 },
                                             OldRate { 0, 0 }, OldRate { 17, 17 }, OldRate { 3, 5 }));

TEST_F (StateChunk, AnyMarkOtherThanOneCountsAsOld)
{
    const auto text = stateXml ({ { "lfo_synced_rate", "5" } }, false).replace ("<Sombrax>", "<Sombrax Extended_Sync=\"2\">");
    restore (processor, chunkWithText (text));
    EXPECT_FLOAT_EQ (plainValue (processor, "lfo_synced_rate"), 8.0f);
}

TEST_F (StateChunk, ParameterMissingFromTheChunkTakesItsDefault)
{
    setPlainValue (processor, "drive", 80.0f);
    restore (processor, chunkWithText (stateXml ({ { "filter_cutoff", "500" } }, true)));
    EXPECT_FLOAT_EQ (plainValue (processor, "filter_cutoff"), 500.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 0.0f);
    EXPECT_EQ (processor.parameters.state.getNumChildren(), 21);
}

TEST_F (StateChunk, ForeignRootIsStillAssigned)
{
    setPlainValue (processor, "shape", 10.0f);
    restore (processor, chunkWithText ("<Other><PARAM id=\"drive\" value=\"40\"/></Other>"));
    EXPECT_TRUE (processor.parameters.state.hasType ("Other"));
    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 40.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "shape"), 50.0f);
}

//==============================================================================
TEST_F (StateChunk, LengthBeyondTheDataIsCutToTheData)
{
    const auto text = stateXml ({ { "drive", "42" } }, true);
    restore (processor, chunkWithText (text, 100000, false));
    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 42.0f);
}

TEST_F (StateChunk, ShorterLengthCutsTheText)
{
    // Cut inside the root's start tag, the text is no XML any more.
    giveStateTo (processor);
    restore (processor, chunkWithText (stateXml ({ { "drive", "42" } }, true), 10));
    expectUnchanged (processor);
}

TEST_F (StateChunk, MapAndNameElementsInOtherLetterCase)
{
    giveStateTo (processor);
    restore (processor, chunkWithText (stateXml ({}, true, "<sombrax_midi_map><shape cc=\"3\"/></sombrax_midi_map>"
                                                           "<PRESET_NAME Preset_Name=\"Dusk\"/>")));

    ASSERT_EQ (processor.ccMapper.mapTree.getNumChildren(), 1);
    EXPECT_EQ (processor.ccMapper.mapTree.getChild (0).getType().toString(), "shape");
    EXPECT_EQ (processor.getCurrentPresetName(), "Dusk");
    EXPECT_EQ (processor.parameters.state.getNumChildren(), 21) << "both elements are taken out of the tree";
}

TEST_F (StateChunk, PresetNameAttributeMustBeSpelledExactly)
{
    giveStateTo (processor);
    restore (processor, chunkWithText (stateXml ({}, true, "<Preset_Name preset_name=\"Dusk\"/>")));
    EXPECT_EQ (processor.getCurrentPresetName(), "");
}

TEST_F (StateChunk, ChunkWithoutMapOrNameKeepsThem)
{
    giveStateTo (processor);
    restore (processor, chunkWithText (stateXml ({ { "drive", "10" } }, true)));
    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 10.0f);
    EXPECT_EQ (processor.ccMapper.mapTree.getNumChildren(), 2);
    EXPECT_EQ (processor.getCurrentPresetName(), "Bright Pad");
}

TEST_F (StateChunk, OnlyTheFirstMapAndNameAreTakenOut)
{
    restore (processor, chunkWithText (stateXml ({}, true, "<Sombrax_MIDI_MAP><drive cc=\"1\"/></Sombrax_MIDI_MAP>"
                                                           "<Sombrax_MIDI_MAP><shape cc=\"2\"/></Sombrax_MIDI_MAP>"
                                                           "<Preset_Name Preset_Name=\"A\"/><Preset_Name Preset_Name=\"B\"/>")));

    ASSERT_EQ (processor.ccMapper.mapTree.getNumChildren(), 1);
    EXPECT_EQ (processor.ccMapper.mapTree.getChild (0).getType().toString(), "drive");
    EXPECT_EQ (processor.getCurrentPresetName(), "A");
    EXPECT_TRUE (processor.parameters.state.getChildWithName ("Sombrax_MIDI_MAP").isValid());
    EXPECT_TRUE (processor.parameters.state.getChildWithName ("Preset_Name").isValid());
}

//==============================================================================
class UnreadableChunks : public StateChunk,
                         public ::testing::WithParamInterface<const char*>
{
protected:
    static juce::MemoryBlock chunkFor (const juce::String& kind)
    {
        const auto good = stateXml ({ { "drive", "99" } }, true, "<Preset_Name Preset_Name=\"X\"/>");

        if (kind == "eight bytes")      return chunkWithText ({}, 0, false);
        if (kind == "wrong magic")      { auto c = chunkWithText (good); static_cast<char*> (c.getData())[0] = 'W'; return c; }
        if (kind == "zero length")      return chunkWithText (good, 0);
        if (kind == "negative length")  { auto c = chunkWithText (good); static_cast<juce::uint8*> (c.getData())[7] = 0x80; return c; }
        if (kind == "not xml")          return chunkWithText ("this is no state at all");
        if (kind == "empty text")       return chunkWithText ("", 5);
        if (kind == "unclosed root")    return chunkWithText ("<Sombrax><PARAM id=\"drive\" value=\"99\"/>");
        // The framework's parser would loop forever on this one.
        if (kind == "instruction in content") return chunkWithText ("<Sombrax><?x?>text<PARAM id=\"drive\" value=\"99\"/></Sombrax>");

        if (kind == "not utf-8")
        {
            auto c = chunkWithText (good);
            static_cast<juce::uint8*> (c.getData())[20] = 0xff;
            return c;
        }

        if (kind == "truncated utf-8")
        {
            // A lead byte at the very end of the data, announcing bytes that aren't there.
            juce::MemoryBlock c;
            juce::MemoryOutputStream out (c, false);
            out.writeInt (0x21324356);
            out.writeInt (4);
            out.write ("<a>\xf0", 4);
            out.flush();
            return c;
        }

        if (kind == "deep nesting")
            return chunkWithText (juce::String::repeatedString ("<a>", 100000) + juce::String::repeatedString ("</a>", 100000));

        return {};
    }
};

TEST_P (UnreadableChunks, LeaveParametersMapAndNameAsTheyWere)
{
    giveStateTo (processor);
    stateOf (processor);
    const auto chunk = chunkFor (GetParam());
    ASSERT_GT (chunk.getSize(), 0u);

    restore (processor, chunk);

    expectUnchanged (processor);
    EXPECT_FALSE (processor.parameters.state.hasProperty ("Extended_Sync")) << "the mark is removed before reading";
}

INSTANTIATE_TEST_SUITE_P (StateChunk, UnreadableChunks,
                          ::testing::Values ("eight bytes", "wrong magic", "zero length", "negative length", "not xml",
                                             "empty text", "unclosed root", "instruction in content", "not utf-8", "truncated utf-8", "deep nesting"),
                          [] (const auto& info)
                          {
                              return juce::String (info.param).replaceCharacter (' ', '_').replaceCharacter ('-', '_').toStdString();
                          });

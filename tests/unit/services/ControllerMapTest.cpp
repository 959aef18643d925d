// The MIDI controller map: controller changes in a block move the parameters bound to them,
// and the map is learnt, cleared, saved and loaded.

#include "support/FileSizeLimit.h"
#include "support/PersistenceTestSupport.h"

using namespace persistence_test;

namespace
{
juce::MidiMessage cc (int controller, int value, int channel = 1)
{
    return juce::MidiMessage::controllerEvent (channel, controller, value);
}

class ControllerMap : public ::testing::Test
{
protected:
    void SetUp() override { processor.prepareToPlay (44100.0, 32); }

    void bind (const juce::String& mapXml)
    {
        auto xml = juce::parseXML (mapXml);
        ASSERT_NE (xml, nullptr);
        processor.ccMapper.loadMapFromXml (*xml);
    }

    float sentToHost (const juce::String& id) { return host.lastValue[parameterIndex (processor, id)]; }
    int gestures (const juce::String& id)     { return host.gestureBegins[parameterIndex (processor, id)]; }

    std::vector<std::pair<juce::String, int>> bindings()
    {
        std::vector<std::pair<juce::String, int>> result;

        for (const auto& child : processor.ccMapper.mapTree)
            result.emplace_back (child.getType().toString(), (int) child.getProperty ("cc"));

        return result;
    }

    SombraxAudioProcessor processor;
    HostView host { processor };
};

using Bindings = std::vector<std::pair<juce::String, int>>;
} // namespace

TEST_F (ControllerMap, ValuesScaleToTheUnitRange)
{
    bind ("<Sombrax_MIDI_MAP><drive cc=\"7\"/></Sombrax_MIDI_MAP>");

    processMidi (processor, controllers ({ cc (7, 0) }));
    EXPECT_EQ (sentToHost ("drive"), 0.0f);

    processMidi (processor, controllers ({ cc (7, 64) }));
    EXPECT_EQ (sentToHost ("drive"), 64.0f * 0.007874016f);

    processMidi (processor, controllers ({ cc (7, 127) }));
    EXPECT_EQ (sentToHost ("drive"), 1.0f);
    EXPECT_EQ (processor.parameters.getParameter ("drive")->getValue(), 1.0f);
}

TEST_F (ControllerMap, EveryChannelCounts)
{
    bind ("<Sombrax_MIDI_MAP><drive cc=\"7\"/></Sombrax_MIDI_MAP>");

    for (int channel : { 1, 9, 16 })
    {
        processMidi (processor, controllers ({ cc (7, channel, channel) }));
        EXPECT_EQ (sentToHost ("drive"), (float) channel * 0.007874016f) << "channel " << channel;
    }
}

TEST_F (ControllerMap, LaterValueOfAControllerIsAppliedOnceWithOneGesture)
{
    bind ("<Sombrax_MIDI_MAP><drive cc=\"7\"/><shape cc=\"7\"/></Sombrax_MIDI_MAP>");

    processMidi (processor, controllers ({ cc (7, 10), cc (7, 100, 3) }));

    for (const char* id : { "drive", "shape" })
    {
        const int index = parameterIndex (processor, id);
        EXPECT_EQ (host.changes[index], 1) << id;
        EXPECT_EQ (host.gestureBegins[index], 1) << id;
        EXPECT_EQ (host.gestureEnds[index], 1) << id;
        EXPECT_EQ (host.lastValue[index], 100.0f * 0.007874016f) << id;
    }
}

TEST_F (ControllerMap, OneControllerMovesEveryParameterBoundToIt)
{
    bind ("<Sombrax_MIDI_MAP><drive cc=\"20\"/><filter_cutoff cc=\"21\"/><dry_wet cc=\"20\"/></Sombrax_MIDI_MAP>");

    processMidi (processor, controllers ({ cc (20, 127) }));

    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 100.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "dry_wet"), 100.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "filter_cutoff"), 11000.0f);
    EXPECT_EQ (gestures ("filter_cutoff"), 0);
}

TEST_F (ControllerMap, Controller123IsNeitherRecordedNorApplied)
{
    bind ("<Sombrax_MIDI_MAP><drive cc=\"123\"/></Sombrax_MIDI_MAP>");

    processMidi (processor, controllers ({ cc (123, 127) }));

    EXPECT_EQ (processor.ccMapper.lastCC.load(), -1);
    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 0.0f);
    EXPECT_EQ (gestures ("drive"), 0);
}

TEST_F (ControllerMap, ControllersAroundTheModeMessagesWork)
{
    for (int controller : { 120, 121, 122, 124, 125, 126, 127 })
    {
        bind ("<Sombrax_MIDI_MAP><feedback cc=\"" + juce::String (controller) + "\"/></Sombrax_MIDI_MAP>");
        setPlainValue (processor, "feedback", 0.0f);

        processMidi (processor, controllers ({ cc (controller, 127) }));

        EXPECT_EQ (processor.ccMapper.lastCC.load(), controller);
        EXPECT_FLOAT_EQ (plainValue (processor, "feedback"), 100.0f) << controller;
    }
}

TEST_F (ControllerMap, UnboundControllersAreStillRecorded)
{
    processMidi (processor, controllers ({ cc (5, 1), cc (9, 1) }));
    EXPECT_EQ (processor.ccMapper.lastCC.load(), 9);

    processMidi (processor, {});
    EXPECT_EQ (processor.ccMapper.lastCC.load(), 9) << "kept across blocks";
}

TEST_F (ControllerMap, BindingsThatNameNoParameterAreSkipped)
{
    bind ("<Sombrax_MIDI_MAP><no_such_thing cc=\"7\"/><Drive cc=\"7\"/><drive cc=\"7\"/></Sombrax_MIDI_MAP>");

    processMidi (processor, controllers ({ cc (7, 127) }));

    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 100.0f);
    EXPECT_EQ (gestures ("drive"), 1) << "\"Drive\" is another ID: IDs compare case-sensitively";
}

TEST_F (ControllerMap, BindingWithoutNumberAnswersControllerZero)
{
    bind ("<Sombrax_MIDI_MAP><drive/></Sombrax_MIDI_MAP>");
    processMidi (processor, controllers ({ cc (0, 127) }));
    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 100.0f);
}

TEST_F (ControllerMap, MalformedMessagesAreIgnored)
{
    bind ("<Sombrax_MIDI_MAP><drive cc=\"7\"/></Sombrax_MIDI_MAP>");

    juce::MidiBuffer midi;
    const juce::uint8 valueWithTopBit[] = { 0xb0, 7, 0xff };
    const juce::uint8 tooShort[] = { 0xb0, 7 };
    midi.addEvent (valueWithTopBit, 3, 0);
    midi.addEvent (tooShort, 2, 1);
    processMidi (processor, midi);

    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 0.0f);
    EXPECT_EQ (processor.ccMapper.lastCC.load(), -1);
}

//==============================================================================
TEST_F (ControllerMap, LearningBindsToTheLastControllerReceived)
{
    processMidi (processor, controllers ({ cc (30, 0) }));
    processor.ccMapper.assignToLastController ("shape");
    processor.ccMapper.assignToLastController ("drive");

    processMidi (processor, controllers ({ cc (31, 0) }));
    processor.ccMapper.assignToLastController ("shape");

    EXPECT_EQ (bindings(), (Bindings { { "shape", 31 }, { "drive", 30 } })) << "a learnt-again binding keeps its place";

    processMidi (processor, controllers ({ cc (31, 127) }));
    EXPECT_FLOAT_EQ (plainValue (processor, "shape"), 100.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 0.0f);
}

TEST_F (ControllerMap, LearningBeforeAnyControllerAnswersNone)
{
    processor.ccMapper.assignToLastController ("drive");
    EXPECT_EQ (bindings(), (Bindings { { "drive", -1 } }));

    processMidi (processor, controllers ({ cc (0, 127), cc (127, 127) }));
    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 0.0f);
}

TEST_F (ControllerMap, RemovingABindingStopsIt)
{
    bind ("<Sombrax_MIDI_MAP><drive cc=\"7\"/><shape cc=\"7\"/></Sombrax_MIDI_MAP>");
    processor.ccMapper.removeBinding ("drive");
    processor.ccMapper.removeBinding ("feedback");

    EXPECT_EQ (bindings(), (Bindings { { "shape", 7 } }));
    processMidi (processor, controllers ({ cc (7, 127) }));
    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 0.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "shape"), 100.0f);
}

TEST_F (ControllerMap, EditsMadeDirectlyOnTheTreeReachTheAudioThread)
{
    // The MIDI-learn manager edits mapTree itself.
    juce::ValueTree binding ("feedback");
    binding.setProperty ("cc", 44, nullptr);
    processor.ccMapper.mapTree.appendChild (binding, nullptr);

    processMidi (processor, controllers ({ cc (44, 127) }));
    EXPECT_FLOAT_EQ (plainValue (processor, "feedback"), 100.0f);

    binding.setProperty ("cc", 45, nullptr);
    processMidi (processor, controllers ({ cc (44, 0) }));
    EXPECT_FLOAT_EQ (plainValue (processor, "feedback"), 100.0f);
    processMidi (processor, controllers ({ cc (45, 0) }));
    EXPECT_FLOAT_EQ (plainValue (processor, "feedback"), 0.0f);

    processor.ccMapper.mapTree.removeAllChildren (nullptr);
    processMidi (processor, controllers ({ cc (45, 127) }));
    EXPECT_FLOAT_EQ (plainValue (processor, "feedback"), 0.0f);
}

TEST_F (ControllerMap, RestoredStateBringsItsBindingsToTheAudioThread)
{
    restore (processor, chunkWithText (stateXml ({}, true, "<Sombrax_MIDI_MAP><drive cc=\"11\"/></Sombrax_MIDI_MAP>")));
    processMidi (processor, controllers ({ cc (11, 127) }));
    EXPECT_FLOAT_EQ (plainValue (processor, "drive"), 100.0f);
}

//==============================================================================
TEST (ControllerMapXml, TagIsComparedIgnoringCase)
{
    oskv::CCMapper mapper;
    mapper.loadMapFromXml (*juce::parseXML ("<sombrax_midi_map><drive cc=\"3\"/></sombrax_midi_map>"));
    ASSERT_EQ (mapper.mapTree.getNumChildren(), 1);

    mapper.loadMapFromXml (*juce::parseXML ("<Sombrax_MAP><shape cc=\"4\"/></Sombrax_MAP>"));
    ASSERT_EQ (mapper.mapTree.getNumChildren(), 1);
    EXPECT_EQ (mapper.mapTree.getChild (0).getType().toString(), "drive");
}

TEST (ControllerMapXml, NewMapperIsEmptyAndHasHeardNothing)
{
    oskv::CCMapper mapper;
    EXPECT_TRUE (mapper.mapTree.hasType ("Sombrax_MIDI_MAP"));
    EXPECT_EQ (mapper.mapTree.getNumChildren(), 0);
    EXPECT_EQ (mapper.lastCC.load(), -1);
    EXPECT_EQ (oskv::CCMapper::ccValueProperty, "cc");
    EXPECT_EQ (oskv::CCMapper::wildcardForFileChooser(), "*.mpcc");
}

//==============================================================================
class MapFiles : public ControllerMap
{
protected:
    juce::File folder { juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile ("maps") };
    void SetUp() override
    {
        ControllerMap::SetUp();
        ASSERT_TRUE (folder.createDirectory().wasOk());
    }
};

TEST_F (MapFiles, SavedMapReloadsToTheSameBindingsInOrder)
{
    bind ("<Sombrax_MIDI_MAP><shape cc=\"9\"/><drive cc=\"-1\"/><lfo_rate cc=\"100\"/></Sombrax_MIDI_MAP>");
    const auto before = bindings();
    const auto file = folder.getChildFile ("Live set");
    ASSERT_TRUE (processor.ccMapper.saveMapToFile (file));
    EXPECT_TRUE (file.existsAsFile()) << "no extension is added";

    processor.ccMapper.clearMap();
    EXPECT_TRUE (bindings().empty());

    processor.ccMapper.loadMapFromFile (file);
    EXPECT_EQ (bindings(), before);

    processMidi (processor, controllers ({ cc (100, 127) }));
    EXPECT_FLOAT_EQ (plainValue (processor, "lfo_rate"), 20.0f);
}

TEST_F (MapFiles, FileIsTheFrameworksXmlDocument)
{
    bind ("<Sombrax_MIDI_MAP><shape cc=\"9\"/></Sombrax_MIDI_MAP>");
    const auto file = folder.getChildFile ("one.mpcc");
    ASSERT_TRUE (processor.ccMapper.saveMapToFile (file));

    EXPECT_EQ (file.loadFileAsString(),
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n"
               "<Sombrax_MIDI_MAP>\r\n  <shape cc=\"9\"/>\r\n</Sombrax_MIDI_MAP>\r\n");
}

TEST_F (MapFiles, FilesThatAreNoMapLeaveTheMap)
{
    bind ("<Sombrax_MIDI_MAP><shape cc=\"9\"/></Sombrax_MIDI_MAP>");
    const auto before = bindings();

    const auto notXml = folder.getChildFile ("notes.mpcc");
    ASSERT_TRUE (notXml.replaceWithText ("shape = 9"));
    const auto otherRoot = folder.getChildFile ("preset.mpcc");
    ASSERT_TRUE (otherRoot.replaceWithText ("<Sombrax><PARAM id=\"drive\" value=\"1\"/></Sombrax>"));
    const auto binary = folder.getChildFile ("binary.mpcc");
    ASSERT_TRUE (binary.replaceWithData ("\xff\xfe\x00<\x00", 5));

    for (const auto& file : { notXml, otherRoot, binary, folder.getChildFile ("missing.mpcc"), folder })
    {
        processor.ccMapper.loadMapFromFile (file);
        EXPECT_EQ (bindings(), before) << file.getFileName();
    }
}

TEST_F (MapFiles, UnwritableTargetFails)
{
    bind ("<Sombrax_MIDI_MAP><shape cc=\"9\"/></Sombrax_MIDI_MAP>");
    EXPECT_FALSE (processor.ccMapper.saveMapToFile (folder.getChildFile ("no such folder").getChildFile ("x.mpcc")));
}

TEST_F (MapFiles, DiskFillingUpDuringASaveKeepsTheOldFile)
{
    bind ("<Sombrax_MIDI_MAP><shape cc=\"9\"/><drive cc=\"10\"/><lfo_rate cc=\"100\"/><filter_cutoff cc=\"7\"/></Sombrax_MIDI_MAP>");
    const auto file = folder.getChildFile ("live.mpcc");
    ASSERT_TRUE (processor.ccMapper.saveMapToFile (file));
    const auto newSize = (rlim_t) file.getSize();

    const juce::String old ("<Sombrax_MIDI_MAP/>\r\n");
    ASSERT_TRUE (file.replaceWithText (old, false, false, nullptr));
    const auto namesBefore = test_support::fileNamesIn (folder);

    // Room for the old file, not for the new one.
    const auto exitCode = test_support::runWithFileSizeLimit (newSize - 20, [&]
    {
        return processor.ccMapper.saveMapToFile (file) ? 1 : 0;
    });

    EXPECT_EQ (exitCode, 0) << "the save must fail";
    EXPECT_EQ (file.loadFileAsString(), old);
    EXPECT_EQ (test_support::fileNamesIn (folder), namesBefore);
}

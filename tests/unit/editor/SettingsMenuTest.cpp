// The settings menu: its items, and each of its ten actions run through the action function.

#include "unit/editor/EditorActionsFixture.h"

#include "services/PluginCrashLogger.h"
#include "support/MainComponentTestSupport.h"

using editor_test::EditorActions;

namespace
{
juce::String describe (const juce::PopupMenu& menu)
{
    juce::StringArray lines;

    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
    {
        const auto& item = it.getItem();
        juce::String line;
        line << item.itemID << " " << item.text;

        if (! item.isEnabled)
            line << " (disabled)";

        if (item.isTicked)
            line << " (ticked)";

        if (item.isSeparator)
            line << "separator";

        if (item.subMenu != nullptr)
            line << " [" << describe (*item.subMenu) << "]";

        lines.add (line);
    }

    return lines.joinIntoString (", ");
}

int countOf (const juce::String& text, const juce::String& part)
{
    int count = 0;

    for (int i = text.indexOf (part); i >= 0; i = text.indexOf (i + 1, part))
        ++count;

    return count;
}
} // namespace

TEST_F (EditorActions, SettingsMenuListsItsItemsWithTheTickAndTheTitleLast)
{
    processor->animationsEnabled = true;
    EXPECT_EQ (describe (component->createSettingsMenu()),
               "1 UNDO, 2 REDO, 3 INITIALIZE PARAMETERS, 4 SAVE CURRENT STATE AS DEFAULT, "
               "0 MIDI MAP [5 CLEAR, 6 SAVE, 7 LOAD], 8 ENABLE ANIMATIONS (ticked), "
               "9 OPEN PRESETS DIRECTORY, 10 GO TO CRASH LOG, -10 SOMBRAX V 1.3.0 (disabled)");

    component->settingsMenuChosen (MainComponent::animationsItem);
    EXPECT_TRUE (describe (component->createSettingsMenu()).contains ("8 ENABLE ANIMATIONS, "));

    const auto options = component->createSettingsMenuOptions();
    EXPECT_EQ (options.getTargetComponent(), component->settingsMenuButton.get());
    EXPECT_EQ (options.getItemThatMustBeVisible(), 1);
    EXPECT_EQ (options.getMinimumWidth(), 40);
}

TEST_F (EditorActions, UndoRedoAndInitialise)
{
    auto& undoManager = processor->undoManager;
    processor->parameters.flushValuesToTree();
    undoManager.beginNewTransaction();
    setPlain ("drive", 40.0f);
    processor->parameters.flushValuesToTree();

    component->settingsMenuChosen (MainComponent::undoItem);
    EXPECT_FLOAT_EQ (plain ("drive"), 0.0f);
    component->settingsMenuChosen (MainComponent::redoItem);
    EXPECT_FLOAT_EQ (plain ("drive"), 40.0f);

    // Nothing for the title, a dismissed menu, or a button that is none of the six.
    component->settingsMenuChosen (MainComponent::productTitleItem);
    component->settingsMenuChosen (0);
    component->buttonClicked (component->routingButton.get());
    EXPECT_FLOAT_EQ (plain ("drive"), 40.0f);

    setPlain ("filter_cutoff", 500.0f);
    setPlain ("filter_active", 0.0f);
    persistence_test::HostView host (*processor);
    component->settingsMenuChosen (MainComponent::initialiseItem);

    for (auto* parameter : processor->getParameters())
    {
        const auto index = parameter->getParameterIndex();
        EXPECT_FLOAT_EQ (parameter->getValue(), parameter->getDefaultValue()) << index;
        EXPECT_EQ (host.gestureBegins[index], 1) << index;
        EXPECT_EQ (host.gestureEnds[index], 1) << index;
    }

    EXPECT_FLOAT_EQ (plain ("drive"), 0.0f);
    EXPECT_FLOAT_EQ (plain ("filter_cutoff"), 11000.0f);
}

// A knob drag opens its own transaction (as the slider attachment does) and its last values
// may still wait for the next flush when RANDOMISE or INITIALIZE PARAMETERS is chosen.
TEST_F (EditorActions, RandomiseAndInitialiseAreEachOneUndoStepOfTheirOwn)
{
    const std::pair<const char*, std::function<void()>> actions[] = {
        { "randomise", [this] { juce::Random random (99); component->randomiseParameters (random); } },
        { "initialise", [this] { component->settingsMenuChosen (MainComponent::initialiseItem); } }
    };

    const auto plainValues = [this]
    {
        std::vector<float> values;

        for (auto* parameter : processor->getParameters())
            values.push_back (dynamic_cast<juce::RangedAudioParameter&> (*parameter).convertFrom0to1 (parameter->getValue()));

        return values;
    };

    const auto expectValues = [&plainValues] (const std::vector<float>& expected, const char* action, const char* when)
    {
        const auto values = plainValues();

        for (size_t i = 0; i < values.size(); ++i)
            EXPECT_FLOAT_EQ (values[i], expected[i]) << action << ", " << when << ", parameter " << i;
    };

    for (const auto& [name, action] : actions)
    {
        processor->undoManager.beginNewTransaction();
        setPlain ("drive", 40.0f);
        processor->parameters.flushValuesToTree();
        const auto beforeDrag = plainValues();

        processor->undoManager.beginNewTransaction();
        setPlain ("filter_cutoff", 2000.0f);
        setPlain ("filter_cutoff", 500.0f);
        const auto afterDrag = plainValues();

        action();
        const auto afterAction = plainValues();
        ASSERT_NE (plain ("filter_cutoff"), 500.0f) << name;

        component->settingsMenuChosen (MainComponent::undoItem);
        expectValues (afterDrag, name, "after undo");
        component->settingsMenuChosen (MainComponent::redoItem);
        expectValues (afterAction, name, "after redo");
        component->settingsMenuChosen (MainComponent::undoItem);
        component->settingsMenuChosen (MainComponent::undoItem);
        expectValues (beforeDrag, name, "after undoing the drag");
    }
}

TEST_F (EditorActions, SaveAsDefaultWritesTheUserDefaultPresetOrReportsWhy)
{
    const auto file = oskv::PresetsManager().getDefaultPresetFile();
    setPlain ("drive", 25.0f);
    processor->setCurrentPresetName ("Mine");

    component->settingsMenuChosen (MainComponent::saveDefaultPresetItem);
    ASSERT_TRUE (file.existsAsFile());
    EXPECT_TRUE (file.loadFileAsString().contains ("Extended_Sync=\"1\""));
    EXPECT_EQ (presetName(), "Mine");
    EXPECT_TRUE (failures.isEmpty());

    // The next start of the plug-in begins with it.
    reopenPlugin();
    EXPECT_EQ (presetName(), "User_Default");
    EXPECT_FLOAT_EQ (plain ("drive"), 25.0f);

    // A folder in the file's place cannot be replaced.
    ASSERT_TRUE (file.deleteFile());
    ASSERT_TRUE (file.getChildFile ("inside.txt").create().wasOk());
    component->settingsMenuChosen (MainComponent::saveDefaultPresetItem);
    ASSERT_EQ (failures.size(), 1);
    EXPECT_TRUE (failures[0].contains (file.getFullPathName()));
    EXPECT_TRUE (failures[0].contains ("Could not write preset to file."));
}

TEST_F (EditorActions, DefaultSavedAndChosenFromTheListKeepsTheSyncedRate)
{
    // A fresh instance's tree carries no mark before the host first reads its state.
    processor->parameters.state.removeProperty ("Extended_Sync", nullptr);
    setPlain ("lfo_synced_rate", 5.0f);
    component->settingsMenuChosen (MainComponent::saveDefaultPresetItem);

    setPlain ("lfo_synced_rate", 0.0f);
    const auto names = component->createPresetNamesArray();
    component->loadPreset (names, names.indexOf ("User_Default"));
    EXPECT_FLOAT_EQ (plain ("lfo_synced_rate"), 5.0f);
    EXPECT_TRUE (failures.isEmpty());
}

TEST_F (EditorActions, MidiMapClearSaveAndLoad)
{
    auto& map = processor->ccMapper.mapTree;
    const auto bind = [&map] (const char* id, int cc) { map.appendChild (juce::ValueTree (id).setProperty ("cc", cc, nullptr), nullptr); };
    bind ("drive", 20);
    bind ("filter_cutoff", 21);
    const auto bindings = map.toXmlString();

    const auto mapFile = juce::File::getSpecialLocation (juce::File::userDocumentsDirectory).getChildFile ("Mine");
    ASSERT_TRUE (mapFile.getParentDirectory().createDirectory().wasOk());
    component->saveMidiMapTo (mapFile);
    ASSERT_TRUE (mapFile.existsAsFile());

    component->settingsMenuChosen (MainComponent::clearMidiMapItem);
    EXPECT_EQ (map.getNumChildren(), 0);

    component->loadMidiMapFrom (mapFile);
    EXPECT_EQ (map.toXmlString(), bindings);

    // Files the readers turn away change nothing, even when they look like a map.
    const auto junk = mapFile.getSiblingFile ("Junk.mpcc");
    const char badUtf8[] = "<Sombrax_MIDI_MAP><drive cc=\"1\" note=\"\xc0\xaf\"/></Sombrax_MIDI_MAP>";
    const juce::String texts[] = {
        "not xml at all",
        "<Other><drive cc=\"1\"/></Other>",
        "<Sombrax_MIDI_MAP><drive cc=\"1\" note=\"&#12\"/></Sombrax_MIDI_MAP>",
        "<Sombrax_MIDI_MAP>" + juce::String::repeatedString ("<a>", 100) + juce::String::repeatedString ("</a>", 100) + "</Sombrax_MIDI_MAP>",
    };

    for (const auto& text : texts)
    {
        ASSERT_TRUE (junk.replaceWithText (text));
        component->loadMidiMapFrom (junk);
        EXPECT_EQ (map.toXmlString(), bindings) << text;
    }

    ASSERT_TRUE (junk.replaceWithData (badUtf8, sizeof (badUtf8) - 1));
    component->loadMidiMapFrom (junk);
    EXPECT_EQ (map.toXmlString(), bindings);
    EXPECT_TRUE (failures.isEmpty());

    // A write that fails says so.
    component->saveMidiMapTo (junk.getChildFile ("Map.mpcc"));
    ASSERT_EQ (failures.size(), 1);
    EXPECT_TRUE (failures[0].contains (junk.getChildFile ("Map.mpcc").getFullPathName()));
}

TEST_F (EditorActions, AnimationsSwitchIsRememberedAcrossSessions)
{
    ASSERT_TRUE (processor->animationsEnabled);
    auto& repaints = *new editor_test::RepaintRecorder();
    component->setCachedComponentImage (&repaints);
    repaints.areas.clear();

    component->settingsMenuChosen (MainComponent::animationsItem);
    EXPECT_FALSE (processor->animationsEnabled);
    EXPECT_FALSE (processor->preferences->getBoolValue (processor->animationsEnabledKey, true));
    ASSERT_EQ (repaints.areas.size(), 1u);
    EXPECT_EQ (repaints.areas[0], component->layout.levelDisplayArea);

    reopenPlugin();
    EXPECT_FALSE (processor->animationsEnabled);

    component->settingsMenuChosen (MainComponent::animationsItem);
    reopenPlugin();
    EXPECT_TRUE (processor->animationsEnabled);
}

TEST_F (EditorActions, PresetsFolderAndCrashLogAreShown)
{
    component->settingsMenuChosen (MainComponent::openPresetsFolderItem);
    ASSERT_EQ (revealed.size(), 1);
    EXPECT_EQ (revealed[0], presetsFolder.getFullPathName());

    const auto logFile = oskv::PluginCrashLogger::getLogFile();

    for (int use = 1; use <= 2; ++use)
    {
        component->settingsMenuChosen (MainComponent::crashLogItem);
        const auto log = logFile.loadFileAsString();
        EXPECT_EQ (countOf (log, "\r\nOstel Kaverno Sombrax\r\nLog started: "), use);
        EXPECT_EQ (countOf (log, "Sombrax v 1.3.0\r\n"), use);
        EXPECT_EQ (countOf (log, "\r\nMemory : "), use);
        ASSERT_EQ (revealed.size(), use + 1);
        EXPECT_EQ (revealed[use], logFile.getFullPathName());
    }
}

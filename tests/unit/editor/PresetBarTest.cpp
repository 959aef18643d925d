// The preset bar: the list, previous and next, and saving, with files in the temporary HOME.

#include "unit/editor/EditorActionsFixture.h"

#include "services/ProgramChangeManager.h"
#include "toolkit_ui/OskvColours.h"

using editor_test::EditorActions;

namespace
{
struct ListedItem
{
    int id;
    juce::String text;
    juce::Colour colour;
};

std::vector<ListedItem> itemsOf (const juce::PopupMenu& menu)
{
    std::vector<ListedItem> items;

    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
    {
        const auto& item = it.getItem();
        EXPECT_TRUE (item.isEnabled);
        EXPECT_FALSE (item.isTicked);
        items.push_back ({ item.itemID, item.text, item.colour });
    }

    return items;
}

std::vector<juce::String> colouredEntries (const juce::PopupMenu& menu)
{
    std::vector<juce::String> coloured;

    for (const auto& item : itemsOf (menu))
        if (item.colour != juce::Colour())
            coloured.push_back (item.text);

    return coloured;
}
} // namespace

TEST_F (EditorActions, ListHoldsThePresetFilesInNaturalOrderAndColoursTheCurrentOne)
{
    writePreset ("10 Pad.sbxp", 10.0f);
    writePreset ("2 Bass.sbxp", 20.0f);
    writePreset ("Lead.sbxp", 30.0f);
    writePreset ("a.b.sbxp", 40.0f);
    writePreset (".hidden.sbxp", 50.0f);
    ASSERT_TRUE (presetFile ("notes.txt").replaceWithText ("x"));
    ASSERT_TRUE (presetFile ("Folder.sbxp").createDirectory().wasOk());
    writePreset ("MIDI/Program.sbxp", 60.0f);

    const auto names = component->createPresetNamesArray();
    EXPECT_EQ (names.size(), 5);
    EXPECT_TRUE (names.contains (".hidden"));
    auto visible = names;
    visible.removeString (".hidden");
    EXPECT_EQ (visible.joinIntoString ("|"), "2 Bass|10 Pad|a.b|Lead");

    processor->setCurrentPresetName ("Lead");
    const auto menu = component->createPresetListMenu (names);
    const auto items = itemsOf (menu);
    ASSERT_EQ ((int) items.size(), names.size());

    for (int i = 0; i < names.size(); ++i)
    {
        EXPECT_EQ (items[(size_t) i].id, i + 1);
        EXPECT_EQ (items[(size_t) i].text, names[i]);
    }

    EXPECT_EQ (colouredEntries (menu), std::vector<juce::String> { "Lead" });
    EXPECT_EQ (items[(size_t) names.indexOf ("Lead")].colour, oskv::OskvColours::blue);

    // The factory name and a name differing only in case match no entry.
    for (const auto* current : { "INIT", "lead" })
    {
        processor->setCurrentPresetName (current);
        EXPECT_TRUE (colouredEntries (component->createPresetListMenu (names)).empty()) << current;
    }

    const auto options = component->createPresetListMenuOptions();
    EXPECT_EQ (options.getTargetComponent(), component->presetNameButton.get());
    EXPECT_EQ (options.getItemThatMustBeVisible(), 1);
    EXPECT_EQ (options.getMinimumWidth(), 40);
    EXPECT_EQ (options.getMaximumNumColumns(), 4);

    // A missing folder lists nothing.
    ASSERT_TRUE (presetsFolder.deleteRecursively());
    EXPECT_TRUE (component->createPresetNamesArray().isEmpty());
}

TEST_F (EditorActions, ChoosingFromTheListLoadsThePresetAndTakesItsName)
{
    writePreset ("One.sbxp", 10.0f);
    writePreset ("Two.v2.sbxp", 20.0f);
    const auto names = component->createPresetNamesArray();

    component->presetListChosen (names, 0);
    EXPECT_EQ (presetName(), "INIT");
    EXPECT_FLOAT_EQ (plain ("drive"), 0.0f);

    component->presetListChosen (names, 2);
    EXPECT_EQ (presetName(), "Two.v2");
    EXPECT_FLOAT_EQ (plain ("drive"), 20.0f);
    EXPECT_TRUE (failures.isEmpty());
}

TEST_F (EditorActions, PreviousAndNextWrapAroundTheList)
{
    writePreset ("A.sbxp", 10.0f);
    writePreset ("B.c.sbxp", 20.0f);
    writePreset ("C.sbxp", 30.0f);

    // Not listed: the factory name, or a listed name in other letter case.
    for (const auto* current : { "INIT", "a" })
    {
        processor->setCurrentPresetName (current);
        component->stepPreset (1);
        component->stepPreset (-1);
        EXPECT_EQ (presetName(), current);
        EXPECT_FLOAT_EQ (plain ("drive"), 0.0f);
    }

    processor->setCurrentPresetName ("A");
    const std::pair<int, const char*> steps[] = { { 1, "B.c" }, { 1, "C" }, { 1, "A" }, { -1, "C" }, { -1, "B.c" }, { -1, "A" } };

    for (const auto& [direction, expected] : steps)
    {
        component->buttonClicked (direction > 0 ? component->nextPresetButton.get() : component->previousPresetButton.get());
        EXPECT_EQ (presetName(), expected);
        EXPECT_FLOAT_EQ (plain ("drive"), presetName() == "A" ? 10.0f : presetName() == "B.c" ? 20.0f : 30.0f);
    }

    // A list of one reloads its preset either way.
    ASSERT_TRUE (presetFile ("A.sbxp").deleteFile() && presetFile ("B.c.sbxp").deleteFile());
    processor->setCurrentPresetName ("C");

    for (const int direction : { 1, -1 })
    {
        setPlain ("drive", 99.0f);
        component->stepPreset (direction);
        EXPECT_EQ (presetName(), "C");
        EXPECT_FLOAT_EQ (plain ("drive"), 30.0f);
    }

    EXPECT_TRUE (failures.isEmpty());
}

TEST_F (EditorActions, OldPresetsHaveTheirSyncedRateRemappedWhenLoaded)
{
    writePreset ("Old.sbxp", 10.0f, false, 5);
    writePreset ("New.sbxp", 10.0f, true, 5);
    const auto names = component->createPresetNamesArray();

    component->loadPreset (names, names.indexOf ("Old"));
    EXPECT_FLOAT_EQ (plain ("lfo_synced_rate"), 8.0f);

    component->loadPreset (names, names.indexOf ("New"));
    EXPECT_FLOAT_EQ (plain ("lfo_synced_rate"), 5.0f);
}

TEST_F (EditorActions, PresetThatCannotBeLoadedKeepsParametersAndNameAndIsReported)
{
    writePreset ("Gone.sbxp", 10.0f);
    ASSERT_TRUE (presetFile ("Junk.sbxp").replaceWithText ("not a preset"));
    const auto names = component->createPresetNamesArray();
    ASSERT_TRUE (presetFile ("Gone.sbxp").deleteFile());

    processor->setCurrentPresetName ("Mine");
    setPlain ("drive", 33.0f);

    component->presetListChosen (names, names.indexOf ("Gone") + 1);
    component->loadPreset (names, names.indexOf ("Junk"));

    EXPECT_EQ (presetName(), "Mine");
    EXPECT_FLOAT_EQ (plain ("drive"), 33.0f);
    ASSERT_EQ (failures.size(), 2);
    EXPECT_TRUE (failures[0].contains (presetFile ("Gone.sbxp").getFullPathName()));
    EXPECT_TRUE (failures[0].contains ("no longer exists"));
    EXPECT_TRUE (failures[1].contains (presetFile ("Junk.sbxp").getFullPathName()));
    EXPECT_TRUE (failures[1].contains ("Invalid preset file supplied, could not load preset."));
}

TEST_F (EditorActions, SavingAppliesTheExtensionRulesMarksTheFileAndTakesItsName)
{
    const std::pair<const char*, const char*> cases[] = {
        { "Plain", "Plain.sbxp" },
        { "Typed.txt", "Typed.sbxp" },
        { "Upper.SBXP", "Upper.SBXP" },
        { "Dotted.v2.sbxp", "Dotted.v2.sbxp" },
    };

    for (const auto& [typed, written] : cases)
    {
        component->saveChosenPresetFile (presetFile (typed));

        const auto file = presetFile (written);
        ASSERT_TRUE (file.existsAsFile()) << typed;
        EXPECT_TRUE (file.loadFileAsString().contains ("Extended_Sync=\"1\"")) << typed;
        EXPECT_EQ (presetName(), file.getFileNameWithoutExtension());
    }

    EXPECT_FALSE (presetFile ("Typed.txt").exists());
    EXPECT_TRUE (questions.isEmpty());
    EXPECT_TRUE (failures.isEmpty());

    // A saved preset lists, loads and is not remapped.
    setPlain ("lfo_synced_rate", 3.0f);
    component->saveChosenPresetFile (presetFile ("Synced"));
    setPlain ("lfo_synced_rate", 0.0f);
    const auto names = component->createPresetNamesArray();
    component->loadPreset (names, names.indexOf ("Synced"));
    EXPECT_FLOAT_EQ (plain ("lfo_synced_rate"), 3.0f);
}

TEST_F (EditorActions, ExtensionChangeAsksBeforeReplacingAnExistingPreset)
{
    const auto existing = presetFile ("Keep.sbxp");
    ASSERT_TRUE (existing.replaceWithText ("old"));
    processor->setCurrentPresetName ("Before");

    for (const auto* typed : { "Keep", "Keep.txt" })
    {
        replaceAnswer = false;
        component->saveChosenPresetFile (presetFile (typed));
        EXPECT_EQ (existing.loadFileAsString(), "old") << typed;
        EXPECT_EQ (presetName(), "Before");
    }

    ASSERT_EQ (questions.size(), 2);
    EXPECT_TRUE (questions[0].contains ("Keep.sbxp"));

    replaceAnswer = true;
    component->saveChosenPresetFile (presetFile ("Keep.txt"));
    EXPECT_TRUE (existing.loadFileAsString().contains ("<Sombrax"));
    EXPECT_EQ (presetName(), "Keep");

    // Typed with its extension, the dialog has already warned: no second question.
    component->saveChosenPresetFile (existing);
    EXPECT_EQ (questions.size(), 3);
    EXPECT_TRUE (failures.isEmpty());
}

TEST_F (EditorActions, FailedSaveKeepsTheNameAndIsReported)
{
    const auto notAFolder = presetFile ("NotAFolder");
    ASSERT_TRUE (notAFolder.replaceWithText ("x"));
    processor->setCurrentPresetName ("Before");

    component->saveChosenPresetFile (notAFolder.getChildFile ("New.sbxp"));

    EXPECT_EQ (presetName(), "Before");
    ASSERT_EQ (failures.size(), 1);
    EXPECT_TRUE (failures[0].contains (notAFolder.getChildFile ("New.sbxp").getFullPathName()));
    EXPECT_TRUE (failures[0].contains ("Could not write preset to file."));
}

TEST_F (EditorActions, SavingIntoTheMidiFolderRefreshesTheProgramList)
{
    // Put there behind the processor's back: only a rescan lists it.
    writePreset ("MIDI/Earlier.sbxp", 10.0f);
    ASSERT_TRUE (processor->getMidiProgramPresets().isEmpty());

    component->saveChosenPresetFile (presetFile ("Elsewhere.sbxp"));
    component->saveChosenPresetFile (presetsFolder.getSiblingFile ("Outside.sbxp"));
    EXPECT_TRUE (processor->getMidiProgramPresets().isEmpty());

    // The folder is compared ignoring case.
    ASSERT_TRUE (presetsFolder.getChildFile ("midi").createDirectory().wasOk());
    component->saveChosenPresetFile (presetsFolder.getChildFile ("midi").getChildFile ("Lower.sbxp"));
    EXPECT_EQ (processor->getMidiProgramPresets().joinIntoString ("|"), "Earlier.sbxp");

    component->saveChosenPresetFile (oskv::ProgramChangeManager::getMidiPresetsFolder().getChildFile ("Fresh"));
    EXPECT_EQ (processor->getMidiProgramPresets().joinIntoString ("|"), "Earlier.sbxp|Fresh.sbxp");
}

TEST_F (EditorActions, PreviousAndNextStepPastPresetsThatDoNotLoad)
{
    writePreset ("Alpha.sbxp", 10.0f);
    ASSERT_TRUE (presetFile ("Bravo.sbxp").replaceWithText ("not a preset"));
    writePreset ("Charlie.sbxp", 30.0f);
    const auto bravo = presetFile ("Bravo.sbxp").getFullPathName();

    // Each press reaches the next preset that loads and names the one passed over, once.
    processor->setCurrentPresetName ("Alpha");
    component->stepPreset (1);
    EXPECT_EQ (presetName(), "Charlie");
    EXPECT_FLOAT_EQ (plain ("drive"), 30.0f);

    component->stepPreset (-1);
    EXPECT_EQ (presetName(), "Alpha");
    EXPECT_FLOAT_EQ (plain ("drive"), 10.0f);

    ASSERT_EQ (failures.size(), 2);
    EXPECT_TRUE (failures[0].contains (bravo) && failures[1].contains (bravo));

    // When no other preset loads, name and parameters stay, with one message naming both files.
    ASSERT_TRUE (presetFile ("Charlie.sbxp").replaceWithText ("also not a preset"));
    failures.clear();
    setPlain ("drive", 44.0f);

    for (const int direction : { 1, -1 })
    {
        component->stepPreset (direction);
        EXPECT_EQ (presetName(), "Alpha");
        EXPECT_FLOAT_EQ (plain ("drive"), 44.0f);
    }

    ASSERT_EQ (failures.size(), 2);
    EXPECT_TRUE (failures[0].contains (bravo) && failures[0].contains (presetFile ("Charlie.sbxp").getFullPathName()));
    EXPECT_TRUE (failures[0].indexOf (bravo) < failures[0].indexOf ("Charlie.sbxp")) << "nearest first";
    EXPECT_TRUE (failures[1].indexOf ("Charlie.sbxp") < failures[1].indexOf (bravo)) << "nearest first";
}

#include "editor/MainComponent.h"

#include "plugin/PluginProcessor.h"
#include "services/PluginCrashLogger.h"
#include "services/PresetsManager.h"

void MainComponent::showSettingsMenu()
{
    const juce::Component::SafePointer<MainComponent> safeThis (this);
    const auto result = createSettingsMenu().showMenu (createSettingsMenuOptions());

    // The host may close the editor while the menu is open.
    if (safeThis != nullptr)
        settingsMenuChosen (result);
}

juce::PopupMenu MainComponent::createSettingsMenu() const
{
    juce::PopupMenu midiMapMenu;
    midiMapMenu.addItem (clearMidiMapItem, "CLEAR", true, false);
    midiMapMenu.addItem (saveMidiMapItem, "SAVE", true, false);
    midiMapMenu.addItem (loadMidiMapItem, "LOAD", true, false);

    juce::PopupMenu menu;
    menu.addItem (undoItem, "UNDO", true, false);
    menu.addItem (redoItem, "REDO", true, false);
    menu.addItem (initialiseItem, "INITIALIZE PARAMETERS", true, false);
    menu.addItem (saveDefaultPresetItem, "SAVE CURRENT STATE AS DEFAULT", true, false);
    menu.addSubMenu ("MIDI MAP", midiMapMenu, true);
    menu.addItem (animationsItem, "ENABLE ANIMATIONS", true, audioProcessor.animationsEnabled);
    menu.addItem (openPresetsFolderItem, "OPEN PRESETS DIRECTORY", true, false);
    menu.addItem (crashLogItem, "GO TO CRASH LOG", true, false);

    const auto title = oskv::pluginCrashLoggerPluginName + " " + oskv::pluginCrashLoggerPluginVersionString;
    menu.addItem (productTitleItem, title.toUpperCase(), false, false);
    return menu;
}

juce::PopupMenu::Options MainComponent::createSettingsMenuOptions() const
{
    return juce::PopupMenu::Options()
        .withTargetComponent (settingsMenuButton.get())
        .withItemThatMustBeVisible (1)
        .withMinimumWidth (40);
}

void MainComponent::settingsMenuChosen (int itemId)
{
    auto& p = audioProcessor;

    switch (itemId)
    {
        case undoItem:
        {
            const juce::ScopedLock lock (p.parameters.getTreeLock());
            p.undoManager.undo();
            break;
        }

        case redoItem:
        {
            const juce::ScopedLock lock (p.parameters.getTreeLock());
            p.undoManager.redo();
            break;
        }

        case initialiseItem:
            initialiseParameters();
            break;

        case saveDefaultPresetItem:
        {
            // Marked like every saved preset: the live values always count in the 22-entry
            // table, and an unmarked file would have its synced rate remapped when loaded again.
            const auto file = oskv::PresetsManager().getDefaultPresetFile();
            const auto result = p.savePresetFile (file, true);

            if (result.failed())
                reportFailure ("Could not save preset", file.getFullPathName() + "\n\n" + result.getErrorMessage());

            break;
        }

        case clearMidiMapItem:
            if (auto* mapper = ccMapperUIManager.ccMapper)
                mapper->clearMap();

            break;

        case saveMidiMapItem:
            showSaveMidiMapDialog();
            break;

        case loadMidiMapItem:
            showLoadMidiMapDialog();
            break;

        case animationsItem:
            p.animationsEnabled = ! p.animationsEnabled;
            p.preferences->setValue (p.animationsEnabledKey, p.animationsEnabled);
            repaint (layout.levelDisplayArea);
            break;

        case openPresetsFolderItem:
            reveal (juce::File (oskv::PresetsManager::presetsFolderPath));
            break;

        case crashLogItem:
            writeCrashLogSummary();
            break;

        default:
            break;
    }
}

void MainComponent::initialiseParameters()
{
    changeParametersAsOneUndoStep ([this]
    {
        for (auto* parameter : audioProcessor.getParameters())
            setParameterFromEditor (*parameter, parameter->getDefaultValue());
    });
}

void MainComponent::writeCrashLogSummary()
{
    auto logger = oskv::PluginCrashLogger::createLogger();
    oskv::PluginCrashLogger::writeLogSummary (logger.get());
    const auto logFile = logger->getLogFile();
    logger.reset();

    reveal (logFile);
}

//==============================================================================
void MainComponent::showSaveMidiMapDialog()
{
    if (const auto file = chooseFile ("SAVE MIDI MAP", juce::File::getSpecialLocation (juce::File::userDocumentsDirectory),
                                      oskv::CCMapper::wildcardForFileChooser(), saveDialog))
        saveMidiMapTo (*file);
}

void MainComponent::showLoadMidiMapDialog()
{
    if (const auto file = chooseFile ("LOAD MIDI MAP", juce::File::getSpecialLocation (juce::File::userDocumentsDirectory),
                                      oskv::CCMapper::wildcardForFileChooser(), openDialog))
        loadMidiMapFrom (*file);
}

void MainComponent::saveMidiMapTo (const juce::File& file)
{
    auto* mapper = ccMapperUIManager.ccMapper;

    if (mapper != nullptr && ! mapper->saveMapToFile (file))
        reportFailure ("Could not save MIDI map", file.getFullPathName() + "\n\nCould not write MIDI map to file.");
}

void MainComponent::loadMidiMapFrom (const juce::File& file)
{
    // Read with the same checks as presets and host state; a file that fails them is ignored.
    if (auto* mapper = ccMapperUIManager.ccMapper)
        mapper->loadMapFromFile (file);
}

#include "editor/MainComponent.h"

#include "plugin/PluginProcessor.h"
#include "services/ParameterChange.h"
#include "services/PresetsManager.h"
#include "services/ProgramChangeManager.h"
#include "toolkit_ui/OskvColours.h"

namespace
{
juce::File presetFileNamed (const juce::String& name)
{
    // Appended rather than set, so a dot inside the name stays part of it.
    return juce::File (oskv::PresetsManager::presetsFolderPath + juce::File::getSeparatorString()
                       + name + "." + oskv::PresetsManager::presetFileExtension);
}

bool isInMidiPresetsFolder (const juce::File& file)
{
    return file.getParentDirectory().getFullPathName()
               .equalsIgnoreCase (oskv::ProgramChangeManager::getMidiPresetsFolder().getFullPathName());
}

float squaredDraw (juce::Random& random)
{
    const auto value = random.nextFloat();
    return value * value;
}
} // namespace

void MainComponent::buttonClicked (juce::Button* button)
{
    if (button == presetNameButton.get())
    {
        showPresetList();
    }
    else if (button == previousPresetButton.get())
    {
        stepPreset (-1);
    }
    else if (button == nextPresetButton.get())
    {
        stepPreset (1);
    }
    else if (button == savePresetButton.get())
    {
        showSavePresetDialog();
    }
    else if (button == randomiseButton.get())
    {
        juce::Random random;
        random.setSeedRandomly();
        randomiseParameters (random);
    }
    else if (button == settingsMenuButton.get())
    {
        showSettingsMenu();
    }
}

//==============================================================================
juce::StringArray MainComponent::createPresetNamesArray()
{
    juce::StringArray names;

    for (const auto& entry : juce::RangedDirectoryIterator (juce::File (oskv::PresetsManager::presetsFolderPath), false,
                                                            oskv::PresetsManager::wildcardForfileChooser(),
                                                            juce::File::findFiles))
        names.add (entry.getFile().getFileNameWithoutExtension());

    names.sortNatural();
    return names;
}

void MainComponent::loadPreset (juce::StringArray names, int index)
{
    // The parameters are as they were after a failure, so the name stays with them.
    if (const auto failure = loadNamedPreset (names[index]))
        reportFailure ("Could not load preset", *failure);
}

std::optional<juce::String> MainComponent::loadNamedPreset (const juce::String& name)
{
    const auto file = presetFileNamed (name);
    const auto result = audioProcessor.loadPresetFile (file);

    if (result.failed())
    {
        const auto reason = file.existsAsFile() ? result.getErrorMessage()
                                                : juce::String ("The file no longer exists.");
        return file.getFullPathName() + "\n\n" + reason;
    }

    audioProcessor.setCurrentPresetName (name);
    return std::nullopt;
}

//==============================================================================
void MainComponent::showPresetList()
{
    const auto names = createPresetNamesArray();
    const juce::Component::SafePointer<MainComponent> safeThis (this);
    const auto result = createPresetListMenu (names).showMenu (createPresetListMenuOptions());

    // The host may close the editor while the menu is open.
    if (safeThis != nullptr)
        presetListChosen (names, result);
}

juce::PopupMenu MainComponent::createPresetListMenu (const juce::StringArray& names) const
{
    const auto currentName = audioProcessor.getCurrentPresetName();
    juce::PopupMenu menu;

    for (int i = 0; i < names.size(); ++i)
    {
        if (names[i] == currentName)
            menu.addColouredItem (i + 1, names[i], oskv::OskvColours::blue, true, false);
        else
            menu.addItem (i + 1, names[i], true, false);
    }

    return menu;
}

juce::PopupMenu::Options MainComponent::createPresetListMenuOptions() const
{
    return juce::PopupMenu::Options()
        .withTargetComponent (presetNameButton.get())
        .withItemThatMustBeVisible (1)
        .withMinimumWidth (40)
        .withMaximumNumColumns (4);
}

void MainComponent::presetListChosen (const juce::StringArray& names, int result)
{
    if (result > 0)
        loadPreset (names, result - 1);
}

void MainComponent::stepPreset (int direction)
{
    const auto names = createPresetNamesArray();
    const int index = names.indexOf (audioProcessor.getCurrentPresetName());

    if (index < 0)
        return;

    // The other presets in that direction, nearest first, until one loads; a list of one
    // reloads its preset. Every file passed over is named in one message.
    const int count = names.size();
    const int step = direction < 0 ? count - 1 : 1;
    juce::StringArray failures;

    for (int tried = 0, i = index; tried < juce::jmax (1, count - 1); ++tried)
    {
        i = (i + step) % count;
        const auto failure = loadNamedPreset (names[i]);

        if (! failure.has_value())
            break;

        failures.add (*failure);
    }

    if (! failures.isEmpty())
        reportFailure ("Could not load preset", failures.joinIntoString ("\n\n"));
}

//==============================================================================
void MainComponent::showSavePresetDialog()
{
    if (const auto file = chooseFile ("Save Preset", juce::File (oskv::PresetsManager::presetsFolderPath),
                                      oskv::PresetsManager::wildcardForfileChooser(), saveDialog))
        saveChosenPresetFile (*file);
}

std::optional<juce::File> MainComponent::chooseFile (const juce::String& title, const juce::File& folder,
                                                     const juce::String& pattern, FileDialogKind kind)
{
    juce::FileChooser chooser (title, folder, pattern);
    const auto flags = kind == saveDialog ? juce::FileBrowserComponent::saveMode
                                                | juce::FileBrowserComponent::canSelectFiles
                                                | juce::FileBrowserComponent::warnAboutOverwriting
                                          : juce::FileBrowserComponent::openMode
                                                | juce::FileBrowserComponent::canSelectFiles;

    // The host may close the editor while the dialog's loop runs.
    const juce::Component::SafePointer<MainComponent> safeThis (this);
    const auto confirmed = chooser.showDialog (flags, nullptr);

    if (! confirmed || safeThis == nullptr)
        return std::nullopt;

    return chooser.getResult();
}

void MainComponent::saveChosenPresetFile (const juce::File& chosenFile)
{
    auto file = chosenFile;

    if (! file.hasFileExtension (oskv::PresetsManager::presetFileExtension))
    {
        file = file.withFileExtension (oskv::PresetsManager::presetFileExtension);

        // The dialog warned about the name as typed, not about this one.
        if (file.existsAsFile())
        {
            const juce::Component::SafePointer<MainComponent> safeThis (this);

            if (! confirmReplacing (file) || safeThis == nullptr)
                return;
        }
    }

    const auto result = audioProcessor.savePresetFile (file, true);

    if (result.failed())
    {
        // No preset was written, so the name stays the one of the state it describes.
        reportFailure ("Could not save preset", file.getFullPathName() + "\n\n" + result.getErrorMessage());
        return;
    }

    audioProcessor.setCurrentPresetName (file.getFileNameWithoutExtension());

    // So that the new preset answers a program change at once.
    if (isInMidiPresetsFolder (file))
        audioProcessor.rescanMidiProgramPresets();
}

//==============================================================================
void MainComponent::randomiseParameters (juce::Random& random)
{
    changeParametersAsOneUndoStep ([this, &random] { drawRandomParameters (random); });
}

void MainComponent::drawRandomParameters (juce::Random& random)
{
    auto& p = audioProcessor;

    const auto set = [this] (const juce::String& parameterID, float normalisedValue)
    {
        if (auto* parameter = audioProcessor.parameters.getParameter (parameterID))
            setParameterFromEditor (*parameter, normalisedValue);
    };

    // The draws happen in this order, one statement each, so a seed always gives the same sound.
    const int filterType = random.nextInt (4);
    const juce::String* filterGains[] = { &p.lpfGainParamID, &p.hpfGainParamID, &p.bpfGainParamID, &p.notchGainParamID };

    for (int i = 0; i < 4; ++i)
        set (*filterGains[i], i == filterType ? 1.0f : 0.0f);

    // One of drive and feedback stays low, so the result is rarely a wall of noise.
    const bool driveLeads = random.nextBool();
    const auto first = random.nextFloat();
    const auto second = random.nextFloat();
    set (p.driveParamID, driveLeads ? first : first * 0.2f);
    set (p.feedbackParamID, driveLeads ? second * 0.2f : second);

    set (p.filterCutoffParamID, squaredDraw (random));
    set (p.filterResonanceParamID, squaredDraw (random));
    set (p.filterCutoffModDepthParamID, squaredDraw (random));

    const bool highRateMode = random.nextBool();
    set (p.lfoHighRateModeParamID, highRateMode ? 1.0f : 0.0f);
    const bool sync = random.nextBool();
    set (p.lfoSyncParamID, sync ? 1.0f : 0.0f);

    set (p.lfoRateParamID, squaredDraw (random));
    set (p.lfoHighRateParamID, squaredDraw (random));
    set (p.lfoSyncedRateParamID, random.nextFloat());
    set (p.lfoWaveParamID, random.nextFloat());
    set (p.shapeParamID, random.nextFloat());
}

void MainComponent::setParameterFromEditor (juce::AudioProcessorParameter& parameter, float normalisedValue)
{
    // Live records gestures of its own; a second pair confuses its automation.
    oskv::setParameterAsUserChange (parameter, normalisedValue, ! isAbletonLive);
}

void MainComponent::changeParametersAsOneUndoStep (const std::function<void()>& changeParameters)
{
    auto& state = audioProcessor.parameters;

    {
        const juce::ScopedLock lock (state.getTreeLock());
        // Values still waiting for the flush (the end of a knob drag, say) belong to the
        // transaction before; only then does ours begin.
        state.flushValuesToTree();
        audioProcessor.undoManager.beginNewTransaction();
    }

    changeParameters();

    // Recorded now, before a later drag opens the next transaction.
    state.flushValuesToTree();
}

//==============================================================================
bool MainComponent::confirmReplacing (const juce::File& file)
{
    const juce::String title ("Replace preset");
    const auto message = "\"" + file.getFileName() + "\" already exists in " + file.getParentDirectory().getFullPathName()
                       + ". Do you want to replace it?";

    if (askToReplace)
        return askToReplace (title, message);

    return juce::AlertWindow::showOkCancelBox (juce::MessageBoxIconType::WarningIcon, title, message,
                                               "Replace", "Cancel", this);
}

void MainComponent::reportFailure (const juce::String& title, const juce::String& message)
{
    if (showFailure)
        showFailure (title, message);
    else
        juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::WarningIcon, title, message, {}, this);
}

void MainComponent::reveal (const juce::File& fileOrFolder)
{
    if (revealInFileBrowser)
        revealInFileBrowser (fileOrFolder);
    else
        fileBrowserReveal.reveal (fileOrFolder);
}

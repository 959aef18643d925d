#pragma once

#include "editor/FileBrowserReveal.h"
#include "editor/LFOModeSelector.h"
#include "editor/LFOWaveSelector.h"
#include "editor/SombraxLayout.h"
#include "editor/SombraxRoutingSchema.h"
#include "toolkit_ui/CCMapperUIManager.h"
#include "toolkit_ui/ControlToParameterMapper.h"
#include "toolkit_ui/LogoComponent.h"
#include "toolkit_ui/OskvButton.h"
#include "toolkit_ui/OskvKnob.h"
#include "toolkit_ui/VXBipolarLook.h"
#include "toolkit_ui/VXLook.h"
#include "toolkit_ui/VXTransparentLook.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <optional>

class SombraxAudioProcessor;

/** The editor's single content component, always 700 x 400 logical pixels: the filter,
    distortion and amp sections, the routing picture, the preset bar and the settings
    button. It draws the background itself and polls the processor every 50 ms.

    Construction and destruction are in MainComponent.cpp, painting, layout and the timer
    in MainComponentPainting.cpp, the button actions in MainComponentActions.cpp. */
class MainComponent : public juce::Component,
                      public juce::Timer,
                      public juce::Button::Listener
{
public:
    explicit MainComponent (SombraxAudioProcessor& processor);
    ~MainComponent() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void timerCallback() override;
    void buttonClicked (juce::Button* button) override;

    /** The names of the presets folder's "*.sbxp" files, without extension, in natural order. */
    juce::StringArray createPresetNamesArray();

    /** Loads the preset named at `index` from the presets folder. */
    void loadPreset (juce::StringArray names, int index);

    //==============================================================================
    /** The power symbol in a section's colour when on, in light grey when off. */
    struct ActiveButtonImages
    {
        explicit ActiveButtonImages (const juce::Colour& colour);

        std::unique_ptr<juce::Drawable> offImage;
        std::unique_ptr<juce::Drawable> onImage;
    };

    /** The filter section's and the LFO's controls. */
    struct FilterSectionControls
    {
        FilterSectionControls (SombraxAudioProcessor& processor, juce::LookAndFeel& selectorButtonLook);

        juce::Colour filterColour;
        std::unique_ptr<oskv::OskvKnob> cutoffKnob;
        std::unique_ptr<oskv::OskvKnob> resonanceKnob;
        std::unique_ptr<oskv::OskvKnob> modDepthKnob;
        juce::Colour lfoColour;
        std::unique_ptr<oskv::OskvKnob> lfoRateKnob;
        std::unique_ptr<oskv::OskvKnob> lfoHighRateKnob;
        LFOWaveSelector waveSelector;
        std::unique_ptr<oskv::OskvKnob> lfoSyncedRateKnob;
        LFOModeSelector modeSelector;
        juce::Colour gainColour;
        std::unique_ptr<oskv::OskvKnob> lpfGainKnob;
        std::unique_ptr<oskv::OskvKnob> hpfGainKnob;
        std::unique_ptr<oskv::OskvKnob> bpfGainKnob;
        std::unique_ptr<oskv::OskvKnob> notchGainKnob;
        ActiveButtonImages activeButtonImages;
        std::unique_ptr<juce::DrawableButton> activeButton;
    };

    //==============================================================================
    SombraxAudioProcessor& audioProcessor;
    oskv::VXLook mainLook;
    oskv::VXBipolarLook bipolarLook;
    oskv::VXTransparentLook transparentLook;
    SombraxLayout layout;
    juce::DropShadowEffect knobShadow;
    juce::Colour panelColour;
    oskv::CCMapperUIManager ccMapperUIManager;
    juce::Colour presetTextColour;

    std::unique_ptr<juce::TextButton> presetNameButton;
    std::unique_ptr<juce::DrawableButton> previousPresetButton;
    std::unique_ptr<juce::DrawableButton> nextPresetButton;
    std::unique_ptr<juce::Label> presetNameLabel;
    std::unique_ptr<juce::DrawableButton> savePresetButton;
    std::unique_ptr<juce::DrawableButton> randomiseButton;

    FilterSectionControls filterSection;
    juce::Colour filterLabelColour;
    std::unique_ptr<juce::Label> cutoffLabel;
    std::unique_ptr<juce::Label> resonanceLabel;
    std::unique_ptr<juce::Label> filterTitleLabel;
    std::unique_ptr<juce::Label> lfoRateLabel;
    juce::Colour filterIconColour;
    oskv::LogoComponent lpfIcon;
    oskv::LogoComponent hpfIcon;
    oskv::LogoComponent bpfIcon;
    oskv::LogoComponent notchIcon;

    juce::Colour distortionColour;
    std::unique_ptr<oskv::OskvKnob> driveKnob;
    std::unique_ptr<oskv::OskvKnob> shapeKnob;
    std::unique_ptr<oskv::OskvKnob> feedbackKnob;
    ActiveButtonImages distortionButtonImages;
    std::unique_ptr<juce::DrawableButton> distortionActiveButton;
    juce::Colour distortionLabelColour;
    std::unique_ptr<juce::Label> driveLabel;
    std::unique_ptr<juce::Label> shapeLabel;
    std::unique_ptr<juce::Label> feedbackLabel;
    std::unique_ptr<juce::Label> distortionTitleLabel;

    juce::Colour ampColour;
    std::unique_ptr<oskv::OskvButton> routingButton;
    std::unique_ptr<oskv::OskvKnob> outGainKnob;
    std::unique_ptr<oskv::OskvKnob> dryWetKnob;
    juce::Colour ampLabelColour;
    std::unique_ptr<juce::Label> outGainLabel;
    std::unique_ptr<juce::Label> dryWetLabel;
    std::unique_ptr<juce::Label> ampTitleLabel;

    std::unique_ptr<juce::DrawableButton> settingsMenuButton;
    oskv::LogoComponent productLogo;
    oskv::LogoComponent makerLogo;
    SombraxRoutingSchema routingSchema;
    bool isAbletonLive = false;
    bool filterSectionOn = true;
    bool distortionSectionOn = true;
    oskv::ControlToParameterMapper controlMapper;

    //==============================================================================
    // Preset bar and settings menu actions (MainComponentActions.cpp). Each action that
    // follows a menu or a dialog is a function of the choice, so it runs without a modal loop.

    /** What the clicks open; each ends in one of the functions of the choice below. */
    void showPresetList();
    void showSavePresetDialog();
    void showSettingsMenu();
    void showSaveMidiMapDialog();
    void showLoadMidiMapDialog();

    enum FileDialogKind
    {
        saveDialog,
        openDialog
    };

    /** Runs the native file dialog; the chosen file, or nothing when cancelled or when the
        editor closed meanwhile. */
    std::optional<juce::File> chooseFile (const juce::String& title, const juce::File& folder,
                                          const juce::String& pattern, FileDialogKind kind);

    /** The preset list: one item per name, id = index + 1, the current preset in blue. */
    juce::PopupMenu createPresetListMenu (const juce::StringArray& names) const;
    juce::PopupMenu::Options createPresetListMenuOptions() const;

    /** Loads the preset the list's item `result` names; 0 (dismissed) does nothing. */
    void presetListChosen (const juce::StringArray& names, int result);

    /** Loads the preset named `name` and takes its name; on failure changes nothing and
        gives the file's path and the reason. */
    std::optional<juce::String> loadNamedPreset (const juce::String& name);

    /** Loads the nearest preset (-1 previous, +1 next) of the current one that loads, wrapping
        around, and reports the ones passed over; nothing when the current name is not listed. */
    void stepPreset (int direction);

    /** Saves the state to the file chosen in the save dialog, as a ".sbxp" file. */
    void saveChosenPresetFile (const juce::File& chosenFile);

    /** Draws new values for the sixteen sound parameters from `random`, as one undo step. */
    void randomiseParameters (juce::Random& random);

    /** Sets a parameter as a user change, with a gesture unless the host is Ableton Live. */
    void setParameterFromEditor (juce::AudioProcessorParameter& parameter, float normalisedValue);

    //==============================================================================
    // The settings menu (SettingsMenuActions.cpp).

    enum SettingsMenuItem
    {
        undoItem = 1,
        redoItem = 2,
        initialiseItem = 3,
        saveDefaultPresetItem = 4,
        clearMidiMapItem = 5,
        saveMidiMapItem = 6,
        loadMidiMapItem = 7,
        animationsItem = 8,
        openPresetsFolderItem = 9,
        crashLogItem = 10,
        productTitleItem = -10
    };

    juce::PopupMenu createSettingsMenu() const;
    juce::PopupMenu::Options createSettingsMenuOptions() const;

    /** Carries out the settings menu's item `itemId`; anything else does nothing. */
    void settingsMenuChosen (int itemId);

    /** Every parameter back to its default, in host index order. */
    void initialiseParameters();
    /** Appends the system summary to the crash log, then shows the log file. */
    void writeCrashLogSummary();

    void saveMidiMapTo (const juce::File& file);
    void loadMidiMapFrom (const juce::File& file);

    //==============================================================================
    // The dialogs the actions open besides menus and file choosers. Empty: the real ones;
    // tests put their own answers and records here.

    /** Asked before a save replaces a file the save dialog did not warn about; true replaces. */
    std::function<bool (const juce::String& title, const juce::String& message)> askToReplace;
    /** Tells the user that a save or a load failed, and why. */
    std::function<void (const juce::String& title, const juce::String& message)> showFailure;
    /** Shows a file or folder in the platform's file browser. */
    std::function<void (const juce::File& fileOrFolder)> revealInFileBrowser;

    /** The desktop's file browser, for `reveal` when the above is empty; failures are reported. */
    FileBrowserReveal fileBrowserReveal;

    bool confirmReplacing (const juce::File& file);
    void reportFailure (const juce::String& title, const juce::String& message);
    void reveal (const juce::File& fileOrFolder);

private:
    void drawRandomParameters (juce::Random& random);

    /** Runs `changeParameters` as one undo transaction of its own, apart from the changes before it. */
    void changeParametersAsOneUndoStep (const std::function<void()>& changeParameters);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainComponent)
};

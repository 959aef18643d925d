#include "editor/MainComponent.h"

#include "plugin/PluginProcessor.h"
#include "toolkit_ui/OskvColours.h"
#include "toolkit_ui/UIControlFactory.h"

#include <SombraxBinaryData.h>

#include <algorithm>
#include <vector>

namespace
{
using Colours = oskv::OskvColours;
using Knob = std::unique_ptr<oskv::OskvKnob>;

// The colour the power symbol is drawn in, replaced by each section's own.
const juce::Colour powerSymbolColour (0xff42d2dd);

// Every main component that is alive, oldest first. Message thread only; one list for the
// whole process, as the default look-and-feel is.
std::vector<MainComponent*>& liveComponents()
{
    static std::vector<MainComponent*> components;
    return components;
}

std::unique_ptr<juce::Drawable> makeImage (const char* data, int size)
{
    return juce::Drawable::createFromImageData (data, (size_t) size);
}

std::unique_ptr<juce::Drawable> makeImage (const char* data, int size, juce::Colour from, juce::Colour to)
{
    auto image = makeImage (data, size);

    if (image != nullptr)
        image->replaceColour (from, to);

    return image;
}

// A momentary image button: the factory makes image buttons that toggle.
std::unique_ptr<juce::DrawableButton> makeMomentaryButton (const juce::Drawable* normal, const juce::Drawable* down)
{
    std::unique_ptr<juce::DrawableButton> button (oskv::UIControlFactory::createIconButton (normal, down));
    button->setClickingTogglesState (false);
    return button;
}

// The previous and next arrows: white artwork in the preset bar's blue.
std::unique_ptr<juce::DrawableButton> makeArrowButton (const char* normalData, int normalSize,
                                                       const char* downData, int downSize)
{
    const auto normal = makeImage (normalData, normalSize, juce::Colours::white, Colours::blue);
    const auto down = makeImage (downData, downSize, juce::Colours::white, Colours::blue);
    return makeMomentaryButton (normal.get(), down.get());
}

std::unique_ptr<juce::DrawableButton> makeRandomiseButton()
{
    const auto normal = makeImage (SombraxBinaryData::randomise_arrows_svg, SombraxBinaryData::randomise_arrows_svgSize,
                                   juce::Colours::white, Colours::blue.withMultipliedBrightness (0.8f));
    const auto down = makeImage (SombraxBinaryData::randomise_arrows_svg, SombraxBinaryData::randomise_arrows_svgSize,
                                 juce::Colours::white, Colours::blue);
    return makeMomentaryButton (normal.get(), down.get());
}

// The save and settings icons keep their own colour and show the same picture pressed.
std::unique_ptr<juce::DrawableButton> makeSameImageButton (const char* data, int size)
{
    const auto image = makeImage (data, size);
    return makeMomentaryButton (image.get(), image.get());
}

std::unique_ptr<juce::Label> makeLabel (const juce::String& text, juce::Colour colour, float fontHeight)
{
    std::unique_ptr<juce::Label> label (oskv::UIControlFactory::createRegularLabel (text));
    label->setColour (juce::Label::textColourId, colour);
    label->setFont (juce::Font (fontHeight, juce::Font::plain));
    return label;
}

std::unique_ptr<juce::Label> makeRateLabel (juce::Colour colour)
{
    auto label = makeLabel ({}, colour, 14.0f);
    label->setColour (juce::Label::backgroundColourId, juce::Colour (0xff181818));
    label->setColour (juce::Label::outlineColourId, colour);
    return label;
}

Knob makeKnob (const juce::Colour& colour)
{
    return Knob (oskv::UIControlFactory::createRegularKnob (colour));
}

// The distortion's shape control: a factory knob laid flat.
Knob makeShapeSlider (const juce::Colour& colour)
{
    auto slider = makeKnob (colour);
    slider->setSliderStyle (juce::Slider::LinearHorizontal);
    slider->setColour (juce::Slider::thumbColourId, colour);
    return slider;
}

// The invisible toggle over the routing picture.
std::unique_ptr<oskv::OskvButton> makeRoutingButton (const juce::Colour& onTextColour)
{
    auto button = std::make_unique<oskv::OskvButton>();
    button->setColour (juce::TextButton::buttonColourId, Colours::dark_grey);
    button->setColour (juce::TextButton::buttonOnColourId, Colours::dark_grey);
    button->setColour (juce::TextButton::textColourOnId, onTextColour);
    button->setColour (juce::TextButton::textColourOffId, Colours::light_grey);
    button->setWantsKeyboardFocus (false);
    button->setButtonText ({});
    button->setClickingTogglesState (true);
    return button;
}

std::unique_ptr<juce::DrawableButton> makeToggleButton (const MainComponent::ActiveButtonImages& images)
{
    return std::unique_ptr<juce::DrawableButton> (
        oskv::UIControlFactory::createIconButton (images.offImage.get(), images.onImage.get()));
}

void recolourWhite (oskv::LogoComponent& icon, juce::Colour colour)
{
    if (icon.drawable != nullptr)
        icon.drawable->replaceColour (juce::Colours::white, colour);
}
} // namespace

//==============================================================================
MainComponent::ActiveButtonImages::ActiveButtonImages (const juce::Colour& colour)
    : offImage (makeImage (SombraxBinaryData::power_symbol_svg, SombraxBinaryData::power_symbol_svgSize,
                           powerSymbolColour, Colours::light_grey)),
      onImage (makeImage (SombraxBinaryData::power_symbol_svg, SombraxBinaryData::power_symbol_svgSize,
                          powerSymbolColour, colour))
{
}

//==============================================================================
MainComponent::FilterSectionControls::FilterSectionControls (SombraxAudioProcessor& processor,
                                                             juce::LookAndFeel& selectorButtonLook)
    : filterColour (Colours::teal),
      cutoffKnob (makeKnob (filterColour)),
      resonanceKnob (makeKnob (filterColour)),
      modDepthKnob (makeKnob (filterColour)),
      lfoColour (Colours::yellow),
      lfoRateKnob (makeKnob (lfoColour)),
      lfoHighRateKnob (makeKnob (lfoColour)),
      waveSelector (processor.parameters.getParameter (processor.lfoWaveParamID),
                    processor.parameters.getParameterRange (processor.lfoWaveParamID),
                    lfoColour, selectorButtonLook),
      lfoSyncedRateKnob (makeKnob (lfoColour)),
      modeSelector (processor.parameters.getParameter (processor.lfoSyncParamID),
                    processor.parameters.getParameterRange (processor.lfoSyncParamID),
                    processor.parameters.getParameter (processor.lfoHighRateModeParamID),
                    processor.parameters.getParameterRange (processor.lfoHighRateModeParamID),
                    selectorButtonLook),
      gainColour (Colours::teal),
      lpfGainKnob (makeKnob (gainColour)),
      hpfGainKnob (makeKnob (gainColour)),
      bpfGainKnob (makeKnob (gainColour)),
      notchGainKnob (makeKnob (gainColour)),
      activeButtonImages (filterColour),
      activeButton (makeToggleButton (activeButtonImages))
{
}

//==============================================================================
MainComponent::MainComponent (SombraxAudioProcessor& processor)
    : audioProcessor (processor),
      panelColour (0xff202020),
      presetTextColour (Colours::light_grey),
      presetNameButton (oskv::UIControlFactory::createPushButton ({}, presetTextColour)),
      previousPresetButton (makeArrowButton (SombraxBinaryData::Prev_svg, SombraxBinaryData::Prev_svgSize,
                                             SombraxBinaryData::PrevClicked_svg, SombraxBinaryData::PrevClicked_svgSize)),
      nextPresetButton (makeArrowButton (SombraxBinaryData::Next_svg, SombraxBinaryData::Next_svgSize,
                                         SombraxBinaryData::NextClicked_svg, SombraxBinaryData::NextClicked_svgSize)),
      presetNameLabel (makeLabel ({}, juce::Colours::black, 16.0f)),
      savePresetButton (makeSameImageButton (SombraxBinaryData::save_floppy_svg, SombraxBinaryData::save_floppy_svgSize)),
      randomiseButton (makeRandomiseButton()),
      filterSection (processor, transparentLook),
      filterLabelColour (Colours::teal),
      cutoffLabel (makeLabel ("CUT", filterLabelColour, 12.0f)),
      resonanceLabel (makeLabel ("RES", filterLabelColour, 12.0f)),
      filterTitleLabel (makeLabel ("FILTER", filterLabelColour, 16.0f)),
      lfoRateLabel (makeRateLabel (Colours::yellow)),
      filterIconColour (Colours::teal),
      lpfIcon (SombraxBinaryData::lpf_shape_svg, (size_t) SombraxBinaryData::lpf_shape_svgSize),
      hpfIcon (SombraxBinaryData::hpf_shape_svg, (size_t) SombraxBinaryData::hpf_shape_svgSize),
      bpfIcon (SombraxBinaryData::bpf_shape_svg, (size_t) SombraxBinaryData::bpf_shape_svgSize),
      notchIcon (SombraxBinaryData::notch_shape_svg, (size_t) SombraxBinaryData::notch_shape_svgSize),
      distortionColour (Colours::red),
      driveKnob (makeKnob (distortionColour)),
      shapeKnob (makeShapeSlider (distortionColour)),
      feedbackKnob (makeKnob (distortionColour)),
      distortionButtonImages (distortionColour),
      distortionActiveButton (makeToggleButton (distortionButtonImages)),
      distortionLabelColour (Colours::red),
      driveLabel (makeLabel ("DRIVE", distortionLabelColour, 12.0f)),
      shapeLabel (makeLabel ("SHAPE", distortionLabelColour, 12.0f)),
      feedbackLabel (makeLabel ("FEED", distortionLabelColour, 12.0f)),
      distortionTitleLabel (makeLabel ("DISTORTION", distortionLabelColour, 16.0f)),
      ampColour (0xffd397ff),
      routingButton (makeRoutingButton (ampColour)),
      outGainKnob (makeKnob (ampColour)),
      dryWetKnob (makeKnob (ampColour)),
      ampLabelColour (0xffd397ff),
      outGainLabel (makeLabel ("AMP", ampLabelColour, 12.0f)),
      dryWetLabel (makeLabel ("DRY/WET", ampLabelColour, 12.0f)),
      ampTitleLabel (makeLabel ("OUT", ampLabelColour, 16.0f)),
      productLogo (SombraxBinaryData::product_logo_svg, (size_t) SombraxBinaryData::product_logo_svgSize),
      makerLogo (SombraxBinaryData::maker_logo_svg, (size_t) SombraxBinaryData::maker_logo_svgSize),
      controlMapper (processor.parameters)
{
    ccMapperUIManager.ccMapper = &processor.ccMapper;

    for (auto* icon : { &lpfIcon, &hpfIcon, &bpfIcon, &notchIcon })
        recolourWhite (*icon, filterIconColour);

    // Popup menus have no look of their own and every font is resolved through the default
    // look, so this one becomes the default too; fonts resolved before keep the system face
    // unless the cache is cleared.
    juce::LookAndFeel::setDefaultLookAndFeel (&mainLook);
    juce::Typeface::clearTypefaceCache();
    setLookAndFeel (&mainLook);
    liveComponents().push_back (this);

    knobShadow.setShadowProperties (juce::DropShadow (juce::Colours::black.withAlpha ((juce::uint8) 0x66), 1, { 0, 2 }));

    isAbletonLive = juce::PluginHostType().isAbletonLive();

    // A learn knob: shadowed, bound to its parameter, and known to the learn glue by its ID.
    auto addLearnKnob = [this] (oskv::OskvKnob& knob, const juce::String& parameterID)
    {
        addAndMakeVisible (knob);
        knob.setComponentEffect (&knobShadow);
        controlMapper.attachSliderToParameter (&knob, parameterID);
        knob.parameterID = parameterID;
        static_cast<oskv::MIDITarget&> (knob).addChangeListener (&ccMapperUIManager);
    };

    auto addPresetBarButton = [this] (juce::Button& button)
    {
        addAndMakeVisible (button);
        button.addListener (this);
    };

    auto& f = filterSection;

    addAndMakeVisible (*cutoffLabel);
    addAndMakeVisible (*resonanceLabel);
    addAndMakeVisible (*lfoRateLabel);
    addLearnKnob (*f.cutoffKnob, processor.filterCutoffParamID);
    addLearnKnob (*f.resonanceKnob, processor.filterResonanceParamID);
    addLearnKnob (*f.modDepthKnob, processor.filterCutoffModDepthParamID);

    // The rate knobs lie invisible over the rate label: they take the drags, it shows the value.
    addLearnKnob (*f.lfoRateKnob, processor.lfoRateParamID);
    f.lfoRateKnob->setAlpha (0.0f);
    addLearnKnob (*f.lfoHighRateKnob, processor.lfoHighRateParamID);
    f.lfoHighRateKnob->setAlpha (0.0f);
    f.lfoHighRateKnob->setVisible (false);
    addLearnKnob (*f.lfoSyncedRateKnob, processor.lfoSyncedRateParamID);
    f.lfoSyncedRateKnob->setAlpha (0.0f);

    addAndMakeVisible (f.modeSelector);
    addAndMakeVisible (f.waveSelector);
    addLearnKnob (*f.lpfGainKnob, processor.lpfGainParamID);
    addLearnKnob (*f.hpfGainKnob, processor.hpfGainParamID);
    addLearnKnob (*f.bpfGainKnob, processor.bpfGainParamID);
    addLearnKnob (*f.notchGainKnob, processor.notchGainParamID);
    addAndMakeVisible (*f.activeButton);
    controlMapper.attachButtonToParameter (f.activeButton.get(), processor.filterActiveParamID);

    addAndMakeVisible (lpfIcon);
    addAndMakeVisible (hpfIcon);
    addAndMakeVisible (bpfIcon);
    addAndMakeVisible (notchIcon);
    addAndMakeVisible (*filterTitleLabel);

    addAndMakeVisible (*driveLabel);
    addAndMakeVisible (*shapeLabel);
    addAndMakeVisible (*feedbackLabel);
    addLearnKnob (*driveKnob, processor.driveParamID);
    // A slider drops its effect when its look changes, so the look goes first.
    shapeKnob->setLookAndFeel (&bipolarLook);
    addLearnKnob (*shapeKnob, processor.shapeParamID);
    addLearnKnob (*feedbackKnob, processor.feedbackParamID);
    addAndMakeVisible (*distortionActiveButton);
    controlMapper.attachButtonToParameter (distortionActiveButton.get(), processor.distortionActiveParamID);
    addAndMakeVisible (*distortionTitleLabel);

    addAndMakeVisible (*outGainLabel);
    addAndMakeVisible (*dryWetLabel);
    addAndMakeVisible (*routingButton);
    controlMapper.attachButtonToParameter (routingButton.get(), processor.filterPostParamID);
    routingButton->parameterID = processor.filterPostParamID;
    static_cast<oskv::MIDITarget&> (*routingButton).addChangeListener (&ccMapperUIManager);
    routingButton->setAlpha (0.0f);
    addLearnKnob (*outGainKnob, processor.outGainParamID);
    dryWetKnob->setLookAndFeel (&bipolarLook);
    addLearnKnob (*dryWetKnob, processor.dryWetParamID);
    addAndMakeVisible (*ampTitleLabel);

    addPresetBarButton (*previousPresetButton);
    addAndMakeVisible (*presetNameLabel);
    // An invisible click area over the name that the label shows.
    presetNameButton->setAlpha (0.0f);
    presetNameButton->setLookAndFeel (&transparentLook);
    addPresetBarButton (*presetNameButton);
    addPresetBarButton (*nextPresetButton);
    addPresetBarButton (*savePresetButton);
    addPresetBarButton (*randomiseButton);

    settingsMenuButton = makeSameImageButton (SombraxBinaryData::settings_gear_svg, SombraxBinaryData::settings_gear_svgSize);
    addPresetBarButton (*settingsMenuButton);

    // Behind everything, so the invisible routing button over it takes the clicks.
    addAndMakeVisible (routingSchema);
    routingSchema.toBack();
    addAndMakeVisible (productLogo);
    addAndMakeVisible (makerLogo);

    fileBrowserReveal.onFailure = [this] (const juce::String& title, const juce::String& message)
    {
        reportFailure (title, message);
    };

    // The timer loads the program changes the audio thread hands over from here on.
    audioProcessor.startTakingProgramChanges();
    startTimer (50);
}

MainComponent::~MainComponent()
{
    stopTimer();

    // Whatever was handed over after the last tick is loaded now, while every control is alive.
    audioProcessor.stopTakingProgramChanges();
    setLookAndFeel (nullptr);

    auto& live = liveComponents();
    live.erase (std::remove (live.begin(), live.end(), this), live.end());

    // No destroyed look may stay the default. Another open editor's look takes over, so its
    // popup menus and fonts stay in its look; with none open, the framework's own default.
    if (&juce::LookAndFeel::getDefaultLookAndFeel() == &mainLook)
    {
        juce::LookAndFeel::setDefaultLookAndFeel (live.empty() ? nullptr : &live.back()->mainLook);
        juce::Typeface::clearTypefaceCache();
    }

    // The members go in reverse order from here: the control mapper with every attachment
    // first, while the controls they bind still exist.
}

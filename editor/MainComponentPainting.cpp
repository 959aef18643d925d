#include "editor/MainComponent.h"

#include "plugin/PluginProcessor.h"
#include "toolkit_ui/OskvColours.h"

#include <cmath>
#include <initializer_list>

namespace
{
using Colours = oskv::OskvColours;

const juce::Colour panelRimColour (0xff3b3b3b);
const juce::Colour levelBackgroundColour (0xff181818);

// A peak for drawing: non-finite counts as silence, the rest is clamped to 0..1.
float drawablePeak (const std::atomic<float>& peak)
{
    const auto value = peak.load();
    return std::isfinite (value) ? juce::jlimit (0.0f, 1.0f, value) : 0.0f;
}

// A 1-pixel rim around a bar: the bar reduced by 3 in the rim colour, then by 4 in the panel colour.
void fillBar (juce::Graphics& g, juce::Rectangle<int> bar, juce::Colour panelColour)
{
    g.setColour (panelRimColour);
    g.fillRect (bar.reduced (3).toFloat());
    g.setColour (panelColour);
    g.fillRect (bar.reduced (4).toFloat());
}

void fillSection (juce::Graphics& g, juce::Rectangle<int> section, juce::Colour panelColour, int titleHeight)
{
    const auto panel = section.reduced (2);

    g.setColour (panelRimColour);
    g.fillRect (section.reduced (1).toFloat());
    g.setColour (panelColour);
    g.fillRect (panel.toFloat());
    g.setColour (Colours::grey);
    g.fillRect (panel.withHeight (titleHeight).toFloat());
}

// One block of the level display, centred in the area; nothing when a side is 1 pixel or less.
void fillLevelBlock (juce::Graphics& g, juce::Rectangle<float> area, float width, float height)
{
    if (width > 1.0f && height > 1.0f)
        g.fillRect (area.getX() + (area.getWidth() - width) * 0.5f,
                    area.getY() + (area.getHeight() - height) * 0.5f,
                    width, height);
}

void setAlphas (std::initializer_list<juce::Component*> components, bool sectionOn)
{
    for (auto* component : components)
        component->setAlpha (sectionOn ? 1.0f : 0.5f);
}

juce::Rectangle<int> captionUnder (juce::Rectangle<int> control)
{
    return { control.getX() - 5, control.getBottom() + 2, control.getWidth() + 10, 16 };
}

juce::Rectangle<int> titleIn (juce::Rectangle<int> titleRow, int width, int height)
{
    return { titleRow.getX() + (titleRow.getWidth() - width) / 2,
             titleRow.getY() + (titleRow.getHeight() - height) / 2,
             width, height };
}

juce::Rectangle<int> onOffButtonOf (juce::Rectangle<int> section)
{
    return { section.getX() + 8, section.getY() + 8, 12, 12 };
}

juce::Rectangle<int> iconBeside (juce::Rectangle<int> gainKnob, int knobSize)
{
    return { gainKnob.getX() + 16 - knobSize, gainKnob.getY() + 10,
             juce::jmax (0, gainKnob.getWidth() - 20), juce::jmax (0, gainKnob.getHeight() - 20) };
}
} // namespace

//==============================================================================
void MainComponent::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
    g.setColour (Colours::light_grey);
    g.drawRect (layout.bounds.toFloat(), 2.0f);

    fillBar (g, layout.topBarArea, panelColour);

    for (auto section : { layout.filterSectionArea, layout.distortionSectionArea, layout.ampSectionArea })
        fillSection (g, section, panelColour, layout.sectionTitleHeight);

    fillBar (g, layout.bottomBarArea, panelColour);

    g.setColour (Colours::blue);
    g.fillRoundedRectangle (layout.presetNameArea.toFloat(), 4.0f);

    // The modulation wire: down from the mod-depth knob to a dot on the rate row, and across
    // from the cutoff knob into the top of the mod-depth knob.
    {
        const auto depth = filterSection.modDepthKnob->getBounds();
        const auto rate = filterSection.lfoRateKnob->getBounds();
        const auto cutoff = filterSection.cutoffKnob->getBounds();

        const float cx = (float) depth.getX() + (float) depth.getWidth() * 0.5f;
        const int bottom = depth.getBottom();
        const int ry = rate.getY() + rate.getHeight() / 2;

        g.setColour (Colours::yellow.withMultipliedBrightness (0.5f));
        g.fillRect (cx - 0.5f, (float) bottom, 1.0f, (float) (ry - bottom));

        const int dotX = (int) cx;
        g.setColour (Colours::yellow);
        g.fillEllipse ((float) (dotX - 4), (float) (ry - 4), 8.0f, 8.0f);

        const auto right = (float) cutoff.getRight();
        const float cy = (float) cutoff.getY() + (float) cutoff.getHeight() * 0.5f - 0.5f;

        g.setColour (filterSection.filterColour.withMultipliedBrightness (0.5f));
        g.fillRect (right, cy, cx - right, 1.0f);
        g.fillRect (cx, cy, 1.0f, (float) depth.getY() - cy);
    }

    if (! audioProcessor.animationsEnabled)
        return;

    // The level display: a cross of two blocks that grow with the squares of the peaks.
    const float in = drawablePeak (audioProcessor.inputPeak);
    const float out = drawablePeak (audioProcessor.outputPeak);
    const float level = (in + out) * 0.5f;

    g.setColour (levelBackgroundColour);
    g.fillRoundedRectangle (layout.levelDisplayArea.reduced (2).toFloat(), 4.0f);

    const auto area = layout.levelDisplayArea.reduced (4).toFloat();
    const int alpha = juce::jmin (255, juce::roundToInt (level * 204.0f));

    g.setColour (ampColour.withAlpha ((juce::uint8) alpha));
    fillLevelBlock (g, area, in * in * area.getWidth(), out * out * area.getHeight());
    fillLevelBlock (g, area, out * out * area.getWidth(), in * in * area.getHeight());
}

//==============================================================================
void MainComponent::resized()
{
    auto& f = filterSection;
    const auto& l = layout;

    f.cutoffKnob->setBounds (l.cutoffKnobArea);
    f.resonanceKnob->setBounds (l.resonanceKnobArea);
    f.modDepthKnob->setBounds (l.modDepthKnobArea);

    // The three rate knobs share the value label's place; the timer shows one of them.
    for (juce::Component* c : { (juce::Component*) f.lfoRateKnob.get(), (juce::Component*) f.lfoHighRateKnob.get(),
                                (juce::Component*) f.lfoSyncedRateKnob.get(), (juce::Component*) lfoRateLabel.get() })
        c->setBounds (l.lfoRateArea);

    f.modeSelector.setBounds (l.lfoModeSelectorArea);
    f.waveSelector.setBounds (l.lfoWaveSelectorArea);

    f.lpfGainKnob->setBounds (l.lpfGainKnobArea);
    f.hpfGainKnob->setBounds (l.hpfGainKnobArea);
    f.bpfGainKnob->setBounds (l.bpfGainKnobArea);
    f.notchGainKnob->setBounds (l.notchGainKnobArea);
    f.activeButton->setBounds (onOffButtonOf (l.filterSectionArea));

    lpfIcon.setBounds (iconBeside (l.lpfGainKnobArea, l.knobSize));
    hpfIcon.setBounds (iconBeside (l.hpfGainKnobArea, l.knobSize));
    bpfIcon.setBounds (iconBeside (l.bpfGainKnobArea, l.knobSize));
    notchIcon.setBounds (iconBeside (l.notchGainKnobArea, l.knobSize));

    cutoffLabel->setBounds (captionUnder (l.cutoffKnobArea));
    resonanceLabel->setBounds (captionUnder (l.resonanceKnobArea));
    driveLabel->setBounds (captionUnder (l.driveKnobArea));
    shapeLabel->setBounds (captionUnder (l.shapeSliderArea));
    feedbackLabel->setBounds (captionUnder (l.feedbackKnobArea));
    outGainLabel->setBounds (captionUnder (l.outGainKnobArea));
    dryWetLabel->setBounds (captionUnder (l.dryWetKnobArea));

    const int titleWidth = 2 * l.knobSize;
    filterTitleLabel->setBounds (titleIn (l.filterTitleArea, titleWidth, l.sectionTitleHeight));
    distortionTitleLabel->setBounds (titleIn (l.distortionTitleArea, titleWidth, l.sectionTitleHeight));
    ampTitleLabel->setBounds (titleIn (l.ampTitleArea, titleWidth, l.sectionTitleHeight));

    driveKnob->setBounds (l.driveKnobArea);
    shapeKnob->setBounds (l.shapeSliderArea);
    feedbackKnob->setBounds (l.feedbackKnobArea);
    distortionActiveButton->setBounds (onOffButtonOf (l.distortionSectionArea));

    outGainKnob->setBounds (l.outGainKnobArea);
    dryWetKnob->setBounds (l.dryWetKnobArea);

    routingButton->setBounds (l.routingSchemaArea);
    routingSchema.setBounds (l.routingSchemaArea);

    previousPresetButton->setBounds (l.previousPresetArea);
    nextPresetButton->setBounds (l.nextPresetArea);
    presetNameButton->setBounds (l.presetNameArea);
    presetNameLabel->setBounds (l.presetNameArea);
    savePresetButton->setBounds (l.savePresetArea.reduced (4));
    randomiseButton->setBounds (l.savePresetArea.withX (l.presetNameArea.getX()));
    settingsMenuButton->setBounds (l.menuButtonArea);

    productLogo.setBounds (l.productLogoArea);
    makerLogo.setBounds (l.makerLogoArea);
}

//==============================================================================
void MainComponent::timerCallback()
{
    auto& f = filterSection;

    const int mode = f.modeSelector.modeFromParameters();

    if (mode != f.modeSelector.mode)
    {
        f.modeSelector.mode = mode;
        f.modeSelector.colourLabelsForMode();
    }

    f.lfoRateKnob->setVisible (mode == LFOModeSelector::freeMode);
    f.lfoSyncedRateKnob->setVisible (mode == LFOModeSelector::syncMode);
    f.lfoHighRateKnob->setVisible (mode == LFOModeSelector::oscMode);

    // The visible rate's text; setting an unchanged text does nothing.
    const auto& rateID = mode == LFOModeSelector::oscMode ? audioProcessor.lfoHighRateParamID
                       : mode == LFOModeSelector::syncMode ? audioProcessor.lfoSyncedRateParamID
                                          : audioProcessor.lfoRateParamID;

    if (auto* rate = audioProcessor.parameters.getParameter (rateID))
        lfoRateLabel->setText (rate->getText (rate->getValue(), 512), juce::dontSendNotification);

    const int wave = f.waveSelector.waveFromParameter();

    if (wave != f.waveSelector.selectedIndex)
    {
        f.waveSelector.selectedIndex = wave;
        f.waveSelector.repaint();
    }

    if (routingButton->getToggleState() != routingSchema.post)
    {
        routingSchema.post = routingButton->getToggleState();
        routingSchema.repaint();
    }

    const auto presetName = audioProcessor.getCurrentPresetName();

    if (presetNameLabel->getText() != presetName)
        presetNameLabel->setText (presetName, juce::dontSendNotification);

    if (f.activeButton->getToggleState() != filterSectionOn)
    {
        filterSectionOn = ! filterSectionOn;
        setAlphas ({ f.cutoffKnob.get(), f.resonanceKnob.get(), f.modDepthKnob.get(), &f.waveSelector, &f.modeSelector,
                     lfoRateLabel.get(), f.lpfGainKnob.get(), f.hpfGainKnob.get(), f.bpfGainKnob.get(), f.notchGainKnob.get() },
                   filterSectionOn);
    }

    if (distortionActiveButton->getToggleState() != distortionSectionOn)
    {
        distortionSectionOn = ! distortionSectionOn;
        setAlphas ({ driveKnob.get(), shapeKnob.get(), feedbackKnob.get() }, distortionSectionOn);
    }

    // The framework drops a slider's effect whenever its look changes, as it does for every
    // open window when another instance's editor opens or closes; the knobs get it back here.
    for (auto* knob : { f.cutoffKnob.get(), f.resonanceKnob.get(), f.modDepthKnob.get(), f.lfoRateKnob.get(),
                        f.lfoHighRateKnob.get(), f.lfoSyncedRateKnob.get(), f.lpfGainKnob.get(), f.hpfGainKnob.get(),
                        f.bpfGainKnob.get(), f.notchGainKnob.get(), driveKnob.get(), shapeKnob.get(), feedbackKnob.get(),
                        outGainKnob.get(), dryWetKnob.get() })
        if (knob->getComponentEffect() != &knobShadow)
            knob->setComponentEffect (&knobShadow);

    // A program change the audio thread handed over.
    audioProcessor.loadPendingProgramChange();

    if (audioProcessor.animationsEnabled)
        repaint (layout.levelDisplayArea);
}

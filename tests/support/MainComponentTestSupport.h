#pragma once

// A processor with its main component laid out at the logical 700 x 400, as the editor
// window holds it, and ways to watch what the component repaints.

#include "editor/MainComponent.h"
#include "plugin/PluginProcessor.h"
#include "support/ProcessorWithPlainEditor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace editor_test
{
/** Records every area the component (or a child, through it) asks to repaint. A component
    without a peer forwards its repaints nowhere else, so this is where they can be seen. */
struct RepaintRecorder : juce::CachedComponentImage
{
    void paint (juce::Graphics&) override {}
    bool invalidateAll() override { areas.push_back ({ 0, 0, 700, 400 }); return true; }
    bool invalidate (const juce::Rectangle<int>& area) override { areas.push_back (area); return true; }
    void releaseResources() override {}

    /** The areas recorded since the last call, as "x y w h", and starts afresh. */
    std::vector<std::string> take()
    {
        std::vector<std::string> texts;

        for (const auto& area : areas)
            texts.push_back (area.toString().toStdString());

        areas.clear();
        return texts;
    }

    std::vector<juce::Rectangle<int>> areas;
};

struct MainComponentFixture : ::testing::Test
{
    void SetUp() override
    {
        processor = std::make_unique<ProcessorWithPlainEditor>();
        component = std::make_unique<MainComponent> (*processor);
        component->setBounds (0, 0, 700, 400);
        // Shown as in the editor window: hit tests and repaints need a visible component.
        component->setVisible (true);
        // The tests drive the timer themselves.
        component->stopTimer();
    }

    void TearDown() override
    {
        component.reset();
        plainEditor.reset();
        processor.reset();
    }

    juce::RangedAudioParameter* parameter (const juce::String& id) { return processor->parameters.getParameter (id); }

    void setPlain (const juce::String& id, float value)
    {
        auto* p = parameter (id);
        p->setValueNotifyingHost (p->convertTo0to1 (value));
    }

    /** Starts recording repaints; the component owns the recorder from here. */
    RepaintRecorder& recordRepaints()
    {
        auto* recorder = new RepaintRecorder();
        component->setCachedComponentImage (recorder);
        recorder->areas.clear();
        return *recorder;
    }

    std::unique_ptr<ProcessorWithPlainEditor> processor;
    std::unique_ptr<juce::AudioProcessorEditor> plainEditor;
    std::unique_ptr<MainComponent> component;
};
} // namespace editor_test

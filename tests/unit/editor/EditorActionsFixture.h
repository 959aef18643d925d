#pragma once

// A processor with its main component, whose dialogs answer and record instead of opening.

#include "editor/MainComponent.h"
#include "plugin/PluginProcessor.h"
#include "services/PresetsManager.h"
#include "support/PersistenceTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace editor_test
{
class EditorActions : public ::testing::Test
{
protected:
    EditorActions()
    {
        openEditor();
    }

    ~EditorActions() override
    {
        closeEditor();
    }

    void openEditor()
    {
        component = std::make_unique<MainComponent> (*processor);
        component->setBounds (0, 0, 700, 400);
        component->setVisible (true);
        component->stopTimer();

        component->askToReplace = [this] (const juce::String&, const juce::String& message)
        {
            questions.add (message);
            return replaceAnswer;
        };

        component->showFailure = [this] (const juce::String& title, const juce::String& message)
        {
            failures.add (title + ": " + message);
        };

        component->revealInFileBrowser = [this] (const juce::File& f) { revealed.add (f.getFullPathName()); };
    }

    void closeEditor()
    {
        component.reset();
    }

    /** Closes the plug-in and opens it again, as a host reopening a project would. */
    void reopenPlugin()
    {
        closeEditor();
        processor.reset();
        processor = std::make_unique<SombraxAudioProcessor>();
        openEditor();
    }

    juce::File presetFile (const juce::String& fileName) const
    {
        return presetsFolder.getChildFile (fileName);
    }

    /** A preset file whose drive is `drive` percent (and synced rate `syncedRate`). */
    void writePreset (const juce::String& fileName, float drive, bool extendedSync = true, int syncedRate = 5)
    {
        persistence_test::writePresetFile (presetFile (fileName),
                                           { { "drive", juce::String (drive) },
                                             { "lfo_synced_rate", juce::String (syncedRate) } },
                                           extendedSync);
    }

    float plain (const juce::String& id) { return persistence_test::plainValue (*processor, id); }
    void setPlain (const juce::String& id, float value) { persistence_test::setPlainValue (*processor, id, value); }

    juce::String presetName() const { return processor->getCurrentPresetName(); }

    std::unique_ptr<SombraxAudioProcessor> processor = std::make_unique<SombraxAudioProcessor>();
    std::unique_ptr<MainComponent> component;
    const juce::File presetsFolder { oskv::PresetsManager::presetsFolderPath };

    bool replaceAnswer = false;
    juce::StringArray questions, failures, revealed;
};
} // namespace editor_test

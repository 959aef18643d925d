// Runs the processor's threads against each other, for ThreadSanitizer to watch:
// - an audio thread processes blocks with controller changes and program changes (no
//   editor, so it loads presets itself),
// - a host thread saves and restores the state chunk, old states included,
// - the message thread runs its message loop (the framework's flush of parameter values
//   into the tree is a timer there), learns and clears bindings, saves and loads map files,
//   saves presets into the "MIDI" folder and lists it again, and loads presets as the
//   editor does.
// Afterwards the state must be whole: a fresh instance restored from it matches.
//
// Then the same with an editor open: the audio thread only hands its program changes over,
// and the main component's refresh loads them on the message thread (called here as often
// as the loop turns, besides its own timer), against the audio and host threads.

#include "editor/MainComponent.h"
#include "plugin/PluginProcessor.h"
#include "services/PresetsManager.h"
#include "tests/support/ProcessorWithPlainEditor.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <thread>

namespace
{
int failures = 0;

void check (bool condition, const char* what)
{
    if (! condition)
    {
        std::fprintf (stderr, "FAILED: %s\n", what);
        ++failures;
    }
}

constexpr int numBlocks = 10000;
constexpr int numStateRoundTrips = 1000;
constexpr int numEditorBlocks = 4000;
constexpr int numEditorStateRoundTrips = 200;

const juce::StringArray learnable { "drive", "shape", "filter_cutoff", "lfo_rate", "dry_wet", "feedback", "lfo_synced_rate" };

juce::File midiFolder()
{
    return juce::File (oskv::PresetsManager::presetsFolderPath).getChildFile ("MIDI");
}

void writePreset (const juce::String& name, float drive, int syncedRate, bool extendedSync)
{
    juce::String xml ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Sombrax");

    if (extendedSync)
        xml << " Extended_Sync=\"1\"";

    xml << "><PARAM id=\"drive\" value=\"" << drive << "\"/><PARAM id=\"lfo_synced_rate\" value=\"" << syncedRate
        << "\"/></Sombrax>";

    midiFolder().createDirectory();
    midiFolder().getChildFile (name).replaceWithText (xml);
}

juce::MemoryBlock oldStateChunk()
{
    const juce::String text ("<Sombrax><PARAM id=\"lfo_synced_rate\" value=\"5\"/>"
                             "<Sombrax_MIDI_MAP><drive cc=\"1\"/></Sombrax_MIDI_MAP>"
                             "<Preset_Name Preset_Name=\"Old\"/></Sombrax>");
    juce::MemoryBlock block;
    juce::MemoryOutputStream out (block, false);
    out.writeInt (0x21324356);
    out.writeInt ((int) text.getNumBytesAsUTF8());
    out.write (text.toRawUTF8(), text.getNumBytesAsUTF8());
    out.writeByte (0);
    out.flush();
    return block;
}

juce::String mapText (SombraxAudioProcessor& p)
{
    auto xml = p.ccMapper.createMapXml();
    return xml != nullptr ? xml->toString (juce::XmlElement::TextFormat().singleLine()) : juce::String();
}

void runAudioThread (SombraxAudioProcessor& processor, int blocks)
{
    juce::AudioBuffer<float> audio (2, 64);
    juce::Random random (1);

    for (int block = 0; block < blocks; ++block)
    {
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < audio.getNumSamples(); ++i)
                audio.setSample (ch, i, random.nextFloat() * 2.0f - 1.0f);

        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::controllerEvent (1 + block % 16, 1 + block % 5, block % 128), 0);
        midi.addEvent (juce::MidiMessage::controllerEvent (1, 7, (block * 7) % 128), 1);

        if (block % 20 == 0)
            midi.addEvent (juce::MidiMessage::programChange (1, (block / 20) % 5), 2);

        // As the wrapper calls it: under the callback lock, and not while suspended.
        const juce::ScopedLock lock (processor.getCallbackLock());

        if (! processor.isSuspended())
            processor.processBlock (audio, midi);
    }
}

void runHostThread (SombraxAudioProcessor& processor, int roundTrips)
{
    const auto oldState = oldStateChunk();

    for (int i = 0; i < roundTrips; ++i)
    {
        juce::MemoryBlock chunk;
        processor.getStateInformation (chunk);
        check (chunk.getSize() > 9, "a chunk is written");

        if (i % 10 == 9)
            processor.setStateInformation (oldState.getData(), (int) oldState.getSize());
        else
            processor.setStateInformation (chunk.getData(), (int) chunk.getSize());
    }
}

void runMessageThreadStep (SombraxAudioProcessor& processor, int step, const juce::File& mapFile)
{
    auto& map = processor.ccMapper;
    const auto id = learnable[step % learnable.size()];

    if (step % 3 == 2)
        map.removeBinding (id);
    else
        map.assignToLastController (id);

    if (step % 50 == 49)
        map.clearMap();

    if (step % 40 == 10)
        map.saveMapToFile (mapFile);

    if (step % 40 == 30)
        map.loadMapFromFile (mapFile);

    if (step % 20 == 5)
    {
        processor.savePresetFile (midiFolder().getChildFile ("9 Saved " + juce::String (step % 3) + ".sbxp"), true);
        processor.rescanMidiProgramPresets();
    }

    if (step % 15 == 7)
    {
        // What the editor's timer does with a pending program change.
        const auto file = processor.getMidiProgramPresetFile (step % 4);

        if (file.existsAsFile() && processor.loadPresetFile (file).wasOk())
            processor.setCurrentPresetName (file.getFileNameWithoutExtension());
    }

    check (processor.getCurrentPresetName().length() < 100, "the preset name stays readable");
    check (processor.getMidiProgramPresets().size() <= 8, "the list holds the folder's presets");
    check (map.lastCC.load() < 128, "lastCC is a controller number");
}

//==============================================================================
/** Program changes with an editor open: handed over by the audio thread, loaded by the
    main component's refresh while blocks, controller changes and state calls go on. */
void runWithEditorOpen()
{
    auto processor = std::make_unique<ProcessorWithPlainEditor>();
    processor->prepareToPlay (44100.0, 64);

    // Open before the threads start: from here the audio thread hands program changes over.
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor->createEditorIfNeeded());
    auto component = std::make_unique<MainComponent> (*processor);
    component->setBounds (0, 0, 700, 400);

    std::atomic<int> running { 2 };
    int handedOver = 0;

    std::thread audio ([&] { runAudioThread (*processor, numEditorBlocks); --running; });
    std::thread host ([&] { runHostThread (*processor, numEditorStateRoundTrips); --running; });

    for (int step = 0; running.load() > 0; ++step)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (1);

        if (processor->pendingProgramChange.load())
            ++handedOver;

        component->timerCallback();

        // Painting reads the level peaks the audio thread writes.
        if (step % 25 == 0)
            component->createComponentSnapshot (component->getLocalBounds());

        check (processor->getCurrentPresetName().length() < 100, "the preset name stays readable with an editor open");
    }

    audio.join();
    host.join();

    component->timerCallback();
    check (handedOver > 0, "program changes were handed to the editor");
    check (! processor->pendingProgramChange.load(), "the last program change was taken");

    for (auto* parameter : processor->getParameters())
    {
        const auto value = parameter->getValue();
        check (std::isfinite (value) && value >= 0.0f && value <= 1.0f, "parameter values stay in range with an editor open");
    }

    component.reset();
    editor.reset();
    processor.reset();
    std::printf ("TSan stress with an editor open: %d blocks, %d program changes handed over\n", numEditorBlocks, handedOver);
}
} // namespace

int main()
{
    const juce::ScopedJuceInitialiser_GUI juceInitialiser;

    writePreset ("1 Low.sbxp", 10.0f, 3, true);
    writePreset ("2 Mid.sbxp", 50.0f, 5, false);
    writePreset ("3 High.sbxp", 90.0f, 16, true);

    auto processor = std::make_unique<SombraxAudioProcessor>();
    processor->prepareToPlay (44100.0, 64);

    const auto mapFile = juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile ("stress.mpcc");
    std::atomic<int> running { 2 };

    std::thread audio ([&] { runAudioThread (*processor, numBlocks); --running; });
    std::thread host ([&] { runHostThread (*processor, numStateRoundTrips); --running; });

    for (int step = 0; running.load() > 0; ++step)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (1);
        runMessageThreadStep (*processor, step, mapFile);
    }

    audio.join();
    host.join();

    // The state that's left is whole: every parameter finite and bound to its child, and a
    // fresh instance restored from it has the same values, bindings and name.
    for (auto* parameter : processor->getParameters())
    {
        const auto value = parameter->getValue();
        check (std::isfinite (value) && value >= 0.0f && value <= 1.0f, "parameter values stay in range");

        const auto& id = dynamic_cast<juce::AudioProcessorParameterWithID&> (*parameter).paramID;
        check (processor->parameters.state.getChildWithProperty ("id", id).isValid(), "each parameter has its child");
    }

    juce::MemoryBlock finalState;
    processor->getStateInformation (finalState);

    SombraxAudioProcessor restored;
    restored.setStateInformation (finalState.getData(), (int) finalState.getSize());

    for (int i = 0; i < processor->getParameters().size(); ++i)
        check (std::abs (processor->getParameters()[i]->getValue() - restored.getParameters()[i]->getValue()) < 1.0e-6f,
               "restored values match");

    check (mapText (*processor) == mapText (restored), "restored bindings match");
    check (processor->getCurrentPresetName() == restored.getCurrentPresetName(), "restored name matches");

    processor.reset();

    runWithEditorOpen();

    std::printf ("TSan stress: %d blocks, %d state round trips, %d failed checks\n", numBlocks, numStateRoundTrips, failures);
    return failures == 0 ? 0 : 1;
}

#pragma once

#include "dsp/DCBlocker.h"
#include "dsp/FilterChannelState.h"
#include "dsp/HalfBandFilter.h"
#include "dsp/LinearRamp.h"
#include "dsp/ParameterSnapshot.h"
#include "dsp/Wavetable.h"
#include "services/CCMapper.h"
#include "services/GuardedParameterState.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <memory>
#include <vector>

/** The plug-in's processor: parameters, signal chain, presets and MIDI control of one instance.

    Threads. The audio thread and the message thread (or the host's state thread) meet here:
    - Parameter values are the framework's atomics; anyone may set them.
    - `pendingProgramNumber` then `pendingProgramChange`: atomics, number stored before the
      flag (release), flag read first (acquire). The audio thread hands a program change over
      only while an editor takes them (`startTakingProgramChanges`); an editor that stops
      taking them loads what is pending, so a change is loaded once and never by a later
      editor (see `handOverProgramChange`). `ccMapper.lastCC` is atomic too.
    - The controller map: changed off the audio thread, which only copies the table that
      CCMapper publishes at every change (no lock the audio thread can wait on).
    - `parameters.state`, `undoManager`, `currentPresetName` and `midiProgramPresets`: only
      under `parameters.getTreeLock()`. The state calls, the editor's loads and saves and the
      framework's own flush of values into the tree take it; the audio thread takes it only
      for a program change with no editor open, which suspends processing and reads a file
      anyway. Use the functions under "Shared state" rather than the members themselves.
*/
class SombraxAudioProcessor : public juce::AudioProcessor
{
public:
    SombraxAudioProcessor();
    ~SombraxAudioProcessor() override;

    const juce::String getName() const override;

    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) override;
    using juce::AudioProcessor::processBlock;

    /** Mono to mono or stereo to stereo. */
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    /** Filters one channel in place; channel 0 first turns the LFO buffer into cutoffs. */
    void processFilter (float* samples, int numSamples, int channel);

    /** Moves the current `lfo_synced_rate` value of the older 18-entry table to the 22-entry
        one. State and preset loads remap the loaded value itself instead (remapOldSyncedRate). */
    void scaleSyncValueForBackwardCompatibility();

    //==============================================================================
    // Shared state, safe from any thread but the audio thread.
    juce::String getCurrentPresetName() const;
    void setCurrentPresetName (const juce::String& newName);

    juce::StringArray getMidiProgramPresets() const;
    /** Lists the presets folder's "MIDI" subfolder again. */
    void rescanMidiProgramPresets();
    /** The preset file for a program number, or an empty file. */
    juce::File getMidiProgramPresetFile (int programNumber) const;

    /** Loads a preset file into the parameters, remapping the synced rate when the file
        lacks "Extended_Sync" = 1. The preset name is left to the caller. */
    juce::Result loadPresetFile (const juce::File& file);

    /** Saves the parameter state to a file, after marking it "Extended_Sync" = 1 when asked. */
    juce::Result savePresetFile (const juce::File& file, bool markExtendedSync);

    //==============================================================================
    // Program changes handed to an open editor, message thread only.

    /** From here the audio thread hands program changes to the caller's timer instead of
        loading them itself. Called by an editor as it opens. */
    void startTakingProgramChanges();

    /** The caller takes no more program changes; one still pending is loaded now. Called by an
        editor as it closes. */
    void stopTakingProgramChanges();

    /** Loads the preset of the program change the audio thread handed over, if one is pending,
        and names it; a failed load changes nothing. */
    void loadPendingProgramChange();

    /** Per-sample values of the nine ramped parameters for the current block. */
    struct SmoothingBuffers
    {
        SmoothingBuffers();

        int initialSize = 512;
        float fillValue = 0.0f;
        std::vector<float> cutoff, lpfGain, hpfGain, bpfGain, notchGain, drive, shape, outGain, dryWet;
    };

    //==============================================================================
    // Program change handed from the audio thread to the editor: the number is stored
    // before the flag (release) and the flag is read first (acquire).
    std::atomic<bool> pendingProgramChange { false };
    std::atomic<int> pendingProgramNumber { -1 };
    juce::StringArray midiProgramPresets;

    std::atomic<float> inputPeak { 0.0f };
    std::atomic<float> outputPeak { 0.0f };

    const juce::String extendedSyncProperty { "Extended_Sync" };

    const juce::String filterCutoffParamID { "filter_cutoff" };
    const juce::String filterResonanceParamID { "filter_resonance" };
    const juce::String lpfGainParamID { "lpf_gain" };
    const juce::String hpfGainParamID { "hpf_gain" };
    const juce::String bpfGainParamID { "bpf_gain" };
    const juce::String notchGainParamID { "notch_gain" };
    const juce::String filterCutoffModDepthParamID { "filter_cutoff_mod_depth" };
    const juce::String lfoRateParamID { "lfo_rate" };
    const juce::String lfoHighRateParamID { "lfo_high_rate" };
    const juce::String lfoHighRateModeParamID { "lfo_high_rate_mode" };
    const juce::String lfoWaveParamID { "lfo_wave" };
    const juce::String driveParamID { "drive" };
    const juce::String shapeParamID { "shape" };
    const juce::String feedbackParamID { "feedback" };
    const juce::String filterPostParamID { "filter_post" };
    const juce::String outGainParamID { "out_gain" };
    const juce::String dryWetParamID { "dry_wet" };
    const juce::String filterActiveParamID { "filter_active" };
    const juce::String distortionActiveParamID { "distortion_active" };
    const juce::String lfoSyncParamID { "lfo_sync" };
    const juce::String lfoSyncedRateParamID { "lfo_synced_rate" };

    const float bandPassSaturationGain = 1.018f;
    const float lfoTargetCutoff = 11000.0f;

    const juce::NormalisableRange<float> driveGainRange { 1.0f, 20.0f, 0.0f, 1.0f };
    const juce::NormalisableRange<float> percentRange { 0.0f, 100.0f, 0.01f, 1.0f };
    const juce::NormalisableRange<float> switchRange { 0.0f, 1.0f, 1.0f, 1.0f };
    const juce::NormalisableRange<float> lfoRateRange { 0.001f, 20.0f, 0.001f, 1.0f };
    const juce::NormalisableRange<float> lfoHighRateRange { 20.0f, 1000.0f, 1.0f, 1.0f };
    const juce::NormalisableRange<float> lfoWaveRange { 0.0f, 6.0f, 1.0f, 1.0f };
    const juce::NormalisableRange<float> cutoffRange { 80.0f, 11000.0f, 1.0f, 0.5f };
    const juce::NormalisableRange<float> filterGainRange { -70.0f, 0.0f, 0.01f, 1.5f };
    const juce::NormalisableRange<float> outGainRange { -70.0f, 6.0f, 0.01f, 1.5f };
    const juce::NormalisableRange<float> syncedRateRange { 0.0f, 21.0f, 1.0f, 1.0f };

    juce::UndoManager undoManager;
    oskv::GuardedParameterState parameters;

    juce::String currentPresetName;

    ParameterSnapshot snapshot;
    LinearRamp cutoffRamp { 11000.0f, 0.0f, 0 };
    LinearRamp lpfGainRamp { 1.0f, 0.0f, 0 };
    LinearRamp hpfGainRamp { 0.0f, 0.0f, 0 };
    LinearRamp bpfGainRamp { 0.0f, 0.0f, 0 };
    LinearRamp notchGainRamp { 0.0f, 0.0f, 0 };
    LinearRamp driveRamp { 0.0f, 0.0f, 0 };
    LinearRamp shapeRamp { 0.5f, 0.0f, 0 };
    LinearRamp outGainRamp { 1.0f, 0.0f, 0 };
    LinearRamp dryWetRamp { 1.0f, 0.0f, 0 };
    int rampLength = 4410;
    SmoothingBuffers smoothingBuffers;
    double rampTimeSeconds = 0.1;
    double currentSampleRate = 44100.0;
    double inverseSampleRate = 1.0 / 44100.0;
    float lfoPhase = 0.0f;
    float lfoPhaseIncrement = 0.0f;
    std::vector<oskv::Wavetable<float>> lfoWavetables;
    float previousLfoPhase = 0.0f;
    int randomStepIndex = 0;

    std::vector<FilterChannelState> filterStates;
    std::vector<std::unique_ptr<HalfBandFilter>> upsamplers;
    std::vector<std::unique_ptr<HalfBandFilter>> downsamplers;
    std::vector<DCBlocker> dcBlockers;
    std::vector<float> modulationBuffer;
    juce::AudioBuffer<float> dryBuffer;
    std::vector<float> feedbackMemory;

    oskv::CCMapper ccMapper { *this };

    std::unique_ptr<juce::PropertiesFile> preferences;
    bool animationsEnabled = true;

    float resonanceScale = 1.0f;
    float hostBpm = 120.0f;
    float msPerBar = 2000.0f;

    const juce::String presetNameTag { "Preset_Name" };
    const juce::String animationsEnabledKey { "Animations_Enabled" };

private:
    /** The block's last program change: handed to an open editor, or loaded here. */
    void handleProgramChanges (const juce::MidiBuffer& midiMessages);

    /** Hands a program change to the editors that take them; false when there are none and
        the audio thread must load it. */
    bool handOverProgramChange (int program);

    /** Open editors that load handed-over program changes on their timer. */
    std::atomic<int> programChangeTakers { 0 };

    /** The block's controller changes, applied to the parameters the map binds. */
    void handleControllerChanges (const juce::MidiBuffer& midiMessages);

    /** Loads a preset file into the parameters, with the synced rate remapped when the file
        lacks "Extended_Sync" = 1. The program-change path unmarks the live tree first, so a
        failed load leaves it unmarked. */
    juce::Result loadPresetWithRemap (const juce::File& file, bool unmarkTreeFirst);

    /** The index in the 22-entry table of the same division as an older index. */
    static int extendedSyncedRateIndex (int oldIndex);

    /** For a loaded tree without "Extended_Sync" = 1: moves its synced rate to the 22-entry
        table before the tree becomes the state, so the load and its remap are one step under
        the tree lock and the remap only ever touches the value that came with the load. True
        when the tree was such an old one. */
    bool remapOldSyncedRate (juce::ValueTree& tree) const;

    /** Tells the host of the remapped synced rate as a change of the plug-in's own. */
    void announceSyncedRate();

    void initializeFilterParameters();
    void initializeGlobalParameters();
    void initializeModuleBypassParameters();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SombraxAudioProcessor)
};

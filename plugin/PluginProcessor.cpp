#include "PluginProcessor.h"

#include "dsp/LfoWavetables.h"
#include "editor/PluginEditor.h"
#include "platform/FileSetAside.h"
#include "plugin/ParameterText.h"
#include "services/PluginCrashLogger.h"
#include "services/PresetsManager.h"
#include "services/ProgramChangeManager.h"
#include "services/StateXml.h"

namespace
{
juce::PropertiesFile::Options preferencesOptions()
{
    juce::PropertiesFile::Options options;
    options.applicationName = "Sombrax";
    options.filenameSuffix = ".prefs";
    options.folderName = "Ostel_Kaverno";
    options.osxLibrarySubFolder = "Application Support";
    options.commonToAllUsers = false;
    options.ignoreCaseOfKeyNames = false;
    options.doNotSave = false;
    options.millisecondsBeforeSaving = 3000;
    options.storageFormat = juce::PropertiesFile::storeAsXML;
    options.processLock = nullptr;
    return options;
}

// The framework saves a value that looks like XML as XML, parsing it first with no guard, so
// a value that could crash that parse makes the whole file unreadable too.
bool isReadablePreferences (const juce::XmlElement* xml)
{
    if (xml == nullptr || ! xml->hasTagName ("PROPERTIES"))
        return false;

    for (auto* value : xml->getChildWithTagNameIterator ("VALUE"))
    {
        const auto text = value->getStringAttribute ("val");

        if (text.isNotEmpty() && ! oskv::StateXml::isSafeToParse (text))
            return false;
    }

    return true;
}

// The framework parses the preferences file itself, with no guard in front. A file our own
// reader can't take as preferences (one that would crash or hang the parser among them) is
// moved aside, kept for the user, and the plug-in starts with the defaults. Another plug-in
// process may be doing the same with the same file (hosts scan in parallel): either move
// keeps it whole under one name.
juce::File preferencesFileReadyToParse (const juce::File& file)
{
    if (! file.existsAsFile() || file.getSize() == 0)
        return file;

    if (isReadablePreferences (oskv::StateXml::parseFile (file).get()))
        return file;

    if (oskv::FileSetAside::moveAside (file, ".unreadable") != oskv::FileSetAside::Outcome::failed)
        return file;

    // It can't be moved, so nothing can be saved there either: preferences live in memory.
    return {};
}

// The framework's own rule on macOS (~/Library/Application Support/Ostel_Kaverno); elsewhere
// the per-user application data folder, which is where that rule's intent lands.
std::unique_ptr<juce::PropertiesFile> openPreferences()
{
    const auto options = preferencesOptions();

   #if JUCE_MAC
    const auto file = options.getDefaultFile();
   #else
    const auto file = juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory)
                          .getChildFile (options.folderName)
                          .getChildFile (options.applicationName + options.filenameSuffix);
   #endif

    return std::make_unique<juce::PropertiesFile> (preferencesFileReadyToParse (file), options);
}
} // namespace

SombraxAudioProcessor::SmoothingBuffers::SmoothingBuffers()
{
    for (auto* v : { &cutoff, &lpfGain, &hpfGain, &bpfGain, &notchGain, &drive, &shape, &outGain, &dryWet })
        v->assign ((size_t) initialSize, fillValue);
}

SombraxAudioProcessor::SombraxAudioProcessor()
    : juce::AudioProcessor (BusesProperties()
                                .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      parameters (*this, &undoManager),
      currentPresetName ("INIT")
{
    // Process-wide, and the same handler for every instance; what it writes is prepared first.
    oskv::PluginCrashLogger::prepareCrashLog();
    juce::SystemStats::setApplicationCrashHandler (oskv::PluginCrashLogger::crashHandler);

    oskv::appendLfoWavetables (lfoWavetables);

    juce::File (oskv::PresetsManager::presetsFolderPath).createDirectory();
    oskv::ProgramChangeManager::getMidiPresetsFolder().createDirectory();

    initializeFilterParameters();
    initializeGlobalParameters();
    initializeModuleBypassParameters();
    parameters.state = juce::ValueTree (juce::Identifier ("Sombrax"));

    for (int channel = 0; channel < 2; ++channel)
    {
        filterStates.push_back ({});
        upsamplers.push_back (std::make_unique<HalfBandFilter> (8, true));
        downsamplers.push_back (std::make_unique<HalfBandFilter> (8, true));
        dcBlockers.push_back ({});
        feedbackMemory.push_back (0.0f);
    }

    midiProgramPresets = oskv::ProgramChangeManager::scanMidiPresetsFolder();

    preferences = openPreferences();
    animationsEnabled = preferences->getBoolValue (animationsEnabledKey, animationsEnabled);

    // Start-up preset: the user's default if there is one, else the factory "Typical".
    const oskv::PresetsManager presetsManager;
    const auto defaultPreset = presetsManager.getDefaultPresetFile();
    const auto typicalPreset = juce::File (oskv::PresetsManager::presetsFolderPath + juce::File::getSeparatorString() + "Typical")
                                   .withFileExtension (oskv::PresetsManager::presetFileExtension);

    if (defaultPreset.existsAsFile())
    {
        oskv::PresetsManager::loadPreset (defaultPreset, parameters);
        currentPresetName = oskv::PresetsManager::defaultPresetName;
    }
    else if (typicalPreset.existsAsFile())
    {
        oskv::PresetsManager::loadPreset (typicalPreset, parameters);
        currentPresetName = "Typical";
    }
}

SombraxAudioProcessor::~SombraxAudioProcessor()
{
    const juce::ScopedLock lock (preferences->getLock());

    if (preferences->needsToBeSaved())
        preferences->save();
}

const juce::String SombraxAudioProcessor::getName() const { return "Sombrax"; }
// The framework's default accepts any layout, and a VST2 host would then be offered
// up to 64 channels; the plug-in keeps two channels of state, so it takes one or two.
bool SombraxAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto in = layouts.getMainInputChannelSet();
    const auto out = layouts.getMainOutputChannelSet();
    return in == out && (in == juce::AudioChannelSet::mono() || in == juce::AudioChannelSet::stereo());
}

double SombraxAudioProcessor::getTailLengthSeconds() const { return 0.0; }
bool SombraxAudioProcessor::acceptsMidi() const { return true; }
bool SombraxAudioProcessor::producesMidi() const { return false; }

juce::AudioProcessorEditor* SombraxAudioProcessor::createEditor()
{
    return new SombraxAudioProcessorEditor (*this);
}

bool SombraxAudioProcessor::hasEditor() const { return true; }
int SombraxAudioProcessor::getNumPrograms() { return 1; }
int SombraxAudioProcessor::getCurrentProgram() { return 0; }
void SombraxAudioProcessor::setCurrentProgram (int) {}
const juce::String SombraxAudioProcessor::getProgramName (int) { return {}; }
void SombraxAudioProcessor::changeProgramName (int, const juce::String&) {}

//==============================================================================
namespace
{
// A float parameter's default text: the number with at most two decimals ("0.0", "1.0").
// The framework would call an empty function and throw, so this one stands in for it.
juce::String defaultParameterText (float value)
{
    return oskv::numberText (value, 2);
}

// All 21 parameters are plain automatable floats; switches and choices differ only by an interval of 1.
void createParameter (juce::AudioProcessorValueTreeState& state,
                      const juce::String& id,
                      const juce::String& name,
                      const juce::String& label,
                      juce::NormalisableRange<float> range,
                      float defaultValue,
                      std::function<juce::String (float)> valueToText)
{
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    state.createAndAddParameter (id, name, label, range, defaultValue, std::move (valueToText), nullptr,
                                 false, true, false, juce::AudioProcessorParameter::genericParameter, false);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}
} // namespace

void SombraxAudioProcessor::initializeFilterParameters()
{
    auto waveName = [] (float value) -> juce::String
    {
        static const char* const names[] = { "SINE", "SQUARE", "SAW UP", "SAW DOWN", "TRIANGLE", "RANDOM", "SMOOTH RANDOM" };
        const int i = oskv::nearestInteger (value);
        return juce::isPositiveAndBelow (i, (int) std::size (names)) ? juce::String (names[i]) : juce::String();
    };

    createParameter (parameters, filterCutoffParamID, "Cutoff", "Hz", cutoffRange, 11000.0f, oskv::getHertzParameterText);
    createParameter (parameters, filterResonanceParamID, "Resonance", "%", percentRange, 0.0f, oskv::getPercentParameterText);
    createParameter (parameters, filterCutoffModDepthParamID, "Cutoff Mod Depth", "%", percentRange, 0.0f, oskv::getPercentParameterText);
    createParameter (parameters, lfoRateParamID, "LFO Rate", "Hz", lfoRateRange, 1.0f, oskv::getHertzWithDecimalsParameterText);
    createParameter (parameters, lfoHighRateParamID, "LFO High Rate", "Hz", lfoHighRateRange, 60.0f, oskv::getHertzParameterText);
    createParameter (parameters, lfoHighRateModeParamID, "LFO High Rate Mode", {}, switchRange, 0.0f, defaultParameterText);
    createParameter (parameters, lfoWaveParamID, "LFO Wave", {}, lfoWaveRange, 0.0f, waveName);
    createParameter (parameters, lpfGainParamID, "LPF Gain", "dB", filterGainRange, 0.0f, oskv::getDecibelsParameterText);
    createParameter (parameters, hpfGainParamID, "HPF Gain", "dB", filterGainRange, -70.0f, oskv::getDecibelsParameterText);
    createParameter (parameters, bpfGainParamID, "BPF Gain", "dB", filterGainRange, -70.0f, oskv::getDecibelsParameterText);
    createParameter (parameters, notchGainParamID, "NOTCH Gain", "dB", filterGainRange, -70.0f, oskv::getDecibelsParameterText);
    createParameter (parameters, lfoSyncParamID, "LFO Sync", {}, switchRange, 0.0f, defaultParameterText);
    createParameter (parameters, lfoSyncedRateParamID, "LFO Synced Rate", {}, syncedRateRange, 5.0f, oskv::getExtendedSyncedTimeParameterText);
}

void SombraxAudioProcessor::initializeGlobalParameters()
{
    auto prePost = [] (float value) -> juce::String { return value < 0.5f ? "PRE" : "POST"; };

    createParameter (parameters, driveParamID, "Drive", "%", percentRange, 0.0f, oskv::getPercentParameterText);
    createParameter (parameters, shapeParamID, "Shape", "%", percentRange, 50.0f, oskv::getPercentParameterText);
    createParameter (parameters, feedbackParamID, "Feedback", "%", percentRange, 0.0f, oskv::getPercentParameterText);
    createParameter (parameters, filterPostParamID, "Filter Pre/Post", {}, switchRange, 0.0f, prePost);
    createParameter (parameters, outGainParamID, "Out Gain", "dB", outGainRange, 0.0f, oskv::getDecibelsParameterText);
    createParameter (parameters, dryWetParamID, "Dry/Wet", "%", percentRange, 100.0f, oskv::getPercentParameterText);
}

void SombraxAudioProcessor::initializeModuleBypassParameters()
{
    auto offOn = [] (float value) -> juce::String { return value < 0.5f ? "OFF" : "ON"; };

    createParameter (parameters, filterActiveParamID, "Filter Active", {}, switchRange, 1.0f, offOn);
    createParameter (parameters, distortionActiveParamID, "Distortion Active", {}, switchRange, 1.0f, offOn);
}

//==============================================================================
// The plug-in client's factory: one processor per plug-in instance.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new SombraxAudioProcessor();
}

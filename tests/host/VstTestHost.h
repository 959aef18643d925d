#pragma once

// A minimal VST2 host for tests: loads a plug-in binary, talks to it only
// through the VST2 interface, and records what the plug-in asks of the host.

#include <pluginterfaces/vst2.x/aeffect.h>
#include <pluginterfaces/vst2.x/aeffectx.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class VstTestHost
{
public:
    // One call the plug-in made to the host callback.
    struct HostCall
    {
        VstInt32 opcode = 0;
        VstInt32 index = 0;
        VstIntPtr value = 0;
        float opt = 0.0f;
        std::string text;   // the string argument of audioMasterCanDo
    };

    struct AutomationEvent
    {
        int index = 0;
        float value = 0.0f;
    };

    // A short MIDI message for effProcessEvents.
    struct MidiMessage
    {
        std::uint8_t bytes[3] {};
        int sampleOffset = 0;
    };

    static constexpr VstIntPtr hostVstVersion = 2400;

    VstTestHost() = default;
    ~VstTestHost();

    VstTestHost (const VstTestHost&) = delete;
    VstTestHost& operator= (const VstTestHost&) = delete;

    // Opens the binary (kept loaded until unload(), as unloading a library with
    // running threads is not what most tests are about) and creates one plug-in
    // instance. On failure returns false and fills errorMessage.
    bool load (const std::string& pluginPath, std::string& errorMessage);

    // Closes the binary as hosts do after a scan; every instance of it must have
    // been closed. False if it was not open or dlclose failed.
    static bool unload (const std::string& pluginPath);

    AEffect* getEffect() const noexcept    { return effect; }
    bool isLoaded() const noexcept          { return effect != nullptr; }

    VstIntPtr dispatch (VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                        void* ptr = nullptr, float opt = 0.0f);

    // Runs an opcode that writes a zero-terminated string into a host buffer.
    // The buffer is far larger than any VST2 limit, so overlong answers are
    // seen rather than corrupting memory.
    std::string getString (VstInt32 opcode, VstInt32 index = 0);

    std::string getParameterName (int index)      { return getString (effGetParamName, index); }
    std::string getParameterLabel (int index)     { return getString (effGetParamLabel, index); }
    std::string getParameterDisplay (int index)   { return getString (effGetParamDisplay, index); }
    float getParameter (int index);
    void setParameter (int index, float value);

    VstIntPtr canDo (const std::string& capability);

    // Host life cycle, in the order hosts use.
    void open();
    void setSampleRate (float newSampleRate);
    void setBlockSize (int newBlockSize);
    void resume();      // mains on, then start process
    void suspend();     // stop process, then mains off

    // Calls processReplacing once on planar channel buffers; every buffer must
    // hold numSamples samples, with numInputs inputs and numOutputs outputs.
    void processReplacing (std::vector<std::vector<float>>& inputs,
                           std::vector<std::vector<float>>& outputs, int numSamples);

    // Sends short MIDI messages through effProcessEvents; returns its answer.
    VstIntPtr sendMidi (const std::vector<MidiMessage>& messages);

    // effGetChunk / effSetChunk; the chunk is copied out of the plug-in's memory.
    std::vector<char> getChunk (bool currentProgramOnly = false);
    VstIntPtr setChunk (const std::vector<char>& chunk, bool currentProgramOnly = false);

    // effClose; the instance is gone afterwards. Returns the dispatcher's answer.
    VstIntPtr close();

    // What the plug-in asked of the host so far.
    std::vector<HostCall> getHostCalls() const;
    std::vector<AutomationEvent> getAutomationEvents() const;
    int countHostCalls (VstInt32 opcode) const;
    void clearRecordedCalls();

    // Transport the host reports through audioMasterGetTime.
    VstTimeInfo& getTimeInfo() noexcept     { return timeInfo; }

    // Last size the plug-in asked for with audioMasterSizeWindow, 0 if none.
    int getRequestedWidth() const;
    int getRequestedHeight() const;

private:
    static VstIntPtr VSTCALLBACK hostCallback (AEffect* effect, VstInt32 opcode, VstInt32 index,
                                               VstIntPtr value, void* ptr, float opt);
    VstIntPtr handleHostCall (VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

    AEffect* effect = nullptr;
    // Read by callbacks that may come from the plug-in's own threads.
    std::atomic<float> sampleRate { 44100.0f };
    std::atomic<int> blockSize { 512 };
    std::atomic<bool> processing { false };
    VstTimeInfo timeInfo {};

    mutable std::mutex callLock;
    std::vector<HostCall> hostCalls;
    std::vector<AutomationEvent> automationEvents;
    int requestedWidth = 0, requestedHeight = 0;
};

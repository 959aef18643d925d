#include "VstTestHost.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <map>

namespace
{
using PluginEntry = AEffect* (VSTCALLBACK*) (audioMasterCallback);

// The plug-in calls back before VSTPluginMain has returned its AEffect (to ask
// the host's version), so the host being loaded is found through here.
thread_local VstTestHost* hostBeingLoaded = nullptr;

std::mutex libraryLock;
std::map<std::string, void*> openLibraries;

void* openLibrary (const std::string& path, std::string& errorMessage)
{
    const std::lock_guard<std::mutex> guard (libraryLock);

    if (auto it = openLibraries.find (path); it != openLibraries.end())
        return it->second;

    dlerror();

    if (auto* handle = dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL))
    {
        openLibraries[path] = handle;
        return handle;
    }

    const char* error = dlerror();
    errorMessage = "dlopen failed: " + std::string (error != nullptr ? error : "unknown error");
    return nullptr;
}

void copyString (void* destination, const char* text, std::size_t capacity)
{
    if (destination == nullptr || capacity == 0)
        return;

    auto* dest = static_cast<char*> (destination);
    std::strncpy (dest, text, capacity - 1);
    dest[capacity - 1] = 0;
}

bool hostCanDo (const std::string& capability)
{
    static const char* const supported[] = { "sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo",
                                             "receiveVstEvents", "receiveVstMidiEvent", "sizeWindow",
                                             "startStopProcess", "supplyIdle" };

    return std::any_of (std::begin (supported), std::end (supported),
                        [&] (const char* s) { return capability == s; });
}
} // namespace

//==============================================================================
VstTestHost::~VstTestHost()
{
    if (effect != nullptr)
    {
        if (processing)
            suspend();

        close();
    }
}

bool VstTestHost::load (const std::string& pluginPath, std::string& errorMessage)
{
    if (effect != nullptr)
    {
        errorMessage = "a plug-in is already loaded";
        return false;
    }

    auto* library = openLibrary (pluginPath, errorMessage);

    if (library == nullptr)
        return false;

    auto* entry = reinterpret_cast<PluginEntry> (dlsym (library, "VSTPluginMain"));

    if (entry == nullptr)
        entry = reinterpret_cast<PluginEntry> (dlsym (library, "main"));

    if (entry == nullptr)
    {
        errorMessage = "no VSTPluginMain entry point in " + pluginPath;
        return false;
    }

    timeInfo = {};
    timeInfo.sampleRate = sampleRate;
    timeInfo.tempo = 120.0;
    timeInfo.timeSigNumerator = 4;
    timeInfo.timeSigDenominator = 4;
    timeInfo.flags = kVstTempoValid | kVstTimeSigValid | kVstPpqPosValid;

    hostBeingLoaded = this;
    auto* newEffect = entry (&VstTestHost::hostCallback);
    hostBeingLoaded = nullptr;

    if (newEffect == nullptr)
    {
        errorMessage = "VSTPluginMain returned no effect";
        return false;
    }

    if (newEffect->magic != kEffectMagic)
    {
        errorMessage = "the effect's magic number is wrong";
        return false;
    }

    // resvd1 belongs to the host: it leads callbacks back to this object.
    newEffect->resvd1 = reinterpret_cast<VstIntPtr> (this);
    effect = newEffect;
    return true;
}

bool VstTestHost::unload (const std::string& pluginPath)
{
    const std::lock_guard<std::mutex> guard (libraryLock);
    const auto it = openLibraries.find (pluginPath);

    if (it == openLibraries.end())
        return false;

    const auto closed = dlclose (it->second) == 0;
    openLibraries.erase (it);
    return closed;
}

VstIntPtr VstTestHost::dispatch (VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (effect == nullptr || effect->dispatcher == nullptr)
        return 0;

    return effect->dispatcher (effect, opcode, index, value, ptr, opt);
}

std::string VstTestHost::getString (VstInt32 opcode, VstInt32 index)
{
    char buffer[256] = {};
    dispatch (opcode, index, 0, buffer);
    buffer[sizeof (buffer) - 1] = 0;
    return buffer;
}

float VstTestHost::getParameter (int index)
{
    return effect != nullptr ? effect->getParameter (effect, index) : 0.0f;
}

void VstTestHost::setParameter (int index, float value)
{
    if (effect != nullptr)
        effect->setParameter (effect, index, value);
}

VstIntPtr VstTestHost::canDo (const std::string& capability)
{
    std::vector<char> text (capability.begin(), capability.end());
    text.push_back (0);
    return dispatch (effCanDo, 0, 0, text.data());
}

void VstTestHost::open()
{
    dispatch (effOpen);
}

void VstTestHost::setSampleRate (float newSampleRate)
{
    sampleRate = newSampleRate;
    timeInfo.sampleRate = newSampleRate;
    dispatch (effSetSampleRate, 0, 0, nullptr, newSampleRate);
}

void VstTestHost::setBlockSize (int newBlockSize)
{
    blockSize = newBlockSize;
    dispatch (effSetBlockSize, 0, newBlockSize);
}

void VstTestHost::resume()
{
    dispatch (effMainsChanged, 0, 1);
    dispatch (effStartProcess);
    processing = true;
}

void VstTestHost::suspend()
{
    dispatch (effStopProcess);
    dispatch (effMainsChanged, 0, 0);
    processing = false;
}

void VstTestHost::processReplacing (std::vector<std::vector<float>>& inputs,
                                    std::vector<std::vector<float>>& outputs, int numSamples)
{
    if (effect == nullptr || effect->processReplacing == nullptr)
        return;

    std::vector<float*> in, out;

    for (auto& channel : inputs)
        in.push_back (channel.data());

    for (auto& channel : outputs)
        out.push_back (channel.data());

    effect->processReplacing (effect, in.data(), out.data(), numSamples);

    timeInfo.samplePos += numSamples;
    timeInfo.ppqPos = timeInfo.samplePos / timeInfo.sampleRate * timeInfo.tempo / 60.0;
}

VstIntPtr VstTestHost::sendMidi (const std::vector<MidiMessage>& messages)
{
    std::vector<VstMidiEvent> events (messages.size());

    for (std::size_t i = 0; i < messages.size(); ++i)
    {
        auto& e = events[i];
        e.type = kVstMidiType;
        e.byteSize = (VstInt32) sizeof (VstMidiEvent);
        e.deltaFrames = messages[i].sampleOffset;
        std::memcpy (e.midiData, messages[i].bytes, 3);
    }

    // The list is a VstEvents header followed by as many pointers as needed.
    const auto listSize = std::max (sizeof (VstEvents),
                                    offsetof (VstEvents, events) + events.size() * sizeof (VstEvent*));
    std::vector<std::max_align_t> storage ((listSize + sizeof (std::max_align_t) - 1) / sizeof (std::max_align_t));
    auto* list = reinterpret_cast<VstEvents*> (storage.data());
    list->numEvents = (VstInt32) events.size();

    auto** pointers = reinterpret_cast<VstEvent**> (reinterpret_cast<char*> (list) + offsetof (VstEvents, events));

    for (std::size_t i = 0; i < events.size(); ++i)
        pointers[i] = reinterpret_cast<VstEvent*> (&events[i]);

    return dispatch (effProcessEvents, 0, 0, list);
}

std::vector<char> VstTestHost::getChunk (bool currentProgramOnly)
{
    void* data = nullptr;
    const auto size = dispatch (effGetChunk, currentProgramOnly ? 1 : 0, 0, &data);

    if (data == nullptr || size <= 0)
        return {};

    const auto* bytes = static_cast<const char*> (data);
    return std::vector<char> (bytes, bytes + size);
}

VstIntPtr VstTestHost::setChunk (const std::vector<char>& chunk, bool currentProgramOnly)
{
    auto copy = chunk;
    return dispatch (effSetChunk, currentProgramOnly ? 1 : 0, (VstIntPtr) copy.size(),
                     copy.empty() ? nullptr : copy.data());
}

VstIntPtr VstTestHost::close()
{
    if (effect == nullptr)
        return 0;

    const auto result = dispatch (effClose);
    effect = nullptr;
    processing = false;
    return result;
}

//==============================================================================
std::vector<VstTestHost::HostCall> VstTestHost::getHostCalls() const
{
    const std::lock_guard<std::mutex> guard (callLock);
    return hostCalls;
}

std::vector<VstTestHost::AutomationEvent> VstTestHost::getAutomationEvents() const
{
    const std::lock_guard<std::mutex> guard (callLock);
    return automationEvents;
}

int VstTestHost::countHostCalls (VstInt32 opcode) const
{
    const std::lock_guard<std::mutex> guard (callLock);
    return (int) std::count_if (hostCalls.begin(), hostCalls.end(),
                                [opcode] (const HostCall& c) { return c.opcode == opcode; });
}

void VstTestHost::clearRecordedCalls()
{
    const std::lock_guard<std::mutex> guard (callLock);
    hostCalls.clear();
    automationEvents.clear();
}

int VstTestHost::getRequestedWidth() const
{
    const std::lock_guard<std::mutex> guard (callLock);
    return requestedWidth;
}

int VstTestHost::getRequestedHeight() const
{
    const std::lock_guard<std::mutex> guard (callLock);
    return requestedHeight;
}

//==============================================================================
VstIntPtr VSTCALLBACK VstTestHost::hostCallback (AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                 VstIntPtr value, void* ptr, float opt)
{
    VstTestHost* host = nullptr;

    if (effect != nullptr && effect->resvd1 != 0)
        host = reinterpret_cast<VstTestHost*> (effect->resvd1);
    else
        host = hostBeingLoaded;

    if (host == nullptr)
        return opcode == audioMasterVersion ? hostVstVersion : 0;

    return host->handleHostCall (opcode, index, value, ptr, opt);
}

VstIntPtr VstTestHost::handleHostCall (VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    {
        HostCall call { opcode, index, value, opt, {} };

        if (opcode == audioMasterCanDo && ptr != nullptr)
            call.text = static_cast<const char*> (ptr);

        const std::lock_guard<std::mutex> guard (callLock);
        hostCalls.push_back (call);

        if (opcode == audioMasterAutomate)
            automationEvents.push_back ({ index, opt });

        if (opcode == audioMasterSizeWindow)
        {
            requestedWidth = index;
            requestedHeight = (int) value;
        }
    }

    switch (opcode)
    {
        case audioMasterVersion:                    return hostVstVersion;
        case audioMasterAutomate:                   return 0;
        case audioMasterBeginEdit:                  return 1;
        case audioMasterEndEdit:                    return 1;
        case audioMasterWantMidi:                   return 1;
        case audioMasterGetTime:                    return reinterpret_cast<VstIntPtr> (&timeInfo);
        case audioMasterGetSampleRate:              return (VstIntPtr) sampleRate;
        case audioMasterGetBlockSize:               return blockSize;
        case audioMasterGetCurrentProcessLevel:     return processing ? kVstProcessLevelRealtime : kVstProcessLevelUser;
        case audioMasterGetAutomationState:         return kVstAutomationReadWrite;
        case audioMasterGetLanguage:                return kVstLangEnglish;
        case audioMasterGetVendorVersion:           return 1;
        case audioMasterSizeWindow:                 return 1;
        case audioMasterUpdateDisplay:              return 1;
        case audioMasterIOChanged:                  return 0;

        case audioMasterGetVendorString:
            copyString (ptr, "Sombrax Tests", kVstMaxVendorStrLen);
            return 1;

        case audioMasterGetProductString:
            copyString (ptr, "Sombrax Test Host", kVstMaxProductStrLen);
            return 1;

        case audioMasterCanDo:
            return (ptr != nullptr && hostCanDo (static_cast<const char*> (ptr))) ? 1 : 0;

        default:
            return 0;
    }
}

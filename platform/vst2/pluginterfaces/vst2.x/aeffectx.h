/*
    Sombrax VST 2.4 interface layer: the 2.x extensions (events, time info,
    speaker arrangements, pin properties and the extended opcode sets).

    Like aeffect.h this may be included inside a namespace, so it pulls in
    nothing but its sibling.
*/

#ifndef SOMBRAX_VST2_AEFFECTX_H_INCLUDED
#define SOMBRAX_VST2_AEFFECTX_H_INCLUDED

#include "aeffect.h"

#if defined (_MSC_VER) || defined (__GNUC__) || defined (__clang__)
 #pragma pack (push, 8)
#endif

// Plain names for C as well as C++.
typedef struct VstEvent VstEvent;
typedef struct VstEvents VstEvents;
typedef struct VstMidiEvent VstMidiEvent;
typedef struct VstMidiSysexEvent VstMidiSysexEvent;
typedef struct VstTimeInfo VstTimeInfo;
typedef struct VstPinProperties VstPinProperties;
typedef struct VstSpeakerProperties VstSpeakerProperties;
typedef struct VstSpeakerArrangement VstSpeakerArrangement;

//==============================================================================
enum Vst2StringConstants
{
    kVstMaxNameLen          = 64,
    kVstMaxLabelLen         = 64,
    kVstMaxShortLabelLen    = 8,
    kVstMaxCategLabelLen    = 24,
    kVstMaxFileNameLen      = 100
};

//==============================================================================
// Events: every kind starts with the same four fields, so a host can walk a
// list of mixed events by their type.
enum VstEventTypes
{
    kVstMidiType            = 1,
    kVstAudioType           = 2,    // obsolete
    kVstVideoType           = 3,    // obsolete
    kVstParameterType       = 4,    // obsolete
    kVstTriggerType         = 5,    // obsolete
    kVstSysExType           = 6
};

struct VstEvent
{
    VstInt32 type;                  // VstEventTypes
    VstInt32 byteSize;              // size of the whole event
    VstInt32 deltaFrames;           // offset into the current block
    VstInt32 flags;
    char data[16];
};

// A host allocates this with room for numEvents pointers; two are declared.
struct VstEvents
{
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[2];
};

enum VstMidiEventFlags
{
    kVstMidiEventIsRealtime = 1 << 0
};

// Short MIDI message, 32 bytes.
struct VstMidiEvent
{
    VstInt32 type;                  // kVstMidiType
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    VstInt32 flags;                 // VstMidiEventFlags
    VstInt32 noteLength;
    VstInt32 noteOffset;
    char midiData[4];               // status and up to two data bytes, zero padded
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

// System-exclusive message; the bytes live elsewhere, owned by the sender.
struct VstMidiSysexEvent
{
    VstInt32 type;                  // kVstSysExType
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    VstInt32 flags;
    VstInt32 dumpBytes;
    VstIntPtr resvd1;
    char* sysexDump;
    VstIntPtr resvd2;
};

//==============================================================================
// Transport and tempo, as answered to audioMasterGetTime. 88 bytes.
struct VstTimeInfo
{
    double samplePos;               // always valid
    double sampleRate;              // always valid
    double nanoSeconds;             // kVstNanosValid
    double ppqPos;                  // kVstPpqPosValid
    double tempo;                   // kVstTempoValid, beats per minute
    double barStartPos;             // kVstBarsValid
    double cycleStartPos;           // kVstCyclePosValid
    double cycleEndPos;             // kVstCyclePosValid
    VstInt32 timeSigNumerator;      // kVstTimeSigValid
    VstInt32 timeSigDenominator;    // kVstTimeSigValid
    VstInt32 smpteOffset;           // kVstSmpteValid, in 80ths of a frame
    VstInt32 smpteFrameRate;        // kVstSmpteValid, VstSmpteFrameRate
    VstInt32 samplesToNextClock;    // kVstClockValid
    VstInt32 flags;                 // VstTimeInfoFlags
};

enum VstTimeInfoFlags
{
    kVstTransportChanged        = 1 << 0,
    kVstTransportPlaying        = 1 << 1,
    kVstTransportCycleActive    = 1 << 2,
    kVstTransportRecording      = 1 << 3,
    kVstAutomationWriting       = 1 << 6,
    kVstAutomationReading       = 1 << 7,
    kVstNanosValid              = 1 << 8,
    kVstPpqPosValid             = 1 << 9,
    kVstTempoValid              = 1 << 10,
    kVstBarsValid               = 1 << 11,
    kVstCyclePosValid           = 1 << 12,
    kVstTimeSigValid            = 1 << 13,
    kVstSmpteValid              = 1 << 14,
    kVstClockValid              = 1 << 15
};

enum VstSmpteFrameRate
{
    kVstSmpte24fps      = 0,
    kVstSmpte25fps      = 1,
    kVstSmpte2997fps    = 2,
    kVstSmpte30fps      = 3,
    kVstSmpte2997dfps   = 4,
    kVstSmpte30dfps     = 5,
    kVstSmpteFilm16mm   = 6,
    kVstSmpteFilm35mm   = 7,
    kVstSmpte239fps     = 10,
    kVstSmpte249fps     = 11,
    kVstSmpte599fps     = 12,
    kVstSmpte60fps      = 13
};

//==============================================================================
// Plug-in -> host requests, continued from AudioMasterOpcodes.
enum AudioMasterOpcodesX
{
    audioMasterWantMidi                     = 6,    // obsolete, still sent by plug-ins taking MIDI
    audioMasterGetTime                      = 7,    // value: wanted VstTimeInfoFlags, returns VstTimeInfo*
    audioMasterProcessEvents                = 8,    // ptr: VstEvents*
    audioMasterSetTime                      = 9,    // obsolete
    audioMasterTempoAt                      = 10,   // obsolete
    audioMasterGetNumAutomatableParameters  = 11,   // obsolete
    audioMasterGetParameterQuantization     = 12,   // obsolete
    audioMasterIOChanged                    = 13,   // numInputs, numOutputs or initialDelay changed
    audioMasterNeedIdle                     = 14,   // obsolete
    audioMasterSizeWindow                   = 15,   // index: width, value: height
    audioMasterGetSampleRate                = 16,
    audioMasterGetBlockSize                 = 17,
    audioMasterGetInputLatency              = 18,
    audioMasterGetOutputLatency             = 19,
    audioMasterGetPreviousPlug              = 20,   // obsolete
    audioMasterGetNextPlug                  = 21,   // obsolete
    audioMasterWillReplaceOrAccumulate      = 22,   // obsolete
    audioMasterGetCurrentProcessLevel       = 23,   // returns VstProcessLevels
    audioMasterGetAutomationState           = 24,   // returns VstAutomationStates
    audioMasterOfflineStart                 = 25,
    audioMasterOfflineRead                  = 26,
    audioMasterOfflineWrite                 = 27,
    audioMasterOfflineGetCurrentPass        = 28,
    audioMasterOfflineGetCurrentMetaPass    = 29,
    audioMasterSetOutputSampleRate          = 30,   // obsolete
    audioMasterGetOutputSpeakerArrangement  = 31,   // obsolete
    audioMasterGetVendorString              = 32,   // ptr: buffer of kVstMaxVendorStrLen
    audioMasterGetProductString             = 33,   // ptr: buffer of kVstMaxProductStrLen
    audioMasterGetVendorVersion             = 34,
    audioMasterVendorSpecific               = 35,
    audioMasterSetIcon                      = 36,   // obsolete
    audioMasterCanDo                        = 37,   // ptr: capability name
    audioMasterGetLanguage                  = 38,   // returns VstHostLanguage
    audioMasterOpenWindow                   = 39,   // obsolete
    audioMasterCloseWindow                  = 40,   // obsolete
    audioMasterGetDirectory                 = 41,
    audioMasterUpdateDisplay                = 42,   // names or displays changed
    audioMasterBeginEdit                    = 43,   // index: parameter
    audioMasterEndEdit                      = 44,   // index: parameter
    audioMasterOpenFileSelector             = 45,
    audioMasterCloseFileSelector            = 46,
    audioMasterEditFile                     = 47,   // obsolete
    audioMasterGetChunkFile                 = 48,   // obsolete
    audioMasterGetInputSpeakerArrangement   = 49    // obsolete
};

//==============================================================================
// Host -> plug-in opcodes, continued from AEffectOpcodes.
enum AEffectXOpcodes
{
    effProcessEvents                = 25,   // ptr: VstEvents*
    effCanBeAutomated               = 26,   // index: parameter
    effString2Parameter             = 27,   // index: parameter, ptr: text
    effGetNumProgramCategories      = 28,   // obsolete
    effGetProgramNameIndexed        = 29,   // index: program, ptr: buffer
    effCopyProgram                  = 30,   // obsolete
    effConnectInput                 = 31,   // obsolete
    effConnectOutput                = 32,   // obsolete
    effGetInputProperties           = 33,   // index: pin, ptr: VstPinProperties*
    effGetOutputProperties          = 34,   // index: pin, ptr: VstPinProperties*
    effGetPlugCategory              = 35,   // returns VstPlugCategory
    effGetCurrentPosition           = 36,   // obsolete
    effGetDestinationBuffer         = 37,   // obsolete
    effOfflineNotify                = 38,
    effOfflinePrepare               = 39,
    effOfflineRun                   = 40,
    effProcessVarIo                 = 41,
    effSetSpeakerArrangement        = 42,   // value: input VstSpeakerArrangement*, ptr: output
    effSetBlockSizeAndSampleRate    = 43,   // obsolete
    effSetBypass                    = 44,   // value: 1 bypassed, 0 processing
    effGetEffectName                = 45,   // ptr: buffer of kVstMaxEffectNameLen
    effGetErrorText                 = 46,   // obsolete
    effGetVendorString              = 47,   // ptr: buffer of kVstMaxVendorStrLen
    effGetProductString             = 48,   // ptr: buffer of kVstMaxProductStrLen
    effGetVendorVersion             = 49,
    effVendorSpecific               = 50,
    effCanDo                        = 51,   // ptr: capability name, returns 1, 0 or -1
    effGetTailSize                  = 52,   // returns the tail in samples
    effIdle                         = 53,   // obsolete
    effGetIcon                      = 54,   // obsolete
    effSetViewPosition              = 55,   // obsolete
    effGetParameterProperties       = 56,
    effKeysRequired                 = 57,   // obsolete
    effGetVstVersion                = 58,
    effEditKeyDown                  = 59,
    effEditKeyUp                    = 60,
    effSetEditKnobMode              = 61,
    effGetMidiProgramName           = 62,
    effGetCurrentMidiProgram        = 63,
    effGetMidiProgramCategory       = 64,
    effHasMidiProgramsChanged       = 65,
    effGetMidiKeyName               = 66,
    effBeginSetProgram              = 67,
    effEndSetProgram                = 68,
    effGetSpeakerArrangement        = 69,   // value: VstSpeakerArrangement** in, ptr: out
    effShellGetNextPlugin           = 70,
    effStartProcess                 = 71,
    effStopProcess                  = 72,
    effSetTotalSampleToProcess      = 73,
    effSetPanLaw                    = 74,
    effBeginLoadBank                = 75,
    effBeginLoadProgram             = 76,
    effSetProcessPrecision          = 77,   // value: VstProcessPrecision
    effGetNumMidiInputChannels      = 78,
    effGetNumMidiOutputChannels     = 79
};

//==============================================================================
enum VstProcessPrecision
{
    kVstProcessPrecision32  = 0,
    kVstProcessPrecision64  = 1
};

enum VstProcessLevels
{
    kVstProcessLevelUnknown     = 0,
    kVstProcessLevelUser        = 1,
    kVstProcessLevelRealtime    = 2,
    kVstProcessLevelPrefetch    = 3,
    kVstProcessLevelOffline     = 4
};

enum VstAutomationStates
{
    kVstAutomationUnsupported   = 0,
    kVstAutomationOff           = 1,
    kVstAutomationRead          = 2,
    kVstAutomationWrite         = 3,
    kVstAutomationReadWrite     = 4
};

enum VstHostLanguage
{
    kVstLangEnglish     = 1,
    kVstLangGerman      = 2,
    kVstLangFrench      = 3,
    kVstLangItalian     = 4,
    kVstLangSpanish     = 5,
    kVstLangJapanese    = 6
};

enum VstPlugCategory
{
    kPlugCategUnknown           = 0,
    kPlugCategEffect            = 1,
    kPlugCategSynth             = 2,
    kPlugCategAnalysis          = 3,
    kPlugCategMastering         = 4,
    kPlugCategSpacializer       = 5,
    kPlugCategRoomFx            = 6,
    kPlugSurroundFx             = 7,
    kPlugCategRestoration       = 8,
    kPlugCategOfflineProcess    = 9,
    kPlugCategShell             = 10,
    kPlugCategGenerator         = 11,

    kPlugCategMaxCount          = 12
};

//==============================================================================
// Describes one input or output channel. 128 bytes.
struct VstPinProperties
{
    char label[kVstMaxLabelLen];
    VstInt32 flags;                         // VstPinPropertiesFlags
    VstInt32 arrangementType;               // VstSpeakerArrangementType
    char shortLabel[kVstMaxShortLabelLen];
    char future[48];
};

enum VstPinPropertiesFlags
{
    kVstPinIsActive     = 1 << 0,
    kVstPinIsStereo     = 1 << 1,           // first of a stereo pair
    kVstPinUseSpeaker   = 1 << 2            // arrangementType is valid
};

//==============================================================================
// One speaker of an arrangement. 112 bytes.
struct VstSpeakerProperties
{
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[kVstMaxNameLen];
    VstInt32 type;                          // VstSpeakerType
    char future[28];
};

// Eight speakers are declared; arrangements with more channels are allocated
// larger by whoever builds them.
struct VstSpeakerArrangement
{
    VstInt32 type;                          // VstSpeakerArrangementType
    VstInt32 numChannels;
    VstSpeakerProperties speakers[8];
};

enum VstSpeakerType
{
    kSpeakerUndefined   = 0x7fffffff,
    kSpeakerM           = 0,
    kSpeakerL           = 1,
    kSpeakerR           = 2,
    kSpeakerC           = 3,
    kSpeakerLfe         = 4,
    kSpeakerLs          = 5,
    kSpeakerRs          = 6,
    kSpeakerLc          = 7,
    kSpeakerRc          = 8,
    kSpeakerS           = 9,
    kSpeakerCs          = kSpeakerS,
    kSpeakerSl          = 10,
    kSpeakerSr          = 11,
    kSpeakerTm          = 12,
    kSpeakerTfl         = 13,
    kSpeakerTfc         = 14,
    kSpeakerTfr         = 15,
    kSpeakerTrl         = 16,
    kSpeakerTrc         = 17,
    kSpeakerTrr         = 18,
    kSpeakerLfe2        = 19
};

enum VstSpeakerArrangementType
{
    kSpeakerArrUserDefined      = -2,
    kSpeakerArrEmpty            = -1,
    kSpeakerArrMono             = 0,
    kSpeakerArrStereo           = 1,
    kSpeakerArrStereoSurround   = 2,
    kSpeakerArrStereoCenter     = 3,
    kSpeakerArrStereoSide       = 4,
    kSpeakerArrStereoCLfe       = 5,
    kSpeakerArr30Cine           = 6,
    kSpeakerArr30Music          = 7,
    kSpeakerArr31Cine           = 8,
    kSpeakerArr31Music          = 9,
    kSpeakerArr40Cine           = 10,
    kSpeakerArr40Music          = 11,
    kSpeakerArr41Cine           = 12,
    kSpeakerArr41Music          = 13,
    kSpeakerArr50               = 14,
    kSpeakerArr51               = 15,
    kSpeakerArr60Cine           = 16,
    kSpeakerArr60Music          = 17,
    kSpeakerArr61Cine           = 18,
    kSpeakerArr61Music          = 19,
    kSpeakerArr70Cine           = 20,
    kSpeakerArr70Music          = 21,
    kSpeakerArr71Cine           = 22,
    kSpeakerArr71Music          = 23,
    kSpeakerArr80Cine           = 24,
    kSpeakerArr80Music          = 25,
    kSpeakerArr81Cine           = 26,
    kSpeakerArr81Music          = 27,
    kSpeakerArr102              = 28,

    kNumSpeakerArr              = 29
};

#if defined (_MSC_VER) || defined (__GNUC__) || defined (__clang__)
 #pragma pack (pop)
#endif

#endif // SOMBRAX_VST2_AEFFECTX_H_INCLUDED

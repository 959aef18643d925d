/*
    Sombrax VST 2.4 interface layer: core record, opcodes and basic types.

    Binary-compatible with what VST 2.4 hosts pass and expect on 64-bit
    (and 32-bit) Linux, macOS and Windows. The names are the ones the JUCE
    VST2 wrapper refers to.

    No #include here on purpose: the wrapper includes this file inside its
    own namespace, so anything pulled in from here would land in it too.
*/

#ifndef SOMBRAX_VST2_AEFFECT_H_INCLUDED
#define SOMBRAX_VST2_AEFFECT_H_INCLUDED

// Hosts call across the boundary with the platform's plain C convention;
// only 32-bit Windows needs it spelled out.
#if defined (_WIN32) && ! defined (_WIN64)
 #define VSTCALLBACK __cdecl
#else
 #define VSTCALLBACK
#endif

// The interface version this layer implements, as effGetVstVersion reports it.
#define kVstVersion 2400

// The layout below must not follow a packing pragma active where this is
// included: every field sits at its natural alignment, at most 8 bytes.
#if defined (_MSC_VER) || defined (__GNUC__) || defined (__clang__)
 #pragma pack (push, 8)
#endif

//==============================================================================
typedef short VstInt16;
typedef int VstInt32;
typedef long long VstInt64;

// Pointer-sized integer for the dispatcher's value and return; long long
// (not long) so it matches JUCE's pointer_sized_int on 64-bit targets.
#if defined (_WIN64) || (defined (__SIZEOF_POINTER__) && __SIZEOF_POINTER__ == 8)
typedef VstInt64 VstIntPtr;
#else
typedef VstInt32 VstIntPtr;
#endif

//==============================================================================
typedef struct AEffect AEffect;
typedef struct ERect ERect;

typedef VstIntPtr (VSTCALLBACK* audioMasterCallback) (AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                       VstIntPtr value, void* ptr, float opt);
typedef VstIntPtr (VSTCALLBACK* AEffectDispatcherProc) (AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                         VstIntPtr value, void* ptr, float opt);
typedef void (VSTCALLBACK* AEffectProcessProc) (AEffect* effect, float** inputs, float** outputs,
                                                 VstInt32 sampleFrames);
typedef void (VSTCALLBACK* AEffectProcessDoubleProc) (AEffect* effect, double** inputs, double** outputs,
                                                       VstInt32 sampleFrames);
typedef void (VSTCALLBACK* AEffectSetParameterProc) (AEffect* effect, VstInt32 index, float parameter);
typedef float (VSTCALLBACK* AEffectGetParameterProc) (AEffect* effect, VstInt32 index);

//==============================================================================
// 'VstP' read as a big-endian four-character code.
enum
{
    kEffectMagic = 0x56737450
};

//==============================================================================
// The record a plug-in hands to the host. 192 bytes on 64-bit targets.
struct AEffect
{
    VstInt32 magic;                         // kEffectMagic

    AEffectDispatcherProc dispatcher;       // host -> plug-in opcodes
    AEffectProcessProc process;             // accumulating process, obsolete since 2.4
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;

    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 numInputs;
    VstInt32 numOutputs;

    VstInt32 flags;                         // VstAEffectFlags

    VstIntPtr resvd1;                       // owned by the host
    VstIntPtr resvd2;                       // owned by the host

    VstInt32 initialDelay;                  // latency in samples

    VstInt32 realQualities;                 // unused
    VstInt32 offQualities;                  // unused
    float ioRatio;                          // unused

    void* object;                           // the plug-in's own instance
    void* user;                             // free for the host

    VstInt32 uniqueID;
    VstInt32 version;

    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;

    char future[56];                        // reserved, zero
};

//==============================================================================
// Bits of AEffect::flags.
enum VstAEffectFlags
{
    effFlagsHasEditor           = 1 << 0,
    effFlagsHasClip             = 1 << 1,   // obsolete
    effFlagsHasVu               = 1 << 2,   // obsolete
    effFlagsCanMono             = 1 << 3,   // obsolete
    effFlagsCanReplacing        = 1 << 4,
    effFlagsProgramChunks       = 1 << 5,
    effFlagsIsSynth             = 1 << 8,
    effFlagsNoSoundInStop       = 1 << 9,
    effFlagsExtIsAsync          = 1 << 10,  // obsolete
    effFlagsExtHasBuffer        = 1 << 11,  // obsolete
    effFlagsCanDoubleReplacing  = 1 << 12
};

//==============================================================================
// Plug-in -> host requests, first group (the rest are in aeffectx.h).
enum AudioMasterOpcodes
{
    audioMasterAutomate     = 0,    // index: parameter, opt: new value
    audioMasterVersion      = 1,    // returns the host's interface version
    audioMasterCurrentId    = 2,    // returns the unique ID of the shell plug-in being loaded
    audioMasterIdle         = 3,
    audioMasterPinConnected = 4     // obsolete
};

//==============================================================================
// Host -> plug-in opcodes, first group (the rest are in aeffectx.h).
enum AEffectOpcodes
{
    effOpen                 = 0,
    effClose                = 1,
    effSetProgram           = 2,    // value: program
    effGetProgram           = 3,
    effSetProgramName       = 4,    // ptr: name
    effGetProgramName       = 5,    // ptr: buffer of kVstMaxProgNameLen + 1
    effGetParamLabel        = 6,    // index, ptr: buffer
    effGetParamDisplay      = 7,    // index, ptr: buffer
    effGetParamName         = 8,    // index, ptr: buffer
    effGetVu                = 9,    // obsolete
    effSetSampleRate        = 10,   // opt: rate
    effSetBlockSize         = 11,   // value: maximum block size
    effMainsChanged         = 12,   // value: 0 off, 1 on
    effEditGetRect          = 13,   // ptr: ERect** to fill
    effEditOpen             = 14,   // ptr: native parent window
    effEditClose            = 15,
    effEditDraw             = 16,   // obsolete
    effEditMouse            = 17,   // obsolete
    effEditKey              = 18,   // obsolete
    effEditIdle             = 19,
    effEditTop              = 20,   // obsolete
    effEditSleep            = 21,   // obsolete
    effIdentify             = 22,   // obsolete
    effGetChunk             = 23,   // ptr: void** to fill, returns size
    effSetChunk             = 24,   // value: size, ptr: data

    effNumOpcodes           = 25
};

//==============================================================================
// Buffer sizes, without the terminating zero.
enum VstStringConstants
{
    kVstMaxProgNameLen      = 24,
    kVstMaxParamStrLen      = 8,
    kVstMaxVendorStrLen     = 64,
    kVstMaxProductStrLen    = 64,
    kVstMaxEffectNameLen    = 32
};

//==============================================================================
// Editor rectangle in pixels.
struct ERect
{
    VstInt16 top;
    VstInt16 left;
    VstInt16 bottom;
    VstInt16 right;
};

#if defined (_MSC_VER) || defined (__GNUC__) || defined (__clang__)
 #pragma pack (pop)
#endif

#endif // SOMBRAX_VST2_AEFFECT_H_INCLUDED

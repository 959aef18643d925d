#pragma once

#include <juce_core/juce_core.h>

namespace oskv
{
/** The crash log as a crash handler appends to it: the banner, the crashing thread's
    backtrace and the system summary, laid out exactly as the framework's file logger
    writes them (CR LF line ends, the file first cut to its last 128 KiB).

    Everything that needs memory, text formatting or the file system's folders is prepared
    beforehand on a normal thread; writing the report then uses only system calls on fixed
    buffers, so it works even when the crash happened inside the memory allocator. Naming
    the frames takes the dynamic loader's lock, which the handler's watchdog bounds.
*/
class CrashLogFile
{
public:
    /** The framework logger's size limit: a larger file is cut before a report is appended. */
    static constexpr juce::int64 maxInitialFileSize = 128 * 1024;

    /** Remembers the file, the banner's welcome line and the summary (lines ended by CR LF)
        for later reports. Not for signal handlers. False when they don't fit. */
    static bool prepare (const juce::File& logFile, const juce::String& welcomeLine, const juce::String& summaryText);

    static bool isPrepared() noexcept;

    /** Cuts a log over the size limit as a report would, before the framework's logger opens
        it (with no limit of its own, whose cut would replace the log by whatever part of the
        copy could be written). A copy that can't be written whole leaves the log as it was.
        Not for signal handlers; waits while a crash report is being written. */
    static void trim (const juce::File& logFile);

    /** For a signal handler: appends one report for the calling thread. */
    static void writeCrashReport() noexcept;

    /** For a signal handler: writes one backtrace line for a frame's address, ended by
        CR LF, reading exactly as backtrace_symbols() would, such as
        "/usr/lib/libfoo.so(bar+0x1a) [0x7f3c2e41c01a]" or "[0x7ffd5e3b2a40]". */
    static void writeFrameLine (int fd, void* address) noexcept;
};
} // namespace oskv

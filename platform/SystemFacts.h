#pragma once

#include <juce_core/juce_core.h>

namespace oskv
{
/** What the crash log says about the machine, read from the operating system. */
class SystemFacts
{
public:
    /** The processor's nominal clock in whole megahertz, 0 when the system doesn't say. */
    static int getCpuClockMHz();

    /** Physical memory in whole megabytes (bytes shifted right by 20). */
    static juce::int64 getMemorySizeMB();

    /** Logical processors online. */
    static int getLogicalProcessorCount();

    /** The running system and its version: "Mac OSX 10.13.6" on macOS, the kernel's name
        and release (such as "Linux 6.1.0-18-amd64") on Linux. */
    static juce::String getSystemDescription();
};
} // namespace oskv

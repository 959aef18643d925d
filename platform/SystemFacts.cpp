#include "SystemFacts.h"

#include <sys/utsname.h>
#include <unistd.h>

#if JUCE_MAC
 #include <sys/sysctl.h>
#else
 #include <sys/sysinfo.h>
#endif

namespace oskv
{
#if JUCE_MAC
namespace
{
    template <typename Value>
    Value readSysctl (const char* name)
    {
        Value value {};
        size_t size = sizeof (value);
        return sysctlbyname (name, &value, &size, nullptr, 0) == 0 ? value : Value {};
    }
} // namespace

int SystemFacts::getCpuClockMHz()
{
    return (int) (readSysctl<juce::uint64> ("hw.cpufrequency") / 1000000);
}

juce::int64 SystemFacts::getMemorySizeMB()
{
    return (juce::int64) (readSysctl<juce::uint64> ("hw.memsize") >> 20);
}

int SystemFacts::getLogicalProcessorCount()
{
    return readSysctl<int> ("hw.logicalcpu");
}

juce::String SystemFacts::getSystemDescription()
{
    char version[64] = {};
    size_t size = sizeof (version) - 1;
    sysctlbyname ("kern.osproductversion", version, &size, nullptr, 0);
    return "Mac OSX " + juce::String (version);
}

#else
int SystemFacts::getCpuClockMHz()
{
    // The nominal top clock, as the kernel's frequency driver reports it in kilohertz;
    // without a driver (virtual machines, containers) the clock the processor reports.
    const juce::File maxFrequency ("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");

    if (maxFrequency.existsAsFile())
    {
        const auto kilohertz = maxFrequency.loadFileAsString().trim().getLargeIntValue();

        if (kilohertz > 0)
            return (int) (kilohertz / 1000);
    }

    juce::StringArray lines;
    juce::File ("/proc/cpuinfo").readLines (lines);

    for (const auto& line : lines)
        if (line.upToFirstOccurrenceOf (":", false, false).trim() == "cpu MHz")
            return (int) line.fromFirstOccurrenceOf (":", false, false).trim().getDoubleValue();

    return 0;
}

juce::int64 SystemFacts::getMemorySizeMB()
{
    struct sysinfo info {};

    if (sysinfo (&info) != 0)
        return 0;

    return (juce::int64) (((juce::uint64) info.totalram * info.mem_unit) >> 20);
}

int SystemFacts::getLogicalProcessorCount()
{
    return juce::jmax (1, (int) sysconf (_SC_NPROCESSORS_ONLN));
}

juce::String SystemFacts::getSystemDescription()
{
    struct utsname names {};

    if (uname (&names) != 0)
        return juce::SystemStats::getOperatingSystemName();

    return juce::String (names.sysname) + " " + juce::String (names.release);
}
#endif
} // namespace oskv

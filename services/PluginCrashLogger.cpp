#include "PluginCrashLogger.h"

#include "platform/CrashLogFile.h"
#include "platform/CrashWatchdog.h"
#include "platform/SystemFacts.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace oskv
{
namespace
{
    // The framework's logger leaves the file uncut for a negative size; zero deletes it.
    constexpr juce::int64 noSizeLimit = -1;
} // namespace

juce::StringArray PluginCrashLogger::createSummaryLines()
{
    return {
        pluginCrashLoggerPluginName + " " + pluginCrashLoggerPluginVersionString,
        juce::PluginHostType().getHostDescription(),
        SystemFacts::getSystemDescription(),
        "CPU : " + juce::String (SystemFacts::getLogicalProcessorCount()) + " x "
            + juce::String (SystemFacts::getCpuClockMHz()) + " MHz",
        "Memory : " + juce::String (SystemFacts::getMemorySizeMB()) + " MB"
    };
}

std::unique_ptr<juce::FileLogger> PluginCrashLogger::createLogger()
{
    // The framework's own cut replaces the log by whatever part of the copy it could write.
    CrashLogFile::trim (getLogFile());
    return std::unique_ptr<juce::FileLogger> (juce::FileLogger::createDefaultAppLogger (pluginCrashLoggerSubdirectory,
                                                                                        pluginCrashLoggerLogFileName,
                                                                                        pluginCrashLoggerWelcomeString,
                                                                                        noSizeLimit));
}

void PluginCrashLogger::writeLogSummary (juce::FileLogger* logger)
{
    for (const auto& line : createSummaryLines())
        logger->logMessage (line);
}

juce::File PluginCrashLogger::getLogFile()
{
    return juce::FileLogger::getSystemLogFileFolder()
        .getChildFile (pluginCrashLoggerSubdirectory)
        .getChildFile (pluginCrashLoggerLogFileName);
}

void PluginCrashLogger::prepareCrashLog()
{
    CrashLogFile::prepare (getLogFile(), pluginCrashLoggerWelcomeString,
                           createSummaryLines().joinIntoString ("\r\n") + "\r\n");
}

void PluginCrashLogger::crashHandler (void*)
{
    // First, so that nothing below can keep the process from ending.
    CrashWatchdog::arm();

    if (CrashLogFile::isPrepared())
    {
        CrashLogFile::writeCrashReport();
        return;
    }

    // Installed without preparation: the framework's own logger, at the risks that carries
    // inside a signal handler.
    const auto logger = createLogger();
    logger->logMessage (juce::SystemStats::getStackBacktrace());
    writeLogSummary (logger.get());
}
} // namespace oskv

#pragma once

#include <SombraxVersion.h>
#include <juce_core/juce_core.h>

#include <memory>

namespace oskv
{
// Each file that includes this header has its own copy; all hold the same values.
static const juce::String pluginCrashLoggerSubdirectory { "Ostel Kaverno" };
static const juce::String pluginCrashLoggerPluginName { "Sombrax" };
static const juce::String pluginCrashLoggerPluginVersionString { "v " + juce::String (SOMBRAX_VERSION_STRING) };
static const juce::String pluginCrashLoggerLogFileName { pluginCrashLoggerPluginName + "Log.txt" };
static const juce::String pluginCrashLoggerWelcomeString { pluginCrashLoggerSubdirectory + " " + pluginCrashLoggerPluginName };

/** The crash log: a system summary, and the process-wide crash handler that appends a
    backtrace and the summary when the host process receives a fatal signal. */
class PluginCrashLogger
{
public:
    /** The framework's file logger on the log file, which it has just given its banner.
        A log over the size limit is first cut as a crash report cuts it; when the cut copy
        can't be written whole, the log stays as it was. */
    static std::unique_ptr<juce::FileLogger> createLogger();

    /** Logs the five summary lines: plug-in and version, host, system, CPU, memory. */
    static void writeLogSummary (juce::FileLogger* logger);

    /** Called by the framework's signal handler, which then kills the process. */
    static void crashHandler (void*);

    /** Prepares what crashHandler writes, so that the handler itself needs no memory and
        no formatting. Called before the handler is installed; safe to call again. */
    static void prepareCrashLog();

    /** The log file, where the framework's default application logger keeps it. */
    static juce::File getLogFile();

    /** The five summary lines, in order. */
    static juce::StringArray createSummaryLines();
};
} // namespace oskv

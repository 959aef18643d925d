// The crash log: what a crash and the settings menu's crash-log item append, the trimming
// of large logs, the backtrace's frame lines, and the system facts in the summary.

#include "platform/CrashLogFile.h"
#include "plugin/PluginProcessor.h"
#include "platform/SystemFacts.h"
#include "services/PluginCrashLogger.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <execinfo.h>
#include <iterator>
#include <memory>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
enum class Report
{
    crash,
    menuItem
};

const juce::String banner = "\r\n" + juce::String::repeatedString ("*", 58) + "\r\nOstel Kaverno Sombrax\r\nLog started: ";

class CrashLog : public ::testing::TestWithParam<Report>
{
protected:
    juce::File logFile = oskv::PluginCrashLogger::getLogFile();

    // Returns how the process ended for a crash, 0 for the menu item.
    int appendReport (Report kind)
    {
        if (kind == Report::menuItem)
        {
            // As the settings menu's item does it.
            oskv::PluginCrashLogger::writeLogSummary (oskv::PluginCrashLogger::createLogger().get());
            return 0;
        }

        const pid_t child = fork();

        if (child == 0)
        {
            {
                SombraxAudioProcessor processor;
                std::raise (SIGSEGV);
            }

            _exit (3); // only reached if the handler did not end the process
        }

        int status = 0;
        waitpid (child, &status, 0);
        return WIFSIGNALED (status) ? WTERMSIG (status) : -WEXITSTATUS (status);
    }

    void writeLog (const juce::String& content)
    {
        ASSERT_TRUE (logFile.getParentDirectory().createDirectory().wasOk());
        ASSERT_TRUE (logFile.replaceWithText (content, false, false, nullptr));
    }

    static juce::String summary()
    {
        return oskv::PluginCrashLogger::createSummaryLines().joinIntoString ("\r\n") + "\r\n";
    }
};

// The rest of a banner line after "Log started: ", in the framework's date format.
void expectDateLine (const juce::String& line)
{
    const std::regex date (R"(\d{1,2} (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \d{4} \d{1,2}:\d\d:\d\d(am|pm))");
    EXPECT_TRUE (std::regex_match (line.toStdString(), date)) << line;
}
} // namespace

TEST (CrashLogger, NamesAndPlace)
{
    EXPECT_EQ (oskv::pluginCrashLoggerSubdirectory, "Ostel Kaverno");
    EXPECT_EQ (oskv::pluginCrashLoggerPluginName, "Sombrax");
    EXPECT_EQ (oskv::pluginCrashLoggerPluginVersionString, "v " SOMBRAX_VERSION_STRING);
    EXPECT_EQ (oskv::pluginCrashLoggerLogFileName, "SombraxLog.txt");
    EXPECT_EQ (oskv::pluginCrashLoggerWelcomeString, "Ostel Kaverno Sombrax");
    EXPECT_EQ (oskv::PluginCrashLogger::getLogFile(),
               juce::FileLogger::getSystemLogFileFolder().getChildFile ("Ostel Kaverno").getChildFile ("SombraxLog.txt"));
}

TEST (CrashLogger, SummaryLines)
{
    const auto lines = oskv::PluginCrashLogger::createSummaryLines();
    ASSERT_EQ (lines.size(), 5);
    EXPECT_EQ (lines[0], "Sombrax v " SOMBRAX_VERSION_STRING);
    EXPECT_EQ (lines[1], juce::PluginHostType().getHostDescription());
    EXPECT_EQ (lines[2], oskv::SystemFacts::getSystemDescription());
    EXPECT_TRUE (std::regex_match (lines[3].toStdString(), std::regex (R"(CPU : [1-9]\d* x \d+ MHz)"))) << lines[3];
    EXPECT_TRUE (std::regex_match (lines[4].toStdString(), std::regex (R"(Memory : [1-9]\d* MB)"))) << lines[4];
}

TEST (CrashLogger, SystemFactsComeFromTheKernel)
{
    juce::StringArray meminfo;
    juce::File ("/proc/meminfo").readLines (meminfo);
    juce::StringArray memTotalLine;

    for (const auto& line : meminfo)
        if (line.startsWith ("MemTotal:"))
            memTotalLine.add (line);

    ASSERT_EQ (memTotalLine.size(), 1);
    const auto kilobytes = memTotalLine[0].fromFirstOccurrenceOf (":", false, false).trim().getLargeIntValue();
    EXPECT_EQ (oskv::SystemFacts::getMemorySizeMB(), kilobytes >> 10);

    EXPECT_EQ (oskv::SystemFacts::getLogicalProcessorCount(), (int) sysconf (_SC_NPROCESSORS_ONLN));
    EXPECT_GE (oskv::SystemFacts::getCpuClockMHz(), 0);
    EXPECT_TRUE (oskv::SystemFacts::getSystemDescription().startsWith ("Linux "));
}

TEST (CrashLogger, FrameLinesReadAsBacktraceSymbolsWritesThem)
{
    // Besides the usual form (an object and an offset from its load bias), those a crash
    // seldom shows: a symbol at offset zero, an address in no loaded object, null.
    int onTheStack = 0;
    void* addresses[] = { reinterpret_cast<void*> (&::getpid), &onTheStack, nullptr,
                          reinterpret_cast<char*> (&expectDateLine) + 1 };
    constexpr int numAddresses = (int) std::size (addresses);

    int channel[2];
    ASSERT_EQ (pipe (channel), 0);

    for (auto* address : addresses)
        oskv::CrashLogFile::writeFrameLine (channel[1], address);

    close (channel[1]);
    juce::MemoryOutputStream written;
    char chunk[1024];

    for (ssize_t got; (got = read (channel[0], chunk, sizeof (chunk))) > 0;)
        written.write (chunk, (size_t) got);

    close (channel[0]);

    std::unique_ptr<char*, decltype (&std::free)> expected (backtrace_symbols (addresses, numAddresses), &std::free);
    ASSERT_NE (expected, nullptr);
    juce::String expectedText;

    for (int i = 0; i < numAddresses; ++i)
        expectedText << expected.get()[i] << "\r\n";

    EXPECT_EQ (written.toString(), expectedText);
}

TEST_P (CrashLog, FirstUseCreatesTheFolderAndTheFile)
{
    ASSERT_FALSE (logFile.getParentDirectory().exists());
    appendReport (GetParam());
    EXPECT_TRUE (logFile.existsAsFile());
}

TEST_P (CrashLog, LogOver128KiBIsCutAtALineBreakBeforeTheReport)
{
    // The last 128 KiB start inside the 'b' run; the kept part starts at the break after it.
    const auto kept = "\r\n" + juce::String::repeatedString ("c", 100000) + "\r\n";
    writeLog (juce::String::repeatedString ("a", 100000) + juce::String::repeatedString ("b", 50000) + kept);

    appendReport (GetParam());

    const auto text = logFile.loadFileAsString();
    EXPECT_TRUE (text.startsWith (kept + banner));
    EXPECT_FALSE (text.contains (juce::String::repeatedString ("b", 64))); // backtrace addresses may hold a "bb"
}

TEST_P (CrashLog, LogOfExactly128KiBIsKept)
{
    const auto content = juce::String::repeatedString ("0123456789abcde\n", 8192);
    ASSERT_EQ (content.length(), 131072);
    writeLog (content);

    appendReport (GetParam());

    EXPECT_TRUE (logFile.loadFileAsString().startsWith (content + banner));
}

TEST_P (CrashLog, LargeLogWithoutLineBreaksIsKept)
{
    const auto content = juce::String::repeatedString ("z", 140000);
    writeLog (content);

    appendReport (GetParam());

    EXPECT_TRUE (logFile.loadFileAsString().startsWith (content + banner));
}

TEST_P (CrashLog, FullDiskLeavesTheLogAsItWasWhenTheCutCopyDoesNotFit)
{
    juce::String content;

    for (int line = 0; line < 4000; ++line)
        content << "line " << line << ": " << juce::String::repeatedString ("x", 40) << "\r\n";

    ASSERT_GT (content.length(), 200000);
    writeLog (content);

    // Too little room for the last 128 KiB, and none past the end of the log to append to.
    test_support::runWithFileSizeLimit (64 * 1024, [this] { return appendReport (GetParam()); });

    EXPECT_TRUE (logFile.loadFileAsString().startsWith (content)) << "size now " << logFile.getSize();
    EXPECT_EQ (test_support::fileNamesIn (logFile.getParentDirectory()), logFile.getFileName())
        << "no cut copy is left behind";
}

INSTANTIATE_TEST_SUITE_P (CrashLogger, CrashLog, ::testing::Values (Report::crash, Report::menuItem),
                          [] (const auto& info) { return info.param == Report::crash ? "Crash" : "MenuItem"; });

TEST_F (CrashLog, MenuItemAppendsTheBannerAndTheSummary)
{
    writeLog ("earlier\r\n");
    appendReport (Report::menuItem);

    const auto text = logFile.loadFileAsString();
    ASSERT_TRUE (text.startsWith ("earlier\r\n" + banner));
    const auto rest = text.fromFirstOccurrenceOf (banner, false, false);
    expectDateLine (rest.upToFirstOccurrenceOf ("\r\n", false, false));
    EXPECT_EQ (rest.fromFirstOccurrenceOf ("\r\n", false, false), "\r\n" + summary());
}

TEST_F (CrashLog, CrashAppendsBannerBacktraceAndSummaryThenTheProcessIsKilled)
{
    EXPECT_EQ (appendReport (Report::crash), SIGKILL);

    const auto text = logFile.loadFileAsString();
    ASSERT_TRUE (text.startsWith (banner)) << text;
    EXPECT_TRUE (text.endsWith ("\r\n\r\n" + summary())) << "an empty line ends the backtrace";
    EXPECT_FALSE (text.replace ("\r\n", "").containsAnyOf ("\r\n")) << "every line ends with CR LF";

    auto lines = juce::StringArray::fromTokens (text.fromFirstOccurrenceOf (banner, false, false)
                                                    .upToLastOccurrenceOf ("\r\n\r\n" + summary(), false, false),
                                                "\r\n", "");
    lines.removeEmptyStrings (false);

    ASSERT_GE (lines.size(), 3) << "the date and at least two frames";
    expectDateLine (lines[0]);
    EXPECT_LE (lines.size() - 1, 128);

    for (int i = 1; i < lines.size(); ++i)
        EXPECT_TRUE (lines[i].contains ("[0x")) << "a frame as backtrace_symbols writes it: " << lines[i];
}

TEST_F (CrashLog, HandlerInstalledWithoutPreparationStillWritesTheLog)
{
    // What crashHandler does when nothing was prepared: the framework's logger.
    const pid_t child = fork();

    if (child == 0)
    {
        juce::SystemStats::setApplicationCrashHandler (oskv::PluginCrashLogger::crashHandler);
        std::raise (SIGABRT);
        _exit (3);
    }

    int status = 0;
    waitpid (child, &status, 0);
    ASSERT_TRUE (WIFSIGNALED (status));
    EXPECT_EQ (WTERMSIG (status), SIGKILL);

    const auto text = logFile.loadFileAsString();
    EXPECT_TRUE (text.startsWith (banner));
    EXPECT_TRUE (text.endsWith ("\r\n\r\n" + summary()));
}

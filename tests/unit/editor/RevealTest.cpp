// The settings menu's reveal actions through the desktop's real handler: a stand-in handler
// on a PATH of the test's own, or none at all.

#include "unit/editor/EditorActionsFixture.h"

#include "services/PluginCrashLogger.h"

#include <fcntl.h>
#include <unistd.h>

#include <thread>

using editor_test::EditorActions;

namespace
{
/** The test's own PATH, holding only what a test puts there; the old one comes back after. */
struct HandlerFolder
{
    HandlerFolder() { setenv ("PATH", folder.getFullPathName().toRawUTF8(), 1); }
    ~HandlerFolder() { setenv ("PATH", oldPath.toRawUTF8(), 1); }

    /** An `xdg-open` that prints to both outputs, notes what it was given and exits with `code`. */
    void installHandler (int code) const
    {
        const auto script = folder.getChildFile ("xdg-open");
        ASSERT_TRUE (script.replaceWithText ("#!/bin/sh\necho out; echo err >&2\nprintf '%s' \"$1\" > '"
                                             + arguments.getFullPathName() + "'\nexit " + juce::String (code) + "\n",
                                             false, false, "\n"));
        ASSERT_TRUE (script.setExecutePermission (true));
    }

    const juce::String oldPath = juce::SystemStats::getEnvironmentVariable ("PATH", {});
    juce::TemporaryFile temporary;
    const juce::File folder = [this] { temporary.getFile().createDirectory(); return temporary.getFile(); }();
    const juce::File arguments = folder.getChildFile ("arguments");
};

/** The test process's children that still exist, zombies included. */
int countChildren()
{
    int count = 0;
    const auto self = juce::String ((int) getpid());

    for (const auto& entry : juce::RangedDirectoryIterator (juce::File ("/proc"), false, "*", juce::File::findDirectories))
    {
        // The parent's id is the fourth field, after the name in parentheses.
        const auto stat = entry.getFile().getChildFile ("stat").loadFileAsString();
        const auto fields = juce::StringArray::fromTokens (stat.fromLastOccurrenceOf (")", false, false), " ", {});

        if (fields.size() > 2 && fields[2] == self)
            ++count;
    }

    return count;
}

/** Standard output and error go to a file while it exists. */
struct CapturedOutput
{
    CapturedOutput()
    {
        std::fflush (stdout);
        std::fflush (stderr);
        const int fd = ::open (file.getFile().getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2 (fd, 1);
        ::dup2 (fd, 2);
        ::close (fd);
    }

    ~CapturedOutput() { restore(); }

    void restore()
    {
        if (savedOut < 0)
            return;

        std::fflush (stdout);
        std::fflush (stderr);
        ::dup2 (savedOut, 1);
        ::dup2 (savedErr, 2);
        ::close (savedOut);
        ::close (savedErr);
        savedOut = savedErr = -1;
    }

    juce::TemporaryFile file;
    int savedOut = ::dup (1);
    int savedErr = ::dup (2);
};

struct Reveal : EditorActions
{
    Reveal()
    {
        // The real desktop handler, not the fixture's record.
        component->revealInFileBrowser = nullptr;
    }

    /** Reads the handlers' answers until all have come (or a generous bound passes). */
    void awaitHandlers()
    {
        for (int i = 0; i < 2000 && component->fileBrowserReveal.isWatching(); ++i)
        {
            component->fileBrowserReveal.checkHandlers();
            std::this_thread::sleep_for (std::chrono::milliseconds (5));
        }
    }

    HandlerFolder handlers;
};
} // namespace

TEST_F (Reveal, WithNoDesktopHandlerAMessageNamesTheFolderOrFile)
{
    component->settingsMenuChosen (MainComponent::openPresetsFolderItem);
    component->settingsMenuChosen (MainComponent::crashLogItem);

    const auto logFile = oskv::PluginCrashLogger::getLogFile();
    EXPECT_TRUE (logFile.existsAsFile()) << "the log is still written first";

    ASSERT_EQ (failures.size(), 2);
    EXPECT_TRUE (failures[0].endsWith ("\n" + presetsFolder.getFullPathName())) << failures[0];
    EXPECT_TRUE (failures[1].endsWith ("\n" + logFile.getFullPathName())) << failures[1];
    EXPECT_FALSE (component->fileBrowserReveal.isWatching());
    EXPECT_EQ (countChildren(), 0);
}

TEST_F (Reveal, HandlerRunsSilentlyIsReapedAndAFailureIsReported)
{
    const auto childrenBefore = countChildren();

    for (const int code : { 0, 3 })
    {
        SCOPED_TRACE (code);
        handlers.installHandler (code);
        failures.clear();

        CapturedOutput output;
        component->settingsMenuChosen (MainComponent::openPresetsFolderItem);
        awaitHandlers();
        output.restore();

        EXPECT_EQ (output.file.getFile().getSize(), 0) << "nothing written to the host's output";
        EXPECT_EQ (handlers.arguments.loadFileAsString(), presetsFolder.getFullPathName());
        EXPECT_FALSE (component->fileBrowserReveal.isWatching());
        EXPECT_EQ (countChildren(), childrenBefore) << "no child left to reap";

        if (code == 0)
        {
            EXPECT_TRUE (failures.isEmpty()) << failures.joinIntoString ("; ");
        }
        else
        {
            ASSERT_EQ (failures.size(), 1);
            EXPECT_TRUE (failures[0].endsWith ("\n" + presetsFolder.getFullPathName())) << failures[0];
        }
    }
}

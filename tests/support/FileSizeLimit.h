#pragma once

// Runs a call in a child process whose files can't grow past a given size, as on a disk
// that fills up: a write that crosses the limit comes back short, the next one fails (or,
// when asked, ends the process there, as a save killed part-way).

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test_support
{
enum class AtTheLimit
{
    writeFails,
    processIsKilled
};

/** The child's exit status (the call's result), or minus the signal that ended it. */
inline int runWithFileSizeLimit (rlim_t limitBytes, const std::function<int()>& call,
                                 AtTheLimit atTheLimit = AtTheLimit::writeFails)
{
    const pid_t child = ::fork();

    if (child < 0)
    {
        ADD_FAILURE() << "could not start a child process";
        return -1;
    }

    if (child == 0)
    {
        if (atTheLimit == AtTheLimit::writeFails)
            std::signal (SIGXFSZ, SIG_IGN);

        const rlimit limit { limitBytes, limitBytes };
        ::_exit (::setrlimit (RLIMIT_FSIZE, &limit) == 0 ? call() : 125);
    }

    int status = 0;
    ::waitpid (child, &status, 0);
    return WIFSIGNALED (status) ? -WTERMSIG (status) : WEXITSTATUS (status);
}

/** The names of every file in the folder, hidden ones too, in order, one a line. */
inline juce::String fileNamesIn (const juce::File& folder)
{
    juce::StringArray names;

    for (const auto& file : folder.findChildFiles (juce::File::findFiles, false, "*", juce::File::FollowSymlinks::no))
        names.add (file.getFileName());

    names.sort (false);
    return names.joinIntoString ("\n");
}
} // namespace test_support

// Crashes of a host that has loaded the built binary, each in a process of its own with a
// fresh home folder: the crash is logged and the process ends by SIGKILL, also while another
// thread is inside dlopen() and after the host has unloaded the plug-in.

#include "HostTestEnvironment.h"

#include <SombraxVersion.h>
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace
{
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const std::string banner = "\r\n" + std::string (58, '*') + "\r\nOstel Kaverno Sombrax\r\nLog started: ";

bool startsWith (const std::string& text, const std::string& start)
{
    return text.compare (0, start.size(), start) == 0;
}

class FreshHome
{
public:
    FreshHome()
    {
        auto pattern = (fs::temp_directory_path() / "sombrax-crash-home.XXXXXX").string();

        if (mkdtemp (pattern.data()) != nullptr)
            path = pattern;
    }

    ~FreshHome()
    {
        std::error_code ignored;
        fs::remove_all (path, ignored);
    }

    fs::path path;
};

struct CrashRun
{
    bool crashed = false;               // the host reached its crash
    bool endedWithinFiveSeconds = false;
    int signal = 0;                     // what ended it, 0 if it exited
    std::vector<std::string> printed;   // its output lines
    std::string log;
};

std::vector<std::string> splitLines (const std::string& text, const std::string& separator)
{
    std::vector<std::string> lines;

    for (size_t start = 0; start < text.size();)
    {
        auto end = text.find (separator, start);

        if (end == std::string::npos)
            end = text.size();

        lines.push_back (text.substr (start, end - start));
        start = end + separator.size();
    }

    return lines;
}

// Runs SombraxCrashingHost with the given arguments after the plug-in's path. The end is
// timed from the host's "crashing" line; a host still running 5 s later is killed.
CrashRun runCrashingHost (const std::vector<std::string>& arguments)
{
    CrashRun run;
    FreshHome home;

    if (home.path.empty())
    {
        ADD_FAILURE() << "no temporary home folder";
        return run;
    }

    std::vector<std::string> environment { "HOME=" + home.path.string(),
                                           "XDG_CONFIG_HOME=" + (home.path / ".config").string() };

    for (auto** variable = environ; *variable != nullptr; ++variable)
        if (! startsWith (*variable, "HOME=") && ! startsWith (*variable, "XDG_CONFIG_HOME="))
            environment.emplace_back (*variable);

    std::vector<std::string> commandLine { SOMBRAX_CRASHING_HOST, getPluginPath() };
    commandLine.insert (commandLine.end(), arguments.begin(), arguments.end());

    const auto pointers = [] (std::vector<std::string>& texts)
    {
        std::vector<char*> result;

        for (auto& text : texts)
            result.push_back (text.data());

        result.push_back (nullptr);
        return result;
    };

    auto argv = pointers (commandLine);
    auto envp = pointers (environment);

    int output[2];

    if (pipe (output) != 0)
    {
        ADD_FAILURE() << "pipe failed";
        return run;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init (&actions);
    posix_spawn_file_actions_adddup2 (&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose (&actions, output[0]);
    posix_spawn_file_actions_addclose (&actions, output[1]);

    pid_t child = 0;
    const auto spawned = posix_spawn (&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy (&actions);
    close (output[1]);

    if (spawned != 0)
    {
        close (output[0]);
        ADD_FAILURE() << "could not start " << argv[0];
        return run;
    }

    // Loading the plug-in may take a while on a busy machine; the crash itself may not.
    auto deadline = Clock::now() + std::chrono::seconds (60);
    std::string printed;

    for (;;)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds> (deadline - Clock::now()).count();
        pollfd readable { output[0], POLLIN, 0 };
        const auto ready = left > 0 ? poll (&readable, 1, (int) left) : 0;

        if (ready < 0 && errno == EINTR)
            continue;

        if (ready == 0)
        {
            kill (child, SIGKILL);
            break;
        }

        char chunk[4096];
        const auto got = read (output[0], chunk, sizeof (chunk));

        if (got <= 0)
        {
            run.endedWithinFiveSeconds = run.crashed;
            break;
        }

        printed.append (chunk, (size_t) got);

        if (! run.crashed && printed.find ("crashing\n") != std::string::npos)
        {
            run.crashed = true;
            deadline = Clock::now() + std::chrono::seconds (5);
        }
    }

    close (output[0]);

    int status = 0;
    waitpid (child, &status, 0);
    run.signal = WIFSIGNALED (status) ? WTERMSIG (status) : 0;
    run.printed = splitLines (printed, "\n");

    std::ifstream log (home.path / ".config" / "Ostel Kaverno" / "SombraxLog.txt", std::ios::binary);
    run.log.assign (std::istreambuf_iterator<char> (log), {});
    return run;
}

// The frame lines of a report: after the banner's date line and an empty line, up to the
// empty line before the summary.
std::vector<std::string> backtraceLines (const std::string& log)
{
    const auto start = log.find ("\r\n\r\n", banner.size());

    if (! startsWith (log, banner) || start == std::string::npos)
        return {};

    const auto end = log.find ("\r\n\r\n", start + 4);
    return splitLines (log.substr (start + 4, end == std::string::npos ? std::string::npos : end - start - 4), "\r\n");
}

// Whether the binary asks the loader never to unmap it. Without that, whether dlclose()
// unmaps it depends on the compiler (unique symbols keep GCC builds mapped as it happens).
bool isLinkedToStayLoaded (const std::string& pluginPath)
{
    void* handle = dlopen (pluginPath.c_str(), RTLD_LAZY | RTLD_LOCAL);
    link_map* object = nullptr;
    bool stays = false;

    if (handle != nullptr && dlinfo (handle, RTLD_DI_LINKMAP, &object) == 0)
        for (const auto* entry = object->l_ld; entry->d_tag != DT_NULL; ++entry)
            if (entry->d_tag == DT_FLAGS_1)
                stays = (entry->d_un.d_val & DF_1_NODELETE) != 0;

    if (handle != nullptr)
        dlclose (handle);

    return stays;
}
} // namespace

TEST (VstHostCrash, CrashWhileAnotherThreadIsInsideDlopenStillEndsTheProcess)
{
    // The second thread's library holds the loader's lock for 30 s, and naming the frames
    // of a backtrace needs that lock.
    const auto run = runCrashingHost ({ "during-dlopen", SOMBRAX_SLOW_CONSTRUCTOR_LIBRARY });

    ASSERT_TRUE (run.crashed);
    EXPECT_TRUE (run.endedWithinFiveSeconds);
    EXPECT_EQ (run.signal, SIGKILL);
    EXPECT_TRUE (startsWith (run.log, banner)) << run.log;
}

TEST (VstHostCrash, CrashAfterThePluginIsUnloadedIsStillLogged)
{
    EXPECT_TRUE (isLinkedToStayLoaded (getPluginPath()));

    const auto run = runCrashingHost ({ "after-unload" });

    ASSERT_TRUE (run.crashed);
    EXPECT_EQ (run.signal, SIGKILL);
    EXPECT_TRUE (startsWith (run.log, banner)) << run.log;
    EXPECT_GE (backtraceLines (run.log).size(), 2u) << run.log;
    EXPECT_NE (run.log.find ("\r\n\r\nSombrax v " SOMBRAX_VERSION_STRING "\r\n"), std::string::npos) << run.log;
}

TEST (VstHostCrash, FrameLinesReadAsBacktraceSymbolsWritesThem)
{
    const auto run = runCrashingHost ({ "frames" });
    ASSERT_EQ (run.signal, SIGKILL);

    // The host printed backtrace_symbols() lines from inside its crashing function; all but
    // the first (that function itself) are frames of the crash's backtrace too, the last ones.
    std::vector<std::string> expected;

    for (const auto& line : run.printed)
        if (startsWith (line, "frame "))
            expected.push_back (line.substr (6));

    ASSERT_GE (expected.size(), 3u);
    expected.erase (expected.begin());

    const auto logged = backtraceLines (run.log);
    ASSERT_GE (logged.size(), expected.size()) << run.log;
    const std::vector<std::string> loggedTail (logged.end() - (long) expected.size(), logged.end());
    EXPECT_EQ (loggedTail, expected);
}

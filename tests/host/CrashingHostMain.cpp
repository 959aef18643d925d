// A host process that loads the plug-in and then crashes, in one of the settings that have
// kept crash handlers from finishing. It prints "crashing" just before the crash, so the
// test that runs it can time the end from there.
//
//   SombraxCrashingHost <plugin> during-dlopen <library>
//       crashes while a second thread is inside dlopen() of <library>, whose constructor
//       writes one byte to the descriptor named by SOMBRAX_SLOW_LIBRARY_READY_FD and then
//       takes long
//   SombraxCrashingHost <plugin> after-unload
//       crashes after every instance is closed and the plug-in unloaded
//   SombraxCrashingHost <plugin> frames
//       first prints backtrace_symbols() lines of the call chain that crashes

#include "VstTestHost.h"

#include <dlfcn.h>
#include <execinfo.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{
[[noreturn]] void fail (const std::string& message)
{
    std::fprintf (stderr, "SombraxCrashingHost: %s\n", message.c_str());
    std::exit (2);
}

std::unique_ptr<VstTestHost> openInstance (const std::string& pluginPath)
{
    auto host = std::make_unique<VstTestHost>();
    std::string error;

    if (! host->load (pluginPath, error))
        fail (error);

    host->open();
    host->setSampleRate (48000.0f);
    host->setBlockSize (256);
    host->resume();
    return host;
}

// Not inlined, so the frames above it are the same in its own backtrace and in the crash's.
__attribute__ ((noinline)) void crash (bool printingFrames)
{
    if (printingFrames)
    {
        void* frames[64];
        const int numFrames = backtrace (frames, 64);
        char** lines = backtrace_symbols (frames, numFrames);

        if (lines == nullptr)
            fail ("backtrace_symbols failed");

        for (int i = 0; i < numFrames; ++i)
            std::printf ("frame %s\n", lines[i]);

        std::free (lines);
    }

    std::printf ("crashing\n");
    std::fflush (stdout);
    std::raise (SIGSEGV);
    std::printf ("still running\n");
}

// The slow library's constructor reports through this pipe; set up while there is one thread.
int createReadyPipe()
{
    int ready[2];

    if (pipe (ready) != 0)
        fail ("pipe failed");

    setenv ("SOMBRAX_SLOW_LIBRARY_READY_FD", std::to_string (ready[1]).c_str(), 1);
    return ready[0];
}

// Returns once the loader is inside the library's constructor, holding its lock.
void startSlowDlopen (const std::string& libraryPath, int readyFd)
{
    std::thread ([libraryPath] { dlopen (libraryPath.c_str(), RTLD_NOW); }).detach();

    char byte = 0;

    if (read (readyFd, &byte, 1) != 1)
        fail ("the slow library never started");
}
} // namespace

int main (int argc, char** argv)
{
    if (argc < 3)
        fail ("usage: SombraxCrashingHost <plugin> during-dlopen <library> | after-unload | frames");

    const std::string pluginPath = argv[1];
    const std::string how = argv[2];
    const bool duringDlopen = how == "during-dlopen" && argc == 4;
    const int readyFd = duringDlopen ? createReadyPipe() : -1;
    auto host = openInstance (pluginPath);

    if (duringDlopen)
    {
        startSlowDlopen (argv[3], readyFd);
    }
    else if (how == "after-unload")
    {
        auto second = openInstance (pluginPath);

        for (auto* instance : { host.get(), second.get() })
        {
            instance->suspend();
            instance->close();
        }

        if (! VstTestHost::unload (pluginPath))
            fail ("dlclose failed");
    }
    else if (how != "frames")
    {
        fail ("unknown crash setting: " + how);
    }

    crash (how == "frames");
    return 3;
}

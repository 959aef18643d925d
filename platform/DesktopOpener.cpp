#include "DesktopOpener.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace oskv
{
namespace
{
// The status the watcher reports when the handler could not be run or did not exit normally.
constexpr unsigned char notRun = 127;

// Descriptors at or above this are free for the watcher to move its own two to.
constexpr int spareDescriptor = 10;

/** Everything the children need, made before fork: after it they make only calls that are
    safe in the child of a threaded process (no allocation, no locks). */
struct LaunchPlan
{
    const char* argv[3];
    int devNull;
    int statusWrite;
    int descriptorLimit;
    sigset_t emptyMask;
    struct sigaction defaultChildAction;
};

void closeFrom (int first, int limit) noexcept
{
    if (::close_range ((unsigned int) first, ~0u, 0) == 0)
        return;

    for (int fd = first; fd < limit; ++fd)
        ::close (fd);
}

/** The watcher: owns nothing of the host's but its status pipe, runs the handler with its
    output going nowhere, and writes the handler's exit status (one byte) to the pipe. */
[[noreturn]] void runWatcher (const LaunchPlan& plan) noexcept
{
    // Out of the way of 0 to 3 first, whichever of those the host had closed.
    const int nul = ::fcntl (plan.devNull, F_DUPFD, spareDescriptor);
    const int status = ::fcntl (plan.statusWrite, F_DUPFD, spareDescriptor);

    ::dup2 (nul, STDIN_FILENO);
    ::dup2 (nul, STDOUT_FILENO);
    ::dup2 (nul, STDERR_FILENO);
    ::dup2 (status, 3);
    closeFrom (4, plan.descriptorLimit);

    // A host that ignores SIGCHLD or blocks signals would hide the handler's exit from us.
    ::sigaction (SIGCHLD, &plan.defaultChildAction, nullptr);
    ::sigprocmask (SIG_SETMASK, &plan.emptyMask, nullptr);

    unsigned char code = notRun;
    const pid_t handler = ::fork();

    if (handler == 0)
    {
        ::close (3);
        ::execv (plan.argv[0], const_cast<char* const*> (plan.argv));
        ::_exit (notRun);
    }

    if (handler > 0)
    {
        int handlerStatus = 0;
        pid_t waited;

        do
            waited = ::waitpid (handler, &handlerStatus, 0);
        while (waited < 0 && errno == EINTR);

        if (waited == handler && WIFEXITED (handlerStatus))
            code = (unsigned char) WEXITSTATUS (handlerStatus);
    }

    [[maybe_unused]] const auto written = ::write (3, &code, 1);
    ::_exit (0);
}

bool isExecutableFile (const juce::File& file)
{
    return file.existsAsFile() && ::access (file.getFullPathName().toRawUTF8(), X_OK) == 0;
}
} // namespace

DesktopOpener::~DesktopOpener()
{
    closePipe();
}

juce::String DesktopOpener::findHandler()
{
    auto searchPath = juce::SystemStats::getEnvironmentVariable ("PATH", "/usr/local/bin:/usr/bin:/bin");

    for (const auto& folder : juce::StringArray::fromTokens (searchPath, ":", {}))
    {
        // An empty entry would mean the host's working folder: not a place to run things from.
        if (! juce::File::isAbsolutePath (folder))
            continue;

        const auto candidate = juce::File (folder).getChildFile ("xdg-open");

        if (isExecutableFile (candidate))
            return candidate.getFullPathName();
    }

    return {};
}

bool DesktopOpener::start (const juce::String& path)
{
    closePipe();
    state = State::failed;

    const auto handler = findHandler();

    if (handler.isEmpty())
        return false;

    int statusFds[2];

    if (::pipe2 (statusFds, O_CLOEXEC) != 0)
        return false;

    const int devNull = ::open ("/dev/null", O_RDWR | O_CLOEXEC);

    if (devNull < 0)
    {
        ::close (statusFds[0]);
        ::close (statusFds[1]);
        return false;
    }

    LaunchPlan plan {};
    plan.argv[0] = handler.toRawUTF8();
    plan.argv[1] = path.toRawUTF8();
    plan.argv[2] = nullptr;
    plan.devNull = devNull;
    plan.statusWrite = statusFds[1];
    plan.descriptorLimit = (int) juce::jlimit (4L, 65536L, ::sysconf (_SC_OPEN_MAX));
    sigemptyset (&plan.emptyMask);
    plan.defaultChildAction.sa_handler = SIG_DFL;
    sigemptyset (&plan.defaultChildAction.sa_mask);

    const pid_t child = ::fork();

    if (child == 0)
    {
        // Ends at once, leaving the watcher to the system's reaper: the host only ever has
        // this one short-lived child, reaped below.
        if (::fork() == 0)
            runWatcher (plan);

        ::_exit (0);
    }

    ::close (statusFds[1]);
    ::close (devNull);

    if (child < 0)
    {
        ::close (statusFds[0]);
        return false;
    }

    // A host that reaps its children itself may have taken it already; that is fine too.
    while (::waitpid (child, nullptr, 0) < 0 && errno == EINTR)
    {
    }

    ::fcntl (statusFds[0], F_SETFL, O_NONBLOCK);
    statusPipe = statusFds[0];
    state = State::opening;
    return true;
}

DesktopOpener::State DesktopOpener::poll()
{
    if (state != State::opening)
        return state;

    unsigned char code = notRun;
    const auto bytesRead = ::read (statusPipe, &code, 1);

    if (bytesRead < 0 && (errno == EAGAIN || errno == EINTR))
        return state;

    // No byte at all means the watcher could not be made or did not finish: nothing opened.
    state = bytesRead == 1 && code == 0 ? State::opened : State::failed;
    closePipe();
    return state;
}

void DesktopOpener::closePipe()
{
    if (statusPipe >= 0)
        ::close (statusPipe);

    statusPipe = -1;
}
} // namespace oskv

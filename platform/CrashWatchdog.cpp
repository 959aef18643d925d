#include "CrashWatchdog.h"

#include <atomic>
#include <csignal>
#include <pthread.h>
#include <unistd.h>

namespace oskv
{
namespace
{
    std::atomic<bool> armed { false };

    void killProcess (int)
    {
        ::kill (::getpid(), SIGKILL);
    }
} // namespace

void CrashWatchdog::arm() noexcept
{
    if (armed.exchange (true))
        return;

    // The process is going down: whatever the host did with SIGALRM no longer matters.
    struct sigaction action {};
    action.sa_handler = killProcess;
    sigfillset (&action.sa_mask);
    ::sigaction (SIGALRM, &action, nullptr);

    // Hosts often block signals in their own threads; this thread at least must take it.
    sigset_t alarmOnly;
    sigemptyset (&alarmOnly);
    sigaddset (&alarmOnly, SIGALRM);
    ::pthread_sigmask (SIG_UNBLOCK, &alarmOnly, nullptr);

    ::alarm (timeoutSeconds);
}
} // namespace oskv

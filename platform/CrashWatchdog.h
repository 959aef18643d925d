#pragma once

namespace oskv
{
/** Bounds how long a crash handler can take. Writing a report may wait on locks that a
    crashed or busy thread holds for good, such as the dynamic loader's lock while another
    thread is inside dlopen(); once armed, the watchdog ends the process by SIGKILL after
    a few seconds whatever the handler is waiting for. What was written stays written.
*/
class CrashWatchdog
{
public:
    static constexpr unsigned int timeoutSeconds = 3;

    /** For a signal handler: the first call starts the countdown, later ones leave it as
        it is, so crashes on further threads can't put the end off. */
    static void arm() noexcept;
};
} // namespace oskv

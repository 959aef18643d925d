#pragma once

#include <juce_core/juce_core.h>

namespace oskv
{
/** Opens a file or folder with the desktop's own handler (`xdg-open`), for hosts that must
    not be disturbed by it: no shell, nothing written to the host's output, no child left for
    the host to reap, and an answer on whether it worked.

    A short-lived child, reaped at once, leaves behind a watcher that no longer belongs to the
    host; the watcher runs the handler, waits for it and writes its exit status to a pipe,
    which `poll` reads without blocking. Message thread only.
*/
class DesktopOpener
{
public:
    enum class State
    {
        opening,
        opened,
        failed
    };

    DesktopOpener() = default;
    ~DesktopOpener();

    /** Starts opening `path`. False, with nothing started, when there is no handler on the
        PATH or no process could be made. */
    bool start (const juce::String& path);

    /** What the handler has answered so far; `opening` until it ends. */
    State poll();

    /** The handler's full path on the PATH, or empty when there is none. */
    static juce::String findHandler();

private:
    void closePipe();

    int statusPipe = -1;
    State state = State::failed;

    JUCE_DECLARE_NON_COPYABLE (DesktopOpener)
};
} // namespace oskv

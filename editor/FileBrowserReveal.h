#pragma once

#include "platform/DesktopOpener.h"

#include <juce_events/juce_events.h>

#include <functional>
#include <memory>
#include <vector>

/** Shows folders in the desktop's file browser, and tells the user where to go themselves when
    nothing could show one. A handler still running after `watchTimeMs` is taken to have
    opened its folder, as handlers that run the browser itself until it closes do. */
class FileBrowserReveal : private juce::Timer
{
public:
    static constexpr int watchTimeMs = 10000;

    FileBrowserReveal() = default;
    ~FileBrowserReveal() override;

    /** Called on the message thread with a title and a message that names the full path. */
    std::function<void (const juce::String& title, const juce::String& message)> onFailure;

    /** Shows a folder, or the folder that holds a file. */
    void reveal (const juce::File& fileOrFolder);

    /** Reads what the handlers started so far have answered; the timer's tick. */
    void checkHandlers();

    /** True while a handler's answer is awaited. */
    bool isWatching() const { return ! launches.empty(); }

private:
    struct Launch
    {
        juce::File target;
        std::unique_ptr<oskv::DesktopOpener> opener;
        juce::uint32 startTime = 0;
    };

    void timerCallback() override;
    void reportFailure (const juce::File& target) const;

    std::vector<Launch> launches;

    JUCE_DECLARE_NON_COPYABLE (FileBrowserReveal)
};

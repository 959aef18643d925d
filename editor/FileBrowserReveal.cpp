#include "editor/FileBrowserReveal.h"

#include <algorithm>

FileBrowserReveal::~FileBrowserReveal()
{
    stopTimer();
}

void FileBrowserReveal::reveal (const juce::File& fileOrFolder)
{
    // Handlers show folders; a file is shown by the folder that holds it.
    const auto folder = fileOrFolder.isDirectory() ? fileOrFolder : fileOrFolder.getParentDirectory();
    auto opener = std::make_unique<oskv::DesktopOpener>();

    if (! opener->start (folder.getFullPathName()))
    {
        reportFailure (fileOrFolder);
        return;
    }

    launches.push_back ({ fileOrFolder, std::move (opener), juce::Time::getMillisecondCounter() });

    if (! isTimerRunning())
        startTimer (100);
}

void FileBrowserReveal::checkHandlers()
{
    const auto now = juce::Time::getMillisecondCounter();
    std::vector<juce::File> failed;

    launches.erase (std::remove_if (launches.begin(), launches.end(),
                                    [&] (Launch& launch)
                                    {
                                        const auto state = launch.opener->poll();

                                        if (state == oskv::DesktopOpener::State::failed)
                                            failed.push_back (launch.target);

                                        return state != oskv::DesktopOpener::State::opening
                                            || now - launch.startTime >= (juce::uint32) watchTimeMs;
                                    }),
                    launches.end());

    if (launches.empty())
        stopTimer();

    // Reported once the list is settled.
    for (const auto& target : failed)
        reportFailure (target);
}

void FileBrowserReveal::timerCallback()
{
    checkHandlers();
}

void FileBrowserReveal::reportFailure (const juce::File& target) const
{
    if (onFailure == nullptr)
        return;

    const juce::String where (target.isDirectory() ? "The folder is at:" : "The file is at:");
    onFailure ("Could not open the file browser",
               "Nothing on this system could show it. " + where + "\n\n" + target.getFullPathName());
}

// Setting a file aside from two processes at once, as parallel plug-in scans do with an
// unreadable preferences file: the content must survive, whole, under exactly one name.

#include "platform/FileSetAside.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

namespace
{
using Mover = std::function<void (const juce::File&)>;

struct Trial
{
    juce::File folder;
    juce::MemoryBlock content, olderContent;
};

// Runs `mover` on two threads at the same moment on one file, `trials` times, and returns a
// description of every trial whose folder does not end with the content under one name (and
// an older set-aside file, when there was one, untouched).
juce::String runRaces (int trials, const Mover& mover)
{
    const juce::TemporaryFile scratch;
    const auto root = scratch.getFile();
    std::mt19937 random (20261207);
    juce::String faults;

    for (int t = 0; t < trials; ++t)
    {
        Trial trial { root.getChildFile (juce::String (t)), {}, {} };
        trial.folder.createDirectory();
        const auto file = trial.folder.getChildFile ("Sombrax.prefs");

        for (int i = 0; i < 4096; ++i)
            trial.content.append ("<x>", 3), trial.content.append (&i, sizeof (i));

        file.replaceWithData (trial.content.getData(), trial.content.getSize());

        // Every other trial finds an older file set aside before, which must stay as it is.
        const auto older = trial.folder.getChildFile ("Sombrax.prefs.unreadable");

        if (t % 2 == 1)
        {
            trial.olderContent.append ("older", 5);
            older.replaceWithData (trial.olderContent.getData(), trial.olderContent.getSize());
        }

        std::atomic<int> ready { 0 };
        const auto spread = (int) (random() % 200);
        auto run = [&] (int delayMicros)
        {
            ready.fetch_add (1);

            while (ready.load() < 2)
            {
            }

            const auto end = juce::Time::getHighResolutionTicks()
                           + juce::Time::secondsToHighResolutionTicks (delayMicros * 1.0e-6);

            while (juce::Time::getHighResolutionTicks() < end)
            {
            }

            mover (file);
        };

        std::thread other (run, spread % 2 == 0 ? spread : 0);
        run (spread % 2 == 0 ? 0 : spread);
        other.join();

        int holding = 0;
        bool olderKept = trial.olderContent.isEmpty();

        for (const auto& entry : juce::RangedDirectoryIterator (trial.folder, false, "*", juce::File::findFilesAndDirectories))
        {
            juce::MemoryBlock bytes;
            entry.getFile().loadFileAsData (bytes);

            if (bytes == trial.content)
                ++holding;
            else if (entry.getFile() == older && bytes == trial.olderContent)
                olderKept = true;
            else
                faults << "trial " << t << ": unexpected " << entry.getFile().getFileName() << " of " << (int) bytes.getSize() << " bytes\n";
        }

        if (holding != 1 || ! olderKept || file.exists())
            faults << "trial " << t << ": content under " << holding << " names, older file "
                   << (olderKept ? "kept" : "lost") << (file.exists() ? ", file not moved" : "") << "\n";
    }

    return faults;
}
} // namespace

TEST (FileSetAside, TwoMovesOfOneFileAtOnceKeepItWholeUnderOneName)
{
    const auto faults = runRaces (300, [] (const juce::File& file)
    {
        const auto outcome = oskv::FileSetAside::moveAside (file, ".unreadable");
        EXPECT_NE (outcome, oskv::FileSetAside::Outcome::failed);
    });

    EXPECT_TRUE (faults.isEmpty()) << faults;
}

TEST (FileSetAside, TwoMovesByLinkingAtOnceKeepItWholeUnderOneName)
{
    // The way taken on file systems without an atomic rename that refuses to replace.
    const auto faults = runRaces (300, [] (const juce::File& file)
    {
        for (const auto* name : { "Sombrax.prefs.unreadable", "Sombrax.prefs(2).unreadable", "Sombrax.prefs(3).unreadable" })
            if (oskv::FileSetAside::renameByLinking (file, file.getSiblingFile (name)) != oskv::FileSetAside::Rename::targetExists)
                return;
    });

    EXPECT_TRUE (faults.isEmpty()) << faults;
}

TEST (FileSetAside, TakenNamesAreCountedOnAndNothingIsReplaced)
{
    const juce::TemporaryFile scratch;
    const auto folder = scratch.getFile();
    folder.createDirectory();
    const auto file = folder.getChildFile ("Sombrax.prefs");

    for (int i = 1; i <= 3; ++i)
    {
        ASSERT_TRUE (file.replaceWithText ("content " + juce::String (i)));
        EXPECT_EQ (oskv::FileSetAside::moveAside (file, ".unreadable"), oskv::FileSetAside::Outcome::moved);
    }

    EXPECT_EQ (folder.getChildFile ("Sombrax.prefs.unreadable").loadFileAsString(), "content 1");
    EXPECT_EQ (folder.getChildFile ("Sombrax.prefs(2).unreadable").loadFileAsString(), "content 2");
    EXPECT_EQ (folder.getChildFile ("Sombrax.prefs(3).unreadable").loadFileAsString(), "content 3");
    EXPECT_EQ (oskv::FileSetAside::moveAside (file, ".unreadable"), oskv::FileSetAside::Outcome::alreadyGone);
}

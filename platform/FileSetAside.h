#pragma once

#include <juce_core/juce_core.h>

namespace oskv
{
/** Moves a file out of the way under a name of its own, for a file the program can't use but
    must not lose. Several processes may do this to the same file at once: a move never
    replaces, deletes or copies anything, so the content ends up whole under exactly one name. */
class FileSetAside
{
public:
    enum class Outcome
    {
        moved,        ///< Renamed to a free name.
        alreadyGone,  ///< Nothing at the path any more: another process moved it first.
        failed        ///< The file stays where it is.
    };

    /** Renames `file` to its name followed by `suffix` ("Sombrax.prefs.unreadable"), or, when
        that name is taken, to the first free numbered one ("Sombrax.prefs(2).unreadable"). */
    static Outcome moveAside (const juce::File& file, const juce::String& suffix);

    enum class Rename
    {
        renamed,
        targetExists,
        sourceGone,
        failed
    };

    /** One rename that fails rather than replace an existing target, made atomic by the file
        system where it can (renameat2 with RENAME_NOREPLACE), else by a hard link to the new
        name and the old name's removal. */
    static Rename renameWithoutReplacing (const juce::File& source, const juce::File& target);

    /** The link-and-unlink way alone, for file systems without the atomic rename. */
    static Rename renameByLinking (const juce::File& source, const juce::File& target);
};
} // namespace oskv

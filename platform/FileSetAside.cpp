#include "FileSetAside.h"

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace oskv
{
FileSetAside::Outcome FileSetAside::moveAside (const juce::File& file, const juce::String& suffix)
{
    const auto name = file.getFileName();

    // The names the framework's own numbering gives, tried in order until one is free.
    for (int number = 1; number <= 1000; ++number)
    {
        const auto target = file.getSiblingFile (number == 1 ? name + suffix
                                                             : name + "(" + juce::String (number) + ")" + suffix);

        switch (renameWithoutReplacing (file, target))
        {
            case Rename::renamed:      return Outcome::moved;
            case Rename::sourceGone:   return Outcome::alreadyGone;
            case Rename::targetExists: continue;
            case Rename::failed:       return Outcome::failed;
        }
    }

    return Outcome::failed;
}

FileSetAside::Rename FileSetAside::renameWithoutReplacing (const juce::File& source, const juce::File& target)
{
   #if defined(RENAME_NOREPLACE)
    if (::renameat2 (AT_FDCWD, source.getFullPathName().toRawUTF8(),
                     AT_FDCWD, target.getFullPathName().toRawUTF8(), RENAME_NOREPLACE) == 0)
        return Rename::renamed;

    switch (errno)
    {
        case EEXIST: return Rename::targetExists;
        case ENOENT: return source.exists() ? Rename::failed : Rename::sourceGone;
        case EINVAL:
        case ENOSYS:
        case EOPNOTSUPP: break; // not on this file system: link and unlink instead
        default:     return Rename::failed;
    }
   #endif

    return renameByLinking (source, target);
}

FileSetAside::Rename FileSetAside::renameByLinking (const juce::File& source, const juce::File& target)
{
    const auto* from = source.getFullPathName().toRawUTF8();
    const auto* to = target.getFullPathName().toRawUTF8();

    // link() refuses an existing name, so the target is never replaced.
    if (::link (from, to) != 0)
    {
        if (errno == EEXIST)
            return Rename::targetExists;

        return (errno == ENOENT && ! source.exists()) ? Rename::sourceGone : Rename::failed;
    }

    if (::unlink (from) == 0)
        return Rename::renamed;

    const auto unlinkError = errno;

    // Someone else took the old name away between the two steps. If they moved it, the
    // content now has a name of theirs as well: ours goes, so exactly one is left. If they
    // deleted it, ours is the only name left, and it stays.
    struct stat info {};

    if (unlinkError == ENOENT && ::stat (to, &info) == 0 && info.st_nlink > 1)
    {
        ::unlink (to);
        return Rename::sourceGone;
    }

    if (unlinkError == ENOENT)
        return Rename::renamed;

    // The old name can't be removed: take the new one back, so the file stays where it was.
    ::unlink (to);
    return Rename::failed;
}
} // namespace oskv

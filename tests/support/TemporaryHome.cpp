#include "TemporaryHome.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ftw.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

// Plain POSIX and constant-initialised statics only: this runs before every other static of
// the program is built (the presets folder path among them is taken from HOME), and the
// removal runs after the framework may already be gone.

namespace
{
char homePath[PATH_MAX];
char* startedWithHome = nullptr;
pid_t owner = 0;
bool keepHomeFolder = false;

// A test may leave a folder read-only; its contents could not be removed then.
int makeWritable (const char* path, const struct stat*, int type, struct FTW*)
{
    if (type == FTW_D)
        chmod (path, 0700);

    return 0;
}

int removeEntry (const char* path, const struct stat*, int, struct FTW* position)
{
    if (position->level > 0 || ! keepHomeFolder)
        std::remove (path);

    return 0;
}

void removeContents (bool keepFolder)
{
    keepHomeFolder = keepFolder;
    nftw (homePath, makeWritable, 16, FTW_PHYS);
    nftw (homePath, removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void removeHome()
{
    // A forked child that calls exit() must not take its parent's home away.
    if (getpid() == owner)
        removeContents (false);
}

bool setUnder (const char* name, const char* subfolder)
{
    char value[PATH_MAX];
    const auto length = std::snprintf (value, sizeof (value), "%s%s", homePath, subfolder);
    return length > 0 && (size_t) length < sizeof (value) && setenv (name, value, 1) == 0;
}

// Priority 101 runs before every static initialiser of default priority in the program.
__attribute__ ((constructor (101))) void makeTemporaryHome()
{
    const char* tmp = std::getenv ("TMPDIR");
    const auto length = std::snprintf (homePath, sizeof (homePath), "%s/sombrax-home.XXXXXX",
                                       tmp != nullptr && *tmp != '\0' ? tmp : "/tmp");

    if (length <= 0 || (size_t) length >= sizeof (homePath) || mkdtemp (homePath) == nullptr)
    {
        // Better no run at all than one in the caller's own home.
        std::fprintf (stderr, "could not make a temporary home folder under %s\n", tmp != nullptr ? tmp : "/tmp");
        std::_Exit (70);
    }

    if (const char* home = std::getenv ("HOME"))
        startedWithHome = strdup (home);

    if (setenv ("HOME", homePath, 1) != 0 || ! setUnder ("XDG_CONFIG_HOME", "/.config")
        || ! setUnder ("XDG_CACHE_HOME", "/.cache") || ! setUnder ("XDG_DATA_HOME", "/.local/share"))
    {
        std::fprintf (stderr, "could not point HOME at %s\n", homePath);
        rmdir (homePath);
        std::_Exit (70);
    }

    owner = getpid();
    std::atexit (removeHome);
}
} // namespace

namespace sombrax_test
{
const char* temporaryHome()
{
    return homePath;
}

const char* originalHome()
{
    return startedWithHome;
}

void emptyTemporaryHome()
{
    removeContents (true);
}
} // namespace sombrax_test

// Test programs never run in the caller's home folder.

#include "services/PresetsManager.h"
#include "support/TemporaryHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <pwd.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
std::string variable (const char* name)
{
    const char* value = std::getenv (name);
    return value != nullptr ? value : "";
}
} // namespace

TEST (TemporaryHome, HomeIsAFreshFolderAndNotTheCallers)
{
    const auto home = variable ("HOME");
    EXPECT_EQ (home, sombrax_test::temporaryHome());
    EXPECT_NE (home, std::string (sombrax_test::originalHome() != nullptr ? sombrax_test::originalHome() : ""));

    if (const auto* account = getpwuid (getuid()))
    {
        EXPECT_NE (home, account->pw_dir);
    }

    EXPECT_EQ (variable ("XDG_CONFIG_HOME"), home + "/.config");
    EXPECT_EQ (variable ("XDG_CACHE_HOME"), home + "/.cache");
    EXPECT_EQ (variable ("XDG_DATA_HOME"), home + "/.local/share");

    // Built from HOME while statics are made, before main: the folder must be set up by then.
    EXPECT_TRUE (oskv::PresetsManager::presetsFolderPath.startsWith (juce::String (home) + "/"));
}

TEST (TemporaryHome, ForkedChildThatExitsLeavesItInPlace)
{
    const pid_t child = fork();

    if (child == 0)
        std::exit (0);

    int status = 0;
    ASSERT_EQ (waitpid (child, &status, 0), child);
    EXPECT_EQ (access (sombrax_test::temporaryHome(), F_OK), 0);
}

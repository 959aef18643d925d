#include "HostTestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace
{
std::string pluginPath;
}

const std::string& getPluginPath()
{
    return pluginPath;
}

int main (int argc, char** argv)
{
    installHostXErrorHandler();
    ::testing::InitGoogleTest (&argc, argv);

    if (const char* fromEnvironment = std::getenv ("SOMBRAX_VST_PLUGIN"))
        pluginPath = fromEnvironment;

    const char* const option = "--plugin=";

    for (int i = 1; i < argc; ++i)
        if (std::strncmp (argv[i], option, std::strlen (option)) == 0)
            pluginPath = argv[i] + std::strlen (option);

    return RUN_ALL_TESTS();
}

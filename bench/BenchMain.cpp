#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

// The processor creates its presets folder under HOME, and the presets path is fixed while
// statics are built, before main runs. So the program starts itself once more with HOME
// pointing at a fresh temporary folder, which it removes at the end.
int main (int argc, char** argv)
{
    const char* benchHome = std::getenv ("SOMBRAX_BENCH_HOME");

    if (benchHome == nullptr)
    {
        char folder[] = "/tmp/sombrax-bench-home.XXXXXX";

        if (mkdtemp (folder) == nullptr)
            return 1;

        setenv ("SOMBRAX_BENCH_HOME", folder, 1);
        setenv ("HOME", folder, 1);
        setenv ("XDG_CONFIG_HOME", (std::string (folder) + "/.config").c_str(), 1);
        execv ("/proc/self/exe", argv);
        return 1;
    }

    {
        const juce::ScopedJuceInitialiser_GUI juceInitialiser;
        benchmark::Initialize (&argc, argv);

        if (benchmark::ReportUnrecognizedArguments (argc, argv))
            return 1;

        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }

    juce::File (juce::String (benchHome)).deleteRecursively();
    return 0;
}

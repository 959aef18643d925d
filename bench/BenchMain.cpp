#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

// HOME is a temporary folder made before any static is built (tests/support/TemporaryHome.cpp):
// the processor creates its presets folder under HOME.
int main (int argc, char** argv)
{
    const juce::ScopedJuceInitialiser_GUI juceInitialiser;
    benchmark::Initialize (&argc, argv);

    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

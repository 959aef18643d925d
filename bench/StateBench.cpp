#include "plugin/PluginProcessor.h"
#include "services/StateXml.h"

#include <benchmark/benchmark.h>

namespace
{
// The host's save and restore of a whole state, the guard in front of the parser included.
void BM_StateChunkRoundTrip (benchmark::State& state)
{
    SombraxAudioProcessor processor;
    juce::MemoryBlock chunk;
    processor.getStateInformation (chunk);

    for (auto _ : state)
    {
        processor.setStateInformation (chunk.getData(), (int) chunk.getSize());
        processor.getStateInformation (chunk);
    }
}

// The guard alone on documents of growing size: its time must grow in step with the text.
void BM_GuardOnLargeDocument (benchmark::State& state)
{
    const auto siblings = (int) state.range (0);
    const auto text = "<Sombrax>" + juce::String::repeatedString ("<PARAM id=\"a&amp;b\" value=\"1.0\"/>", siblings) + "</Sombrax>";

    for (auto _ : state)
        benchmark::DoNotOptimize (oskv::StateXml::isSafeToParse (text));

    state.SetBytesProcessed ((int64_t) state.iterations() * (int64_t) text.getNumBytesAsUTF8());
}
} // namespace

BENCHMARK (BM_StateChunkRoundTrip)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_GuardOnLargeDocument)->Arg (1 << 10)->Arg (1 << 14)->Arg (1 << 18)->Unit (benchmark::kMillisecond);

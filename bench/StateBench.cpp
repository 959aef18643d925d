#include "plugin/PluginProcessor.h"
#include "services/StateXml.h"
#include "services/XmlParserWalk.h"

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

    if (! oskv::StateXml::isSafeToParse (text))
        state.SkipWithError ("the guard refused the document");

    for (auto _ : state)
        benchmark::DoNotOptimize (oskv::StateXml::isSafeToParse (text));

    state.SetBytesProcessed ((int64_t) state.iterations() * (int64_t) text.getNumBytesAsUTF8());
}
} // namespace

BENCHMARK (BM_StateChunkRoundTrip)->Unit (benchmark::kMicrosecond);
// 1300 siblings come close to the limit on names.
BENCHMARK (BM_GuardOnLargeDocument)->Arg (80)->Arg (320)->Arg (1300)->Unit (benchmark::kMicrosecond);

namespace
{
// Texts that keep the framework's parser busy far beyond their size, each about `bytes` long.
enum class Worst
{
    attributeNames,  // every attribute a new name for the framework's global pool of names
    elementNames,    // every element a new tag, likewise
    entityValue,     // one value with as many entities as the guard allows, spread over it
    openCloseTag     // an unterminated close tag at the deepest level the guard allows
};

juce::String worstText (Worst kind, int bytes, int salt)
{
    switch (kind)
    {
        case Worst::attributeNames:
        case Worst::elementNames:
        {
            // As many new names as the guard lets through, as long as the size allows, each
            // sorting before every name the pool holds (and before the last one), with a long
            // common start so every comparison reads far.
            const int count = oskv::XmlParserWalk::maxNamesInOneText - 1;
            const int length = juce::jmax (12, (bytes - 32) / count - 5);
            const auto common = "-" + juce::String::repeatedString ("x", length - 11);
            juce::MemoryOutputStream out;
            out << "<Sombrax" << (kind == Worst::elementNames ? ">" : "");

            for (int i = 0; i < count; ++i)
            {
                const auto name = common + juce::String::toHexString (0xffffff - salt).paddedLeft ('0', 6)
                                + juce::String::toHexString (0xffff - i).paddedLeft ('0', 4);
                out << (kind == Worst::elementNames ? "<" + name + "/>" : " " + name + "=\"\"");
            }

            out << (kind == Worst::elementNames ? "</Sombrax>" : "/>");
            return out.toString();
        }

        case Worst::entityValue:
        {
            const int entities = oskv::XmlParserWalk::maxEntitiesInOneValue;
            const int run = juce::jmax (1, (bytes - 32) / entities - 5);
            const auto piece = juce::String::repeatedString ("x", run) + "&amp;";
            return "<Sombrax v=\"" + juce::String::repeatedString (piece, entities) + "\"/>";
        }

        case Worst::openCloseTag:
        {
            const int depth = oskv::StateXml::maxElementDepth - 1;
            const auto open = juce::String::repeatedString ("<a>", depth);
            return open + "</" + juce::String::repeatedString ("x", bytes - open.length() - 2);
        }
    }

    return {};
}

// The host restores a state chunk holding one of the worst texts, just under the size limit:
// the whole read, guard, parser and tree, on the host's thread.
void BM_WorstChunkRead (benchmark::State& state)
{
    SombraxAudioProcessor processor;
    static int salt = 0;
    size_t textBytes = 0;

    for (auto _ : state)
    {
        // New names every time: names the pool already holds cost nothing.
        state.PauseTiming();
        const auto text = worstText ((Worst) state.range (0), (int) state.range (1), ++salt);
        textBytes = text.getNumBytesAsUTF8();
        juce::MemoryBlock chunk;
        juce::MemoryOutputStream out (chunk, false);
        out.writeInt (0x21324356);
        out.writeInt ((int) textBytes);
        out << text;
        out.writeByte (0);
        out.flush();

        // A text the guard turned away would time nothing but the refusal.
        if (oskv::StateXml::parseDocument (text) == nullptr)
        {
            state.SkipWithError ("the guard refused the text");
            break;
        }

        state.ResumeTiming();

        processor.setStateInformation (chunk.getData(), (int) chunk.getSize());
    }

    state.SetLabel (std::to_string (textBytes) + " bytes");
}
} // namespace

BENCHMARK (BM_WorstChunkRead)
    ->ArgsProduct ({ { 0, 1, 2, 3 }, { (int64_t) oskv::StateXml::maxTextBytes } })
    ->Unit (benchmark::kMillisecond)
    ->Iterations (10);

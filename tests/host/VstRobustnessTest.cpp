// Drives the built binary the rough ways real hosts do: many instances, calls from
// two threads at once, odd sample rates and block sizes, and damaged input.

#include "HostTestEnvironment.h"
#include "VstTestHost.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <future>
#include <limits>
#include <memory>
#include <random>
#include <thread>

namespace
{
using Channels = std::vector<std::vector<float>>;

constexpr int numParameters = 21;
constexpr double twoPi = 6.283185307179586;
constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
constexpr float infinity = std::numeric_limits<float>::infinity();

constexpr int cutoffIndex = 0;
constexpr int resonanceIndex = 1;
constexpr int modDepthIndex = 2;
constexpr int highRateIndex = 4;
constexpr int highRateModeIndex = 5;
constexpr int waveIndex = 6;
constexpr int driveIndex = 13;
constexpr int shapeIndex = 14;
constexpr int feedbackIndex = 15;
constexpr int filterPostIndex = 16;
constexpr int dryWetIndex = 18;

// A two-tone stereo test signal that runs on from block to block.
class TestSignal
{
public:
    TestSignal (double frequencyToUse, float amplitudeToUse, double sampleRateToUse)
        : frequency (frequencyToUse), amplitude (amplitudeToUse), sampleRate (sampleRateToUse) {}

    Channels next (int numSamples)
    {
        Channels block (2, std::vector<float> ((size_t) numSamples));

        for (int i = 0; i < numSamples; ++i, ++position)
        {
            const auto t = (double) position / sampleRate;
            block[0][(size_t) i] = amplitude * (float) std::sin (twoPi * frequency * t);
            block[1][(size_t) i] = amplitude * (float) std::sin (twoPi * 1.5 * frequency * t);
        }

        return block;
    }

private:
    double frequency;
    float amplitude;
    double sampleRate;
    std::int64_t position = 0;
};

// Outputs start as NaN, so a sample the plug-in leaves unwritten shows up as non-finite.
Channels processBlock (VstTestHost& host, Channels input)
{
    const auto numSamples = (int) input[0].size();
    Channels output (2, std::vector<float> ((size_t) numSamples, std::numeric_limits<float>::quiet_NaN()));
    host.processReplacing (input, output, numSamples);
    return output;
}

struct SignalStats
{
    long nonFinite = 0;
    float peak = 0.0f;

    void add (const Channels& channels)
    {
        for (const auto& channel : channels)
            for (auto sample : channel)
            {
                if (std::isfinite (sample))
                    peak = std::max (peak, std::abs (sample));
                else
                    ++nonFinite;
            }
    }
};

bool allFinite (const Channels& channels)
{
    SignalStats stats;
    stats.add (channels);
    return stats.nonFinite == 0;
}

float peakOf (const Channels& channels)
{
    SignalStats stats;
    stats.add (channels);
    return stats.peak;
}

float largestDifference (const Channels& a, const Channels& b)
{
    float largest = 0.0f;

    for (size_t ch = 0; ch < a.size(); ++ch)
        for (size_t i = 0; i < a[ch].size(); ++i)
            largest = std::max (largest, std::abs (a[ch][i] - b[ch][i]));

    return largest;
}

std::vector<float> readParameters (VstTestHost& host)
{
    std::vector<float> values;

    for (int i = 0; i < numParameters; ++i)
        values.push_back (host.getParameter (i));

    return values;
}

std::unique_ptr<VstTestHost> openInstance (float sampleRate, int blockSize)
{
    auto host = std::make_unique<VstTestHost>();
    std::string error;

    if (! host->load (getPluginPath(), error))
    {
        ADD_FAILURE() << error;
        return nullptr;
    }

    host->open();
    host->setSampleRate (sampleRate);
    host->setBlockSize (blockSize);
    return host;
}

// Bytes that end right where an unmapped page begins and may only be read, so a
// plug-in that reads past what it was given, or writes into it, faults at once.
class GuardedBytes
{
public:
    explicit GuardedBytes (const std::vector<char>& bytes)
        : pageSize ((size_t) sysconf (_SC_PAGESIZE)),
          dataPages ((bytes.size() + pageSize - 1) / pageSize),
          mappedSize ((dataPages + 1) * pageSize)
    {
        base = static_cast<char*> (mmap (nullptr, mappedSize, PROT_READ | PROT_WRITE,
                                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));

        if (base == MAP_FAILED)
        {
            base = nullptr;
            return;
        }

        char* guardPage = base + dataPages * pageSize;
        data = guardPage - bytes.size();

        if (! bytes.empty())
            std::memcpy (data, bytes.data(), bytes.size());

        mprotect (guardPage, pageSize, PROT_NONE);

        if (dataPages > 0)
            mprotect (base, dataPages * pageSize, PROT_READ);
    }

    ~GuardedBytes()
    {
        if (base != nullptr)
            munmap (base, mappedSize);
    }

    GuardedBytes (const GuardedBytes&) = delete;
    GuardedBytes& operator= (const GuardedBytes&) = delete;

    void* get() const noexcept      { return data; }

private:
    size_t pageSize, dataPages, mappedSize;
    char* base = nullptr;
    char* data = nullptr;
};

std::vector<char> envelope (std::uint32_t declaredLength, const std::vector<char>& body)
{
    std::vector<char> chunk { 'V', 'C', '2', '!' };

    for (int i = 0; i < 4; ++i)
        chunk.push_back ((char) ((declaredLength >> (8 * i)) & 0xff));

    chunk.insert (chunk.end(), body.begin(), body.end());
    return chunk;
}

class VstRobustness : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE (getPluginPath().empty()) << "pass --plugin=<path of the VST2 binary> or set SOMBRAX_VST_PLUGIN";
    }
};
} // namespace

//==============================================================================
TEST_F (VstRobustness, OpensAndClosesManyInstancesInARow)
{
    std::vector<char> freshChunk;
    std::vector<float> freshParameters;

    for (int i = 0; i < 20; ++i)
    {
        VstTestHost host;
        std::string error;
        ASSERT_TRUE (host.load (getPluginPath(), error)) << "instance " << i << ": " << error;
        host.open();
        host.setSampleRate (44100.0f);
        host.setBlockSize (512);

        // Nothing one instance did may show in the next one.
        if (i == 0)
        {
            freshChunk = host.getChunk();
            freshParameters = readParameters (host);
        }
        else
        {
            EXPECT_EQ (readParameters (host), freshParameters) << "instance " << i;
            EXPECT_EQ (host.getChunk(), freshChunk) << "instance " << i;
        }

        host.setParameter (driveIndex, 0.9f);
        host.setParameter (dryWetIndex, 0.3f);

        // Every third instance closes unused, the others after some audio, half of
        // those still switched on, as a host that is shut down mid-play does.
        if (i % 3 != 0)
        {
            host.resume();
            TestSignal signal (440.0, 0.5f, 44100.0);

            for (int block = 0; block < 4; ++block)
                EXPECT_TRUE (allFinite (processBlock (host, signal.next (512)))) << "instance " << i;

            if (i % 3 == 1)
                host.suspend();
        }

        EXPECT_EQ (host.close(), 1) << "instance " << i;
    }
}

TEST_F (VstRobustness, TwoInstancesInterleavedProcessIndependently)
{
    constexpr int blockSize = 512;
    constexpr int numBlocks = 120;
    constexpr int settledBlocks = 100;

    auto setUpClean = [] (VstTestHost& host)
    {
        host.setParameter (driveIndex, 0.0f);
        host.setParameter (dryWetIndex, 0.0f);
    };

    auto setUpDistorting = [] (VstTestHost& host)
    {
        host.setParameter (driveIndex, 1.0f);
        host.setParameter (shapeIndex, 0.8f);
        host.setParameter (dryWetIndex, 1.0f);
    };

    // Each alone first, as the reference for running them side by side.
    auto runAlone = [&] (auto setUp, double frequency, float amplitude)
    {
        std::vector<Channels> outputs;
        auto host = openInstance (44100.0f, blockSize);

        if (host == nullptr)
            return outputs;

        setUp (*host);
        host->resume();
        TestSignal signal (frequency, amplitude, 44100.0);

        for (int block = 0; block < numBlocks; ++block)
            outputs.push_back (processBlock (*host, signal.next (blockSize)));

        return outputs;
    };

    const auto cleanAlone = runAlone (setUpClean, 440.0, 0.5f);
    const auto distortingAlone = runAlone (setUpDistorting, 310.0, 0.9f);
    ASSERT_EQ ((int) cleanAlone.size(), numBlocks);
    ASSERT_EQ ((int) distortingAlone.size(), numBlocks);

    auto clean = openInstance (44100.0f, blockSize);
    auto distorting = openInstance (44100.0f, blockSize);
    ASSERT_NE (clean, nullptr);
    ASSERT_NE (distorting, nullptr);

    setUpClean (*clean);
    setUpDistorting (*distorting);
    clean->resume();
    distorting->resume();

    TestSignal cleanSignal (440.0, 0.5f, 44100.0);
    TestSignal distortingSignal (310.0, 0.9f, 44100.0);

    for (int block = 0; block < numBlocks; ++block)
    {
        const auto cleanInput = cleanSignal.next (blockSize);
        const auto distortingInput = distortingSignal.next (blockSize);

        const auto cleanOutput = processBlock (*clean, cleanInput);
        const auto distortingOutput = processBlock (*distorting, distortingInput);

        EXPECT_EQ (cleanOutput, cleanAlone[(size_t) block]) << "block " << block;
        EXPECT_EQ (distortingOutput, distortingAlone[(size_t) block]) << "block " << block;

        EXPECT_TRUE (allFinite (distortingOutput)) << "block " << block;

        // The dry/wet glide starts at fully wet and is retargeted every block, so it only
        // closes in on dry geometrically; by a second or so it is there.
        if (block >= settledBlocks)
        {
            EXPECT_LT (largestDifference (cleanOutput, cleanInput), 1.0e-4f) << "block " << block;
            EXPECT_GT (largestDifference (distortingOutput, distortingInput), 0.1f) << "block " << block;
        }
    }
}

//==============================================================================
TEST_F (VstRobustness, ParameterFuzzFromAnotherThreadWhileProcessing)
{
    constexpr int blockSize = 512;
    constexpr int numBlocks = 2000;
    constexpr long maxFuzzSteps = 2000000;

    auto host = openInstance (44100.0f, blockSize);
    ASSERT_NE (host, nullptr);
    host->resume();

    std::atomic<bool> audioDone { false };
    std::promise<void> audioStarted;
    auto audioHasStarted = audioStarted.get_future();
    SignalStats outputStats;

    std::thread audio ([&]
    {
        std::mt19937 random (7);
        std::uniform_real_distribution<float> noise (-0.3f, 0.3f);
        TestSignal signal (220.0, 0.7f, 44100.0);

        for (int block = 0; block < numBlocks; ++block)
        {
            auto input = signal.next (blockSize);

            for (auto& channel : input)
                for (auto& sample : channel)
                    sample += noise (random);

            outputStats.add (processBlock (*host, std::move (input)));

            if (block == 0)
                audioStarted.set_value();
        }

        audioDone = true;
    });

    audioHasStarted.wait();

    std::mt19937 random (11);
    std::uniform_int_distribution<int> anyParameter (0, numParameters - 1);
    std::uniform_real_distribution<float> anyValue (0.0f, 1.0f);
    long fuzzSteps = 0, emptyTexts = 0;

    for (; ! audioDone && fuzzSteps < maxFuzzSteps; ++fuzzSteps)
    {
        const int index = anyParameter (random);

        // The ends of the range now and then, as hosts' ramps reach them.
        const auto roll = fuzzSteps % 16;
        const float value = roll == 0 ? 0.0f : (roll == 1 ? 1.0f : anyValue (random));

        host->setParameter (index, value);

        if (host->getParameterDisplay (anyParameter (random)).empty())
            ++emptyTexts;
    }

    audio.join();

    EXPECT_GT (fuzzSteps, 0);
    EXPECT_EQ (emptyTexts, 0);
    EXPECT_EQ (outputStats.nonFinite, 0);
    EXPECT_LT (outputStats.peak, 100.0f);

    for (int i = 0; i < numParameters; ++i)
    {
        const auto value = host->getParameter (i);
        EXPECT_GE (value, 0.0f) << "parameter " << i;
        EXPECT_LE (value, 1.0f) << "parameter " << i;
    }

    // Still in working order: audio goes on, finite.
    EXPECT_TRUE (allFinite (processBlock (*host, TestSignal (220.0, 0.7f, 44100.0).next (blockSize))));
}

TEST_F (VstRobustness, StateRoundTripsWhileProcessing)
{
    constexpr int blockSize = 256;
    constexpr int maxBlocks = 200000;

    auto host = openInstance (44100.0f, blockSize);
    ASSERT_NE (host, nullptr);

    host->setParameter (resonanceIndex, 0.4f);
    host->setParameter (modDepthIndex, 0.3f);
    host->setParameter (waveIndex, 2.0f / 6.0f);
    host->setParameter (driveIndex, 0.6f);
    host->setParameter (feedbackIndex, 0.25f);
    host->setParameter (dryWetIndex, 0.8f);

    const auto expected = readParameters (*host);
    const auto chunk = host->getChunk();
    ASSERT_GT (chunk.size(), 8u);

    host->resume();

    std::atomic<bool> stateCallsDone { false };
    std::promise<void> audioStarted;
    auto audioHasStarted = audioStarted.get_future();
    SignalStats outputStats;

    std::thread audio ([&]
    {
        TestSignal signal (330.0, 0.8f, 44100.0);

        for (int block = 0; block < maxBlocks && ! stateCallsDone; ++block)
        {
            outputStats.add (processBlock (*host, signal.next (blockSize)));

            if (block == 0)
                audioStarted.set_value();
        }
    });

    audioHasStarted.wait();

    std::mt19937 random (3);
    std::uniform_int_distribution<int> anyParameter (0, numParameters - 1);
    std::uniform_real_distribution<float> anyValue (0.0f, 1.0f);
    int unequalChunks = 0;

    for (int i = 0; i < 200; ++i)
    {
        // Something for each restore to undo.
        host->setParameter (anyParameter (random), anyValue (random));
        host->setChunk (chunk);

        if (host->getChunk() != chunk)
            ++unequalChunks;
    }

    stateCallsDone = true;
    audio.join();

    EXPECT_EQ (unequalChunks, 0);
    EXPECT_EQ (outputStats.nonFinite, 0);

    const auto restored = readParameters (*host);

    for (int i = 0; i < numParameters; ++i)
        EXPECT_FLOAT_EQ (restored[(size_t) i], expected[(size_t) i]) << "parameter " << i;
}

//==============================================================================
TEST_F (VstRobustness, SurvivesSampleRateAndBlockSizeChanges)
{
    auto host = openInstance (44100.0f, 512);
    ASSERT_NE (host, nullptr);

    // Resonant, modulated at the high LFO rate, cutoff at the top: at 8 kHz that lies
    // far above half the sample rate.
    host->setParameter (cutoffIndex, 1.0f);
    host->setParameter (resonanceIndex, 0.9f);
    host->setParameter (modDepthIndex, 1.0f);
    host->setParameter (highRateModeIndex, 1.0f);
    host->setParameter (highRateIndex, 1.0f);
    host->setParameter (driveIndex, 0.7f);
    host->setParameter (feedbackIndex, 0.5f);
    host->resume();

    for (float sampleRate : { 8000.0f, 22050.0f, 44100.0f, 48000.0f, 96000.0f, 192000.0f })
    {
        for (int blockSize : { 1, 64, 512, 4096 })
        {
            host->suspend();
            host->setSampleRate (sampleRate);
            host->setBlockSize (blockSize);
            host->resume();

            TestSignal signal (440.0, 1.0f, sampleRate);

            // Up to the announced size, then past it, as some hosts do.
            for (int numSamples : { 1, (blockSize + 1) / 2, blockSize, blockSize + 1, 2 * blockSize + 3, blockSize + 2000 })
            {
                for (int repeat = 0; repeat < 2; ++repeat)
                {
                    SignalStats stats;
                    stats.add (processBlock (*host, signal.next (numSamples)));

                    EXPECT_EQ (stats.nonFinite, 0) << sampleRate << " Hz, announced " << blockSize
                                                   << ", block of " << numSamples;
                    EXPECT_LT (stats.peak, 100.0f) << sampleRate << " Hz, announced " << blockSize
                                                   << ", block of " << numSamples;
                }
            }
        }
    }
}

// Switched off and on again, at the same rate and at a new one: nothing from before plays out.
TEST_F (VstRobustness, AfterSwitchingOffAndOnSilenceInIsSilenceOut)
{
    auto host = openInstance (44100.0f, 512);
    ASSERT_NE (host, nullptr);
    host->setParameter (driveIndex, 0.5f);
    host->resume();

    for (float sampleRate : { 44100.0f, 96000.0f })
    {
        TestSignal loud (1000.0, 0.9f, 44100.0);

        for (int block = 0; block < 10; ++block)
            processBlock (*host, loud.next (512));

        host->suspend();
        host->setSampleRate (sampleRate);
        host->resume();

        SignalStats stats;
        stats.add (processBlock (*host, TestSignal (1000.0, 0.0f, sampleRate).next (512)));
        EXPECT_EQ (stats.peak, 0.0f) << sampleRate << " Hz";

        host->suspend();
        host->setSampleRate (44100.0f);
        host->resume();
    }
}

//==============================================================================
TEST_F (VstRobustness, DamagedChunksChangeNothing)
{
    auto host = openInstance (44100.0f, 512);
    ASSERT_NE (host, nullptr);

    // A real chunk of another state, to be cut short below.
    host->setParameter (driveIndex, 0.8f);
    host->setParameter (feedbackIndex, 0.6f);
    const auto otherChunk = host->getChunk();
    ASSERT_GT (otherChunk.size(), 16u);

    host->setParameter (driveIndex, 0.35f);
    host->setParameter (feedbackIndex, 0.1f);
    host->setParameter (dryWetIndex, 0.45f);
    const auto before = readParameters (*host);
    const auto chunkBefore = host->getChunk();

    std::vector<std::vector<char>> damaged;
    std::mt19937 random (5);
    std::uniform_int_distribution<int> anyByte (0, 255);

    auto randomBytes = [&] (size_t count)
    {
        std::vector<char> bytes;

        for (size_t i = 0; i < count; ++i)
            bytes.push_back ((char) anyByte (random));

        return bytes;
    };

    for (size_t length = 0; length <= 8; ++length)
        damaged.push_back (randomBytes (length));

    // The magic alone, then with part of a length.
    for (size_t length = 4; length <= 8; ++length)
    {
        auto header = envelope (0x7fffffff, {});
        header.resize (length);
        damaged.push_back (header);
    }

    std::uniform_int_distribution<size_t> anyLength (9, 4096);

    for (int i = 0; i < 40; ++i)
        damaged.push_back (randomBytes (anyLength (random)));

    // The real document, its envelope cut anywhere before the root closes.
    const std::vector<char> otherText (otherChunk.begin() + 8, otherChunk.end());
    const std::string text (otherText.begin(), otherText.end());
    const auto rootCloses = text.rfind ("</");
    ASSERT_NE (rootCloses, std::string::npos);

    for (int i = 0; i < 16; ++i)
    {
        const auto cut = 8 + (rootCloses * (size_t) i) / 16;
        damaged.emplace_back (otherChunk.begin(), otherChunk.begin() + (std::ptrdiff_t) cut);
    }

    const std::vector<char> halfText (otherText.begin(), otherText.begin() + (std::ptrdiff_t) (rootCloses / 2));

    for (std::uint32_t length : { 0x7fffffffu, 0x80000000u, 0xffffffffu })
    {
        damaged.push_back (envelope (length, {}));
        damaged.push_back (envelope (length, randomBytes (100)));
        damaged.push_back (envelope (length, halfText));
    }

    // A whole document behind a length that is not positive.
    damaged.push_back (envelope (0, otherText));
    damaged.push_back (envelope (0xffffffffu, otherText));
    damaged.push_back (envelope ((std::uint32_t) text.size(), randomBytes (text.size())));

    // A stray quote in a tag, behind which the parser reads every tag as one level deeper.
    std::string strayQuote = "<Sombrax><x '";

    for (int level = 0; level < 12000; ++level)
        strayQuote += "<a>";

    strayQuote += "</Sombrax>";
    damaged.push_back (envelope ((std::uint32_t) strayQuote.size(), std::vector<char> (strayQuote.begin(), strayQuote.end())));

    // The real document, well formed, padded to one byte over the largest text the plug-in reads.
    const size_t sizeLimit = 128 * 1024;
    const auto padded = [&text] (size_t size)
    {
        std::string document (text.c_str());
        const auto nameEnd = document.find_first_of (" >");
        document.insert (nameEnd, " pad=\"" + std::string (size - document.size() - 7, 'p') + "\"");
        return std::vector<char> (document.begin(), document.end());
    };
    damaged.push_back (envelope ((std::uint32_t) sizeLimit + 1, padded (sizeLimit + 1)));

    for (size_t i = 0; i < damaged.size(); ++i)
    {
        for (int programOnly = 0; programOnly < 2; ++programOnly)
        {
            const GuardedBytes bytes (damaged[i]);
            ASSERT_NE (bytes.get(), nullptr);
            host->dispatch (effSetChunk, programOnly, (VstIntPtr) damaged[i].size(), bytes.get());

            EXPECT_EQ (readParameters (*host), before) << "damaged chunk " << i << " of " << damaged[i].size() << " bytes";
        }
    }

    EXPECT_EQ (host->getChunk(), chunkBefore);

    // Still in working order: audio, and a sound chunk still restores.
    host->resume();
    EXPECT_TRUE (allFinite (processBlock (*host, TestSignal (440.0, 0.5f, 44100.0).next (512))));

    host->setChunk (otherChunk);
    EXPECT_FLOAT_EQ (host->getParameter (driveIndex), 0.8f);
    EXPECT_EQ (host->getChunk(), otherChunk);

    // So does the padded one at the limit.
    host->setParameter (driveIndex, 0.1f);
    host->setChunk (envelope ((std::uint32_t) sizeLimit, padded (sizeLimit)));
    EXPECT_FLOAT_EQ (host->getParameter (driveIndex), 0.8f);
}

TEST_F (VstRobustness, RecoversFromNanAndInfiniteInput)
{
    constexpr int blockSize = 512;

    for (float filterPost : { 0.0f, 1.0f })
    {
        auto host = openInstance (44100.0f, blockSize);
        ASSERT_NE (host, nullptr);

        host->setParameter (resonanceIndex, 0.8f);
        host->setParameter (modDepthIndex, 0.5f);
        host->setParameter (driveIndex, 0.6f);
        host->setParameter (feedbackIndex, 0.7f);
        host->setParameter (filterPostIndex, filterPost);
        host->setParameter (dryWetIndex, 0.7f);
        host->resume();

        TestSignal signal (440.0, 0.5f, 44100.0);

        for (int block = 0; block < 4; ++block)
            processBlock (*host, signal.next (blockSize));

        const std::vector<std::pair<const char*, std::function<void (Channels&)>>> damages
        {
            { "all NaN",        [] (Channels& c) { for (auto& ch : c) std::fill (ch.begin(), ch.end(), notANumber); } },
            { "all +inf",       [] (Channels& c) { for (auto& ch : c) std::fill (ch.begin(), ch.end(), infinity); } },
            { "+inf and -inf",  [] (Channels& c) { std::fill (c[0].begin(), c[0].end(), infinity);
                                                   std::fill (c[1].begin(), c[1].end(), -infinity); } },
            { "one NaN",        [] (Channels& c) { c[0][100] = notANumber; } },
            { "one -inf",       [] (Channels& c) { c[1][blockSize - 1] = -infinity; } },
        };

        for (const auto& [name, damage] : damages)
        {
            auto input = signal.next (blockSize);
            damage (input);
            processBlock (*host, input);

            processBlock (*host, signal.next (blockSize));
            const auto second = processBlock (*host, signal.next (blockSize));

            EXPECT_TRUE (allFinite (second)) << name << ", filter post " << filterPost;

            // Not just finite but sounding again.
            float peak = 0.0f;

            for (int block = 0; block < 8; ++block)
                peak = std::max (peak, peakOf (processBlock (*host, signal.next (blockSize))));

            EXPECT_GT (peak, 0.05f) << name << ", filter post " << filterPost;
        }
    }
}

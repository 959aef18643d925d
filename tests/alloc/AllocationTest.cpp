#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <random>

//==============================================================================
// Global allocation functions that count while `counting` is on.
namespace
{
std::atomic<bool> counting { false };
std::atomic<long> allocations { 0 };

void* allocate (std::size_t size)
{
    if (counting.load (std::memory_order_relaxed))
        allocations.fetch_add (1, std::memory_order_relaxed);

    if (void* p = std::malloc (size == 0 ? 1 : size))
        return p;

    throw std::bad_alloc();
}

void* allocateAligned (std::size_t size, std::align_val_t alignment)
{
    if (counting.load (std::memory_order_relaxed))
        allocations.fetch_add (1, std::memory_order_relaxed);

    const auto align = static_cast<std::size_t> (alignment);
    const auto rounded = (size + align - 1) / align * align;

    if (void* p = std::aligned_alloc (align, rounded == 0 ? align : rounded))
        return p;

    throw std::bad_alloc();
}
} // namespace

void* operator new (std::size_t size) { return allocate (size); }
void* operator new[] (std::size_t size) { return allocate (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    try { return allocate (size); } catch (...) { return nullptr; }
}
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept
{
    try { return allocate (size); } catch (...) { return nullptr; }
}
void* operator new (std::size_t size, std::align_val_t a) { return allocateAligned (size, a); }
void* operator new[] (std::size_t size, std::align_val_t a) { return allocateAligned (size, a); }
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }
void operator delete (void* p, std::align_val_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::align_val_t) noexcept { std::free (p); }
void operator delete (void* p, std::size_t, std::align_val_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t, std::align_val_t) noexcept { std::free (p); }

//==============================================================================
namespace
{
class TempoPlayHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setBpm (128.0);
        return info;
    }
};

/** Counts the allocations of one processBlock call. */
long countedProcessBlock (SombraxAudioProcessor& processor, juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    allocations = 0;
    counting = true;
    processor.processBlock (buffer, midi);
    counting = false;
    return allocations.load();
}

void setParameter (SombraxAudioProcessor& processor, const juce::String& id, float plainValue)
{
    auto* parameter = processor.parameters.getParameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (plainValue));
}

TEST (Allocation, TheCountingHookSeesAllocations)
{
    allocations = 0;
    counting = true;
    auto* p = new int (3);
    counting = false;
    delete p;
    EXPECT_EQ (allocations.load(), 1);
}

TEST (Allocation, BlockProcessingNeverAllocates)
{
    SombraxAudioProcessor processor;
    TempoPlayHead playHead;
    processor.setPlayHead (&playHead);

    constexpr int preparedSize = 256;
    processor.prepareToPlay (44100.0, preparedSize);

    setParameter (processor, processor.filterCutoffModDepthParamID, 100.0f);
    setParameter (processor, processor.driveParamID, 60.0f);
    setParameter (processor, processor.feedbackParamID, 40.0f);

    std::mt19937 rng (99);
    std::uniform_real_distribution<float> unit (0.0f, 1.0f);

    // Sizes within, at and beyond the prepared size (up to four chunks), and empty blocks.
    const int sizes[] = { preparedSize, 1, 0, 100, preparedSize + 1, 3 * preparedSize + 17, 4 * preparedSize };
    juce::AudioBuffer<float> buffer (2, 4 * preparedSize);
    juce::MidiBuffer midi;

    for (int block = 0; block < 400; ++block)
    {
        // Parameter changes between blocks (outside the counted call): every switch and
        // choice flips now and then, the filter moves before and after the distortion.
        setParameter (processor, processor.filterPostParamID, (float) ((block / 7) % 2));
        setParameter (processor, processor.lfoSyncParamID, (float) ((block / 11) % 2));
        setParameter (processor, processor.lfoHighRateModeParamID, (float) ((block / 13) % 2));
        setParameter (processor, processor.lfoWaveParamID, (float) (block % 7));
        setParameter (processor, processor.lfoSyncedRateParamID, (float) (block % 22));
        setParameter (processor, processor.filterActiveParamID, block % 17 == 5 ? 0.0f : 1.0f);
        setParameter (processor, processor.distortionActiveParamID, block % 19 == 3 ? 0.0f : 1.0f);
        setParameter (processor, processor.filterCutoffParamID, 80.0f + 10000.0f * unit (rng));
        setParameter (processor, processor.dryWetParamID, 100.0f * unit (rng));
        setParameter (processor, processor.outGainParamID, -70.0f + 76.0f * unit (rng));

        const int n = sizes[block % (int) std::size (sizes)];
        buffer.setSize (2, n, false, false, true);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < n; ++i)
                buffer.setSample (ch, i, unit (rng) * 2.0f - 1.0f);

        if (block == 200 && n > 0)
            buffer.setSample (0, n / 2, std::nanf ("")); // the recovery path must not allocate either

        ASSERT_EQ (countedProcessBlock (processor, buffer, midi), 0) << "block " << block << ", " << n << " samples";
    }

    processor.setPlayHead (nullptr);
}
TEST (Allocation, MidiControlWithAnEditorOpenNeverAllocates)
{
    SombraxAudioProcessor processor;
    processor.prepareToPlay (48000.0, 512);

    // Two parameters on controller 7, one on 74, learnt the way the editor does it.
    juce::MidiBuffer learn;
    learn.addEvent (juce::MidiMessage::controllerEvent (1, 7, 0), 0);
    juce::AudioBuffer<float> buffer (2, 512);
    buffer.clear();
    processor.processBlock (buffer, learn);
    processor.ccMapper.assignToLastController (processor.filterCutoffParamID);
    processor.ccMapper.assignToLastController (processor.driveParamID);
    learn.clear();
    learn.addEvent (juce::MidiMessage::controllerEvent (1, 74, 0), 0);
    processor.processBlock (buffer, learn);
    processor.ccMapper.assignToLastController (processor.shapeParamID);

    // With an editor open a program change is only handed over, never loaded here.
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
    ASSERT_NE (processor.getActiveEditor(), nullptr);

    juce::MidiBuffer midi;
    for (int block = 0; block < 200; ++block)
    {
        midi.clear();
        midi.addEvent (juce::MidiMessage::controllerEvent (1 + block % 16, 7, block % 128), 0);
        midi.addEvent (juce::MidiMessage::controllerEvent (2, 74, (block * 5) % 128), 10);
        midi.addEvent (juce::MidiMessage::controllerEvent (3, 7, (block * 3) % 128), 20);
        midi.addEvent (juce::MidiMessage::programChange (1, block % 4), 30);

        ASSERT_EQ (countedProcessBlock (processor, buffer, midi), 0) << "block " << block;
    }

    EXPECT_TRUE (processor.pendingProgramChange.load());
    EXPECT_EQ (processor.pendingProgramNumber.load(), 199 % 4);
}
} // namespace

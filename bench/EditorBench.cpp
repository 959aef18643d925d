#include "editor/MainComponent.h"
#include "plugin/PluginProcessor.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
/** A processor and its editor content at the logical 700 x 400, as the editor window holds it. */
struct EditorContent
{
    explicit EditorContent (bool animations)
    {
        processor.animationsEnabled = animations;
        processor.inputPeak = 0.6f;
        processor.outputPeak = 0.8f;
        content = std::make_unique<MainComponent> (processor);
        content->setBounds (0, 0, 700, 400);
        content->setVisible (true);

        // The first tick brings the children in line with the parameters; later ones find nothing new.
        content->timerCallback();
        content->timerCallback();
    }

    SombraxAudioProcessor processor;
    std::unique_ptr<MainComponent> content;
};

/** The whole main component, children included, drawn into an image of the window's size. */
void paintAtScale (benchmark::State& state, float scale)
{
    EditorContent editor (true);
    juce::Image image (juce::Image::ARGB, juce::roundToInt (700.0f * scale), juce::roundToInt (400.0f * scale), true);

    const auto paint = [&]
    {
        juce::Graphics g (image);
        g.addTransform (juce::AffineTransform::scale (scale));
        editor.content->paintEntireComponent (g, true);
    };

    // The knobs' cached images and the glyphs are made once, as in an open window.
    paint();

    for (auto _ : state)
    {
        paint();
        benchmark::ClobberMemory();
    }
}

void BM_EditorPaint700x400 (benchmark::State& state)  { paintAtScale (state, 1.0f); }
void BM_EditorPaint1050x600 (benchmark::State& state) { paintAtScale (state, 1.5f); }

/** One refresh tick while nothing changes and animations are off: comparisons and the rate text. */
void BM_EditorTimerTickIdle (benchmark::State& state)
{
    EditorContent editor (false);

    for (auto _ : state)
        editor.content->timerCallback();
}

/** One refresh tick with animations on: the same work plus marking the level display dirty. */
void BM_EditorTimerTickAnimated (benchmark::State& state)
{
    EditorContent editor (true);

    for (auto _ : state)
        editor.content->timerCallback();
}

/** What that tick's repaint costs afterwards: the main component drawn into the level
    display's 86 x 41 area only, as the window repaints it. */
void BM_EditorLevelAreaPaint (benchmark::State& state)
{
    EditorContent editor (true);
    const auto area = editor.content->layout.levelDisplayArea;
    juce::Image image (juce::Image::ARGB, 700, 400, true);

    for (auto _ : state)
    {
        juce::Graphics g (image);
        g.reduceClipRegion (area);
        editor.content->paintEntireComponent (g, true);
        benchmark::ClobberMemory();
    }
}
} // namespace

BENCHMARK (BM_EditorPaint700x400)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_EditorPaint1050x600)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_EditorTimerTickIdle)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_EditorTimerTickAnimated)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_EditorLevelAreaPaint)->Unit (benchmark::kMicrosecond);

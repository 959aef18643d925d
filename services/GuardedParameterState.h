#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace oskv
{
namespace detail
{
    // A base of its own so the lock exists before the framework's state starts its timer
    // and outlives it.
    struct TreeLockHolder
    {
        mutable juce::CriticalSection treeLock;
    };
} // namespace detail

/** The processor's parameter state with one lock around every use of its tree.

    The tree is replaced from several threads (the host's state calls, the editor, and the
    audio thread's program-change load), while the framework's own timer writes parameter
    values into it on the message thread. That timer runs under the same lock here, so
    whoever holds getTreeLock() may read or replace `state` and use the undo manager.
*/
class GuardedParameterState : private detail::TreeLockHolder,
                              public juce::AudioProcessorValueTreeState
{
public:
    GuardedParameterState (juce::AudioProcessor& processorToConnectTo, juce::UndoManager* undoManagerToUse);
    ~GuardedParameterState() override;

    juce::CriticalSection& getTreeLock() const noexcept { return treeLock; }

    /** Writes the parameters' latest values into the tree; the framework's timer calls it. */
    void flushValuesToTree();

    /** Value changes one undo transaction collects before the flush closes it. */
    static constexpr int maxActionsPerTransaction = 1000;

private:
    void timerCallback() override;

    JUCE_DECLARE_NON_COPYABLE (GuardedParameterState)
};
} // namespace oskv

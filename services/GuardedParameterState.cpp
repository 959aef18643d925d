#include "GuardedParameterState.h"

namespace oskv
{
GuardedParameterState::GuardedParameterState (juce::AudioProcessor& processorToConnectTo,
                                              juce::UndoManager* undoManagerToUse)
    : juce::AudioProcessorValueTreeState (processorToConnectTo, undoManagerToUse)
{
}

GuardedParameterState::~GuardedParameterState() = default;

void GuardedParameterState::timerCallback()
{
    flushValuesToTree();
}

void GuardedParameterState::flushValuesToTree()
{
    // Stands in for the framework's periodic flush of parameter values into the tree, which
    // would otherwise write into a tree another thread may be replacing. The copy is the
    // only public way to that flush; it is small and this runs on the message thread.
    const juce::ScopedLock lock (treeLock);
    copyState();

    // The flush records every value change with the undo manager. Nothing else may start a
    // new transaction for hours (host automation with no editor open), and a transaction
    // that is still open is never trimmed, so a long one is closed here to keep the undo
    // history within the manager's limits.
    if (undoManager != nullptr && undoManager->getNumActionsInCurrentTransaction() >= maxActionsPerTransaction)
        undoManager->beginNewTransaction();
}
} // namespace oskv

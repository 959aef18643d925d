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
    // Stands in for the framework's periodic flush of parameter values into the tree, which
    // would otherwise write into a tree another thread may be replacing. The copy is the
    // only public way to that flush; it is small and this runs on the message thread.
    const juce::ScopedLock lock (treeLock);
    copyState();
}
} // namespace oskv

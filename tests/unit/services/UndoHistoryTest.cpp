#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

// Host automation with no editor open: every flush of changed values into the tree is
// recorded for undo, and nothing else closes the transaction.
TEST (UndoHistory, LongAutomationKeepsTheHistoryBounded)
{
    SombraxAudioProcessor processor;
    auto* cutoff = processor.parameters.getParameter (processor.filterCutoffParamID);
    auto* drive = processor.parameters.getParameter (processor.driveParamID);

    for (int flush = 0; flush < 100000; ++flush)
    {
        // Two parameters moving together never coalesce into one undo action.
        cutoff->setValueNotifyingHost ((float) (flush % 100) / 100.0f);
        drive->setValueNotifyingHost ((float) (flush % 37) / 37.0f);
        processor.parameters.flushValuesToTree();
    }

    EXPECT_LE (processor.undoManager.getNumActionsInCurrentTransaction(),
               oskv::GuardedParameterState::maxActionsPerTransaction);

    // The manager trims whole transactions beyond its limits; far fewer than the 200000 recorded remain.
    int actions = 0;
    while (processor.undoManager.canUndo() && actions < 1000000)
    {
        actions += processor.undoManager.getNumActionsInCurrentTransaction();
        processor.undoManager.undo();
    }
    EXPECT_LT (actions, 35000);

    // Every transaction left in the history can still be undone.
    EXPECT_FALSE (processor.undoManager.canUndo());
}

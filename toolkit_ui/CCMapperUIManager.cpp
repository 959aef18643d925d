#include "CCMapperUIManager.h"

#include "toolkit_ui/MIDITarget.h"

namespace oskv
{
void CCMapperUIManager::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    auto* target = dynamic_cast<MIDITarget*> (source);

    if (target == nullptr)
        return;

    // One request per message: an assign leaves a pending clear for the next one.
    const bool assign = target->assignRequested;
    target->assignRequested = false;

    if (assign)
    {
        if (ccMapper != nullptr)
            ccMapper->assignToLastController (target->parameterID);

        return;
    }

    const bool clear = target->clearRequested;
    target->clearRequested = false;

    if (clear && ccMapper != nullptr)
        ccMapper->removeBinding (target->parameterID);
}
} // namespace oskv

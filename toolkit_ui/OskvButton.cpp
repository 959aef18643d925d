#include "OskvButton.h"

namespace oskv
{
void OskvButton::mouseDown (const juce::MouseEvent& e)
{
    // A button bound to no parameter has nothing to learn: its Option-click stays a click.
    if (e.mods.isAltDown() && parameterID.isNotEmpty())
    {
        menu();
        return;
    }

    juce::TextButton::mouseDown (e);
}
} // namespace oskv

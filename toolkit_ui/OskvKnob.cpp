#include "OskvKnob.h"

namespace oskv
{
void OskvKnob::mouseDown (const juce::MouseEvent& e)
{
    // The slider never sees the learn click, so the value cannot jump under the menu.
    if (e.mods.isAltDown() && parameterID.isNotEmpty())
    {
        menu();
        return;
    }

    juce::Slider::mouseDown (e);
}
} // namespace oskv

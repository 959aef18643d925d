#pragma once

#include "toolkit_ui/OskvKnob.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace oskv
{
/** Makes the editor's standard controls already dressed in the palette, so the owner only
    positions and binds them. Every function returns a new control that the caller owns. */
class UIControlFactory
{
public:
    UIControlFactory() = delete;

    static juce::Label* createRegularLabel (const juce::String& text);
    static juce::TextButton* createPushButton (const juce::String& text, const juce::Colour& colour);
    static juce::DrawableButton* createIconButton (const juce::Drawable* normal, const juce::Drawable* down);
    static OskvKnob* createRegularKnob (const juce::Colour& colour);
};
} // namespace oskv

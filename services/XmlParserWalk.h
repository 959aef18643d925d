#pragma once

#include <juce_core/juce_core.h>

namespace oskv
{
/** Walks a text the way the framework's XML parser will, step for step, without building
    anything, to learn in advance what the parser would do with it: how deep its recursion
    goes (one level per element whose content it reads), and whether it would ever stop.

    The parser takes a stray quote in a tag as an illegal character and reads on, so any
    guess from the text's layout can be wrong; only following the parser's own moves gives
    the depth it will reach. The walk stops as soon as it passes the depth limit, so its own
    recursion stays shallow whatever the text.

    The parser also grows an attribute value by one reallocation per entity in it, which takes
    time in the square of their number: a value with more than a few thousand could stall the
    host for minutes, so such a text is turned away as well. So is one with more tag and
    attribute names than our documents come near: each new name shifts the framework's
    sorted pool of names, which costs time in the product of the two counts. */
class XmlParserWalk
{
public:
    enum class Verdict
    {
        safe,      ///< The parser stops, never nesting deeper than the limit.
        tooDeep,   ///< The parser would recurse past the limit.
        endless,   ///< The parser would loop forever at one place.
        tooSlow,   ///< More entities in one value, or names in all, than the parser reads in good time.
        unknown    ///< The text holds something the walk does not follow (an entity it doesn't know).
    };

    /** Most entities one attribute value may hold; ours hold a handful at most. */
    static constexpr int maxEntitiesInOneValue = 4096;

    /** Most tag and attribute names a text may hold, counted as often as they occur; a state
        chunk of ours, with every parameter bound to a controller, holds about a hundred. */
    static constexpr int maxNamesInOneText = 4096;

    /** What the framework's parser would do with exactly this text. */
    static Verdict walk (const juce::String& text, int maxElementDepth);

    /** Steps past an entity the framework's writer produces (the five named ones, or a
        character reference of up to eight digits), given the text just after its '&'; false
        for any other, which the parser may expand or overrun. */
    static bool skipKnownEntity (juce::String::CharPointerType& afterAmpersand) noexcept;

private:
    using Pointer = juce::String::CharPointerType;

    XmlParserWalk (Pointer start, int maxElementDepth);

    bool stopped() const noexcept { return verdict != Verdict::safe; }
    void stop (Verdict why) noexcept;

    juce::juce_wchar readNextChar() noexcept;
    void walkDocument();
    bool walkHeader();
    bool walkDoctype();
    void skipNextWhiteSpace();
    void walkQuotedString();
    void walkEntity();
    void countName() noexcept;
    bool walkElement();
    void walkChildElements();
    bool walkTextBlock();

    Pointer input;
    const int maxDepth;
    int depth = 0;
    int names = 0;
    bool outOfData = false;
    Verdict verdict = Verdict::safe;
};
} // namespace oskv

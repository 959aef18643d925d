#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>
#include <memory>

namespace oskv
{
/** Reading state, presets and maps that come from outside (host chunks, files): text that
    is not UTF-8, would make the parser recurse deeper than any of our documents nest, would
    make it loop, or is too large is turned away before the parser sees it, so bad input
    fails as unreadable instead of crashing or holding the thread that reads it. */
namespace StateXml
{
    /** Deepest nesting the parser may reach; our own documents are three levels deep. */
    constexpr int maxElementDepth = 64;

    /** Largest text read, in bytes, whether a state chunk's or a file's: some thirty times
        the largest the plug-in writes. The parser spends time in the square of some counts
        (new names, entities in one value, levels an unclosed tag is looked for at), so the
        size bounds how long any text can hold it: tens of milliseconds at this size. */
    constexpr size_t maxTextBytes = 128 * 1024;

    /** Bytes as UTF-8 text, cut at the first 0 byte; false when they are not valid UTF-8. */
    bool decodeUtf8 (const void* data, size_t numBytes, juce::String& text);

    /** True when the framework's parser can be given exactly this text: it is no longer than
        maxTextBytes, and the parser will stop, never recursing deeper than maxElementDepth,
        and meets nothing it misreads. */
    bool isSafeToParse (const juce::String& text);

    /** The document element of a whole XML text, or nullptr. */
    std::unique_ptr<juce::XmlElement> parseDocument (const juce::String& text);

    /** The document element of an XML file (UTF-8, or UTF-16 with a byte-order mark), or nullptr. */
    std::unique_ptr<juce::XmlElement> parseFile (const juce::File& file);

    /** True when the framework reads the property as a finite float; text that is no number
        reads as 0 there and counts as finite. */
    bool isFiniteNumber (const juce::var& value);

    /** A change made to a loaded tree before it becomes the parameter state, so that the
        parameters never hold the values in between. */
    using TreeEdit = std::function<void (juce::ValueTree&)>;

    /** Replaces the parameter state's tree with one made from the element, by plain
        assignment so every parameter re-reads its value. A child whose value reads as NaN or
        infinity is dropped first, so its parameter falls back to its default like one missing
        from the element; then `edit`, when given, changes the tree. The caller holds the
        state's tree lock. */
    void assignParameterTree (juce::AudioProcessorValueTreeState& parameters, const juce::XmlElement& element,
                              const TreeEdit& edit = {});
} // namespace StateXml
} // namespace oskv

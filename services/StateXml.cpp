#include "StateXml.h"

#include "services/XmlParserWalk.h"

#include <cmath>
#include <limits>

namespace oskv
{
namespace StateXml
{
namespace
{
    // Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. The framework's
    // own decoder trusts its input and may read past the end of a truncated sequence.
    bool isValidUtf8 (const juce::uint8* s, size_t n)
    {
        size_t i = 0;

        while (i < n)
        {
            const auto c = s[i];

            if (c < 0x80)
            {
                ++i;
                continue;
            }

            int extra = 0;
            juce::uint32 minValue = 0, value = 0;

            if ((c & 0xe0) == 0xc0)      { extra = 1; minValue = 0x80;    value = c & 0x1fu; }
            else if ((c & 0xf0) == 0xe0) { extra = 2; minValue = 0x800;   value = c & 0x0fu; }
            else if ((c & 0xf8) == 0xf0) { extra = 3; minValue = 0x10000; value = c & 0x07u; }
            else                         return false;

            if (n - i <= (size_t) extra)
                return false;

            for (int k = 1; k <= extra; ++k)
            {
                const auto next = s[i + (size_t) k];

                if ((next & 0xc0) != 0x80)
                    return false;

                value = (value << 6) | (next & 0x3fu);
            }

            if (value < minValue || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff))
                return false;

            i += (size_t) extra + 1;
        }

        return true;
    }

    // The framework's parser loops forever on a processing instruction followed by text
    // inside an element (and misreads one inside a tag), so none may follow the root's
    // start. Ours never have one there: the writer escapes '<' in attribute values.
    // Both scans move one pointer forwards: indexing a UTF-8 string counts from its start.
    bool hasInstructionAfterRootStart (const juce::String& text)
    {
        auto p = text.getCharPointer();

        for (;;)
        {
            p = juce::CharacterFunctions::find (p, (juce::juce_wchar) '<');

            if (p.isEmpty())
                return false;

            const auto next = p[1];

            if (next != '?' && next != '!')
                break;

            p = juce::CharacterFunctions::find (p, (juce::juce_wchar) '>');

            if (p.isEmpty())
                return false;
        }

        return ! juce::CharacterFunctions::find (p, juce::CharPointer_ASCII ("<?")).isEmpty();
    }

    // Only the entities the framework's writer produces, anywhere in the text.
    bool hasOnlyKnownEntities (const juce::String& text)
    {
        for (auto p = juce::CharacterFunctions::find (text.getCharPointer(), (juce::juce_wchar) '&'); ! p.isEmpty();
             p = juce::CharacterFunctions::find (p, (juce::juce_wchar) '&'))
        {
            ++p;

            if (! XmlParserWalk::skipKnownEntity (p))
                return false;
        }

        return true;
    }
} // namespace

bool decodeUtf8 (const void* data, size_t numBytes, juce::String& text)
{
    text = {};

    if (data == nullptr || numBytes == 0)
        return true;

    const auto* bytes = static_cast<const juce::uint8*> (data);
    const auto* zero = static_cast<const juce::uint8*> (std::memchr (bytes, 0, numBytes));
    const auto length = zero != nullptr ? (size_t) (zero - bytes) : numBytes;

    if (! isValidUtf8 (bytes, length))
        return false;

    text = juce::String::fromUTF8 (reinterpret_cast<const char*> (bytes), (int) length);
    return true;
}

namespace
{
    bool isWithinSizeLimit (const juce::String& text)
    {
        return text.getNumBytesAsUTF8() <= maxTextBytes;
    }

    bool parserStopsOn (const juce::String& text)
    {
        return ! hasInstructionAfterRootStart (text) && hasOnlyKnownEntities (text)
            && XmlParserWalk::walk (text, maxElementDepth) == XmlParserWalk::Verdict::safe;
    }
} // namespace

bool isSafeToParse (const juce::String& text)
{
    return text.isNotEmpty() && isWithinSizeLimit (text) && parserStopsOn (text);
}

std::unique_ptr<juce::XmlElement> parseDocument (const juce::String& text)
{
    if (text.isEmpty() || ! isWithinSizeLimit (text))
        return {};

    // Trailing whitespace changes nothing in a document, and keeps any one-character
    // overshoot of the parser inside the text.
    const auto padded = text + "    ";

    if (! parserStopsOn (padded))
        return {};

    // Every new name in a text goes into one sorted pool, shifting the names after it, and a
    // name stays there after its document is gone until the pool next clears what nobody
    // holds, which is only every 30 s on its own. Clearing it first keeps the pool to the
    // names in use, so one text after another can't make each read slower than the last.
    juce::StringPool::getGlobalPool().garbageCollect();

    return juce::XmlDocument::parse (padded);
}

namespace
{
    // A file's text (UTF-8, or UTF-16 with a byte-order mark); false when it is missing, empty,
    // too large or not valid UTF-8.
    bool readText (const juce::File& file, juce::String& text)
    {
        text = {};

        if (! file.existsAsFile() || file.getSize() > (juce::int64) maxTextBytes)
            return false;

        juce::MemoryBlock data;

        if (! file.loadFileAsData (data) || data.getSize() == 0)
            return false;

        const auto* bytes = static_cast<const juce::uint8*> (data.getData());
        const auto size = data.getSize();

        if (size >= 2 && ((bytes[0] == 0xff && bytes[1] == 0xfe) || (bytes[0] == 0xfe && bytes[1] == 0xff)))
        {
            // UTF-16 with a byte-order mark, as the framework's file reader takes it.
            text = juce::String::createStringFromData (bytes, (int) size);
            return true;
        }

        const bool hasBom = size >= 3 && bytes[0] == 0xef && bytes[1] == 0xbb && bytes[2] == 0xbf;
        const auto offset = hasBom ? (size_t) 3 : (size_t) 0;

        return decodeUtf8 (bytes + offset, size - offset, text);
    }
} // namespace

std::unique_ptr<juce::XmlElement> parseFile (const juce::File& file)
{
    juce::String text;

    if (! readText (file, text))
        return {};

    return parseDocument (text);
}

bool isFiniteNumber (const juce::var& value)
{
    // The framework reads a value as double (text by its own number parser, garbage as 0)
    // and then narrows it to float; only what survives that as a finite float is kept.
    const auto number = (double) value;
    return std::isfinite (number) && std::abs (number) <= (double) std::numeric_limits<float>::max();
}

void assignParameterTree (juce::AudioProcessorValueTreeState& parameters, const juce::XmlElement& element,
                          const TreeEdit& edit)
{
    static const juce::Identifier valueProperty ("value");

    auto tree = juce::ValueTree::fromXml (element);

    // Any child type: the parameter state takes a parameter's value from a child carrying its
    // id, whatever that child's tag.
    for (int i = tree.getNumChildren(); --i >= 0;)
    {
        const auto child = tree.getChild (i);

        if (child.hasProperty (valueProperty) && ! isFiniteNumber (child.getProperty (valueProperty)))
            tree.removeChild (i, nullptr);
    }

    if (edit != nullptr)
        edit (tree);

    parameters.state = tree;
}
} // namespace StateXml
} // namespace oskv

#include "XmlParserWalk.h"

namespace oskv
{
namespace
{
    // The characters the parser takes into a tag or attribute name: below 160 a fixed set,
    // above it whatever the C library calls a letter or digit, asked through the same call.
    bool isNameChar (juce::juce_wchar c) noexcept
    {
        if (c < 160)
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                || c == '_' || c == '-' || c == ':' || c == '.';

        return juce::CharacterFunctions::isLetterOrDigit (c) || c == '_' || c == '-' || c == ':' || c == '.';
    }

    juce::String::CharPointerType endOfName (juce::String::CharPointerType p) noexcept
    {
        while (isNameChar (*p))
            ++p;

        return p;
    }

    bool startsWith (juce::String::CharPointerType p, const char* ascii) noexcept
    {
        return juce::CharacterFunctions::compareUpTo (p, juce::CharPointer_ASCII (ascii), (int) std::strlen (ascii)) == 0;
    }
} // namespace

XmlParserWalk::Verdict XmlParserWalk::walk (const juce::String& text, int maxElementDepth)
{
    XmlParserWalk walker (text.getCharPointer(), maxElementDepth);
    walker.walkDocument();
    return walker.verdict;
}

XmlParserWalk::XmlParserWalk (Pointer start, int maxElementDepth)
    : input (start), maxDepth (maxElementDepth)
{
}

void XmlParserWalk::stop (Verdict why) noexcept
{
    if (verdict == Verdict::safe)
        verdict = why;
}

juce::juce_wchar XmlParserWalk::readNextChar() noexcept
{
    const auto c = input.getAndAdvance();

    if (c == 0)
    {
        outOfData = true;
        --input;
    }

    return c;
}

void XmlParserWalk::walkDocument()
{
    // The parser reads the header, a DOCTYPE, then the one document element, and nothing after.
    if (input.isEmpty() || ! walkHeader() || ! walkDoctype())
        return;

    walkElement();
}

bool XmlParserWalk::walkHeader()
{
    skipNextWhiteSpace();

    if (startsWith (input, "<?xml"))
    {
        const auto headerEnd = juce::CharacterFunctions::find (input, juce::CharPointer_ASCII ("?>"));

        if (headerEnd.isEmpty())
            return false;

        input = headerEnd + 2;
        skipNextWhiteSpace();
    }

    return true;
}

bool XmlParserWalk::walkDoctype()
{
    if (startsWith (input, "<!DOCTYPE"))
    {
        input += 9;

        for (int n = 1; n > 0;)
        {
            const auto c = readNextChar();

            if (outOfData)
                return false;

            if (c == '<')
                ++n;
            else if (c == '>')
                --n;
        }
    }

    return true;
}

void XmlParserWalk::skipNextWhiteSpace()
{
    for (;;)
    {
        input.incrementToEndOfWhitespace();

        if (input.isEmpty())
        {
            outOfData = true;
            return;
        }

        if (*input != '<')
            return;

        const char* terminator = nullptr;
        int opening = 0;

        if (input[1] == '!' && input[2] == '-' && input[3] == '-')
        {
            terminator = "-->";
            opening = 4;
        }
        else if (input[1] == '?')
        {
            terminator = "?>";
            opening = 2;
        }
        else
        {
            return;
        }

        input += opening;
        const auto close = input.indexOf (juce::CharPointer_ASCII (terminator));

        if (close < 0)
        {
            outOfData = true;
            return;
        }

        input += close + (int) std::strlen (terminator);
    }
}

void XmlParserWalk::walkQuotedString()
{
    const auto quote = readNextChar();
    int entities = 0;

    while (! outOfData && ! stopped())
    {
        const auto c = readNextChar();

        if (c == quote)
            return;

        --input;

        if (c == '&')
        {
            if (++entities > maxEntitiesInOneValue)
                stop (Verdict::tooSlow);

            walkEntity();
            continue;
        }

        for (;;)
        {
            const auto character = *input;

            if (character == quote)
            {
                ++input;
                return;
            }

            if (character == '&')
                break;

            if (character == 0)
            {
                outOfData = true;
                break;
            }

            ++input;
        }
    }
}

void XmlParserWalk::countName() noexcept
{
    if (++names > maxNamesInOneText)
        stop (Verdict::tooSlow);
}

void XmlParserWalk::walkEntity()
{
    ++input;

    if (! skipKnownEntity (input))
        stop (Verdict::unknown);
}

bool XmlParserWalk::skipKnownEntity (Pointer& p) noexcept
{
    for (const auto* name : { "amp;", "quot;", "apos;", "lt;", "gt;" })
    {
        const auto length = (int) std::strlen (name);

        if (p.compareIgnoreCaseUpTo (juce::CharPointer_ASCII (name), length) == 0)
        {
            p += length;
            return true;
        }
    }

    // A character reference the parser reads to its semicolon and steps past it. Others can
    // expand to markup of any depth, or step past the end of the text; those are not known.
    if (*p != '#')
        return false;

    ++p;
    const bool hex = (*p == 'x' || *p == 'X');

    if (hex)
        ++p;

    int digits = 0;

    while (hex ? juce::CharacterFunctions::getHexDigitValue (*p) >= 0 : juce::CharacterFunctions::isDigit (*p))
    {
        ++p;
        ++digits;
    }

    if (digits == 0 || digits > 8 || *p != ';')
        return false;

    ++p;
    return true;
}

bool XmlParserWalk::walkElement()
{
    skipNextWhiteSpace();

    if (outOfData || *input != '<')
        return false;

    ++input;
    auto nameEnd = endOfName (input);

    if (nameEnd == input)
    {
        // The parser allows a gap between '<' and the name.
        skipNextWhiteSpace();
        nameEnd = endOfName (input);

        if (nameEnd == input)
            return false;
    }

    input = nameEnd;
    countName();

    while (! stopped())
    {
        skipNextWhiteSpace();
        const auto c = *input;

        if (c == '/' && input[1] == '>')
        {
            input += 2;
            break;
        }

        if (c == '>')
        {
            ++input;
            walkChildElements();
            break;
        }

        // An attribute with a quoted value is read and the loop goes on; anything else ends
        // the tag there (as an error the parser notes but reads on past).
        if (! isNameChar (c))
            break;

        input = endOfName (input);
        countName();
        skipNextWhiteSpace();

        if (readNextChar() != '=')
            break;

        skipNextWhiteSpace();

        if (*input != '"' && *input != '\'')
            break;

        walkQuotedString();
    }

    // The parser hands back the element it started even when its tag went wrong.
    return true;
}

void XmlParserWalk::walkChildElements()
{
    if (++depth > maxDepth)
    {
        stop (Verdict::tooDeep);
        return;
    }

    while (! stopped())
    {
        const auto before = input;
        skipNextWhiteSpace();

        if (outOfData)
            break;

        if (*input == '<')
        {
            const auto c1 = input[1];

            if (c1 == '/')
            {
                const auto closeTag = input.indexOf ((juce::juce_wchar) '>');

                if (closeTag >= 0)
                    input += closeTag + 1;

                break;
            }

            if (c1 == '!' && startsWith (input + 2, "[CDATA["))
            {
                input += 9;
                const auto close = input.indexOf (juce::CharPointer_ASCII ("]]>"));

                if (close < 0)
                {
                    outOfData = true;
                    break;
                }

                input += close + 3;
            }
            else if (! walkElement())
            {
                break;
            }

            continue;
        }

        // Text: the parser goes back to before the skipped whitespace and reads from there.
        input = before;

        if (! walkTextBlock())
            break;

        // A block that reads nothing (an instruction skipped above, then '<') is read again
        // from the same place, for ever.
        if (input == before)
        {
            stop (Verdict::endless);
            break;
        }
    }

    --depth;
}

bool XmlParserWalk::walkTextBlock()
{
    while (! stopped())
    {
        const auto c = *input;

        if (c == '<')
        {
            if (input[1] == '!' && input[2] == '-' && input[3] == '-')
            {
                input += 4;
                const auto close = input.indexOf (juce::CharPointer_ASCII ("-->"));

                if (close < 0)
                {
                    outOfData = true;
                    return false;
                }

                input += close + 3;
                continue;
            }

            return true;
        }

        if (c == 0)
        {
            outOfData = true;
            return false;
        }

        if (c == '&')
        {
            walkEntity();
            continue;
        }

        while (*input != '<' && *input != '&' && *input != 0)
            ++input;
    }

    return false;
}
} // namespace oskv

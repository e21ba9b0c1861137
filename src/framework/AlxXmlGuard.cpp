#include "framework/AlxXmlGuard.h"

#include <cstring>
#include <limits>

namespace
{
    using Chars = juce::String::CharPointerType;

    // An entity reference the reader resolves by itself, without looking further than its ';':
    // &amp; &quot; &apos; &lt; &gt; (in any case), &#ddd; and &#xhhh; naming a Unicode code point.
    // p stands after the '&' and moves past the ';'.
    bool skipPlainReference (Chars& p)
    {
        for (auto* name : { "amp;", "quot;", "apos;", "lt;", "gt;" })
        {
            const int length = (int) std::strlen (name);

            if (p.compareIgnoreCaseUpTo (juce::CharPointer_ASCII (name), length) == 0)
            {
                p += length;
                return true;
            }
        }

        if (*p != '#')
            return false;

        ++p;
        const bool hex = *p == 'x' || *p == 'X';

        if (hex)
            ++p;

        juce::int64 code = 0;
        int digits = 0;

        for (;; ++p)
        {
            const auto c = *p;
            const int digit = hex ? juce::CharacterFunctions::getHexDigitValue (c)
                                  : (c >= '0' && c <= '9' ? (int) (c - '0') : -1);

            if (digit < 0)
                break;

            code = code * (hex ? 16 : 10) + digit;

            if (++digits > 8 || code > 0x10ffff)
                return false;
        }

        if (digits == 0 || *p != ';')
            return false;

        ++p;
        return true;
    }

    // The references are found by characters, as the reader decodes them: its decoder also reads
    // the overlong byte sequences of '&' (C0 A6 and longer) as '&', which a search for the byte
    // of '&' would pass over.
    bool hasOnlyPlainReferences (Chars p)
    {
        for (;;)
        {
            const auto c = p.getAndAdvance();

            if (c == 0)
                return true;

            if (c == '&' && ! skipPlainReference (p))
                return false;
        }
    }

    // Stepping from character to character, the reader trusts a leading byte's count of the
    // bytes that follow; in a text that breaks that promise it steps over the text's end.
    bool isValidUtf8 (const juce::String& text)
    {
        const auto* bytes = text.toRawUTF8();
        const auto length = std::strlen (bytes);
        return length <= (size_t) std::numeric_limits<int>::max()
                && juce::CharPointer_UTF8::isValidString (bytes, (int) length);
    }

    // The characters the reader accepts in tag and attribute names.
    bool isIdentifierChar (juce::juce_wchar c)
    {
        static const juce::uint32 legalChars[] = { 0, 0x7ff6000, 0x87fffffe, 0x7fffffe, 0 };
        const auto u = (juce::uint32) c;

        if (u < (juce::uint32) juce::numElementsInArray (legalChars) * 32)
            return (legalChars[u >> 5] & (1u << (u & 31))) != 0;

        return juce::CharacterFunctions::isLetterOrDigit (c) || c == '_' || c == '-' || c == ':' || c == '.';
    }

    Chars endOfToken (Chars p)
    {
        while (isIdentifierChar (*p))
            ++p;

        return p;
    }

    // Walks the text with the steps of JUCE's XML reader (XmlDocument), without building anything
    // and with a counter in place of its recursion. Its references are plain (checked before), so
    // each one only moves the reader past its ';'.
    class Walk
    {
    public:
        Walk (Chars text, int limit_) : input (text), limit (limit_) {}

        int run()
        {
            if (input.isEmpty())
                return 0;

            skipNextWhiteSpace();

            if (juce::CharacterFunctions::compareUpTo (input, juce::CharPointer_ASCII ("<!DOCTYPE"), 9) == 0)
                return -1;

            if (startElement() != Element::opened)
                return tooManyAttributes ? -1 : deepest;

            depth = 1;

            while (depth > 0)
            {
                switch (childStep())
                {
                    case Step::next:
                        break;
                    case Step::open:
                        ++depth;
                        break;
                    case Step::close:
                        --depth;
                        break;
                    case Step::stuck:
                        return -1;
                }

                if (tooManyAttributes)
                    return -1;

                if (deepest > limit)
                    return deepest;
            }

            return deepest;
        }

    private:
        enum class Element { none, closed, opened };
        enum class Step { next, open, close, stuck };

        juce::juce_wchar readNextChar()
        {
            const auto c = input.getAndAdvance();

            if (c == 0)
            {
                outOfData = true;
                --input;
            }

            return c;
        }

        // Whitespace, comments and processing instructions.
        void skipNextWhiteSpace()
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

                if (input[1] == '!' && input[2] == '-' && input[3] == '-')
                {
                    if (! skipPast (4, "-->"))
                        return;
                }
                else if (input[1] == '?')
                {
                    if (! skipPast (2, "?>"))
                        return;
                }
                else
                {
                    return;
                }
            }
        }

        // Moves over an opening of the given length and past the closing text; without the
        // closing, the reader is out of data.
        bool skipPast (int openingLength, const char* closing)
        {
            input += openingLength;
            const int found = input.indexOf (juce::CharPointer_ASCII (closing));

            if (found < 0)
            {
                outOfData = true;
                return false;
            }

            input += found + (int) std::strlen (closing);
            return true;
        }

        void readQuotedString()
        {
            const auto quote = readNextChar();

            for (;;)
            {
                const auto c = *input;

                if (c == 0)
                {
                    outOfData = true;
                    return;
                }

                ++input;

                if (c == quote)
                    return;
            }
        }

        // The reader's start of an element, up to where it would read the children. The element
        // lies one level below the elements whose children are open.
        Element startElement (int level = 1)
        {
            skipNextWhiteSpace();

            if (outOfData || *input != '<')
                return Element::none;

            ++input;
            auto end = endOfToken (input);

            if (end == input)
            {
                skipNextWhiteSpace();
                end = endOfToken (input);

                if (end == input)
                    return Element::none;
            }

            deepest = juce::jmax (deepest, level);
            input = end;
            int attributes = 0;

            for (;;)
            {
                skipNextWhiteSpace();
                const auto c = *input;

                if (c == '/' && input[1] == '>')
                {
                    input += 2;
                    return Element::closed;
                }

                if (c == '>')
                {
                    ++input;
                    return Element::opened;
                }

                if (! isIdentifierChar (c))
                    return Element::closed;

                input = endOfToken (input);
                skipNextWhiteSpace();

                if (readNextChar() != '=')
                    return Element::closed;

                skipNextWhiteSpace();

                if (*input != '"' && *input != '\'')
                    return Element::closed;

                readQuotedString();

                if (++attributes > AlxXmlGuard::maximumAttributes)
                    tooManyAttributes = true;
            }
        }

        // One round of the reader's loop over the children of the innermost open element.
        Step childStep()
        {
            const auto beforeWhitespace = input;
            skipNextWhiteSpace();

            if (outOfData)
                return Step::close;

            if (*input == '<')
            {
                if (input[1] == '/')
                {
                    const int closeTag = input.indexOf ((juce::juce_wchar) '>');

                    if (closeTag >= 0)
                        input += closeTag + 1;

                    return Step::close;
                }

                if (input[1] == '!' && juce::CharacterFunctions::compareUpTo (input + 2, juce::CharPointer_ASCII ("[CDATA["), 7) == 0)
                {
                    if (! skipPast (9, "]]>"))
                        input = input.findTerminatingNull();

                    return Step::next;
                }

                switch (startElement (depth + 1))
                {
                    case Element::none:   return Step::close;
                    case Element::closed: return Step::next;
                    case Element::opened: return Step::open;
                }
            }

            // Text: the reader goes back to include the whitespace and stops at the next tag.
            input = beforeWhitespace;
            return readText() ? Step::next : Step::stuck;
        }

        // False when the reader would not move: text that starts with a processing instruction
        // is left where it was, and the next round skips the instruction and comes back to it.
        bool readText()
        {
            const auto start = input;

            for (;;)
            {
                const auto c = *input;

                if (c == 0)
                {
                    outOfData = true;
                    return true;
                }

                if (c == '<')
                {
                    if (! (input[1] == '!' && input[2] == '-' && input[3] == '-'))
                        return input != start;

                    if (! skipPast (4, "-->"))
                        return true;
                }
                else if (c == '&')
                {
                    while (readNextChar() != ';' && ! outOfData) {}
                }
                else
                {
                    ++input;
                }
            }
        }

        Chars input;
        const int limit;
        bool outOfData = false;
        bool tooManyAttributes = false;
        int deepest = 0;
        // Elements whose children are being read, innermost last.
        int depth = 0;
    };
}

int AlxXmlGuard::nestingDepth (const juce::String& text, int limit)
{
    if (! isValidUtf8 (text) || ! hasOnlyPlainReferences (text.getCharPointer()))
        return -1;

    return Walk (text.getCharPointer(), limit).run();
}

bool AlxXmlGuard::canParse (const juce::String& text)
{
    const int depth = nestingDepth (text, maximumDepth);
    return depth >= 0 && depth <= maximumDepth;
}

#include "AlxStateTestTree.h"

#include "framework/AlxStateChunk.h"
#include "framework/AlxXmlGuard.h"
#include "support/AlxXmlDepth.h"

#include <gtest/gtest.h>

namespace
{
    juce::String repeated (const char* text, int times)
    {
        return juce::String::repeatedString (text, times);
    }
}

TEST (AlxXmlGuard, countsNestingTheWayTheReaderReadsIt)
{
    struct Case { juce::String text; int depth; };
    const Case cases[] = {
        { "", 0 },
        { "just text", 0 },
        { "<a/>", 1 },
        { "<a><b/></a>", 2 },
        { "<?xml version=\"1.0\"?><!-- c --><a><b><c/></b></a>", 3 },
        { "<a x='>' y=\"</b>\"><b/></a>", 2 },
        { "<a><![CDATA[<b><c><d>]]><b/></a>", 2 },
        { "<a><!-- <b><c> --><b/></a>", 2 },
        { "<a>text &lt;b&gt; &#60;c&#x3e;<b/></a>", 2 },
        { "<a b=\"&AMP;&#10;&#x41;\"/>", 1 },
        // Error paths the reader takes without stopping.
        { "<a><b></a><c/>", 2 },
        { "<a x=y><b><c/></b></a>", 1 },
        { "<a><b x y='1'><c/></b></a>", 2 },
        { "<a>< b/></a>", 2 },
        { "<a><!x/><b><c/></b></a>", 1 },
        { "<a><b><c>", 3 },
        { "<a><!-- unterminated <b><c>", 1 },
        { "<a b='unterminated><c><d>", 1 },
        { repeated ("<a>", 300) + repeated ("</a>", 300), 300 },
    };

    for (auto& c : cases)
    {
        EXPECT_EQ (AlxXmlGuard::nestingDepth (c.text, 1000), c.depth) << c.text;

        if (auto parsed = juce::parseXML (c.text))
        {
            EXPECT_EQ (alxXmlElementDepth (*parsed), c.depth) << c.text;
        }
    }
}

TEST (AlxXmlGuard, refusesWhatTheReaderCannotBeTrustedWith)
{
    const juce::String refused[] = {
        "<!DOCTYPE a [<!ENTITY e \"<b/>\">]><a>&e;</a>",
        "<a>&e;</a>",
        "<a>&<b><c/></b>;</a>",
        "<a b=\"&bogus;\"/>",
        "<a>&#x110000;</a>",
        "<a>&#999999999;</a>",
        "<a>&#;</a>",
        "<a>& b</a>",
        // The reader would loop forever here.
        "<a><?x?>y</a>",
        "<a><b/> <?x?>text</a>",
        // Not UTF-8: a leading byte promising three more bytes at the end, a stray continuation byte.
        juce::String::fromUTF8 ("<a>text\xf0", 8),
        juce::String::fromUTF8 ("<a b=\"\x80\"/>", 9),
        // The overlong forms of '&', which the reader decodes as '&', before references it would
        // expand and parse.
        juce::String::fromUTF8 ("<a>\xc0\xa6<b><c/></b>;</a>", 21),
        juce::String::fromUTF8 ("<a>\xe0\x80\xa6" "e;</a>", 12),
        juce::String::fromUTF8 ("<a b=\"\xf0\x80\x80\xa6" "bogus;\"/>", 19),
    };

    for (auto& text : refused)
    {
        EXPECT_EQ (AlxXmlGuard::nestingDepth (text, 1000), -1) << text;
        EXPECT_FALSE (AlxXmlGuard::canParse (text)) << text;
    }
}

TEST (AlxXmlGuard, acceptsNestingAndAttributesUpToTheirLimits)
{
    auto withAttributes = [] (int count)
    {
        juce::String text ("<a><prs");

        for (int i = 0; i < count; ++i)
            text << " k" << i << "='" << i << "'";

        return text + "/></a>";
    };

    EXPECT_TRUE (AlxXmlGuard::canParse (withAttributes (AlxXmlGuard::maximumAttributes)));
    EXPECT_FALSE (AlxXmlGuard::canParse (withAttributes (AlxXmlGuard::maximumAttributes + 1)));

    const int limit = AlxXmlGuard::maximumDepth;
    EXPECT_TRUE (AlxXmlGuard::canParse (repeated ("<a>", limit - 1) + "<a/>" + repeated ("</a>", limit - 1)));
    EXPECT_FALSE (AlxXmlGuard::canParse (repeated ("<a>", limit) + "<a/>" + repeated ("</a>", limit)));
    EXPECT_EQ (AlxXmlGuard::nestingDepth (repeated ("<a>", 100000), limit), limit + 1) << "counting stops past the limit";
}

TEST (AlxXmlGuard, hostileChunksAreRefusedWithoutHarm)
{
    AlxStateTestFilter processor;
    processor.changeProgramName (0, "Kept");
    const auto before = processor.bankText();

    // Deep enough to overflow the stack of the reader and of the tree's destruction.
    const auto deep = "<fxb><mod i=\"4\" n=\"plimsar\" v=\"1.5.544\">" + repeated ("<cm>", 300000) + "</mod></fxb>";
    const auto looping = juce::String ("<fxb><mod i=\"4\" n=\"plimsar\" v=\"1.5.544\"><?x?>text</mod></fxb>");
    const auto expanding = juce::String ("<fxb><mod i=\"4\" n=\"plimsar\" v=\"1.5.544\">&<cm><mod i=\"1000\"/></cm>;</mod></fxb>");
    const auto overlong = juce::String::fromUTF8 ("<fxb><mod i=\"4\" n=\"plimsar\" v=\"1.5.544\">\xc0\xa6<cm><mod i=\"1000\"/></cm>;</mod></fxb>");
    // Restoring this many properties one by one would take minutes.
    std::string attributes;

    for (int i = 0; i < 100000; ++i)
        attributes += " k" + std::to_string (i) + "=\"1\"";

    const auto crowded = "<fxb><mod i=\"4\" n=\"plimsar\" v=\"1.5.544\"><glob><prs" + juce::String (attributes) + "/></glob></mod></fxb>";

    for (auto& text : { deep, looping, expanding, overlong, crowded })
    {
        EXPECT_EQ (AlxStateChunk::parse (text.toRawUTF8(), text.getNumBytesAsUTF8()), nullptr);
        EXPECT_FALSE (processor.root().loadBankChunk (text.toRawUTF8(), text.getNumBytesAsUTF8() + 1));
    }

    EXPECT_TRUE (processor.bankText() == before);
}

#include "framework/AlxNumberText.h"

#include <gtest/gtest.h>

#include <limits>

TEST (AlxNumberText, readsNumbersAsJuceDoesAndExponentsOfAnyLengthAsWhatTheyMean)
{
    constexpr double inf = std::numeric_limits<double>::infinity();

    struct Case
    {
        const char* text;
        double expected;
    };

    const Case cases[] = {
        { "1.5", 1.5 },
        { "  -2.5e3", -2500.0 },
        { "+.25E-2", 0.0025 },
        { "7e", 7.0 },
        { "", 0.0 },
        { "not a number", 0.0 },
        { "1e00000000000000000002", 100.0 },           // leading zeros of the exponent count for nothing
        { "1e99999999", inf },                        // the longest exponent read as it stands
        { "1e5555555555", inf },                      // ten digits overflowed the reader's count
        { "-3e555555555555555555555555555", -inf },
        { "1e-5555555555", 0.0 },
        { "1111111111111111111155555555555555555511e555555555555555555x", inf },
        { "12e1234567890 and more", inf },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.text);
        EXPECT_EQ (AlxNumberText::toDouble (c.text), c.expected);
    }
}

TEST (AlxNumberText, attributesReadTheirTextOrTheDefaultWhenMissing)
{
    juce::XmlElement element ("v");
    element.setAttribute ("a", "2.5");
    element.setAttribute ("b", "-1e5555555555");

    EXPECT_EQ (AlxNumberText::attribute (element, "a", 7.0), 2.5);
    EXPECT_EQ (AlxNumberText::attribute (element, "b", 7.0), -std::numeric_limits<double>::infinity());
    EXPECT_EQ (AlxNumberText::attribute (element, "c", 7.0), 7.0);
}

#include "framework/AlxNumberText.h"

namespace
{
    // The longest exponent passed on to JUCE's reader: far beyond any double's range, and with
    // room left for the reader to add the mantissa's extra digits without overflowing.
    constexpr int maxExponentDigits = 8;
}

double AlxNumberText::toDouble (const juce::String& text)
{
    // The number's text as JUCE's reader walks it: white space, a sign, digits with at most one
    // point, then 'e' or 'E', a sign and the exponent's digits, whose leading zeros it skips.
    auto p = text.getCharPointer().findEndOfWhitespace();

    if (*p == '-' || *p == '+')
        ++p;

    for (bool point = false; p.isDigit() || (*p == '.' && ! point); ++p)
        point = point || *p == '.';

    if (*p != 'e' && *p != 'E')
        return text.getDoubleValue();

    ++p;

    if (*p == '-' || *p == '+')
        ++p;

    while (*p == '0')
        ++p;

    const auto digitsStart = p;
    int digits = 0;

    for (; p.isDigit(); ++p)
        ++digits;

    if (digits <= maxExponentDigits)
        return text.getDoubleValue();

    const auto head = juce::String (text.getCharPointer(), digitsStart);
    return (head + juce::String::repeatedString ("9", maxExponentDigits) + juce::String (p)).getDoubleValue();
}

double AlxNumberText::attribute (const juce::XmlElement& element, juce::StringRef name, double defaultValue)
{
    if (! element.hasAttribute (name))
        return defaultValue;

    return toDouble (element.getStringAttribute (name));
}

#include "text/LineBreaks.h"

#include <gtest/gtest.h>

namespace {

struct LineBreakCase {
    const char16_t* a;
    const char16_t* b;
    bool equal;
};

class LineBreaks : public testing::TestWithParam<LineBreakCase> { };

// Equal up to line breaks exactly when both texts give the same text with
// CR LF breaks, and the same either way round.
TEST_P(LineBreaks, EqualUpToLineBreaksAgreesWithCrLfForm)
{
    const QString a = QString::fromUtf16(GetParam().a);
    const QString b = QString::fromUtf16(GetParam().b);

    EXPECT_EQ(text::equalUpToLineBreaks(a, b), GetParam().equal);
    EXPECT_EQ(text::equalUpToLineBreaks(b, a), GetParam().equal);
    EXPECT_EQ(text::withCrLfLineBreaks(a) == text::withCrLfLineBreaks(b), GetParam().equal);
}

INSTANTIATE_TEST_SUITE_P(Text, LineBreaks,
    testing::Values(LineBreakCase{u"", u"", true}, LineBreakCase{u"a\r\nb", u"a\nb", true},
        LineBreakCase{u"a\r\nb", u"a\rb", true}, LineBreakCase{u"a\nb\r\n", u"a\u2028b\u2029", true},
        LineBreakCase{u"a\r\n\r\nb", u"a\n\nb", true}, LineBreakCase{u"a\r\n\r\nb", u"a\nb", false},
        LineBreakCase{u"a\n\rb", u"a\r\n\nb", true}, LineBreakCase{u"a\n\rb", u"a\n\nb", true},
        LineBreakCase{u"a\r\n", u"a", false}, LineBreakCase{u"a\r", u"a\r\n", true},
        LineBreakCase{u"ab", u"a b", false}, LineBreakCase{u"\xD800\n", u"\xD800\r", true},
        LineBreakCase{u"a\tb", u"a\nb", false}));

} // namespace

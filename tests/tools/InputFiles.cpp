#include "InputFiles.h"

#include "ProgramRun.h"

#include "support/FileBuilder.h"
#include "support/RandomEntries.h"
#include "xom/LanguageFileWriter.h"

#include <random>

namespace toolstest {

std::vector<InputFile> inputFiles()
{
    std::mt19937 random(20240611);
    testsupport::TextMix everything;
    everything.loneSurrogates = true;
    everything.controlCodes = true;
    everything.nul = true;
    const xom::EntryTable entries = testsupport::randomEntries(random, 300, everything);
    xom::LanguageModel model = testsupport::modelForEntries(entries);

    return {
        {"HandMade",
            testsupport::simpleFile({{utf16(u"FE.B"), utf16(u"b, \"quoted\"")},
                                        {utf16(u"FE.a"), utf16(u"line\r\nbreak")}, {utf16(u"FE.A"), utf16(u"x\xDC00")}},
                {3, 1, 2})
                .bytes()},
        {"RandomTexts", xom::buildLanguageImage(entries, model)},
        {"Synthetic", testsupport::syntheticFileBytes(2000)},
    };
}

std::vector<std::pair<QString, QString>> nastyEntries()
{
    return {{utf16(u"FE.CrLf"), utf16(u"first\r\nsecond")}, {utf16(u"FE.Tab"), utf16(u"a\tb")},
        {utf16(u"FE.Quote"), utf16(u"say \"hi\" 'there'")}, {utf16(u"FE.Back"), utf16(u"C:\\dir\\ \\n")},
        {utf16(u"FE.Nbsp"), utf16(u"50\u00A0km")}, {utf16(u"FE.Emoji"), utf16(u"Cup \U0001F3C6")},
        {utf16(u"FE.Lf"), utf16(u"x\ny\n")}, {utf16(u"FE.Empty"), QString()}, {utf16(u"FE.Dup"), utf16(u"first")},
        {utf16(u"FE.Dup"), utf16(u"second")}, {utf16(u"FE.Space Name"), utf16(u"  both ends  ")},
        {utf16(u"FE.Markup"), utf16(u"<b>&amp;</b> ]]> \"q\"")}, {utf16(u"FE.Cr"), utf16(u"lone\rcr")},
        {QString(), utf16(u"no name")}, {utf16(u"FE.\"Name\"&<>"), utf16(u"\n")}};
}

} // namespace toolstest

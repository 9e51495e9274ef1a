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

} // namespace toolstest

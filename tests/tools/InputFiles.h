#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <utility>
#include <vector>

namespace toolstest {

// A language file that a test feeds to the program.
struct InputFile {
    std::string name;
    QByteArray bytes;
};

// Well-formed files of every shape the editor meets: laid out by hand or by
// the editor's own save, with grid order unlike number order, and with
// texts of every kind (lone surrogates, U+0000, control codes, line breaks).
[[nodiscard]] std::vector<InputFile> inputFiles();

// Names and texts that each exchange format has to escape or keep apart:
// line breaks of every form, tabs, quotes, backslashes, markup, a no-break
// space, an emoji, an empty text, a duplicate and an empty name.
[[nodiscard]] std::vector<std::pair<QString, QString>> nastyEntries();

} // namespace toolstest

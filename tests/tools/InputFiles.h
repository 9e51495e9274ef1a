#pragma once

#include <QByteArray>

#include <string>
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

} // namespace toolstest

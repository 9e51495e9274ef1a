#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace testsupport {

// A damaged or hostile language file and what loading it must answer: the
// message of its rejection, and for a string index outside the list the
// index the message names.
struct HostileFile {
    const char* what;
    QByteArray bytes;
    bool listIndexError = false; // otherwise "Bad Language File"
    qint32 index = 0;

    [[nodiscard]] QString expectedMessage() const;
};

// One file per way a file can be refused, each a three-entry file damaged in
// one place.
[[nodiscard]] std::vector<HostileFile> hostileFiles();

} // namespace testsupport

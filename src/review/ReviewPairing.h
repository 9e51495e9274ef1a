#pragma once

#include "review/ReviewFile.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace review {

// The fingerprint of a language file's bytes.
[[nodiscard]] LanguageFingerprint fingerprintOf(QByteArrayView languageBytes);
// The fingerprint of the language file at path as it is on disk; size -1
// when it cannot be read.
[[nodiscard]] LanguageFingerprint fingerprintOfFile(const QString& path);

// The review file beside a language file that was just read.
struct ReviewBeside {
    // Read and taken; nothing when there is none or it was refused.
    std::optional<ReviewFile> file;
    // Why it was refused (the line and the reason).
    std::optional<ReviewFileError> refusal;
    // Whether it was saved with these very bytes of the language file: a
    // crash between the two files' renames, or a language file replaced
    // by other means, leaves states that may be older than the texts.
    bool pairs = true;
};

// Reads the review file beside languagePath, languageBytes being the
// language file as it was read.
[[nodiscard]] ReviewBeside readReviewBeside(const QString& languagePath, QByteArrayView languageBytes);

} // namespace review

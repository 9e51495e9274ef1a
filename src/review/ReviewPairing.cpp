#include "review/ReviewPairing.h"

#include <QCryptographicHash>
#include <QFile>

namespace review {

LanguageFingerprint fingerprintOf(const QByteArrayView languageBytes)
{
    return {languageBytes.size(), QCryptographicHash::hash(languageBytes, QCryptographicHash::Sha256)};
}

LanguageFingerprint fingerprintOfFile(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return {file.size(), hash.result()};
}

ReviewBeside readReviewBeside(const QString& languagePath, const QByteArrayView languageBytes)
{
    ReviewBeside beside;
    QFile file(reviewPathFor(languagePath));
    if (!file.exists())
        return beside;
    if (!file.open(QIODevice::ReadOnly)) {
        beside.refusal = ReviewFileError(0, QStringLiteral("the file cannot be read"));
        return beside;
    }
    try {
        beside.file = readReviewFile(file.readAll());
    } catch (const ReviewFileError& error) {
        beside.refusal = error;
        return beside;
    }
    beside.pairs = beside.file->language == fingerprintOf(languageBytes);
    return beside;
}

} // namespace review

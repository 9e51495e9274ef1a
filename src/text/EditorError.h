#pragma once

#include <QString>

#include <exception>

namespace text {

// The errors that an operation may "raise": each ends the operation where it
// occurs and is shown by the window's one error box. What the operation had
// changed before stays changed.
class EditorError : public std::exception {
public:
    explicit EditorError(QString message);

    [[nodiscard]] const QString& message() const noexcept { return m_message; }
    [[nodiscard]] const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// "List index out of bounds (%d)": a string list or a row lookup was given an
// index it does not hold.
class ListIndexError : public EditorError {
public:
    explicit ListIndexError(qint32 index);

    [[nodiscard]] qint32 index() const noexcept { return m_index; }

private:
    qint32 m_index;
};

// "'%s' is not a valid integer value", %s being the ANSI image of the text,
// shown back in Unicode.
class ConvertError : public EditorError {
public:
    explicit ConvertError(const QString& shownText);
};

} // namespace text

#pragma once

#include "text/EditorError.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <optional>
#include <map>

struct sqlite3;
struct sqlite3_stmt;

namespace memory {

// The translation memory could not be opened or used: it is damaged, it is
// no translation memory, or the disk refused a write. The message names the
// file and what SQLite said.
class MemoryError : public text::EditorError {
public:
    using EditorError::EditorError;
};

class SqliteStatement;

// One connection to an SQLite database file, used from one thread at a
// time. Every failure throws MemoryError naming the file.
class SqliteDatabase {
public:
    enum class Access { ReadWrite, ReadOnly };

    SqliteDatabase(const QString& path, Access access);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    [[nodiscard]] const QString& path() const noexcept { return m_path; }
    [[nodiscard]] sqlite3* handle() const noexcept { return m_db.get(); }
    [[nodiscard]] Access access() const noexcept { return m_access; }

    // Runs statements that return no rows.
    void execute(const char* sql);
    [[nodiscard]] SqliteStatement prepare(const char* sql);
    // A statement prepared once and kept for the connection's life, reset
    // and unbound: for the queries a lookup runs every time, whose
    // preparing (the full-text ones above all) would cost more than their
    // running. Not for two uses at once.
    [[nodiscard]] SqliteStatement& cached(const QByteArray& sql);
    // The first column of the first row of a query, as an integer.
    [[nodiscard]] std::int64_t integer(const char* sql);

    // The row id the last insert gave.
    [[nodiscard]] std::int64_t lastInsertedRow() const;
    // Takes back the transaction open, if any; never throws (it runs while
    // an error is on its way).
    void rollBack() noexcept;

    // Throws MemoryError for a result code that is an error.
    void check(int result) const;
    [[noreturn]] void fail(const QString& what) const;

private:
    struct Close {
        void operator()(sqlite3* db) const;
    };
    QString m_path;
    Access m_access;
    std::unique_ptr<sqlite3, Close> m_db;
    // Gone before the connection closes.
    std::map<QByteArray, std::unique_ptr<SqliteStatement>> m_cached;
};

// A prepared statement: bind, step through the rows, read the columns;
// reset to run it again. Texts are bound and read as UTF-8 of the given
// length, so that NULs inside them are kept.
class SqliteStatement {
public:
    SqliteStatement(SqliteDatabase& db, sqlite3_stmt* statement);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&&) = delete;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(int index, std::int64_t value);
    void bind(int index, const QByteArray& utf8);
    void bindBlob(int index, const QByteArray& bytes);
    void bindNull(int index);
    // Steps once: whether a row came.
    [[nodiscard]] bool step();
    // Runs a statement that gives no rows, then resets it.
    void run();
    void reset();

    [[nodiscard]] std::int64_t integer(int column) const;
    [[nodiscard]] QByteArray bytes(int column) const;
    [[nodiscard]] bool isNull(int column) const;

private:
    SqliteDatabase* m_db;
    sqlite3_stmt* m_statement;
};

} // namespace memory

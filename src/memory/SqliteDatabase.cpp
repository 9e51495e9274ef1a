#include "memory/SqliteDatabase.h"

#include <sqlite3.h>

#include <QFile>

#include <utility>

namespace memory {

void SqliteDatabase::Close::operator()(sqlite3* const db) const
{
    sqlite3_close_v2(db);
}

namespace {

// SQLite keeps allocation statistics under one mutex for the whole process
// unless told otherwise before its first use; the memory reads none of them,
// and two connections reading at once would wait on each other for it.
void configureOnce()
{
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    (void)configured;
}

} // namespace

SqliteDatabase::SqliteDatabase(const QString& path, const Access access)
    : m_path(path)
    , m_access(access)
{
    configureOnce();
    sqlite3* db = nullptr;
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int result = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    m_db.reset(db);
    if (result != SQLITE_OK)
        fail(db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory"));
    sqlite3_extended_result_codes(db, 1);
    // A second connection (the window's lookups run on a thread of their
    // own) waits for a writer rather than failing at once.
    sqlite3_busy_timeout(db, 5000);
}

SqliteDatabase::~SqliteDatabase() = default;

void SqliteDatabase::check(const int result) const
{
    if (result != SQLITE_OK && result != SQLITE_ROW && result != SQLITE_DONE)
        fail(QString::fromUtf8(sqlite3_errmsg(m_db.get())));
}

void SqliteDatabase::fail(const QString& what) const
{
    throw MemoryError(QStringLiteral("The translation memory %1 cannot be used: %2.").arg(m_path, what));
}

void SqliteDatabase::execute(const char* const sql)
{
    char* message = nullptr;
    const int result = sqlite3_exec(m_db.get(), sql, nullptr, nullptr, &message);
    if (result != SQLITE_OK) {
        const QString what = QString::fromUtf8(message ? message : sqlite3_errstr(result));
        sqlite3_free(message);
        fail(what);
    }
}

std::int64_t SqliteDatabase::lastInsertedRow() const
{
    return sqlite3_last_insert_rowid(m_db.get());
}

void SqliteDatabase::rollBack() noexcept
{
    if (!sqlite3_get_autocommit(m_db.get()))
        sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
}

SqliteStatement SqliteDatabase::prepare(const char* const sql)
{
    sqlite3_stmt* statement = nullptr;
    check(sqlite3_prepare_v3(m_db.get(), sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr));
    return SqliteStatement(*this, statement);
}

SqliteStatement& SqliteDatabase::cached(const QByteArray& sql)
{
    auto found = m_cached.find(sql);
    if (found == m_cached.end())
        found = m_cached.emplace(sql, std::make_unique<SqliteStatement>(prepare(sql.constData()))).first;
    found->second->reset();
    return *found->second;
}

std::int64_t SqliteDatabase::integer(const char* const sql)
{
    SqliteStatement query = prepare(sql);
    return query.step() ? query.integer(0) : 0;
}

SqliteStatement::SqliteStatement(SqliteDatabase& db, sqlite3_stmt* const statement)
    : m_db(&db)
    , m_statement(statement)
{
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_db(other.m_db)
    , m_statement(std::exchange(other.m_statement, nullptr))
{
}

void SqliteStatement::bind(const int index, const std::int64_t value)
{
    m_db->check(sqlite3_bind_int64(m_statement, index, value));
}

void SqliteStatement::bind(const int index, const QByteArray& utf8)
{
    m_db->check(sqlite3_bind_text64(
        m_statement, index, utf8.constData(), static_cast<sqlite3_uint64>(utf8.size()), SQLITE_TRANSIENT, SQLITE_UTF8));
}

void SqliteStatement::bindBlob(const int index, const QByteArray& bytes)
{
    m_db->check(sqlite3_bind_blob64(
        m_statement, index, bytes.constData(), static_cast<sqlite3_uint64>(bytes.size()), SQLITE_TRANSIENT));
}

void SqliteStatement::bindNull(const int index)
{
    m_db->check(sqlite3_bind_null(m_statement, index));
}

bool SqliteStatement::step()
{
    const int result = sqlite3_step(m_statement);
    m_db->check(result);
    return result == SQLITE_ROW;
}

void SqliteStatement::run()
{
    while (step()) { }
    reset();
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

std::int64_t SqliteStatement::integer(const int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

QByteArray SqliteStatement::bytes(const int column) const
{
    // The pointer first, then the length: the order SQLite asks for.
    const void* const data = sqlite3_column_blob(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    return data ? QByteArray(static_cast<const char*>(data), size) : QByteArray("");
}

bool SqliteStatement::isNull(const int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

} // namespace memory

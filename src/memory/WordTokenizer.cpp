#include "memory/WordTokenizer.h"

#include "memory/WordSplitter.h"

#include <sqlite3.h>

#include <new>

namespace memory {

namespace {

// The tokenizer instance FTS5 creates for a table: a splitter of its own.
struct Instance {
    WordSplitter splitter;
};

int createInstance(void*, const char**, int, Fts5Tokenizer** made)
{
    try {
        *made = reinterpret_cast<Fts5Tokenizer*>(new Instance);
        return SQLITE_OK;
    } catch (const std::bad_alloc&) {
        return SQLITE_NOMEM;
    } catch (...) {
        return SQLITE_ERROR;
    }
}

void deleteInstance(Fts5Tokenizer* const instance)
{
    delete reinterpret_cast<Instance*>(instance);
}

// Gives FTS5 each token of the UTF-8 text. Offsets would serve highlights,
// which the memory does not ask for: each token spans the whole text.
int tokenize(Fts5Tokenizer* const instance, void* const context, int, const char* const text, const int size,
    int (*token)(void*, int, const char*, int, int, int))
{
    try {
        const QString decoded = QString::fromUtf8(text, size);
        for (const Token& found : reinterpret_cast<Instance*>(instance)->splitter.tokensOf(decoded)) {
            if (found.kind == TokenKind::Punctuation)
                continue;
            const QByteArray bytes = found.normal.toUtf8();
            const int result = token(context, 0, bytes.constData(), static_cast<int>(bytes.size()), 0, size);
            if (result != SQLITE_OK)
                return result;
        }
        return SQLITE_OK;
    } catch (const std::bad_alloc&) {
        return SQLITE_NOMEM;
    } catch (...) {
        return SQLITE_ERROR;
    }
}

fts5_api* fts5Of(SqliteDatabase& db)
{
    fts5_api* api = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db.handle(), "SELECT fts5(?1)", -1, &statement, nullptr) == SQLITE_OK) {
        sqlite3_bind_pointer(statement, 1, static_cast<void*>(&api), "fts5_api_ptr", nullptr);
        sqlite3_step(statement);
    }
    sqlite3_finalize(statement);
    return api;
}

} // namespace

void registerWordTokenizer(SqliteDatabase& db)
{
    fts5_api* const api = fts5Of(db);
    if (!api || api->iVersion < 2)
        db.fail(QStringLiteral("this SQLite has no full-text search (FTS5)"));
    static fts5_tokenizer tokenizer{createInstance, deleteInstance, tokenize};
    db.check(api->xCreateTokenizer(api, WordTokenizerName, nullptr, &tokenizer, nullptr));
}

} // namespace memory

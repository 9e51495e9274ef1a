#include "memory/WordTokenizer.h"

#include "memory/WordSplitter.h"

#include <sqlite3.h>

#include <cstring>
#include <new>

namespace memory {

IndexTerms& SplitAhead::keep(const std::size_t slot, const QByteArray& utf8)
{
    Split& split = m_splits.at(slot);
    split.utf8 = utf8;
    split.kept = true;
    return split.terms;
}

void SplitAhead::clear() noexcept
{
    for (Split& split : m_splits)
        split.kept = false;
}

const IndexTerms* SplitAhead::termsOf(const char* const utf8, const int size) const noexcept
{
    for (const Split& split : m_splits) {
        if (split.kept && split.utf8.size() == size
            && (size == 0 || std::memcmp(split.utf8.constData(), utf8, static_cast<std::size_t>(size)) == 0))
            return &split.terms;
    }
    return nullptr;
}

namespace {

// The tokenizer instance FTS5 creates for a table: a splitter of its own,
// the terms of the last text, whose buffers the next text reuses, and the
// texts split ahead, if any.
struct Instance {
    WordSplitter splitter;
    IndexTerms terms;
    const SplitAhead* ahead = nullptr;
};

int createInstance(void* const ahead, const char**, int, Fts5Tokenizer** made)
{
    try {
        auto* const instance = new Instance;
        instance->ahead = static_cast<const SplitAhead*>(ahead);
        *made = reinterpret_cast<Fts5Tokenizer*>(instance);
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
        Instance& splitting = *reinterpret_cast<Instance*>(instance);
        const IndexTerms* terms = splitting.ahead ? splitting.ahead->termsOf(text, size) : nullptr;
        if (!terms) {
            splitting.splitter.termsOf(QString::fromUtf8(text, size), splitting.terms);
            terms = &splitting.terms;
        }
        for (std::size_t i = 0; i < terms->size(); ++i) {
            const QByteArrayView term = terms->term(i);
            const int result = token(context, 0, term.data(), static_cast<int>(term.size()), 0, size);
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

void registerWordTokenizer(SqliteDatabase& db, const SplitAhead* const ahead)
{
    fts5_api* const api = fts5Of(db);
    if (!api || api->iVersion < 2)
        db.fail(QStringLiteral("this SQLite has no full-text search (FTS5)"));
    static fts5_tokenizer tokenizer{createInstance, deleteInstance, tokenize};
    db.check(api->xCreateTokenizer(api, WordTokenizerName, const_cast<SplitAhead*>(ahead), &tokenizer, nullptr));
}

} // namespace memory

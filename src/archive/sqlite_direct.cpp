#include "archive/sqlite_direct.h"

#include <QSqlDriver>
#include <QVariant>

#include "archive/loaded_library.h"

namespace trellicap::archive {

namespace {

// SQLite's result codes, fundamental types and destructor sentinel (sqlite3.h; stable ABI).
constexpr int kSqliteOk = 0;
constexpr int kSqliteRow = 100;
constexpr int kSqliteDone = 101;
constexpr int kSqliteInteger = 1;
constexpr int kSqliteFloat = 2;
constexpr int kSqliteText = 3;
constexpr int kSqliteBlob = 4;
using Destructor = void (*)(void*);
const auto kSqliteTransient = reinterpret_cast<Destructor>(-1);

struct SqliteFunctions {
    int (*prepare)(void*, const char*, int, void**, const char**) = nullptr;
    int (*bindText)(void*, int, const char*, int, Destructor) = nullptr;
    int (*bindBlob)(void*, int, const void*, int, Destructor) = nullptr;
    int (*bindInt64)(void*, int, long long) = nullptr;
    int (*bindDouble)(void*, int, double) = nullptr;
    int (*bindNull)(void*, int) = nullptr;
    int (*step)(void*) = nullptr;
    int (*reset)(void*) = nullptr;
    int (*finalize)(void*) = nullptr;
    int (*columnType)(void*, int) = nullptr;
    long long (*columnInt64)(void*, int) = nullptr;
    double (*columnDouble)(void*, int) = nullptr;
    const unsigned char* (*columnText)(void*, int) = nullptr;
    const void* (*columnBlob)(void*, int) = nullptr;
    int (*columnBytes)(void*, int) = nullptr;
    const char* (*errorMessage)(void*) = nullptr;
    [[nodiscard]] bool complete() const {
        return prepare && bindText && bindBlob && bindInt64 && bindDouble && bindNull && step &&
               reset && finalize && columnType && columnInt64 && columnDouble && columnText &&
               columnBlob && columnBytes && errorMessage;
    }
};

// The functions the driver's own library calls: looked up from the library that holds the
// driver's code (and the libraries it depends on), so that a handle is never given to
// another SQLite than the one that opened it.
SqliteFunctions lookUpSqliteFunctions(const QSqlDriver* driver) {
    SqliteFunctions found;
    if (driver == nullptr) {
        return found;
    }
    const void* code = *reinterpret_cast<void* const*>(driver);  // its virtual table
    void* library = libraryHolding(code);
    if (library == nullptr) {
        return found;
    }
    lookUp(library, "sqlite3_prepare_v2", found.prepare);
    lookUp(library, "sqlite3_bind_text", found.bindText);
    lookUp(library, "sqlite3_bind_blob", found.bindBlob);
    lookUp(library, "sqlite3_bind_int64", found.bindInt64);
    lookUp(library, "sqlite3_bind_double", found.bindDouble);
    lookUp(library, "sqlite3_bind_null", found.bindNull);
    lookUp(library, "sqlite3_step", found.step);
    lookUp(library, "sqlite3_reset", found.reset);
    lookUp(library, "sqlite3_finalize", found.finalize);
    lookUp(library, "sqlite3_column_type", found.columnType);
    lookUp(library, "sqlite3_column_int64", found.columnInt64);
    lookUp(library, "sqlite3_column_double", found.columnDouble);
    lookUp(library, "sqlite3_column_text", found.columnText);
    lookUp(library, "sqlite3_column_blob", found.columnBlob);
    lookUp(library, "sqlite3_column_bytes", found.columnBytes);
    lookUp(library, "sqlite3_errmsg", found.errorMessage);
    // Held for the rest of the process, as the driver's plugin is.
    return found.complete() ? found : SqliteFunctions{};
}

const SqliteFunctions& sqliteFunctions(const QSqlDriver* driver) {
    static const SqliteFunctions functions = lookUpSqliteFunctions(driver);
    return functions;
}

const SqliteFunctions& sqlite() {
    return sqliteFunctions(nullptr);
}

QSqlError directError(void* db, int code) {
    return {QString(), QString::fromUtf8(sqlite().errorMessage(db)), QSqlError::StatementError,
            QString::number(code)};
}

// As Qt's own binding takes a value for NULL.
bool directNull(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::QString:
            return static_cast<const QString*>(value.constData())->isNull();
        case QMetaType::QByteArray:
            return static_cast<const QByteArray*>(value.constData())->isNull();
        default:
            return value.isNull();
    }
}

int bindDirect(void* statement, int at, const QVariant& value) {
    const SqliteFunctions& f = sqlite();
    if (directNull(value)) {
        return f.bindNull(statement, at);
    }
    switch (value.typeId()) {
        case QMetaType::QByteArray: {
            const auto& bytes = *static_cast<const QByteArray*>(value.constData());
            return f.bindBlob(statement, at, bytes.constData(), static_cast<int>(bytes.size()),
                              kSqliteTransient);
        }
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Bool:
            return f.bindInt64(statement, at, value.toLongLong());
        case QMetaType::Double:
            return f.bindDouble(statement, at, value.toDouble());
        default: {
            const QByteArray text = value.toString().toUtf8();
            return f.bindText(statement, at, text.constData(), static_cast<int>(text.size()),
                              kSqliteTransient);
        }
    }
}

QVariant directColumn(void* statement, int at) {
    const SqliteFunctions& f = sqlite();
    switch (f.columnType(statement, at)) {
        case kSqliteInteger:
            return QVariant(static_cast<qlonglong>(f.columnInt64(statement, at)));
        case kSqliteFloat:
            return QVariant(f.columnDouble(statement, at));
        case kSqliteText: {
            const auto* text = reinterpret_cast<const char*>(f.columnText(statement, at));
            return QVariant(QString::fromUtf8(text, f.columnBytes(statement, at)));
        }
        case kSqliteBlob: {
            const auto* bytes = static_cast<const char*>(f.columnBlob(statement, at));
            return QVariant(QByteArray(bytes, f.columnBytes(statement, at)));
        }
        default:
            return {};
    }
}

}  // namespace

std::unique_ptr<DirectSqlite> DirectSqlite::attach(const QSqlDatabase& db) {
    const QSqlDriver* driver = db.driver();
    if (!driver || !db.isOpen()) {
        return nullptr;
    }
    void* connection = sqliteConnectionOf(db);
    if (!connection || !sqliteFunctions(driver).complete()) {
        return nullptr;
    }
    return std::unique_ptr<DirectSqlite>(new DirectSqlite(connection));
}

bool DirectSqlite::isHandleOf(const QSqlDatabase& db) const {
    return sqliteConnectionOf(db) == m_db;
}

std::unique_ptr<DirectStatement> DirectSqlite::prepare(const QString& sql, QSqlError* error) {
    const QByteArray text = sql.toUtf8();
    void* statement = nullptr;
    const int code = sqlite().prepare(m_db, text.constData(), static_cast<int>(text.size()),
                                      &statement, nullptr);
    if (code != kSqliteOk || statement == nullptr) {
        *error = directError(m_db, code);
        if (statement) {
            sqlite().finalize(statement);
        }
        return nullptr;
    }
    return std::unique_ptr<DirectStatement>(new DirectStatement(m_db, statement));
}

DirectStatement::~DirectStatement() {
    sqlite().finalize(m_statement);
}

bool DirectStatement::run(const QVariantList& values, QSqlError* error,
                          std::vector<QVariantList>* rows, int columns, std::size_t most) {
    const SqliteFunctions& f = sqlite();
    for (qsizetype i = 0; i < values.size(); ++i) {
        const int code = bindDirect(m_statement, static_cast<int>(i) + 1, values[i]);
        if (code != kSqliteOk) {
            *error = directError(m_db, code);
            f.reset(m_statement);
            return false;
        }
    }
    int code = kSqliteRow;
    while ((code = f.step(m_statement)) == kSqliteRow) {
        if (!rows || rows->size() >= most) {
            break;
        }
        QVariantList row;
        for (int at = 0; at < columns; ++at) {
            row.append(directColumn(m_statement, at));
        }
        rows->push_back(std::move(row));
    }
    const bool ok = code == kSqliteRow || code == kSqliteDone;
    if (!ok) {
        *error = directError(m_db, code);
    }
    f.reset(m_statement);
    return ok;
}

}  // namespace trellicap::archive

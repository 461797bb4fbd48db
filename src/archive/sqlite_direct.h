// SQLite's own C API on a connection that Qt's SQLite driver opened, for the statements the
// archive's writer runs with every kept capture: Qt's binding (a QVariant and a placeholder
// name looked up per value, texts handed over as UTF-16 and converted inside SQLite) and its
// result bookkeeping cost more than the statements' own work. The functions are those the
// driver itself calls, taken from the driver's library at run time (never linked here);
// where they cannot be had (a driver with SQLite built in and hidden, or no dlsym), the
// caller runs its statements through Qt Sql.
#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlError>
#include <QVariantList>
#include <cstddef>
#include <memory>
#include <vector>

namespace trellicap::archive {

class DirectStatement;

class DirectSqlite {
public:
    // The connection's SQLite, or null when its functions cannot be had.
    [[nodiscard]] static std::unique_ptr<DirectSqlite> attach(const QSqlDatabase& db);

    // Whether the connection is still the one these statements belong to (one opened again
    // has another SQLite handle).
    [[nodiscard]] bool isHandleOf(const QSqlDatabase& db) const;

    // Null with *error when SQLite refuses the statement.
    [[nodiscard]] std::unique_ptr<DirectStatement> prepare(const QString& sql, QSqlError* error);

private:
    explicit DirectSqlite(void* db) : m_db(db) {}
    void* m_db;
};

// A prepared statement, finalized when destroyed (before its connection closes: Qt's close
// fails while a statement of the connection lives).
class DirectStatement {
public:
    ~DirectStatement();
    DirectStatement(const DirectStatement&) = delete;
    DirectStatement& operator=(const DirectStatement&) = delete;

    // Binds `values` in order as Qt would (a null QString or QVariant as NULL, texts as UTF-8,
    // integers, bytes as a blob), runs the statement and keeps at most `most` rows of its
    // first `columns` columns in *rows; false with *error (the engine's code and words, as Qt
    // reports them) when it failed. The statement is ready to run again either way.
    [[nodiscard]] bool run(const QVariantList& values, QSqlError* error,
                           std::vector<QVariantList>* rows = nullptr, int columns = 0,
                           std::size_t most = 0);

private:
    friend class DirectSqlite;
    DirectStatement(void* db, void* statement) : m_db(db), m_statement(statement) {}
    void* m_db;
    void* m_statement;
};

}  // namespace trellicap::archive

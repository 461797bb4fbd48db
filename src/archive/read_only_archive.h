// An archive opened only to be read, by a viewer that must never change it: the SQLite file
// through SQLite's own read-only mode (and query_only on top), the team server with every
// transaction of the session read-only from its first statement. Either refuses a database
// that holds no archive or one written by a newer program, whose tables it cannot know.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace trellicap::archive {

class ReadOnlyArchive {
public:
    ReadOnlyArchive();
    virtual ~ReadOnlyArchive();
    ReadOnlyArchive(const ReadOnlyArchive&) = delete;
    ReadOnlyArchive& operator=(const ReadOnlyArchive&) = delete;

    // Connects (again, after a failure); false with error() saying why.
    [[nodiscard]] bool open();
    [[nodiscard]] QSqlDatabase& db() { return m_db; }
    [[nodiscard]] const QString& error() const { return m_error; }

protected:
    // Sets the driver's address and options on the connection; false with the reason.
    virtual bool configure(QSqlDatabase& db, QString* error) = 0;
    // Makes the connection read-only once it is open and checks that it is.
    virtual bool enforceReadOnly(QSqlDatabase& db, QString* error) = 0;
    [[nodiscard]] virtual QString driver() const = 0;
    // "the archive /srv/a.sqlite", "the team server 127.0.0.1:5432/trellicap": for messages.
    [[nodiscard]] virtual QString describe() const = 0;

private:
    bool fail(const QString& reason);

    QString m_name;
    QSqlDatabase m_db;
    QString m_error;
};

// The archive file at path; it must exist (reading never creates one).
class ReadOnlyFile final : public ReadOnlyArchive {
public:
    explicit ReadOnlyFile(QString path) : m_path(std::move(path)) {}

private:
    bool configure(QSqlDatabase& db, QString* error) override;
    bool enforceReadOnly(QSqlDatabase& db, QString* error) override;
    [[nodiscard]] QString driver() const override { return QStringLiteral("QSQLITE"); }
    [[nodiscard]] QString describe() const override;

    QString m_path;
};

}  // namespace trellicap::archive

// libpq's COPY, and a statement that runs while the caller works, on a team server
// connection that Qt's PostgreSQL driver opened. Qt's driver can do neither, but it loads
// libpq: the functions are taken from that libpq at run time (on POSIX; where libpq is
// linked, from it), so a window program never links or loads libpq before a team server is
// used. Without them the caller sends rows by INSERT instead.
#pragma once

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

namespace trellicap::archive {

class ServerCopy {
public:
    // The connection's libpq handle, when the driver is Qt's PostgreSQL driver and libpq's
    // COPY functions are found.
    explicit ServerCopy(const QSqlDatabase& server);

    [[nodiscard]] bool available() const { return m_connection != nullptr; }

    // Runs `copy` (COPY ... FROM STDIN, text format) and sends `rows`, each ending in '\n';
    // false with *error (the server's words) when the server refused them or went away. The
    // connection is then in whatever transaction it was, failed: roll it back.
    [[nodiscard]] bool copyIn(const QByteArray& copy, const QByteArray& rows, QString* error);

    // A statement of the session, prepared once under `name`, whose text parameters are
    // given each time it runs.
    [[nodiscard]] bool prepare(const QByteArray& name, const QByteArray& sql, int parameters,
                               QString* error);
    // Sends it to run and returns at once: the caller does its own work meanwhile (the
    // server works on the statement), then takes its answer with finish(), which waits for
    // it. Nothing else may use the connection in between.
    [[nodiscard]] bool start(const QByteArray& name, const QList<QByteArray>& parameters,
                             QString* error);
    // The first column of the answer's first row (the statement returns one), or false with
    // *error; every result is read, so that the connection takes the next statement.
    [[nodiscard]] bool finish(QByteArray* value, QString* error);

private:
    void* m_connection = nullptr;
};

// One value as COPY's text format writes it: \N for NULL, bytes as bytea's hex (\\x...),
// text in UTF-8 with backslash, tab, newline and carriage return escaped.
void appendCopyValue(QByteArray& row, const QVariant& value);

}  // namespace trellicap::archive

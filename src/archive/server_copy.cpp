#include "archive/server_copy.h"

#include <QVariant>
#include <algorithm>
#include <vector>

#include "archive/loaded_library.h"

#if !defined(Q_OS_UNIX) && defined(TRELLICAP_HAVE_LIBPQ)
#include <libpq-fe.h>
#endif

namespace trellicap::archive {

namespace {

// libpq's ExecStatusType values (libpq-fe.h) the COPY and the statements look for.
constexpr int kPgCommandOk = 1;
constexpr int kPgTuplesOk = 2;
constexpr int kPgCopyIn = 4;

// The libpq functions a COPY needs, with libpq's types made opaque.
struct CopyFunctions {
    void* (*exec)(void*, const char*) = nullptr;
    int (*resultStatus)(const void*) = nullptr;
    void (*clear)(void*) = nullptr;
    int (*putCopyData)(void*, const char*, int) = nullptr;
    int (*putCopyEnd)(void*, const char*) = nullptr;
    void* (*getResult)(void*) = nullptr;
    char* (*errorMessage)(const void*) = nullptr;
    char* (*resultErrorMessage)(const void*) = nullptr;
    void* (*prepare)(void*, const char*, const char*, int, const unsigned*) = nullptr;
    int (*sendQueryPrepared)(void*, const char*, int, const char* const*, const int*, const int*,
                             int) = nullptr;
    int (*ntuples)(const void*) = nullptr;
    char* (*getvalue)(const void*, int, int) = nullptr;
    [[nodiscard]] bool complete() const {
        return exec && resultStatus && clear && putCopyData && putCopyEnd && getResult &&
               errorMessage && resultErrorMessage && prepare && sendQueryPrepared && ntuples &&
               getvalue;
    }
};

#if defined(Q_OS_UNIX)
// From the libpq the driver loaded, held for the rest of the process.
CopyFunctions lookUpCopyFunctions() {
    void* library = loadedLibpq();
    CopyFunctions found;
    lookUp(library, "PQexec", found.exec);
    lookUp(library, "PQresultStatus", found.resultStatus);
    lookUp(library, "PQclear", found.clear);
    lookUp(library, "PQputCopyData", found.putCopyData);
    lookUp(library, "PQputCopyEnd", found.putCopyEnd);
    lookUp(library, "PQgetResult", found.getResult);
    lookUp(library, "PQerrorMessage", found.errorMessage);
    lookUp(library, "PQresultErrorMessage", found.resultErrorMessage);
    lookUp(library, "PQprepare", found.prepare);
    lookUp(library, "PQsendQueryPrepared", found.sendQueryPrepared);
    lookUp(library, "PQntuples", found.ntuples);
    lookUp(library, "PQgetvalue", found.getvalue);
    return found.complete() ? found : CopyFunctions{};
}
#elif defined(TRELLICAP_HAVE_LIBPQ)
CopyFunctions lookUpCopyFunctions() {
    CopyFunctions linked;
    linked.exec = [](void* c, const char* sql) -> void* {
        return PQexec(static_cast<PGconn*>(c), sql);
    };
    linked.resultStatus = [](const void* r) {
        return static_cast<int>(PQresultStatus(static_cast<const PGresult*>(r)));
    };
    linked.clear = [](void* r) { PQclear(static_cast<PGresult*>(r)); };
    linked.putCopyData = [](void* c, const char* data, int size) {
        return PQputCopyData(static_cast<PGconn*>(c), data, size);
    };
    linked.putCopyEnd = [](void* c, const char* message) {
        return PQputCopyEnd(static_cast<PGconn*>(c), message);
    };
    linked.getResult = [](void* c) -> void* { return PQgetResult(static_cast<PGconn*>(c)); };
    linked.errorMessage = [](const void* c) {
        return PQerrorMessage(static_cast<const PGconn*>(c));
    };
    linked.resultErrorMessage = [](const void* r) {
        return PQresultErrorMessage(static_cast<const PGresult*>(r));
    };
    linked.prepare = [](void* c, const char* name, const char* sql, int count,
                        const unsigned* types) -> void* {
        return PQprepare(static_cast<PGconn*>(c), name, sql, count, types);
    };
    linked.sendQueryPrepared = [](void* c, const char* name, int count, const char* const* values,
                                  const int* lengths, const int* formats, int resultFormat) {
        return PQsendQueryPrepared(static_cast<PGconn*>(c), name, count, values, lengths, formats,
                                   resultFormat);
    };
    linked.ntuples = [](const void* r) { return PQntuples(static_cast<const PGresult*>(r)); };
    linked.getvalue = [](const void* r, int row, int column) {
        return PQgetvalue(static_cast<const PGresult*>(r), row, column);
    };
    return linked;
}
#else
CopyFunctions lookUpCopyFunctions() {
    return {};
}
#endif

const CopyFunctions& copyFunctions() {
    static const CopyFunctions functions = lookUpCopyFunctions();
    return functions;
}

QString notAvailable() {
    return QStringLiteral("COPY is not available on this connection");
}

QString copyReason(const char* message) {
    const QString text = QString::fromUtf8(message).simplified();
    return text.isEmpty() ? QStringLiteral("the server refused the rows sent by COPY") : text;
}

}  // namespace

ServerCopy::ServerCopy(const QSqlDatabase& server) {
    void* connection = libpqConnectionOf(server);
    if (connection && copyFunctions().complete()) {
        m_connection = connection;
    }
}

bool ServerCopy::copyIn(const QByteArray& copy, const QByteArray& rows, QString* error) {
    if (!available()) {
        *error = notAvailable();
        return false;
    }
    const CopyFunctions& pq = copyFunctions();
    void* started = pq.exec(m_connection, copy.constData());
    const bool copying = started && pq.resultStatus(started) == kPgCopyIn;
    if (!copying) {
        *error =
            copyReason(started ? pq.resultErrorMessage(started) : pq.errorMessage(m_connection));
    }
    if (started) {
        pq.clear(started);
    }
    if (!copying) {
        return false;
    }
    bool sent = true;
    // libpq takes at most INT_MAX bytes a call; a batch is far below, but never assumed.
    constexpr qsizetype kMostPerCall = 1 << 30;
    for (qsizetype at = 0; sent && at < rows.size(); at += kMostPerCall) {
        const auto size = static_cast<int>(std::min(kMostPerCall, rows.size() - at));
        sent = pq.putCopyData(m_connection, rows.constData() + at, size) == 1;
    }
    if (!sent) {
        *error = copyReason(pq.errorMessage(m_connection));
    }
    // Ended either way (with a message when something failed, so the server gives up on it),
    // and every result read, so that the connection takes the next statement.
    if (pq.putCopyEnd(m_connection, sent ? nullptr : "the sync stopped sending") != 1 && sent) {
        *error = copyReason(pq.errorMessage(m_connection));
        sent = false;
    }
    bool ok = sent;
    bool answered = false;
    while (void* result = pq.getResult(m_connection)) {
        answered = true;
        if (pq.resultStatus(result) != kPgCommandOk && ok) {
            *error = copyReason(pq.resultErrorMessage(result));
            ok = false;
        }
        pq.clear(result);
    }
    if (ok && !answered) {
        *error = copyReason(pq.errorMessage(m_connection));
        ok = false;
    }
    return ok;
}

bool ServerCopy::prepare(const QByteArray& name, const QByteArray& sql, int parameters,
                         QString* error) {
    if (!available()) {
        *error = notAvailable();
        return false;
    }
    const CopyFunctions& pq = copyFunctions();
    void* prepared =
        pq.prepare(m_connection, name.constData(), sql.constData(), parameters, nullptr);
    const bool ok = prepared && pq.resultStatus(prepared) == kPgCommandOk;
    if (!ok) {
        *error =
            copyReason(prepared ? pq.resultErrorMessage(prepared) : pq.errorMessage(m_connection));
    }
    if (prepared) {
        pq.clear(prepared);
    }
    return ok;
}

bool ServerCopy::start(const QByteArray& name, const QList<QByteArray>& parameters,
                       QString* error) {
    if (!available()) {
        *error = notAvailable();
        return false;
    }
    std::vector<const char*> values;
    for (const QByteArray& parameter : parameters) {
        values.push_back(parameter.constData());
    }
    if (copyFunctions().sendQueryPrepared(m_connection, name.constData(),
                                          static_cast<int>(values.size()), values.data(), nullptr,
                                          nullptr, 0) != 1) {
        *error = copyReason(copyFunctions().errorMessage(m_connection));
        return false;
    }
    return true;
}

bool ServerCopy::finish(QByteArray* value, QString* error) {
    const CopyFunctions& pq = copyFunctions();
    bool ok = true;
    bool answered = false;
    while (void* result = pq.getResult(m_connection)) {
        if (!answered) {
            answered = true;
            if (pq.resultStatus(result) == kPgTuplesOk && pq.ntuples(result) > 0) {
                *value = QByteArray(pq.getvalue(result, 0, 0));
            } else {
                *error = copyReason(pq.resultErrorMessage(result));
                ok = false;
            }
        }
        pq.clear(result);
    }
    if (!answered) {
        *error = copyReason(pq.errorMessage(m_connection));
        ok = false;
    }
    return ok;
}

void appendCopyValue(QByteArray& row, const QVariant& value) {
    if (value.isNull()) {
        row.append("\\N");
        return;
    }
    switch (value.typeId()) {
        case QMetaType::QByteArray:
            // bytea's hex input, its backslash doubled for COPY.
            row.append("\\\\x").append(value.toByteArray().toHex());
            return;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            row.append(QByteArray::number(value.toLongLong()));
            return;
        default:
            break;
    }
    const QByteArray text = value.toString().toUtf8();
    for (const char c : text) {
        switch (c) {
            case '\\':
                row.append("\\\\");
                break;
            case '\t':
                row.append("\\t");
                break;
            case '\n':
                row.append("\\n");
                break;
            case '\r':
                row.append("\\r");
                break;
            default:
                row.append(c);
        }
    }
}

}  // namespace trellicap::archive

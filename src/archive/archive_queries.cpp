#include "archive/archive_queries.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QThread>

#include "archive/connection_interrupt.h"
#include "archive/kept_read.h"
#include "archive/outliving_threads.h"
#include "archive/query_worker.h"

namespace trellicap::archive {

namespace {

qint64 now() {
    return QDateTime::currentMSecsSinceEpoch();
}

KeptValues valuesOf(QSqlDatabase& db, const QString& uuid, int version,
                    const ModelProfile& profile) {
    KeptValues kept{uuid, version, {}, {}};
    KeptRead read = readKeptRecord(db, uuid, version, profile);
    if (read.ok()) {
        kept.values = std::move(read.record->values);
    } else {
        kept.refusal = sentence(read.refusal);
    }
    return kept;
}

QueryAnswer answerTo(int request, QueryAnswer::Kind kind) {
    QueryAnswer answer;
    answer.request = request;
    answer.kind = kind;
    return answer;
}

}  // namespace

ArchiveQueries::ArchiveQueries(const ModelProfile& profile, QObject* parent)
    : QObject(parent),
      m_profile(profile),
      m_thread(new QThread(this)),
      m_interrupt(std::make_shared<ConnectionInterrupt>()) {
    qRegisterMetaType<trellicap::archive::QueryAnswer>();
    m_worker = new QueryWorker(profile, m_interrupt);
    m_thread->setObjectName(QStringLiteral("archive queries"));
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &QueryWorker::answered, this, &ArchiveQueries::answered);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &ArchiveQueries::deadlinePassed);
    m_thread->start();
}

ArchiveQueries::~ArchiveQueries() {
    dropPending();
    m_interrupt->interrupt();
    m_thread->quit();
    if (m_thread->wait(QDeadlineTimer(1000))) {
        return;
    }
    // Still connecting (at most the connect timeout): the thread and its worker delete
    // themselves when that ends; the window does not wait for it.
    letThreadOutliveItsOwner(m_thread);
}

void ArchiveQueries::useArchive(const QString& archivePath) {
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker, archivePath] { worker->useArchive(archivePath); },
        Qt::QueuedConnection);
}

void ArchiveQueries::useServer(const ServerAddress& address) {
    QMetaObject::invokeMethod(
        m_worker,
        [worker = m_worker, address, deadline = m_deadlineMs] {
            worker->useServer(address, deadline);
        },
        Qt::QueuedConnection);
}

template <typename Work>
int ArchiveQueries::send(Work work) {
    const int request = ++m_next;
    m_pending[request] = now() + m_deadlineMs;
    if (!m_deadline.isActive()) {
        m_deadline.start(m_deadlineMs);
    }
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker, request, work] { work(*worker, request); },
        Qt::QueuedConnection);
    return request;
}

int ArchiveQueries::count(const SearchFilter& filter) {
    return send([filter](QueryWorker& worker, int request) {
        QueryAnswer answer = answerTo(request, QueryAnswer::Kind::Count);
        worker.run(answer, [&filter](QSqlDatabase& db, QueryAnswer& out) {
            out.count = countMatches(db, filter, &out.error);
        });
    });
}

int ArchiveQueries::rows(const SearchFilter& filter, SearchColumn orderBy, bool ascending,
                         int offset, int limit) {
    return send([=](QueryWorker& worker, int request) {
        QueryAnswer answer = answerTo(request, QueryAnswer::Kind::Rows);
        worker.run(answer, [&](QSqlDatabase& db, QueryAnswer& out) {
            out.rows = searchPage(db, filter, orderBy, ascending, offset, limit, &out.error);
        });
    });
}

int ArchiveQueries::values(const std::vector<std::pair<QString, int>>& versions) {
    const ModelProfile* profile = &m_profile;
    return send([versions, profile](QueryWorker& worker, int request) {
        QueryAnswer answer = answerTo(request, QueryAnswer::Kind::Values);
        worker.run(answer, [&](QSqlDatabase& db, QueryAnswer& out) {
            for (const auto& [uuid, version] : versions) {
                out.values.push_back(valuesOf(db, uuid, version, *profile));
            }
        });
    });
}

int ArchiveQueries::preview(const QString& uuid, int version) {
    const ModelProfile* profile = &m_profile;
    return send([uuid, version, profile](QueryWorker& worker, int request) {
        QueryAnswer answer = answerTo(request, QueryAnswer::Kind::Preview);
        worker.run(answer, [&](QSqlDatabase& db, QueryAnswer& out) {
            const auto kept = keptVersion(db, uuid, version);
            if (!kept) {
                out.error =
                    QStringLiteral("the archive holds no record %1").arg(keptName(uuid, version));
                return;
            }
            out.preview.version = *kept;
            KeptValues values = valuesOf(db, uuid, version, *profile);
            out.preview.values = std::move(values.values);
            out.preview.refusal = values.refusal;
        });
    });
}

int ArchiveQueries::savedIn(const QString& uuid, int version) {
    return send([uuid, version](QueryWorker& worker, int request) {
        QueryAnswer answer = answerTo(request, QueryAnswer::Kind::SavedIn);
        worker.run(answer, [&](QSqlDatabase& db, QueryAnswer& out) {
            out.savedIn = savedInPaths(db, uuid, version);
        });
    });
}

int ArchiveQueries::work(Reading work) {
    return send([work = std::move(work)](QueryWorker& worker, int request) {
        QueryAnswer answer = answerTo(request, QueryAnswer::Kind::Work);
        worker.run(answer, [&](QSqlDatabase& db, QueryAnswer& out) { work(db, &out.error); });
    });
}

void ArchiveQueries::dropPending() {
    m_pending.clear();
    m_deadline.stop();
}

void ArchiveQueries::answered(const QueryAnswer& answer) {
    if (m_pending.erase(answer.request) == 0) {
        return;  // dropped, or its deadline passed: the caller has had its failure
    }
    if (m_pending.empty()) {
        m_deadline.stop();
    }
    if (!answer.error.isEmpty()) {
        emit failed(answer.request, answer.error);
        return;
    }
    switch (answer.kind) {
        case QueryAnswer::Kind::Count:
            emit counted(answer.request, answer.count);
            break;
        case QueryAnswer::Kind::Rows:
            emit rowsRead(answer.request, answer.rows);
            break;
        case QueryAnswer::Kind::Values:
            emit valuesRead(answer.request, answer.values);
            break;
        case QueryAnswer::Kind::Preview:
            emit previewRead(answer.request, answer.preview);
            break;
        case QueryAnswer::Kind::SavedIn:
            emit savedInRead(answer.request, answer.savedIn);
            break;
        case QueryAnswer::Kind::Work:
            emit done(answer.request);
            break;
    }
}

void ArchiveQueries::deadlinePassed() {
    const qint64 at = now();
    std::vector<int> late;
    for (const auto& [request, deadline] : m_pending) {
        if (deadline <= at) {
            late.push_back(request);
        }
    }
    for (const int request : late) {
        m_pending.erase(request);
    }
    if (!late.empty()) {
        // The worker is stuck in a call to a server that went silent: cut it loose.
        m_interrupt->interrupt();
    }
    if (!m_pending.empty()) {
        qint64 next = m_pending.begin()->second;
        for (const auto& [request, deadline] : m_pending) {
            next = std::min(next, deadline);
        }
        m_deadline.start(static_cast<int>(std::max<qint64>(1, next - at)));
    }
    const QString reason = QStringLiteral("no answer within %1 s").arg((m_deadlineMs + 999) / 1000);
    for (const int request : late) {
        emit failed(request, reason);
    }
}

}  // namespace trellicap::archive

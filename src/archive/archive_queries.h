// The archive window's reads off its own thread: a worker on a thread of its own with its
// own connection (this computer's archive, read-only, or the team server), each request
// answered through a queued signal, never blocking the caller's thread.
//
// Every request has a deadline (5 s unless set otherwise): a request not answered by then
// fails with "the team server did not answer within 5 s"; its late answer is dropped, the
// connection is cut (a server gone silent lets the worker go at once) and the next request
// opens a new one. After any failure the worker connects afresh, so the scope works again
// as soon as the server answers, without a restart.
//
// Use (the window's thread):
//   ArchiveQueries queries(profile);
//   queries.useServer(address);                 // or useArchive(path)
//   connect(&queries, &ArchiveQueries::counted, ...);
//   const int id = queries.count(filter);       // answered by counted(id, n) or failed(id, why)
#pragma once

#include <QMetaType>
#include <QObject>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "archive/archive_search.h"
#include "archive/kept_version.h"
#include "archive/server_address.h"
#include "profiles/model_profile.h"

class QThread;

namespace trellicap::archive {

// A version's values as a thumbnail or a preview draws them; `refusal` (naming the record)
// when they cannot be drawn by this program: another model, a slot outside 1..200, the
// wrong count of values, missing.
struct KeptValues {
    QString uuid;
    int version = 0;
    std::vector<RecordValue> values;
    QString refusal;
};

// What the preview shows of one version: its facts, where it was saved, its values.
struct KeptPreview {
    KeptVersion version;  // savedIn filled
    std::vector<RecordValue> values;
    QString refusal;  // as KeptValues
};

// One answer of the worker, as it crosses the threads.
struct QueryAnswer {
    enum class Kind { Count, Rows, Values, Preview, SavedIn, Work };
    int request = 0;
    Kind kind = Kind::Count;
    QString error;  // empty when answered
    int count = 0;
    std::vector<KeptVersion> rows;
    std::vector<KeptValues> values;
    KeptPreview preview;
    QStringList savedIn;
};

class QueryWorker;
class ConnectionInterrupt;

class ArchiveQueries : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultDeadlineMs = 5000;

    // profile: the model this program draws (the values' checks).
    explicit ArchiveQueries(const ModelProfile& profile, QObject* parent = nullptr);
    // Waits at most a second for a request under way (its connection is cut first).
    ~ArchiveQueries() override;

    // Where the requests from now on read; requests under way are answered from where they
    // were sent. The first request connects.
    void useArchive(const QString& archivePath);
    void useServer(const ServerAddress& address);
    void setDeadline(int ms) { m_deadlineMs = ms; }

    // Each returns the request's number; its answer or its failure carries that number.
    int count(const SearchFilter& filter);
    int rows(const SearchFilter& filter, SearchColumn orderBy, bool ascending, int offset,
             int limit);
    // The values of these versions, for their thumbnails.
    int values(const std::vector<std::pair<QString, int>>& versions);
    int preview(const QString& uuid, int version);
    int savedIn(const QString& uuid, int version);
    // Any reading on the worker's connection (an export's records, a job's): `work` fills
    // what it holds (the caller reads that once done() arrives, never before) and sets the
    // reason when it failed.
    using Reading = std::function<void(QSqlDatabase& db, QString* error)>;
    int work(Reading work);
    // Forgets the requests under way: their answers (or failures) are not given.
    void dropPending();

    [[nodiscard]] int pending() const { return static_cast<int>(m_pending.size()); }

signals:
    void counted(int request, int count);
    void rowsRead(int request, const std::vector<trellicap::archive::KeptVersion>& rows);
    void valuesRead(int request, const std::vector<trellicap::archive::KeptValues>& values);
    void previewRead(int request, const trellicap::archive::KeptPreview& preview);
    void savedInRead(int request, const QStringList& paths);
    void done(int request);
    // The request failed: the database's (or the server's) reason, or the deadline.
    void failed(int request, const QString& reason);

private:
    template <typename Work>
    int send(Work work);
    void answered(const trellicap::archive::QueryAnswer& answer);
    void deadlinePassed();

    const ModelProfile& m_profile;
    QThread* m_thread = nullptr;
    QueryWorker* m_worker = nullptr;  // lives on m_thread
    std::shared_ptr<ConnectionInterrupt> m_interrupt;
    int m_deadlineMs = kDefaultDeadlineMs;
    int m_next = 0;
    std::map<int, qint64> m_pending;  // request -> its deadline (ms since the epoch)
    QTimer m_deadline;
};

}  // namespace trellicap::archive

Q_DECLARE_METATYPE(trellicap::archive::QueryAnswer)
Q_DECLARE_METATYPE(trellicap::archive::KeptPreview)

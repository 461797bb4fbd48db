// The archive window's results: one row per kept version, read by the archive's query worker
// a page at a time as the table scrolls (100,000 rows never sit in memory, and the window's
// thread never waits on a database), with a thumbnail of each A-scan drawn only for the rows
// on screen, asked for in batches and kept in a small cache.
#pragma once

#include <QAbstractTableModel>
#include <QCache>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QTimer>
#include <vector>

#include "archive/archive_queries.h"
#include "archive/archive_search.h"
#include "profiles/model_profile.h"

namespace trellicap {

class ArchiveResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ArchiveResultsModel(const ModelProfile& profile, archive::ArchiveQueries& queries,
                        QObject* parent);

    // The columns of the database searched (the team server's name who sent each version).
    void setEngine(archive::Engine engine);
    // Starts the search: its count and first page arrive through the worker, the rest as the
    // view asks for it. The rows of an earlier search go at once.
    void search(const archive::SearchFilter& filter, archive::SearchColumn orderBy, bool ascending);
    // A search (its count, a page, thumbnails) is under way.
    [[nodiscard]] bool waiting() const;
    // The rows on screen are there with their thumbnails (the count may still be on its way).
    [[nodiscard]] bool screenReady() const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    [[nodiscard]] bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The search column a view column sorts by (the team server's columns come last).
    [[nodiscard]] static archive::SearchColumn sortColumn(int viewColumn);
    [[nodiscard]] const archive::KeptVersion& kept(int row) const;
    [[nodiscard]] QString uuid(int row) const { return kept(row).uuid; }
    [[nodiscard]] int version(int row) const { return kept(row).version; }
    [[nodiscard]] int slot(int row) const { return kept(row).slot; }
    [[nodiscard]] QString model(int row) const { return kept(row).model; }
    [[nodiscard]] QString value(int row, archive::SearchColumn column) const;

    static constexpr int kThumbnailColumn = 0;
    static constexpr int kThumbnailDrawDpi = 48;
    static constexpr int kThumbnailHeight = 36;
    static constexpr int kPageRows = 200;

signals:
    // How many versions the whole search finds.
    void counted(int total);
    // The search (or a page, or thumbnails of it) could not be read: the reason.
    void failed(const QString& reason);

private:
    void rowsRead(int request, const std::vector<archive::KeptVersion>& rows);
    void valuesRead(int request, const std::vector<archive::KeptValues>& values);
    void requestFailed(int request, const QString& reason);
    void askThumbnails();
    void askCount();
    [[nodiscard]] static QString keyOf(const QString& uuid, int version);

    const ModelProfile& m_profile;
    archive::ArchiveQueries& m_queries;
    archive::Engine m_engine = archive::Engine::Sqlite;
    QStringList m_headings;  // the view's columns, left to right
    std::vector<archive::SearchColumn> m_columns;

    archive::SearchFilter m_filter;
    archive::SearchColumn m_orderBy = archive::kColArrivedMs;
    bool m_ascending = false;
    std::vector<archive::KeptVersion> m_rows;
    QHash<QString, int> m_rowOf;  // uuid/version -> row
    bool m_more = false;          // the last page read was full
    int m_countRequest = 0;
    int m_rowsRequest = 0;
    // The count (a pass over every version found) is asked for after the first page's
    // thumbnails: the worker answers in order, and the rows on screen come first.
    bool m_countToAsk = false;
    QTimer m_countLater;

    mutable QCache<QString, QImage> m_thumbnails;
    mutable QSet<QString> m_wanted;  // asked for, or to be asked for
    mutable std::vector<std::pair<QString, int>> m_toAsk;
    mutable QTimer m_ask;
    QSet<int> m_thumbnailRequests;
};

}  // namespace trellicap

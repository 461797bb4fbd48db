// The archive window's results: one row per kept version, read from the database a page at
// a time as the table scrolls (100,000 rows never sit in memory), with a thumbnail of each
// A-scan drawn only for the rows on screen and kept in a small cache.
#pragma once

#include <QAbstractTableModel>
#include <QCache>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlQueryModel>

#include "archive/archive_search.h"
#include "profiles/model_profile.h"

namespace trellicap {

class ArchiveResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ArchiveResultsModel(const ModelProfile& profile, QSqlDatabase db, QObject* parent);

    // Runs the search; the first page arrives at once, the rest as the view asks for it.
    // Empty when it worked, else the database's reason.
    QString search(const archive::SearchFilter& filter, archive::SearchColumn orderBy,
                   bool ascending);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    [[nodiscard]] bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The search column a view column sorts by (the team server's columns come last).
    [[nodiscard]] static archive::SearchColumn sortColumn(int viewColumn);
    [[nodiscard]] QString uuid(int row) const;
    [[nodiscard]] int version(int row) const;
    [[nodiscard]] int slot(int row) const;
    [[nodiscard]] QString model(int row) const;
    [[nodiscard]] QString value(int row, archive::SearchColumn column) const;
    // The values of the version in `row` (empty when missing or of another model).
    [[nodiscard]] std::vector<RecordValue> values(int row) const;
    // Why values(row) is empty, naming the record (a sentence); empty when it is not.
    [[nodiscard]] QString refusal(int row) const;

    static constexpr int kThumbnailColumn = 0;
    static constexpr int kThumbnailDrawDpi = 48;
    static constexpr int kThumbnailHeight = 36;

private:
    const ModelProfile& m_profile;
    QSqlDatabase m_db;
    archive::SearchPlace m_place;
    QStringList m_headings;  // the view's columns, left to right
    std::vector<archive::SearchColumn> m_columns;
    QSqlQueryModel m_rows;
    mutable QCache<QString, QImage> m_thumbnails;
};

}  // namespace trellicap

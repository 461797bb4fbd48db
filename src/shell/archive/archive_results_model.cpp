#include "shell/archive/archive_results_model.h"

#include <QSqlError>
#include <QSqlQuery>

#include "archive/kept_read.h"
#include "shell/archive/archive_picture.h"

namespace trellicap {

namespace {

// What the table shows, left to right: the thumbnail (sorting by arrival), then the columns
// the archive's column table gives a heading, in their order; the Sender columns only where
// the database knows who sent a version (the team server).
struct ViewColumn {
    QString heading;
    archive::SearchColumn column;
};

std::vector<ViewColumn> viewColumns(archive::Engine engine) {
    std::vector<std::pair<int, ViewColumn>> shown;
    for (int i = 0; i < archive::kSearchColumns; ++i) {
        const archive::VersionColumn& column = archive::kVersionColumns[i];
        if (column.heading.empty() || (column.place() == archive::ColumnPlace::Sender &&
                                       engine != archive::Engine::Postgres)) {
            continue;
        }
        shown.push_back({column.shownAt,
                         {QString::fromLatin1(column.heading.data(),
                                              static_cast<qsizetype>(column.heading.size())),
                          static_cast<archive::SearchColumn>(i)}});
    }
    std::stable_sort(shown.begin(), shown.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<ViewColumn> columns{{QStringLiteral("A-scan"), archive::kColArrivedMs}};
    for (auto& [at, column] : shown) {
        columns.push_back(std::move(column));
    }
    return columns;
}

constexpr int kThumbnailsCached = 400;

QString headerText(const QString& json) {
    QStringList texts;
    for (const auto& [name, text] : archive::headerFromJson(json)) {
        if (!text.isEmpty()) {
            texts.append(text);
        }
    }
    return texts.join(QStringLiteral(" · "));
}

}  // namespace

ArchiveResultsModel::ArchiveResultsModel(const ModelProfile& profile, QSqlDatabase db,
                                         QObject* parent)
    : QAbstractTableModel(parent),
      m_profile(profile),
      m_db(std::move(db)),
      m_place(archive::searchPlaceOf(m_db)) {
    for (const ViewColumn& column : viewColumns(m_place.engine)) {
        m_headings.append(column.heading);
        m_columns.push_back(column.column);
    }
    m_thumbnails.setMaxCost(kThumbnailsCached);
    // The rows the query model fetches become rows of this model.
    connect(&m_rows, &QSqlQueryModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first, int last) { beginInsertRows({}, first, last); });
    connect(&m_rows, &QSqlQueryModel::rowsInserted, this, [this] { endInsertRows(); });
}

QString ArchiveResultsModel::search(const archive::SearchFilter& filter,
                                    archive::SearchColumn orderBy, bool ascending) {
    const archive::SearchQuery search =
        archive::searchQuery(archive::searchPlaceFor(m_db, filter), filter, orderBy, ascending);
    QSqlQuery query(m_db);
    query.prepare(search.sql);
    for (const QVariant& value : search.values) {
        query.addBindValue(value);
    }
    beginResetModel();
    QString error;
    if (!query.exec()) {
        error = query.lastError().text();
        m_rows.clear();
    } else {
        m_rows.setQuery(std::move(query));
    }
    endResetModel();
    return error;
}

int ArchiveResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows.rowCount();
}

int ArchiveResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

bool ArchiveResultsModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && m_rows.canFetchMore();
}

void ArchiveResultsModel::fetchMore(const QModelIndex& parent) {
    if (!parent.isValid()) {
        m_rows.fetchMore();
    }
}

archive::SearchColumn ArchiveResultsModel::sortColumn(int viewColumn) {
    // The local columns: every database shows at least these, in this order.
    static const std::vector<ViewColumn> columns = viewColumns(archive::Engine::Postgres);
    return viewColumn >= 0 && viewColumn < static_cast<int>(columns.size())
               ? columns[static_cast<std::size_t>(viewColumn)].column
               : archive::kColArrivedMs;
}

QString ArchiveResultsModel::value(int row, archive::SearchColumn column) const {
    return m_rows.data(m_rows.index(row, column)).toString();
}

QString ArchiveResultsModel::uuid(int row) const {
    return value(row, archive::kColUuid);
}

int ArchiveResultsModel::version(int row) const {
    return value(row, archive::kColVersion).toInt();
}

int ArchiveResultsModel::slot(int row) const {
    return value(row, archive::kColSlot).toInt();
}

QString ArchiveResultsModel::model(int row) const {
    return value(row, archive::kColModel);
}

std::vector<RecordValue> ArchiveResultsModel::values(int row) const {
    // Checked first: a record of another model, of a slot outside 1..200 or of the wrong
    // length gives nothing to draw or to file.
    QSqlDatabase db = m_db;
    archive::KeptRead read = archive::readKeptRecord(db, uuid(row), version(row), m_profile);
    return read.ok() ? std::move(read.record->values) : std::vector<RecordValue>{};
}

QString ArchiveResultsModel::refusal(int row) const {
    QSqlDatabase db = m_db;
    return archive::sentence(
        archive::readKeptRecord(db, uuid(row), version(row), m_profile).refusal);
}

QVariant ArchiveResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.rowCount()) {
        return {};
    }
    const int row = index.row();
    if (index.column() == kThumbnailColumn) {
        if (role != Qt::DecorationRole) {
            return {};
        }
        const QString key = uuid(row) + QLatin1Char('/') + QString::number(version(row));
        if (QImage* cached = m_thumbnails.object(key)) {
            return *cached;
        }
        const auto kept = values(row);
        // Drawn larger and scaled down smoothly: at the thumbnail's own size the graticule's
        // dots would hide the trace.
        auto* picture = new QImage(keptPicture(m_profile, kept, kThumbnailDrawDpi)
                                       .scaledToHeight(kThumbnailHeight, Qt::SmoothTransformation));
        const QImage copy = *picture;
        m_thumbnails.insert(key, picture);
        return copy;
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
        return {};
    }
    const archive::SearchColumn column = m_columns[static_cast<std::size_t>(index.column())];
    const QString text = value(row, column);
    return column == archive::kColHeader ? headerText(text) : text;
}

QVariant ArchiveResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(m_columns.size())) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return m_headings.at(section);
}

}  // namespace trellicap

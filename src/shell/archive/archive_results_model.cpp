#include "shell/archive/archive_results_model.h"

#include <QSqlError>
#include <QSqlQuery>

#include "shell/archive/archive_picture.h"

namespace trellicap {

namespace {

struct ViewColumn {
    const char* heading;
    archive::SearchColumn column;
};
// What the table shows, left to right; the thumbnail comes first.
constexpr ViewColumn kColumns[] = {
    {"A-scan", archive::kColArrivedMs}, {"Arrived", archive::kColArrived},
    {"Model", archive::kColModel},      {"Slot", archive::kColSlot},
    {"Source", archive::kColSource},    {"Header", archive::kColHeader},
    {"RANGE", archive::kColRange},      {"Gain", archive::kColGain},
    {"Stored", archive::kColTimeDate},  {"File", archive::kColPath},
    {"Version", archive::kColVersion},
};
constexpr int kViewColumns = static_cast<int>(std::size(kColumns));
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
    : QAbstractTableModel(parent), m_profile(profile), m_db(std::move(db)) {
    m_thumbnails.setMaxCost(kThumbnailsCached);
    // The rows the query model fetches become rows of this model.
    connect(&m_rows, &QSqlQueryModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first, int last) { beginInsertRows({}, first, last); });
    connect(&m_rows, &QSqlQueryModel::rowsInserted, this, [this] { endInsertRows(); });
}

QString ArchiveResultsModel::search(const archive::SearchFilter& filter,
                                    archive::SearchColumn orderBy, bool ascending) {
    const archive::SearchQuery search = archive::searchQuery(filter, orderBy, ascending);
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
    return parent.isValid() ? 0 : kViewColumns;
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
    return viewColumn >= 0 && viewColumn < kViewColumns ? kColumns[viewColumn].column
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
    const QString model = QString::fromLatin1(m_profile.modelKey.data(),
                                              static_cast<qsizetype>(m_profile.modelKey.size()));
    if (this->model(row) != model) {
        return {};
    }
    QSqlDatabase db = m_db;
    return archive::keptValues(db, uuid(row), version(row), m_profile.recordSize())
        .value_or(std::vector<RecordValue>{});
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
    const archive::SearchColumn column = kColumns[index.column()].column;
    const QString text = value(row, column);
    return column == archive::kColHeader ? headerText(text) : text;
}

QVariant ArchiveResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kViewColumns) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString::fromLatin1(kColumns[section].heading);
}

}  // namespace trellicap

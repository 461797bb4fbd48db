#include "shell/archive/archive_results_model.h"

#include "shell/archive/archive_picture.h"

#include <utility>

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
// Thumbnails asked for in one request: a screenful.
constexpr std::size_t kThumbnailsPerRequest = 40;

QString headerText(const std::vector<std::pair<QString, QString>>& header) {
    QStringList texts;
    for (const auto& [name, text] : header) {
        if (!text.isEmpty()) {
            texts.append(text);
        }
    }
    return texts.join(QStringLiteral(" · "));
}

}  // namespace

ArchiveResultsModel::ArchiveResultsModel(const ModelProfile& profile,
                                         archive::ArchiveQueries& queries, QObject* parent)
    : QAbstractTableModel(parent), m_profile(profile), m_queries(queries) {
    setEngine(archive::Engine::Sqlite);
    m_thumbnails.setMaxCost(kThumbnailsCached);
    m_ask.setSingleShot(true);
    m_ask.setInterval(0);
    connect(&m_ask, &QTimer::timeout, this, &ArchiveResultsModel::askThumbnails);
    // A table that never paints its thumbnails gets its count all the same.
    m_countLater.setSingleShot(true);
    m_countLater.setInterval(100);
    connect(&m_countLater, &QTimer::timeout, this, &ArchiveResultsModel::askCount);
    connect(&m_queries, &archive::ArchiveQueries::counted, this, [this](int request, int total) {
        if (request == m_countRequest) {
            m_countRequest = 0;
            emit counted(total);
        }
    });
    connect(&m_queries, &archive::ArchiveQueries::rowsRead, this, &ArchiveResultsModel::rowsRead);
    connect(&m_queries, &archive::ArchiveQueries::valuesRead, this,
            &ArchiveResultsModel::valuesRead);
    connect(&m_queries, &archive::ArchiveQueries::failed, this,
            &ArchiveResultsModel::requestFailed);
}

void ArchiveResultsModel::setEngine(archive::Engine engine) {
    beginResetModel();
    m_engine = engine;
    m_headings.clear();
    m_columns.clear();
    for (const ViewColumn& column : viewColumns(engine)) {
        m_headings.append(column.heading);
        m_columns.push_back(column.column);
    }
    endResetModel();
}

void ArchiveResultsModel::search(const archive::SearchFilter& filter, archive::SearchColumn orderBy,
                                 bool ascending) {
    beginResetModel();
    m_filter = filter;
    m_orderBy = orderBy;
    m_ascending = ascending;
    m_rows.clear();
    m_rowOf.clear();
    m_more = false;
    // Answers to the earlier search are told apart by their numbers and left aside.
    m_thumbnailRequests.clear();
    m_wanted.clear();
    m_toAsk.clear();
    m_rowsRequest = m_queries.rows(filter, orderBy, ascending, 0, kPageRows);
    m_countRequest = 0;
    m_countToAsk = true;
    m_countLater.stop();
    endResetModel();
}

bool ArchiveResultsModel::waiting() const {
    return m_rowsRequest != 0 || m_countRequest != 0 || m_countToAsk ||
           !m_thumbnailRequests.isEmpty() || !m_toAsk.empty();
}

bool ArchiveResultsModel::screenReady() const {
    return m_rowsRequest == 0 && m_thumbnailRequests.isEmpty() && m_toAsk.empty();
}

void ArchiveResultsModel::askCount() {
    m_countLater.stop();
    if (std::exchange(m_countToAsk, false)) {
        m_countRequest = m_queries.count(m_filter);
    }
}

void ArchiveResultsModel::rowsRead(int request, const std::vector<archive::KeptVersion>& rows) {
    if (request != m_rowsRequest) {
        return;
    }
    m_rowsRequest = 0;
    m_more = rows.size() == static_cast<std::size_t>(kPageRows);
    if (rows.empty()) {
        askCount();
        return;
    }
    if (m_countToAsk) {
        m_countLater.start();  // unless the thumbnails on screen ask for it first
    }
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    for (const archive::KeptVersion& row : rows) {
        m_rowOf.insert(keyOf(row.uuid, row.version), static_cast<int>(m_rows.size()));
        m_rows.push_back(row);
    }
    endInsertRows();
}

void ArchiveResultsModel::valuesRead(int request, const std::vector<archive::KeptValues>& values) {
    if (!m_thumbnailRequests.remove(request)) {
        return;
    }
    for (const archive::KeptValues& kept : values) {
        const QString key = keyOf(kept.uuid, kept.version);
        m_wanted.remove(key);
        // Drawn larger and scaled down smoothly: at the thumbnail's own size the graticule's
        // dots would hide the trace. A record this program cannot draw shows an empty plot.
        m_thumbnails.insert(
            key, new QImage(keptPicture(m_profile, kept.values, kThumbnailDrawDpi)
                                .scaledToHeight(kThumbnailHeight, Qt::SmoothTransformation)));
        if (const auto row = m_rowOf.constFind(key); row != m_rowOf.constEnd()) {
            const QModelIndex at = index(*row, kThumbnailColumn);
            emit dataChanged(at, at, {Qt::DecorationRole});
        }
    }
}

void ArchiveResultsModel::requestFailed(int request, const QString& reason) {
    const bool thumbnails = m_thumbnailRequests.remove(request);
    if (thumbnails) {
        m_wanted.clear();  // asked again as the view paints them
    }
    if (!thumbnails && request != m_rowsRequest && request != m_countRequest) {
        return;
    }
    if (request == m_rowsRequest) {
        m_rowsRequest = 0;
        m_more = false;
        m_countToAsk = false;  // the search failed: its count would too
    }
    if (request == m_countRequest) {
        m_countRequest = 0;
    }
    emit failed(reason);
}

void ArchiveResultsModel::askThumbnails() {
    while (!m_toAsk.empty()) {
        const std::size_t take = std::min(m_toAsk.size(), kThumbnailsPerRequest);
        std::vector<std::pair<QString, int>> batch(m_toAsk.begin(), m_toAsk.begin() + take);
        m_toAsk.erase(m_toAsk.begin(), m_toAsk.begin() + take);
        m_thumbnailRequests.insert(m_queries.values(batch));
    }
    askCount();
}

QString ArchiveResultsModel::keyOf(const QString& uuid, int version) {
    return uuid + QLatin1Char('/') + QString::number(version);
}

int ArchiveResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ArchiveResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

bool ArchiveResultsModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && m_more && m_rowsRequest == 0;
}

void ArchiveResultsModel::fetchMore(const QModelIndex& parent) {
    if (canFetchMore(parent)) {
        m_rowsRequest = m_queries.rows(m_filter, m_orderBy, m_ascending,
                                       static_cast<int>(m_rows.size()), kPageRows);
    }
}

archive::SearchColumn ArchiveResultsModel::sortColumn(int viewColumn) {
    // The local columns: every database shows at least these, in this order.
    static const std::vector<ViewColumn> columns = viewColumns(archive::Engine::Postgres);
    return viewColumn >= 0 && viewColumn < static_cast<int>(columns.size())
               ? columns[static_cast<std::size_t>(viewColumn)].column
               : archive::kColArrivedMs;
}

const archive::KeptVersion& ArchiveResultsModel::kept(int row) const {
    static const archive::KeptVersion none;
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[static_cast<std::size_t>(row)]
                                                             : none;
}

QString ArchiveResultsModel::value(int row, archive::SearchColumn column) const {
    const archive::KeptVersion& version = kept(row);
    const archive::KeptMember& member = archive::kVersionColumns[column].member;
    if (member.text) {
        return version.*member.text;
    }
    if (member.integer) {
        return QString::number(version.*member.integer);
    }
    if (member.bigint) {
        return QString::number(version.*member.bigint);
    }
    return archive::headerToJson(version.header);
}

QVariant ArchiveResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(m_rows.size())) {
        return {};
    }
    const archive::KeptVersion& version = m_rows[static_cast<std::size_t>(index.row())];
    if (index.column() == kThumbnailColumn) {
        if (role != Qt::DecorationRole) {
            return {};
        }
        const QString key = keyOf(version.uuid, version.version);
        if (const QImage* cached = m_thumbnails.object(key)) {
            return *cached;
        }
        if (!m_wanted.contains(key)) {
            m_wanted.insert(key);
            m_toAsk.emplace_back(version.uuid, version.version);
            m_ask.start();
        }
        return {};
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
        return {};
    }
    const archive::SearchColumn column = m_columns[static_cast<std::size_t>(index.column())];
    return column == archive::kColHeader ? headerText(version.header) : value(index.row(), column);
}

QVariant ArchiveResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(m_columns.size())) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return m_headings.at(section);
}

}  // namespace trellicap

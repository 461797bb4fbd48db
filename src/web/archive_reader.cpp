#include "web/archive_reader.h"

#include "web/web_models.h"

namespace trellicap::web {

namespace {

// The values of a version, as many as its model's record holds.
bool readValues(QSqlDatabase& db, const archive::KeptVersion& kept,
                std::vector<RecordValue>* values, QString* error) {
    const ModelProfile* profile = profileByKey(kept.model);
    if (!profile) {
        *error = QStringLiteral("record %1 is of a model this program does not know (\"%2\")")
                     .arg(kept.uuid, kept.model);
        return false;
    }
    auto read = archive::keptValues(db, kept.uuid, kept.version, profile->recordSize());
    if (!read) {
        *error = QStringLiteral("the values of record %1, version %2, are missing or damaged")
                     .arg(kept.uuid)
                     .arg(kept.version);
        return false;
    }
    *values = std::move(*read);
    return true;
}

}  // namespace

std::optional<SearchResults> ArchiveReader::search(const SearchRequest& request, QString* error) {
    SearchResults results;
    QString stamp;
    const QueryPool::Outcome page = m_pool.run([&](QSqlDatabase& db, QString* failure) {
        const auto changed = archive::changeStamp(db, failure);
        if (!changed) {
            return false;
        }
        stamp = *changed;
        auto rows =
            archive::searchPageRows(db, request.filter, request.orderBy, request.form.ascending,
                                    request.offset(), request.form.pageSize, failure);
        if (!rows) {
            return false;
        }
        results.rows = std::move(*rows);
        return true;
    });
    if (!page.ok) {
        *error = page.error;
        return std::nullopt;
    }
    QString countError;
    const auto total =
        m_counts.get(filterKey(request.filter), stamp, [&]() -> std::optional<qint64> {
            std::optional<qint64> counted;
            const QueryPool::Outcome outcome = m_pool.run([&](QSqlDatabase& db, QString* failure) {
                counted = archive::searchCount(db, request.filter, failure);
                return counted.has_value();
            });
            if (!outcome.ok) {
                countError = outcome.error;
                return std::nullopt;
            }
            return counted;
        });
    if (!total) {
        *error =
            countError.isEmpty() ? QStringLiteral("the results could not be counted") : countError;
        return std::nullopt;
    }
    results.total = *total;
    return results;
}

std::optional<RecordRead> ArchiveReader::record(const QString& uuid, std::optional<int> version,
                                                QString* error) {
    RecordRead read;
    bool found = false;
    const QueryPool::Outcome outcome = m_pool.run([&](QSqlDatabase& db, QString* failure) {
        auto history = archive::recordHistory(db, uuid, failure);
        if (!history) {
            return false;
        }
        read.history = std::move(*history);
        if (read.history.empty()) {
            return true;
        }
        read.shown = read.history.size() - 1;
        if (version) {
            const auto chosen = std::find_if(read.history.begin(), read.history.end(),
                                             [&](const archive::VersionHistory& entry) {
                                                 return entry.kept.version == *version;
                                             });
            if (chosen == read.history.end()) {
                return true;
            }
            read.shown = static_cast<std::size_t>(chosen - read.history.begin());
        }
        found = true;
        return readValues(db, read.history[read.shown].kept, &read.values, failure);
    });
    if (!outcome.ok) {
        *error = outcome.error;
        return std::nullopt;
    }
    if (!found) {
        error->clear();
        return std::nullopt;
    }
    return read;
}

std::optional<VersionValues> ArchiveReader::version(const QString& uuid, std::optional<int> version,
                                                    QString* error) {
    VersionValues read;
    bool found = false;
    const QueryPool::Outcome outcome = m_pool.run([&](QSqlDatabase& db, QString* failure) {
        std::optional<archive::KeptVersion> kept;
        if (version) {
            failure->clear();
            kept = archive::versionRow(db, uuid, *version, failure);
            if (!kept && !failure->isEmpty()) {
                return false;
            }
        } else {
            kept = archive::newestVersion(db, uuid);
        }
        if (!kept) {
            return true;
        }
        found = true;
        read.kept = std::move(*kept);
        return readValues(db, read.kept, &read.values, failure);
    });
    if (!outcome.ok) {
        *error = outcome.error;
        return std::nullopt;
    }
    if (!found) {
        error->clear();
        return std::nullopt;
    }
    return read;
}

QString ArchiveReader::localIdentity() {
    std::lock_guard lock(m_identityMutex);
    if (!m_identity) {
        QString identity;
        const QueryPool::Outcome outcome = m_pool.run([&](QSqlDatabase& db, QString*) {
            identity = archive::archiveIdentity(db);
            return true;
        });
        if (!outcome.ok) {
            return {};
        }
        m_identity = identity;
    }
    return *m_identity;
}

}  // namespace trellicap::web

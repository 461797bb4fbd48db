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
    QString stamp;
    const QueryPool::Outcome stamped = m_pool.run([&](QSqlDatabase& db, QString* failure) {
        const auto changed = archive::changeStamp(db, failure);
        stamp = changed.value_or(QString());
        return changed.has_value();
    });
    if (!stamped.ok) {
        *error = stamped.error;
        return std::nullopt;
    }
    const QString key = filterKey(request.filter) + QLatin1Char('\x1f') +
                        QString::number(request.orderBy) +
                        (request.form.ascending ? QStringLiteral("a") : QStringLiteral("d"));
    QString failure;
    const SearchKeys keys = m_searches.get(key, stamp, [&]() -> SearchKeys {
        SearchKeys found;
        const QueryPool::Outcome outcome = m_pool.run([&](QSqlDatabase& db, QString* why) {
            auto read = archive::searchKeys(db, request.filter, request.orderBy,
                                            request.form.ascending, why);
            if (read) {
                found = std::make_shared<const std::vector<archive::VersionKey>>(std::move(*read));
            }
            return read.has_value();
        });
        failure = outcome.error;
        return outcome.ok ? found : nullptr;
    });
    if (!keys) {
        *error = failure.isEmpty() ? QStringLiteral("the search failed") : failure;
        return std::nullopt;
    }
    SearchResults results;
    results.total = static_cast<qint64>(keys->size());
    const qint64 first = std::min<qint64>(request.offset(), results.total);
    const qint64 last = std::min<qint64>(first + request.form.pageSize, results.total);
    const std::span<const archive::VersionKey> page(keys->data() + first,
                                                    static_cast<std::size_t>(last - first));
    const QueryPool::Outcome rows = m_pool.run([&](QSqlDatabase& db, QString* why) {
        auto read = archive::versionRows(db, page, why);
        if (read) {
            results.rows = std::move(*read);
        }
        return read.has_value();
    });
    if (!rows.ok) {
        *error = rows.error;
        return std::nullopt;
    }
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

// The search page's form as the browser sends it (?q=smith&from=2026-12-01&slot=7&page=2...),
// read into an archive search, the page asked for and its order. Nothing typed is trusted:
// every value is checked, and one that cannot be used is named in `errors` (the page then
// shows the message and no results) rather than quietly dropped.
#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <utility>
#include <vector>

#include "archive/archive_search.h"

namespace trellicap::web {

inline constexpr int kLongestSearchText = 200;
inline constexpr int kDefaultPageSize = 25;
inline constexpr qint64 kLastPage = 1000000;

struct SearchForm {
    // What the form shows again, as typed.
    QString text;
    QString from;
    QString to;
    QString slot;
    QString model;
    QString source;
    QString job;     // the client, order or object of a job the records belong to
    QString result;  // the result a record comes to in its job ("reject", ...)
    bool allVersions = false;
    QString sort;  // "arrived", "slot", ...
    bool ascending = false;
    int pageSize = kDefaultPageSize;
};

struct SearchRequest {
    SearchForm form;
    archive::SearchFilter filter;
    archive::SearchColumn orderBy = archive::kColArrivedMs;
    qint64 page = 1;  // 1..kLastPage
    QStringList errors;

    [[nodiscard]] qint64 offset() const { return (page - 1) * form.pageSize; }
};

using QueryParams = std::map<QString, QString>;

[[nodiscard]] SearchRequest readSearchRequest(const QueryParams& params);

// The query of a link to another page or order of the same search.
[[nodiscard]] QString searchLink(const SearchForm& form, qint64 page);
[[nodiscard]] QString sortLink(const SearchForm& form, const QString& sort, bool ascending);

// The sort names the page offers, each with its column.
[[nodiscard]] const std::vector<std::pair<QString, archive::SearchColumn>>& sortColumns();

// The filter as one text: two searches with the same key find the same versions.
[[nodiscard]] QString filterKey(const archive::SearchFilter& filter);

}  // namespace trellicap::web

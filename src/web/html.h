// Text into HTML: every text that comes from a record, the database or the request passes
// through htmlEscape before it reaches a page, so that a header field holding "<script>" is
// shown as those characters and never runs.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

namespace trellicap::web {

// & < > " ' as character references: safe in element content and in quoted attributes.
[[nodiscard]] QString htmlEscape(QStringView text);

// A link's query: name=value pairs, percent-encoded (UTF-8), joined with '&' (escape the
// whole link with htmlEscape before it goes into an attribute).
[[nodiscard]] QString queryString(const std::vector<std::pair<QString, QString>>& pairs);

// A number as an office writes it: 12,345.
[[nodiscard]] QString groupedNumber(qint64 value);

}  // namespace trellicap::web

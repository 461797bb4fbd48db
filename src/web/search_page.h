// The search page: the form (free text, dates, slot, model, origin, all versions), what is
// wrong with what was typed, and one page of the results with a thumbnail of each A-scan,
// headings that sort and links to the other pages.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "archive/archive_search.h"
#include "web/search_request.h"

namespace trellicap::web {

struct SearchResults {
    qint64 total = 0;
    std::vector<archive::KeptVersion> rows;
};

// results: nothing when the search did not run (errors in the form, or the archive failed:
// `failure` says why).
[[nodiscard]] QString searchPageBody(const SearchRequest& request,
                                     const std::optional<SearchResults>& results,
                                     const QString& failure);

// The header fields of a row as one line: "Operator: A. Example · Location: North".
[[nodiscard]] QString headerLine(const archive::KeptVersion& kept);

// The label of a header box by its model's table ("txtopname" -> "Operator").
[[nodiscard]] QString headerLabel(const QString& model, const QString& control);

// "capture", "file shift-12.dat": where a version came from, in words.
[[nodiscard]] QString originText(const QString& source, const QString& path);

// An ISO time as a <time> element that reads "2026-12-08 14:02:11" (the offset kept in its
// datetime attribute).
[[nodiscard]] QString timeElement(const QString& iso);

// The thumbnail's size in pixels, for the page to keep room for it before it arrives.
inline constexpr double kThumbnailScale = 0.3;

}  // namespace trellicap::web

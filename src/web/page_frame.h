// The frame every page of the viewer shares: the document head (the stylesheet served from
// the program, no script anywhere), a bar naming the archive shown and, after a login, the
// user with a log-out button; the page's own content inside.
#pragma once

#include <QByteArray>
#include <QString>

namespace trellicap::web {

struct PageContext {
    QString archiveLabel;  // "archive.sqlite" or "team server office:5432/trellicap"
    QString user;          // empty without logins
};

// title and archiveLabel are plain texts (escaped here); body is HTML made by the pages.
[[nodiscard]] QByteArray htmlPage(const PageContext& context, const QString& title,
                                  const QString& body);
// The same with a body already in UTF-8 (a page holding a large picture).
[[nodiscard]] QByteArray htmlPage(const PageContext& context, const QString& title,
                                  const QByteArray& body);

}  // namespace trellicap::web

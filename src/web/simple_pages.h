// The pages that say one thing: the login form (with what went wrong at the last try) and a
// refusal or failure in words (a record that does not exist, an ID that is none, an archive
// that cannot be reached).
#pragma once

#include <QString>

namespace trellicap::web {

// next: the page to go to after the login (a path of this server, already checked).
[[nodiscard]] QString loginPageBody(const QString& problem, const QString& user,
                                    const QString& next);

[[nodiscard]] QString messagePageBody(const QString& heading, const QString& text);

}  // namespace trellicap::web

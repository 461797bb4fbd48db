// Texts as inspectors type them, for the searches that must find exactly what the scan over
// the search texts finds: case, accents, LIKE's own characters, quotes, a backslash, letters
// outside the first plane; the record files' names; and what a search is typed as.
#pragma once

#include <QStringList>

namespace trellicap::archive::test {

// Operators' names, one per kept record.
inline QStringList trickyNames() {
    return {
        QStringLiteral("Zoë Müller"),     QStringLiteral("ZOË MÜLLER"),
        QStringLiteral("Zoe Muller"),     QStringLiteral("50% Rabatt"),
        QStringLiteral("under_score"),    QStringLiteral("O'Brien"),
        QStringLiteral("Quill, \"Zed\""), QStringLiteral("Ångström Straße"),
        QStringLiteral("İstanbul Şube"),  QStringLiteral("a%b_c\\d"),
        QStringLiteral("😀 smile"),        QStringLiteral("Axle 1-12"),
        QStringLiteral("axle 112"),       QStringLiteral("ab"),
    };
}

// Record files the records are saved into, by name.
inline QStringList trickyFileNames() {
    return {QStringLiteral("Shift-North_50%.dat"), QStringLiteral("ÉTÉ \"2026\".dat")};
}

// What is searched for.
inline QStringList trickySearches() {
    return {
        QStringLiteral("zoë"),     QStringLiteral("ZOË"),      QStringLiteral("zoe"),
        QStringLiteral("MÜLLER"),  QStringLiteral("%"),        QStringLiteral("50%"),
        QStringLiteral("0% r"),    QStringLiteral("_"),        QStringLiteral("r_s"),
        QStringLiteral("er_sc"),   QStringLiteral("'"),        QStringLiteral("o'b"),
        QStringLiteral("\"zed\""), QStringLiteral("\""),       QStringLiteral("ill, \""),
        QStringLiteral("ström"),   QStringLiteral("STRASSE"),  QStringLiteral("straße"),
        QStringLiteral("İst"),     QStringLiteral("ist"),      QStringLiteral("a%b"),
        QStringLiteral("%b_c\\"),  QStringLiteral("\\"),       QStringLiteral("😀"),
        QStringLiteral("😀 s"),     QStringLiteral("axle 1"),   QStringLiteral("1-1"),
        QStringLiteral("hift-n"),  QStringLiteral(".dat"),     QStringLiteral("north_50%"),
        QStringLiteral("été"),     QStringLiteral("\"2026\""), QStringLiteral("ab"),
        QStringLiteral("b"),       QStringLiteral("  "),       QStringLiteral("nobody"),
        QStringLiteral("schmidt"), QStringLiteral("o'n"),      QStringLiteral("operator"),
    };
}

}  // namespace trellicap::archive::test

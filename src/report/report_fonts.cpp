#include "report/report_fonts.h"

#include <QStringList>

namespace trellicap {

void registerReportFonts() {
    // Substitutes are used only when the family itself is not installed. fontconfig would
    // give "Courier" to Nimbus Mono and "MS Sans Serif" to whatever it likes best; these keep
    // the report's metrics on every machine that has fonts-liberation.
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Courier"), {QStringLiteral("Liberation Mono"),
                                                           QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

QFont reportFont(const QString& family, double points, bool bold) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    // Fixed pitch for "Courier" even where no substitute exists: the readout values line up
    // with their labels only in a fixed-pitch font.
    font.setStyleHint(family == QLatin1String("Courier") ? QFont::Monospace : QFont::SansSerif);
    return font;
}

}  // namespace trellicap

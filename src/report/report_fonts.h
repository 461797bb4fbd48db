// The report's fonts. The canvases ask for the families the report was designed with;
// Liberation Sans and Liberation Mono are metric twins of "Arial" and "Courier", and "MS Sans
// Serif" has no fontconfig alias at all, so each family is given a substitute that exists.
#pragma once

#include <QFont>
#include <QString>

namespace trellicap {

// Registers the substitutions once per process; cheap to call again.
void registerReportFonts();

// A font of the family at a size in points, bold or regular, after registerReportFonts().
[[nodiscard]] QFont reportFont(const QString& family, double points, bool bold);

}  // namespace trellicap

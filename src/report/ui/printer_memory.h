// The printer (or PDF file) chosen in PrintSetup, kept between runs of one program: an
// inspector who prints to the office printer should not choose it again every morning.
#pragma once

#include <QString>

class QPrinter;

namespace trellicap {

// Writes the choice into the settings file (INI).
void rememberPrinterChoice(const QPrinter& printer, const QString& settingsFile);
// Applies a remembered choice; nothing when none was kept. A printer that is no longer
// installed is left to the system's default.
void recallPrinterChoice(QPrinter& printer, const QString& settingsFile);

}  // namespace trellicap

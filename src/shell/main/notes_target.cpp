#include "shell/main/notes_target.h"

#include <QCoreApplication>

namespace trellicap {

QString notesTargetText(int notesColumn, std::optional<int> recordColumn) {
    const QString target =
        QCoreApplication::translate("PlotPanel", "Notes go to Mem %1.").arg(notesColumn + 1);
    if (!recordColumn || *recordColumn == notesColumn) {
        return target;
    }
    return target + QLatin1Char(' ') +
           QCoreApplication::translate("PlotPanel",
                                       "The record shown is Mem %1: double-click Mem %1 to "
                                       "annotate it.")
               .arg(*recordColumn + 1);
}

}  // namespace trellicap

#include "session/record_origin.h"

#include <QFileInfo>

namespace trellicap {

QString originText(const RecordOrigin& origin) {
    const QString mem = QStringLiteral("Mem %1").arg(origin.slot);
    QString text;
    switch (origin.kind) {
        case RecordOrigin::Kind::StartUp:
            return QStringLiteral("Start-up trace");
        case RecordOrigin::Kind::Empty:
            return mem + QStringLiteral(" (no record)");
        case RecordOrigin::Kind::File:
            text = QStringLiteral("%1 of %2").arg(mem, QFileInfo(origin.file).fileName());
            break;
        case RecordOrigin::Kind::Instrument:
            text = QStringLiteral("%1 from the instrument %2")
                       .arg(mem, origin.arrived.toString(QStringLiteral("HH:mm")));
            break;
        case RecordOrigin::Kind::Archive:
            text = QStringLiteral("Archive: %1 v%2 (%3)")
                       .arg(mem)
                       .arg(origin.version)
                       .arg(origin.archiveId.left(8));
            break;
    }
    return origin.edited ? text + QStringLiteral(", notes edited") : text;
}

}  // namespace trellicap

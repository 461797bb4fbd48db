#include "shell/files/record_file_drop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace trellicap {

QString droppedRecordFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return {};
    }
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile() ||
        !url.fileName().endsWith(QLatin1String(".dat"), Qt::CaseInsensitive)) {
        return {};
    }
    return url.toLocalFile();
}

RecordFileDrop::RecordFileDrop(QWidget& window, std::function<void(const QString&)> open)
    : QObject(&window), m_open(std::move(open)) {
    window.setAcceptDrops(true);
    window.installEventFilter(this);
}

bool RecordFileDrop::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (droppedRecordFile(drag->mimeData()).isEmpty()) {
                drag->ignore();
            } else {
                drag->acceptProposedAction();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString path = droppedRecordFile(drop->mimeData());
            if (path.isEmpty()) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            // After the drop has finished: the open may ask a question first, and the
            // dragging program should not wait for its answer.
            QMetaObject::invokeMethod(
                this, [this, path] { m_open(path); }, Qt::QueuedConnection);
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace trellicap

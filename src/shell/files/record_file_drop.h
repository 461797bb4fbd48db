// Record files dropped on a window: a drag that carries one local ".dat" file is accepted,
// anything else is refused (the pointer shows it), and the drop hands the path on.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QMimeData;
class QWidget;

namespace trellicap {

// The one local record file the drag carries; empty when it carries anything else.
[[nodiscard]] QString droppedRecordFile(const QMimeData* data);

class RecordFileDrop : public QObject {
    Q_OBJECT
public:
    // Makes `window` take drops; `open` receives the dropped file's path.
    RecordFileDrop(QWidget& window, std::function<void(const QString&)> open);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> m_open;
};

}  // namespace trellicap

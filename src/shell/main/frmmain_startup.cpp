// The main window's start-up: the slot list and the memory table, the archive, the port
// "udc.cfg" names, and the failure path that hands over to the port-selection window.
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <functional>
#include <utility>

#include "display/ui/plot_widget.h"
#include "shell/archive/archive_hooks.h"
#include "shell/main/frmmain.h"
#include "shell/main/plot_panel.h"
#include "shell/main/slot_list_panel.h"

namespace trellicap {

void frmmain::startUp() {
    // The program ends when the operator ends it (quitProgram), never because the last
    // window without an owner closed: a message shown while only the port selection stands
    // would otherwise end the program with its OK.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    m_slots->fill();
    m_session->beginWithoutArchive();
    showNotesTarget();
    if (!m_port->openConfigured()) {
        startArchive();  // no window to paint first: the port selection comes
        message({tr("File Error"),
                 QStringLiteral("Port configuratin file is lost so select apropriate serial "
                                "port which is necessary "),
                 {}});
        hide();
        openPortSelection();
        return;
    }
    m_session->showStartupTrace();
    m_plotPanel->plotWidget()->update();
    startArchiveAfterFirstPaint();
    show();
}

namespace {

// Runs `then` once, after the first paint of the widget it watches (or after `latest` ms
// when the widget never paints, such as a window started minimised).
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget& watched, std::function<void()> then, int latest)
        : QObject(&watched), m_then(std::move(then)) {
        watched.installEventFilter(this);
        QTimer::singleShot(latest, this, &AfterFirstPaint::fire);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, &AfterFirstPaint::fire);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void fire() {
        if (m_then) {
            std::exchange(m_then, nullptr)();
            deleteLater();
        }
    }
    std::function<void()> m_then;
};

constexpr int kArchiveAtTheLatestMs = 1000;

}  // namespace

void frmmain::startArchiveAfterFirstPaint() {
    new AfterFirstPaint(
        *m_plotPanel->plotWidget(), [this] { startArchive(); }, kArchiveAtTheLatestMs);
}

void frmmain::startArchive() {
    m_archive->start();  // once, whoever asks first
}

}  // namespace trellicap

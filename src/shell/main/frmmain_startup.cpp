// The main window's start-up: the slot list and the memory table, the archive, the port
// "udc.cfg" names, and the failure path that hands over to the port-selection window.
#include <QGuiApplication>
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
    m_session->begin();
    showNotesTarget();
    m_archive->start();
    if (!m_port->openConfigured()) {
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
    show();
}

}  // namespace trellicap

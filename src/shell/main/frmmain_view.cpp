// What the main window shows when its session changes: the plot and the panel, the caption
// of where the notes go, the title naming the file, and what the operator types into a header
// box. The slot list and
// the status bar follow the session themselves (SlotListPanel::follow, BatchStatus).
#include <QStatusBar>

#include "display/plot_texts.h"
#include "display/ui/plot_widget.h"
#include "record/profile_text.h"
#include "shell/main/batch_status.h"
#include "shell/main/frmmain.h"
#include "shell/main/notes_draft_status.h"
#include "shell/main/notes_target.h"
#include "shell/main/plot_panel.h"
#include "shell/main/settings_panel.h"
#include "shell/main/slot_list_panel.h"
#include "shell/main/window_title.h"

namespace trellicap {

void frmmain::connectSession() {
    Session* session = m_session.get();
    m_slots->follow(*session);
    connect(session, &Session::requestSent, this,
            [this] { m_plotPanel->plotWidget()->clearRecord(); });
    connect(session, &Session::viewChanged, this, &frmmain::showView);
    connect(session, &Session::recordShownChanged, this, &frmmain::showNotesTarget);
    connect(session, &Session::currentFileChanged, this, &frmmain::updateTitle);
    connect(session, &Session::unsavedChanged, this, &frmmain::updateTitle);
    connect(session, &Session::headerStored, this, [this](int column) {
        statusBar()->showMessage(tr("Header fields stored in Mem %1").arg(column + 1), 4000);
    });
    // What the operator types into a header box is what the record shown prints, and the
    // notes' slot's until stored (the session sets it aside if another record comes first).
    connect(m_plotPanel, &PlotPanel::headerTextChanged, this,
            [this](std::string_view control, const QString& text) {
                m_session->view().setText(control, text);
            });
    connect(m_plotPanel, &PlotPanel::headerTextTyped, this,
            [this](std::string_view control, const QString& text) {
                m_session->noteTyped(control, text);
            });
    connect(session, &Session::notesBroughtBack, this,
            [this](const std::vector<QString>& texts) { m_plotPanel->setHeaderTexts(texts); });
    connect(m_plotPanel, &PlotPanel::headerTextCut, this, [this](const QString& field, int limit) {
        showStatus(tr("%1 holds %2 characters: the text was cut there").arg(field).arg(limit),
                   8000);
    });
    new NotesDraftStatus(*session, *this, *statusBar());
}

void frmmain::showView() {
    const SlotView& view = m_session->view();
    m_panel->showTexts(view.texts());
    m_plotPanel->plotWidget()->showRecord(m_profile, view.capture(),
                                          plotTexts(m_profile, view.texts()));
    m_plotPanel->plotWidget()->update();
}

void frmmain::showNotesTarget() {
    m_plotPanel->setNotesTarget(notesTargetText(m_session->shownslot(), m_session->recordShown()));
    m_plotPanel->setOrigin(originText(m_session->shownOrigin()));
}

void frmmain::updateTitle() {
    const bool unsaved = m_session->unsaved();
    setWindowTitle(windowTitleFor(qs(m_profile.caption), currentFile(), unsaved));
    // Only a title with the placeholder can show the mark (Qt warns otherwise).
    setWindowModified(unsaved && windowTitle().contains(QLatin1String("[*]")));
}

void frmmain::showReference(const ReferenceTrace& reference) {
    m_plotPanel->plotWidget()->setReference(reference);
}

}  // namespace trellicap

// The main window's comparison trace: "Compare with..." from the slot list or under the plot
// opens the choice, fetches the trace from its source and hands it to the plot.
#include <QStatusBar>

#include "display/ui/plot_widget.h"
#include "shell/archive_hooks.h"
#include "shell/archive_reference.h"
#include "shell/compare_dialog.h"
#include "shell/frmmain.h"
#include "shell/plot_panel.h"
#include "shell/reference_sources.h"

namespace trellicap {

void frmmain::openCompare(int column) {
    const CompareArchive archive{
        m_archive ? m_archive->archivePath() : QString(),
        QString::fromLatin1(m_profile.modelKey.data(),
                            static_cast<qsizetype>(m_profile.modelKey.size()))};
    CompareDialog dialog(column, m_options.workingDir, this, archive);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    compareWith(dialog.choice());
}

bool frmmain::compareWith(const CompareChoice& choice) {
    std::variant<ReferenceTrace, UserMessage> fetched;
    if (!choice.uuid.isEmpty()) {
        fetched = referenceFromArchiveFile(m_profile, m_archive->archivePath(), choice.uuid);
    } else if (choice.fromFile) {
        fetched = referenceFromFile(m_profile, choice.path, choice.column);
    } else {
        fetched = referenceFromMemory(store(), choice.column);
    }
    if (const auto* problem = std::get_if<UserMessage>(&fetched)) {
        message(*problem);  // the reference drawn so far stays
        return false;
    }
    showReference(std::get<ReferenceTrace>(fetched));
    return true;
}

void frmmain::showReference(const ReferenceTrace& reference) {
    m_plotPanel->plotWidget()->setReference(reference);
}

}  // namespace trellicap

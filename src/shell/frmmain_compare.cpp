// The main window's comparison trace: "Compare with..." from the slot list or under the plot
// opens the choice, fetches the trace from its source and hands it to the plot.
#include <QStatusBar>

#include "display/ui/plot_widget.h"
#include "shell/compare_dialog.h"
#include "shell/frmmain.h"
#include "shell/plot_panel.h"
#include "shell/reference_sources.h"

namespace trellicap {

void frmmain::openCompare(int column) {
    CompareDialog dialog(column, m_options.workingDir, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    compareWith(dialog.choice());
}

bool frmmain::compareWith(const CompareChoice& choice) {
    if (!choice.fromFile) {
        m_plotPanel->plotWidget()->setReference(referenceFromMemory(m_store, choice.column));
        return true;
    }
    auto fetched = referenceFromFile(m_profile, choice.path, choice.column);
    if (const auto* problem = std::get_if<UserMessage>(&fetched)) {
        message(*problem);
        return false;
    }
    m_plotPanel->plotWidget()->setReference(std::get<ReferenceTrace>(fetched));
    return true;
}

}  // namespace trellicap

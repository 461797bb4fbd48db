// The main window's side commands, each kept by a class of its own (export_commands.h,
// compare_commands.h, team_sync_hooks.h).
#include "display/ui/plot_widget.h"
#include "shell/compare_commands.h"
#include "shell/export_commands.h"
#include "shell/frmmain.h"
#include "shell/plot_panel.h"
#include "shell/team_sync_hooks.h"

namespace trellicap {

void frmmain::openExport(bool pdf) {
    m_exports->open(pdf);
}

void frmmain::runExport(bool pdf, const ExportChoice& choice) {
    m_exports->run(pdf, choice);
}

void frmmain::openCompare(int column) {
    m_compare->open(column);
}

bool frmmain::compareWith(const CompareChoice& choice) {
    return m_compare->compareWith(choice);
}

void frmmain::showReference(const ReferenceTrace& reference) {
    m_plotPanel->plotWidget()->setReference(reference);
}

void frmmain::openTeamServer() {
    m_teamSync->openTeamServer();
}

}  // namespace trellicap

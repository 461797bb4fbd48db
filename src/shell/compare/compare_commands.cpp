#include "shell/compare/compare_commands.h"

#include <variant>

#include "record/profile_text.h"
#include "session/session.h"
#include "shell/common/window_host.h"
#include "shell/compare/archive_reference.h"
#include "shell/compare/compare_dialog.h"
#include "shell/compare/reference_sources.h"

namespace trellicap {

void CompareCommands::open(int column) {
    const CompareArchive archive{m_session.archivePath(), qs(m_session.profile().modelKey)};
    CompareDialog dialog(column, m_host.workingDir(), &m_host.window(), archive);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    compareWith(dialog.choice());
}

bool CompareCommands::compareWith(const CompareChoice& choice) {
    const ModelProfile& profile = m_session.profile();
    std::variant<ReferenceTrace, UserMessage> fetched;
    if (!choice.uuid.isEmpty()) {
        fetched = referenceFromArchiveFile(profile, m_session.archivePath(), choice.uuid);
    } else if (choice.fromFile) {
        fetched = referenceFromFile(profile, choice.path, choice.column);
    } else {
        fetched = referenceFromMemory(m_session.store(), choice.column);
    }
    if (const auto* problem = std::get_if<UserMessage>(&fetched)) {
        m_host.message(*problem);  // the reference drawn so far stays
        return false;
    }
    m_show(std::get<ReferenceTrace>(fetched));
    return true;
}

}  // namespace trellicap

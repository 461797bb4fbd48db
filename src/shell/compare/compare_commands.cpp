#include "shell/compare/compare_commands.h"

#include <variant>

#include "shell/archive/archive_hooks.h"
#include "shell/compare/archive_reference.h"
#include "shell/compare/compare_dialog.h"
#include "shell/compare/reference_sources.h"
#include "shell/main/frmmain.h"

namespace trellicap {

void CompareCommands::open(int column) {
    const ModelProfile& profile = m_window.profile();
    const CompareArchive archive{
        m_window.archive().archivePath(),
        QString::fromLatin1(profile.modelKey.data(),
                            static_cast<qsizetype>(profile.modelKey.size()))};
    CompareDialog dialog(column, m_window.workingDir(), &m_window, archive);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    compareWith(dialog.choice());
}

bool CompareCommands::compareWith(const CompareChoice& choice) {
    const ModelProfile& profile = m_window.profile();
    std::variant<ReferenceTrace, UserMessage> fetched;
    if (!choice.uuid.isEmpty()) {
        fetched = referenceFromArchiveFile(profile, m_window.archive().archivePath(), choice.uuid);
    } else if (choice.fromFile) {
        fetched = referenceFromFile(profile, choice.path, choice.column);
    } else {
        fetched = referenceFromMemory(m_window.store(), choice.column);
    }
    if (const auto* problem = std::get_if<UserMessage>(&fetched)) {
        m_window.message(*problem);  // the reference drawn so far stays
        return false;
    }
    m_window.showReference(std::get<ReferenceTrace>(fetched));
    return true;
}

}  // namespace trellicap

// The boxes and captions that show record texts, found by their control names: the settings
// grid's, the readouts' and the header fields'. The window fills and reads every named text
// through one of these, so a box built anywhere is filled the same way as the grid's.
#pragma once

#include <QString>
#include <map>
#include <string_view>

class QLabel;
class QLineEdit;

namespace trellicap {

class PanelTexts;

class NamedBoxes {
public:
    // A later box under a name already taken replaces the earlier one; a box and a caption
    // may share a name, and then the box is the one filled and read.
    void addBox(std::string_view control, QLineEdit* box);
    void addCaption(std::string_view control, QLabel* caption);

    // Puts each text into the box or caption of that name; names without one are skipped.
    void showTexts(const PanelTexts& texts) const;
    // The text a named box or caption shows; empty for a name that has neither.
    [[nodiscard]] QString text(std::string_view control) const;

private:
    struct Named {
        QLineEdit* box = nullptr;
        QLabel* caption = nullptr;
    };
    // Keyed by QString because the texts arrive with QString names (PanelTexts::entries).
    std::map<QString, Named, std::less<>> m_named;
};

}  // namespace trellicap

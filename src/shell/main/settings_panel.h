// The "Menu Data" panel: the profile's grid of labels and read-only boxes, built from its
// table. It keeps the named boxes that show record texts (the grid's, and the readouts and
// header boxes registered by their builders), so the window fills and reads every named box
// through one place.
#pragma once

#include <QGroupBox>
#include <QString>
#include <string_view>
#include <vector>

#include "profiles/model_profile.h"
#include "shell/main/named_boxes.h"

class QGridLayout;
class QLabel;
class QLineEdit;

namespace trellicap {

class PanelTexts;

class SettingsPanel : public QGroupBox {
    Q_OBJECT
public:
    SettingsPanel(const ModelProfile& profile, QWidget* parent);

    // A box built outside the grid that shows a record text (readouts, header fields).
    void registerBox(std::string_view control, QLineEdit* box);

    // Puts each text into the box or caption of that name; names without one are skipped.
    void showTexts(const PanelTexts& texts);
    // The text a named box or caption shows; empty for a name the window does not have.
    [[nodiscard]] QString text(std::string_view control) const;
    // The grid's boxes in reading order (row by row), for the keyboard's way through them.
    [[nodiscard]] const std::vector<QLineEdit*>& gridBoxes() const { return m_gridBoxes; }

private:
    QWidget* buildCell(const PanelCell& cell, QLabel* label);
    void placeCell(const PanelCell& cell, QLabel* label, QWidget* control);

    NamedBoxes m_boxes;
    std::vector<QLineEdit*> m_gridBoxes;
    QGridLayout* m_grid = nullptr;
};

}  // namespace trellicap

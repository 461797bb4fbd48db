#include "shell/main/settings_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "record/profile_text.h"
#include "shell/main/read_only_look.h"

namespace trellicap {

SettingsPanel::SettingsPanel(const ModelProfile& profile, QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("fraMenuData"));
    auto* outer = new QVBoxLayout(this);
    auto* title = new QLabel(tr("Menu Data"), this);
    title->setObjectName(QStringLiteral("Label2"));
    outer->addWidget(title);
    m_grid = new QGridLayout();
    m_grid->setHorizontalSpacing(6);
    m_grid->setVerticalSpacing(2);
    for (const PanelCell& cell : profile.panelCells) {
        QLabel* label = nullptr;
        if (!cell.labelName.empty()) {
            label = new QLabel(qs(cell.label), this);
            label->setObjectName(qs(cell.labelName));
        }
        placeCell(cell, label, buildCell(cell, label));
    }
    outer->addLayout(m_grid);
    outer->addStretch(1);
}

QWidget* SettingsPanel::buildCell(const PanelCell& cell, QLabel* label) {
    QWidget* control = nullptr;
    if (cell.caption) {
        auto* caption = new QLabel(qs(cell.designText), this);
        // Room for the longest text it shows from the start: a record's shorter or longer
        // line never moves the grid's columns.
        const QFontMetrics metrics = caption->fontMetrics();
        caption->setMinimumWidth(
            std::max(metrics.horizontalAdvance(qs(cell.designText)),
                     metrics.horizontalAdvance(QStringLiteral("Tm: 88:88 Dt:88/88/88"))));
        caption->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        m_boxes.addCaption(cell.control, caption);
        control = caption;
    } else if (!cell.control.empty()) {
        auto* edit = new QLineEdit(qs(cell.designText), this);
        showAsReadOnly(*edit);  // the instrument's settings, not the operator's
        edit->setMinimumWidth(64);
        m_boxes.addBox(cell.control, edit);
        m_gridBoxes.push_back(edit);
        control = edit;
    }
    if (control != nullptr) {
        control->setObjectName(qs(cell.control));
        control->setAccessibleName(qs(cell.accessibleName));
        if (label != nullptr) {
            label->setBuddy(control);
        }
    }
    return control;
}

void SettingsPanel::placeCell(const PanelCell& cell, QLabel* label, QWidget* control) {
    const int gridRow = cell.row * 2;
    if (cell.labelLeft) {
        auto* pair = new QHBoxLayout();
        if (label != nullptr) {
            pair->addWidget(label);
        }
        if (control != nullptr) {
            pair->addWidget(control, 1);
        }
        m_grid->addLayout(pair, gridRow + 1, cell.column, 1, cell.columnSpan);
        return;
    }
    if (label != nullptr) {
        m_grid->addWidget(label, gridRow, cell.column, 1, cell.columnSpan);
    }
    if (control != nullptr) {
        m_grid->addWidget(control, gridRow + 1, cell.column, 1, cell.columnSpan);
    }
}

void SettingsPanel::registerBox(std::string_view control, QLineEdit* box) {
    m_boxes.addBox(control, box);
}

void SettingsPanel::showTexts(const PanelTexts& texts) {
    m_boxes.showTexts(texts);
}

QString SettingsPanel::text(std::string_view control) const {
    return m_boxes.text(control);
}

}  // namespace trellicap

#include "shell/main/named_boxes.h"

#include <QLabel>
#include <QLineEdit>

#include "display/panel_texts.h"
#include "record/profile_text.h"

namespace trellicap {

void NamedBoxes::addBox(std::string_view control, QLineEdit* box) {
    m_named[qs(control)].box = box;
}

void NamedBoxes::addCaption(std::string_view control, QLabel* caption) {
    m_named[qs(control)].caption = caption;
}

void NamedBoxes::showTexts(const PanelTexts& texts) const {
    for (const auto& [control, text] : texts.entries()) {
        const auto it = m_named.find(control);
        if (it == m_named.end()) {
            continue;
        }
        if (it->second.box != nullptr) {
            it->second.box->setText(text);
        } else if (it->second.caption != nullptr) {
            it->second.caption->setText(text);
        }
    }
}

QString NamedBoxes::text(std::string_view control) const {
    const auto it = m_named.find(qs(control));
    if (it == m_named.end()) {
        return {};
    }
    const Named& named = it->second;
    if (named.box != nullptr) {
        return named.box->text();
    }
    return named.caption != nullptr ? named.caption->text() : QString();
}

}  // namespace trellicap

#include "shell/main/typing_limit.h"

#include <QLineEdit>
#include <algorithm>

namespace trellicap {

TypingLimit::TypingLimit(QLineEdit& box, int maxTyped)
    : QValidator(&box), m_box(box), m_maxTyped(maxTyped), m_before(box.text()) {
    // The box asks before it takes an edit, so the text it held last is the one before.
    connect(&box, &QLineEdit::textChanged, this, [this](const QString& text) { m_before = text; });
    box.setValidator(this);
}

QValidator::State TypingLimit::validate(QString& input, int& pos) const {
    // setText resets the box's modified state before it validates: no edit is under way.
    const qsizetype limit = std::max<qsizetype>(m_maxTyped, m_before.size());
    if (!m_box.isModified() || input.size() <= limit) {
        return Acceptable;
    }
    // The edit replaced the middle of the old text: what stands before and after it is kept.
    const qsizetype shorter = std::min(input.size(), m_before.size());
    qsizetype head = 0;
    while (head < shorter && input[head] == m_before[head]) {
        ++head;
    }
    qsizetype tail = 0;
    while (tail < shorter - head &&
           input[input.size() - 1 - tail] == m_before[m_before.size() - 1 - tail]) {
        ++tail;
    }
    const qsizetype room = std::max<qsizetype>(0, limit - head - tail);
    const QString inserted = input.mid(head, input.size() - head - tail);
    if (inserted.size() > room) {
        emit cutShort(static_cast<int>(limit));
    }
    input = input.left(head) + inserted.left(room) + input.right(tail);
    pos = static_cast<int>(head + std::min(room, inserted.size()));
    return Acceptable;
}

}  // namespace trellicap

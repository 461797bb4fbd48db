#include "cli/capture_progress.h"

#include <QStringList>
#include <algorithm>

#include "cli/slot_list.h"

namespace trellicap::cli {

CaptureProgress::CaptureProgress(int slotCount, std::function<void(const QString&)> say)
    : m_count(slotCount), m_say(std::move(say)) {}

QString CaptureProgress::prefix() const {
    return QStringLiteral("slot %1 (%2 of %3): ").arg(m_current).arg(m_index).arg(m_count);
}

void CaptureProgress::closeSlot(const QString& fate) {
    if (m_open) {
        m_say(prefix() + fate);
        m_open = false;
    }
}

void CaptureProgress::requestSent(int slot) {
    if (slot == m_current && m_current != 0) {
        if (m_open) {
            m_say(prefix() + QStringLiteral("no answer, asking again"));
        }
        // Else the slot an unplug cut off, asked for again once the adapter is back: it keeps
        // its place in the count.
        m_open = true;
        return;
    }
    // Moving on from a slot that was not filed: it gave no answer to its retry either.
    closeSlot(QStringLiteral("no answer"));
    m_current = slot;
    ++m_index;
    m_open = true;
}

void CaptureProgress::slotFiled(int column) {
    if (column + 1 == m_current) {
        closeSlot(QStringLiteral("filed"));
    }
}

void CaptureProgress::batchFinished(const BatchResult& result) {
    const bool unanswered = result.unanswered.contains(m_current - 1);
    closeSlot(unanswered ? QStringLiteral("no answer")
                         : QStringLiteral("cut off, the port went away"));
}

std::vector<int> slotsOfColumns(const QList<int>& columns) {
    std::vector<int> numbers;
    for (const int column : columns) {
        numbers.push_back(column + 1);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

QString captureSummary(const BatchResult& result, const QString& savedTo) {
    QList<int> notReached;
    for (const int column : result.requested) {
        if (!result.filed.contains(column) && !result.unanswered.contains(column)) {
            notReached.append(column);
        }
    }
    QStringList parts{QStringLiteral("%1 of %2 slots filed (%3)")
                          .arg(result.filed.size())
                          .arg(result.requested.size())
                          .arg(formatSlotList(slotsOfColumns(result.filed)))};
    if (!result.unanswered.isEmpty()) {
        parts.append(QStringLiteral("no answer from %1")
                         .arg(formatSlotList(slotsOfColumns(result.unanswered))));
    }
    if (!notReached.isEmpty()) {
        parts.append(
            QStringLiteral("not captured %1").arg(formatSlotList(slotsOfColumns(notReached))));
    }
    parts.append(result.releaseSent ? QStringLiteral("release sent")
                                    : QStringLiteral("no release sent"));
    parts.append(savedTo.isEmpty() ? QStringLiteral("nothing saved")
                                   : QStringLiteral("saved to \"%1\"").arg(savedTo));
    return parts.join(QStringLiteral("; ")) + QLatin1Char('.');
}

}  // namespace trellicap::cli

#include "shell/main/slot_list_panel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "profiles/model_profile.h"
#include "record/slot_entries.h"
#include "session/session.h"
#include "shell/main/slot_tip.h"

namespace trellicap {

SlotListPanel::SlotListPanel(QWidget* parent)
    : QWidget(parent), m_lstmem(new QListWidget(this)), m_cmdcapture(new QPushButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(tr("Mem No"), this);
    label->setObjectName(QStringLiteral("Label25"));
    m_lstmem->setObjectName(QStringLiteral("lstmem"));
    m_lstmem->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_lstmem->setFixedWidth(110);
    m_lstmem->setAccessibleName(tr("Memory slots"));
    // Every entry is one line of the same height: the list need not measure 200 rows each
    // time an entry changes.
    m_lstmem->setUniformItemSizes(true);
    label->setBuddy(m_lstmem);
    connect(m_lstmem, &QListWidget::itemDoubleClicked, this, &SlotListPanel::recallRequested);
    m_lstmem->installEventFilter(this);
    m_lstmem->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_lstmem, &QWidget::customContextMenuRequested, this, &SlotListPanel::showEntryMenu);
    m_cmdcapture->setText(tr("Capture"));
    m_cmdcapture->setObjectName(QStringLiteral("cmdcapture"));
    connect(m_cmdcapture, &QPushButton::clicked, this, &SlotListPanel::captureRequested);
    layout->addWidget(label);
    layout->addWidget(m_lstmem, 1);
    layout->addWidget(m_cmdcapture);
}

void SlotListPanel::showEntryMenu(QPoint at) {
    const QModelIndex entry = m_lstmem->indexAt(at);
    if (!entry.isValid()) {
        return;
    }
    QMenu menu(this);
    QAction* compare = menu.addAction(tr("Compare with..."));
    compare->setObjectName(QStringLiteral("mnucompare"));
    connect(compare, &QAction::triggered, this,
            [this, column = entry.row()] { emit compareRequested(column); });
    menu.exec(m_lstmem->viewport()->mapToGlobal(at));
}

void SlotListPanel::fill() {
    setEntries(slotListEntries({}));
}

void SlotListPanel::setEntries(const QStringList& entries) {
    m_lstmem->clear();
    m_lstmem->addItems(entries);
    applyShown();
}

void SlotListPanel::setShown(int column) {
    m_shown = column;
    applyShown();
}

void SlotListPanel::applyShown() {
    for (int i = 0; i < m_lstmem->count(); ++i) {
        QListWidgetItem* item = m_lstmem->item(i);
        QFont font = item->font();
        if (font.bold() != (i == m_shown)) {
            font.setBold(i == m_shown);
            item->setFont(font);
        }
    }
}

void SlotListPanel::setEntryTip(int column, const QString& tip) {
    m_lstmem->item(column)->setToolTip(tip);
}

bool SlotListPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_lstmem && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit recallRequested();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SlotListPanel::mark(int column) {
    // In place: replacing the item would make the list lay out all its rows again.
    QListWidgetItem* item = m_lstmem->item(column);
    item->setText(slotEntryText(column + 1, true));
    item->setSelected(false);
    m_lstmem->scrollToItem(item);  // let the operator see it arrive
}

QList<int> SlotListPanel::selectedColumns() const {
    QList<int> selected;
    for (int i = 0; i < m_lstmem->count(); ++i) {
        if (m_lstmem->item(i)->isSelected()) {
            selected.append(i);
        }
    }
    return selected;
}

std::optional<int> SlotListPanel::firstSelected() const {
    for (int i = 0; i < m_lstmem->count(); ++i) {
        if (m_lstmem->item(i)->isSelected()) {
            return i;
        }
    }
    return std::nullopt;
}

int SlotListPanel::entryCount() const {
    return m_lstmem->count();
}
bool SlotListPanel::isSelected(int column) const {
    return m_lstmem->item(column)->isSelected();
}
QString SlotListPanel::entryText(int column) const {
    return m_lstmem->item(column)->text();
}

void SlotListPanel::follow(Session& session) {
    const auto showTip = [this, &session](int column) {
        if (session.isMarked(column)) {
            setEntryTip(column, slotTip(session.profile(), session.store().column(column)));
        }
    };
    connect(&session, &Session::recordFiled, this, [this, showTip](int column) {
        mark(column);
        showTip(column);
    });
    connect(&session, &Session::marksReplaced, this, [this, &session, showTip] {
        setEntries(slotListEntries(session.marks()));
        for (int column = 0; column < kSlotCount; ++column) {
            showTip(column);
        }
    });
    connect(&session, &Session::headerStored, this, showTip);
    connect(&session, &Session::slotShown, this, &SlotListPanel::setShown);
}

}  // namespace trellicap

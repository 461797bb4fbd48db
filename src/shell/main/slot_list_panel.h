// The slot list ("Mem No") and the Capture button: entry i stands for slot i + 1 and
// memory-table column i; an entry carries the slot mark " *" once its slot holds a record.
#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>
#include <optional>

class QListWidget;
class QPushButton;

namespace trellicap {

class Session;

class SlotListPanel : public QWidget {
    Q_OBJECT
public:
    explicit SlotListPanel(QWidget* parent);

    // "Mem 1" .. "Mem 200", none marked.
    void fill();
    // The entries a load leaves.
    void setEntries(const QStringList& entries);
    // The entry gets the slot mark and ends up unselected, as a new entry would.
    void mark(int column);
    // The entry of the slot shown stands out (bold); its text does not change.
    void setShown(int column);
    // What a marked entry tells when the pointer rests on it.
    void setEntryTip(int column, const QString& tip);
    // From now on the entries show the session's marks, tips and slot shown.
    void follow(Session& session);

    [[nodiscard]] QList<int> selectedColumns() const;
    [[nodiscard]] std::optional<int> firstSelected() const;
    [[nodiscard]] int entryCount() const;
    [[nodiscard]] bool isSelected(int column) const;
    [[nodiscard]] QString entryText(int column) const;

    [[nodiscard]] QListWidget* list() const { return m_lstmem; }
    [[nodiscard]] QPushButton* captureButton() const { return m_cmdcapture; }

signals:
    void recallRequested();
    void captureRequested();
    // "Compare with..." from an entry's context menu: the column of the entry.
    void compareRequested(int column);

protected:
    // Enter on an entry recalls it, as a double-click does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyShown();
    void showEntryMenu(QPoint at);

    int m_shown = 0;
    QListWidget* m_lstmem;
    QPushButton* m_cmdcapture;
};

}  // namespace trellicap

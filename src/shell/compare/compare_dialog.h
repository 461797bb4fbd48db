// "Compare with...": which trace to draw behind the shown one, a slot of the memory table, a
// slot of a record file or an archived record (picked from a short list found by text and
// slot). Hands back a plain choice; the main window fetches the trace.
#pragma once

#include <QDialog>
#include <QTimer>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;

namespace trellicap {

struct CompareChoice {
    bool fromFile = false;
    QString path;    // fromFile: the record file
    int column = 0;  // the slot's memory-table column (slot number - 1)
    QString uuid;    // non-empty: the newest version of this archived record
};

// The archive the dialog lists records from, and the model whose records it lists.
struct CompareArchive {
    QString path;
    QString modelKey;  // "tft", "dac"
};

class CompareDialog : public QDialog {
    Q_OBJECT
public:
    // `column` preselects a slot; `folder` is where "Browse..." starts.
    // `archive` empty: the archive is not offered.
    CompareDialog(int column, QString folder, QWidget* parent, CompareArchive archive = {});

    [[nodiscard]] CompareChoice choice() const;

private:
    void browse();
    void listArchive();

    QString m_folder;
    QRadioButton* m_memory;
    QRadioButton* m_file;
    QLineEdit* m_path;
    QSpinBox* m_slot;
    CompareArchive m_archivePlace;
    QRadioButton* m_archive = nullptr;
    QLineEdit* m_find = nullptr;
    QCheckBox* m_onlySlot = nullptr;
    QListWidget* m_records = nullptr;
    QLabel* m_archiveNote = nullptr;
    QTimer m_typing;
};

}  // namespace trellicap

// "Compare with...": which trace to draw behind the shown one, a slot of the memory table or
// a slot of a record file. Hands back a plain choice; the main window fetches the trace.
#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace trellicap {

struct CompareChoice {
    bool fromFile = false;
    QString path;    // fromFile: the record file
    int column = 0;  // the slot's memory-table column (slot number - 1)
};

class CompareDialog : public QDialog {
    Q_OBJECT
public:
    // `column` preselects a slot; `folder` is where "Browse..." starts.
    CompareDialog(int column, QString folder, QWidget* parent);

    [[nodiscard]] CompareChoice choice() const;

private:
    void browse();

    QString m_folder;
    QRadioButton* m_memory;
    QRadioButton* m_file;
    QLineEdit* m_path;
    QSpinBox* m_slot;
};

}  // namespace trellicap

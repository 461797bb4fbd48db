// The job window's questions about one of its records: the inspector's length and position
// notes, and a result set by hand, which needs its reason and names who decided.
#pragma once

#include <QDialog>
#include <optional>

#include "inspection/job.h"

class QComboBox;
class QLineEdit;

namespace trellicap {

class NotesDialog : public QDialog {
    Q_OBJECT
public:
    NotesDialog(const inspection::JobItem& item, QWidget* parent = nullptr);
    // The length typed (nullopt: none); false in ok when the box holds no number.
    [[nodiscard]] std::optional<double> length(bool* ok) const;
    [[nodiscard]] QString position() const;

private:
    QLineEdit* m_length;
    QLineEdit* m_position;
};

class ResultDialog : public QDialog {
    Q_OBJECT
public:
    // `computed` is what the numbers say; `by` who decides, to start with.
    ResultDialog(const inspection::JobItem& item, std::optional<inspection::Result> computed,
                 const QString& by, QWidget* parent = nullptr);
    // nullopt: back to the computed result.
    [[nodiscard]] std::optional<inspection::Result> result() const;
    [[nodiscard]] QString reason() const;
    [[nodiscard]] QString by() const;

private:
    void check();

    QComboBox* m_result;
    QLineEdit* m_reason;
    QLineEdit* m_by;
    QPushButton* m_ok = nullptr;
};

}  // namespace trellicap

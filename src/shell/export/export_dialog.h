// File > Export PDF... and File > Export CSV...: which slots (Print's three choices) and the
// file to write, and for a PDF whether its pages are lines and text (the default) or the
// printed page's bitmaps. It only asks; the main window runs the export.
#pragma once

#include <QDialog>

#include "report/print_run.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace trellicap {

struct ExportChoice {
    PrintOption option = PrintOption::Current;
    QString path;
    bool vector = true;
};

class ExportDialog : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Pdf, Csv };

    ExportDialog(Kind kind, QWidget* parent = nullptr);

    [[nodiscard]] Kind kind() const { return m_kind; }
    // A file name to start from (the record file's name with the export's suffix).
    void setSuggestedPath(const QString& path);
    [[nodiscard]] ExportChoice choice() const;

signals:
    void exportRequested(const trellicap::ExportChoice& choice);

private:
    void browse();
    void confirm();
    [[nodiscard]] QString suffix() const;

    Kind m_kind;
    QRadioButton* m_opsingle;
    QRadioButton* m_opselect;
    QRadioButton* m_opall;
    QLineEdit* m_file;
    QCheckBox* m_vector = nullptr;
};

}  // namespace trellicap

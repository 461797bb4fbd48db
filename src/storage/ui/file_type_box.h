// The open window's file-type box: "*.dat", "*.txt" or "All Files(*.*)", or a pattern typed
// in. Enter in the box only takes the typed pattern: it is where the operator narrows the
// file list, so it must not also press the window's "Ok" and load whatever Text1 holds.
#pragma once

#include <QComboBox>

namespace trellicap {

class FileTypeBox : public QComboBox {
    Q_OBJECT
public:
    explicit FileTypeBox(QWidget* parent = nullptr);

    // The pattern of the entry shown at first.
    [[nodiscard]] static QString firstPattern();

signals:
    // An entry was chosen or a pattern typed: the file list shows what matches it.
    void patternChosen(const QString& pattern);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace trellicap

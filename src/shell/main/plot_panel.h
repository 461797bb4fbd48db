// The middle column of the main window: the "A  Scan" plot in its sunken border, the cursor
// and gate-peak readings with the comparison buttons under it, the three readouts below and the
// report header fields with "S  A  V  E". The readout and header boxes are registered with the
// settings panel, which fills them with the record's texts.
#pragma once

#include <QWidget>
#include <string_view>
#include <vector>

#include "profiles/model_profile.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace trellicap {

class Canvas;
class PlotWidget;
class SettingsPanel;

class PlotPanel : public QWidget {
    Q_OBJECT
public:
    PlotPanel(const ModelProfile& profile, Canvas& plot, SettingsPanel& boxes, QWidget* parent);

    [[nodiscard]] PlotWidget* plotWidget() const { return m_picascan; }
    [[nodiscard]] QPushButton* saveButton() const { return m_cmdtxtsav; }
    // The header boxes' texts, in the profile's field order.
    [[nodiscard]] std::vector<QString> headerTexts() const;
    // Puts texts into the header boxes, in the profile's field order.
    void setHeaderTexts(const std::vector<QString>& texts);
    // The keyboard's way through the column: header boxes, "S  A  V  E", then the readouts.
    [[nodiscard]] std::vector<QWidget*> tabOrder() const;
    // The caption beside "S  A  V  E": where the notes go.
    void setNotesTarget(const QString& text);
    // Where the record shown came from ("Mem 20 of shift-1.dat").
    void setOrigin(const QString& text);

signals:
    void saveHeaderRequested();
    // A header box's text changed (typed, or shown from a record).
    void headerTextChanged(std::string_view control, const QString& text);
    // The operator typed into a header box (not a text the program put there).
    void headerTextTyped(std::string_view control, const QString& text);
    // What was typed or pasted into the box named `field` was cut at its `limit` characters.
    void headerTextCut(const QString& field, int limit);
    // "Compare with..." under the plot.
    void compareRequested();

private:
    QWidget* buildPlotArea(Canvas& plot);
    // The cursor readout, the gate peaks and the comparison buttons under the plot.
    void addPlotReadings();
    void showPlotReadings();
    void addReadouts(const ModelProfile& profile, SettingsPanel& boxes);
    void addHeaderFields(const ModelProfile& profile, SettingsPanel& boxes);

    PlotWidget* m_picascan = nullptr;
    QLabel* m_lblorigin = nullptr;
    QLabel* m_lblcursor = nullptr;
    QLabel* m_lblpeak = nullptr;
    QPushButton* m_cmdcompare = nullptr;
    QPushButton* m_cmdclearref = nullptr;
    QPushButton* m_cmdtxtsav = nullptr;
    QLabel* m_notesTarget = nullptr;
    std::vector<QLineEdit*> m_headerBoxes;
    std::vector<QLineEdit*> m_readoutBoxes;
};

}  // namespace trellicap

#include "shell/plot_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "display/canvas.h"
#include "display/ui/canvas_widget.h"
#include "shell/plot_area.h"
#include "shell/read_only_look.h"
#include "shell/settings_panel.h"
#include "shell/texts.h"
#include "shell/typing_limit.h"

namespace trellicap {

PlotPanel::PlotPanel(const ModelProfile& profile, Canvas& plot, SettingsPanel& boxes,
                     QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(tr("A  Scan"), this);
    label->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(label);
    // The DAC model's plot sits lower in its window than right under the label.
    const int drop = profile.canvasTopTwips - profile.plotLabelBottomTwips;
    layout->addSpacing(static_cast<int>(std::lround(drop * kPixelsPerTwip)));
    layout->addWidget(buildPlotArea(plot), 1);
    addReadouts(profile, boxes);
    addHeaderFields(profile, boxes);
}

QWidget* PlotPanel::buildPlotArea(Canvas& plot) {
    auto* area = new PlotArea(plot, this);
    m_picascan = area->plotWidget();
    return area;
}

void PlotPanel::addReadouts(const ModelProfile& profile, SettingsPanel& boxes) {
    auto* readouts = new QGridLayout();
    int col = 0;
    for (const Readout& readout : profile.readouts) {
        auto* l = new QLabel(qs(readout.label), this);
        l->setObjectName(qs(readout.labelName));
        auto* box = new QLineEdit(this);
        box->setObjectName(qs(readout.control));
        showAsReadOnly(*box);
        box->setAccessibleName(qs(readout.label));
        l->setBuddy(box);
        boxes.registerBox(readout.control, box);
        m_readoutBoxes.push_back(box);
        readouts->addWidget(l, 0, col);
        readouts->addWidget(box, 1, col);
        ++col;
    }
    static_cast<QVBoxLayout*>(layout())->addLayout(readouts);
}

void PlotPanel::addHeaderFields(const ModelProfile& profile, SettingsPanel& boxes) {
    auto* header = new QGridLayout();
    int row = 0;
    for (const HeaderField& field : profile.headerFields) {
        auto* l = new QLabel(qs(field.label), this);
        l->setObjectName(qs(field.labelName));
        auto* box = new QLineEdit(this);
        box->setObjectName(qs(field.control));
        new TypingLimit(*box, field.maxChars);
        box->setAccessibleName(qs(field.label).remove(QLatin1Char('.')).trimmed());
        l->setBuddy(box);
        boxes.registerBox(field.control, box);
        // Enter in a header box stores the fields, as "S  A  V  E" does.
        connect(box, &QLineEdit::returnPressed, this, &PlotPanel::saveHeaderRequested);
        m_headerBoxes.push_back(box);
        header->addWidget(l, row, 0);
        header->addWidget(box, row, 1);
        ++row;
    }
    m_cmdtxtsav = new QPushButton(tr("S  A  V  E"), this);
    m_cmdtxtsav->setObjectName(QStringLiteral("cmdtxtsav"));
    m_cmdtxtsav->setAccessibleName(tr("Save report header fields"));
    connect(m_cmdtxtsav, &QPushButton::clicked, this, &PlotPanel::saveHeaderRequested);
    // The caption shares the button's row, so the boxes above keep their places.
    m_notesTarget = new QLabel(this);
    m_notesTarget->setObjectName(QStringLiteral("lblnotestarget"));
    m_notesTarget->setWordWrap(true);
    // Room for both lines from the start: the window keeps its layout when the text grows.
    m_notesTarget->setMinimumHeight(2 * m_notesTarget->fontMetrics().lineSpacing());
    auto* saveRow = new QHBoxLayout();
    saveRow->addWidget(m_notesTarget, 1);
    saveRow->addWidget(m_cmdtxtsav, 0, Qt::AlignRight | Qt::AlignTop);
    header->addLayout(saveRow, row, 0, 1, 2);
    static_cast<QVBoxLayout*>(layout())->addLayout(header);
}

void PlotPanel::setNotesTarget(const QString& text) {
    m_notesTarget->setText(text);
    m_cmdtxtsav->setToolTip(text);
}

std::vector<QWidget*> PlotPanel::tabOrder() const {
    std::vector<QWidget*> order(m_headerBoxes.begin(), m_headerBoxes.end());
    order.push_back(m_cmdtxtsav);
    order.insert(order.end(), m_readoutBoxes.begin(), m_readoutBoxes.end());
    return order;
}

std::vector<QString> PlotPanel::headerTexts() const {
    std::vector<QString> texts;
    for (const QLineEdit* box : m_headerBoxes) {
        texts.push_back(box->text());
    }
    return texts;
}

}  // namespace trellicap

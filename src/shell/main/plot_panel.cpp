#include "shell/main/plot_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "display/canvas.h"
#include "display/ui/plot_widget.h"
#include "record/profile_text.h"
#include "shell/main/plot_area.h"
#include "shell/main/read_only_look.h"
#include "shell/main/settings_panel.h"
#include "shell/main/typing_limit.h"

namespace trellicap {

PlotPanel::PlotPanel(const ModelProfile& profile, Canvas& plot, SettingsPanel& boxes,
                     QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(tr("A  Scan"), this);
    label->setObjectName(QStringLiteral("Label1"));
    // Where the record shown came from, across from the plot's title.
    m_lblorigin = new QLabel(this);
    m_lblorigin->setObjectName(QStringLiteral("lblorigin"));
    m_lblorigin->setAccessibleName(tr("Record shown"));
    m_lblorigin->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblorigin->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* title = new QHBoxLayout();
    title->addWidget(label);
    title->addWidget(m_lblorigin, 1);
    layout->addLayout(title);
    // The DAC model's plot sits lower in its window than right under the label.
    const int drop = profile.canvasTopTwips - profile.plotLabelBottomTwips;
    layout->addSpacing(static_cast<int>(std::lround(drop * kPixelsPerTwip)));
    layout->addWidget(buildPlotArea(plot), 1);
    addPlotReadings();
    addReadouts(profile, boxes);
    addHeaderFields(profile, boxes);
}

QWidget* PlotPanel::buildPlotArea(Canvas& plot) {
    auto* area = new PlotArea(plot, this);
    m_picascan = area->plotWidget();
    return area;
}

void PlotPanel::setOrigin(const QString& text) {
    m_lblorigin->setText(text);
    m_lblorigin->setToolTip(tr("The record shown: %1").arg(text));
}

void PlotPanel::addPlotReadings() {
    auto* row = new QHBoxLayout();
    m_lblcursor = new QLabel(this);
    m_lblcursor->setObjectName(QStringLiteral("lblcursor"));
    m_lblcursor->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblpeak = new QLabel(this);
    m_lblpeak->setObjectName(QStringLiteral("lblpeak"));
    m_lblpeak->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_cmdcompare = new QPushButton(tr("Compare with..."), this);
    m_cmdcompare->setObjectName(QStringLiteral("cmdcompare"));
    m_cmdclearref = new QPushButton(tr("Clear comparison"), this);
    m_cmdclearref->setObjectName(QStringLiteral("cmdclearref"));
    auto* texts = new QVBoxLayout();
    texts->addWidget(m_lblcursor);
    texts->addWidget(m_lblpeak);
    row->addLayout(texts, 1);
    row->addWidget(m_cmdcompare, 0, Qt::AlignTop);
    row->addWidget(m_cmdclearref, 0, Qt::AlignTop);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    connect(m_cmdcompare, &QPushButton::clicked, this, &PlotPanel::compareRequested);
    connect(m_cmdclearref, &QPushButton::clicked, m_picascan, &PlotWidget::clearReference);
    connect(m_picascan, &PlotWidget::viewChanged, this, &PlotPanel::showPlotReadings);
    showPlotReadings();
}

void PlotPanel::showPlotReadings() {
    const PlotView& view = m_picascan->view();
    const QString cursor = view.cursorText();
    m_lblcursor->setText(cursor);
    // Screen readers read the readout itself, and say it is empty when no cursor is set.
    m_lblcursor->setAccessibleName(cursor);
    m_lblpeak->setText(view.peakText());
    m_lblpeak->setAccessibleName(view.peakText());
    m_cmdclearref->setEnabled(view.reference().has_value());
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
        auto* limit = new TypingLimit(*box, field.maxChars);
        const QString name = qs(field.label).remove(QLatin1Char('.')).trimmed();
        box->setAccessibleName(name);
        box->setToolTip(tr("%1: up to %n characters", nullptr, field.maxChars).arg(name));
        connect(limit, &TypingLimit::cutShort, this,
                [this, name](int chars) { emit headerTextCut(name, chars); });
        connect(box, &QLineEdit::textEdited, this,
                [this, control = field.control](const QString& text) {
                    emit headerTextTyped(control, text);
                });
        l->setBuddy(box);
        boxes.registerBox(field.control, box);
        // Enter in a header box stores the fields, as "S  A  V  E" does.
        connect(box, &QLineEdit::returnPressed, this, &PlotPanel::saveHeaderRequested);
        connect(box, &QLineEdit::textChanged, this,
                [this, control = field.control](const QString& text) {
                    emit headerTextChanged(control, text);
                });
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
    // The plot and its buttons after the boxes: the keyboard reaches the cursors last.
    order.insert(order.end(), {m_picascan, m_cmdcompare, m_cmdclearref});
    return order;
}

void PlotPanel::setHeaderTexts(const std::vector<QString>& texts) {
    for (std::size_t i = 0; i < texts.size() && i < m_headerBoxes.size(); ++i) {
        m_headerBoxes[i]->setText(texts[i]);
    }
}

std::vector<QString> PlotPanel::headerTexts() const {
    std::vector<QString> texts;
    for (const QLineEdit* box : m_headerBoxes) {
        texts.push_back(box->text());
    }
    return texts;
}

}  // namespace trellicap

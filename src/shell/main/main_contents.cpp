#include "shell/main/main_contents.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollArea>
#include <vector>

#include "shell/main/plot_panel.h"
#include "shell/main/settings_panel.h"
#include "shell/main/slot_list_panel.h"

namespace trellicap {

namespace {

void setTabOrder(const MainContents& contents) {
    std::vector<QWidget*> order{contents.slotList->list(), contents.slotList->captureButton()};
    const std::vector<QWidget*> plotColumn = contents.plotColumn->tabOrder();
    order.insert(order.end(), plotColumn.begin(), plotColumn.end());
    const auto& grid = contents.panel->gridBoxes();
    order.insert(order.end(), grid.begin(), grid.end());
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

}  // namespace

MainContents buildMainContents(QMainWindow& window, const ModelProfile& profile, Canvas& plot) {
    MainContents contents;
    auto* central = contents.widget = new QWidget(&window);
    auto* row = new QHBoxLayout(central);
    contents.slotList = new SlotListPanel(central);
    contents.panel = new SettingsPanel(profile, central);
    contents.plotColumn = new PlotPanel(profile, plot, *contents.panel, central);
    // Room beyond the first size goes to the plot before the read-only settings boxes.
    row->addWidget(contents.slotList);
    row->addWidget(contents.plotColumn, 1);
    // The settings boxes keep their natural height at the top; the room below them is the
    // window's, not a blank half of the panel.
    row->addWidget(contents.panel, 0, Qt::AlignTop);
    // On a small screen (or at a large scaling) the window still fits: it scrolls.
    auto* scroll = new QScrollArea(&window);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(central);
    window.setCentralWidget(scroll);
    setTabOrder(contents);
    return contents;
}

}  // namespace trellicap

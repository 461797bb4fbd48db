// Filing a slot marks its list entry. Marking in place (setText) against the old way of
// replacing the entry (take, insert), which made the list lay out all 200 rows again; both
// in the same run, each followed by the event processing the window would do.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>

#include "qt_bench_main.h"
#include "record/slot_entries.h"
#include "shell/main/slot_list_panel.h"

namespace trellicap {
namespace {

// What the event loop does after a filing: the list's own updates, layout and paint.
void settle(QListWidget&) {
    QCoreApplication::processEvents();
}

void BM_MarkEntryInPlace(benchmark::State& state) {
    SlotListPanel panel(nullptr);
    panel.fill();
    panel.resize(120, 600);
    panel.show();
    settle(*panel.list());
    int column = 0;
    for (auto _ : state) {
        panel.mark(column);
        settle(*panel.list());
        column = (column + 1) % 200;
    }
}
BENCHMARK(BM_MarkEntryInPlace)->Unit(benchmark::kMicrosecond)->Iterations(200);

// The way entries were marked before: a new item replaces the old one.
void BM_MarkEntryByReplacingIt(benchmark::State& state) {
    QListWidget list;
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    list.addItems(slotListEntries({}));
    list.resize(110, 600);
    list.show();
    settle(list);
    int column = 0;
    for (auto _ : state) {
        delete list.takeItem(column);
        list.insertItem(column, slotEntryText(column + 1, true));
        list.scrollToItem(list.item(column));
        settle(list);
        column = (column + 1) % 200;
    }
}
BENCHMARK(BM_MarkEntryByReplacingIt)->Unit(benchmark::kMicrosecond)->Iterations(200);

}  // namespace
}  // namespace trellicap

int main(int argc, char** argv) {
    return trellicap::bench::runQtBenchmarks<QApplication>(argc, argv);
}

// Report printing into PDF: one page composed and written (four canvases, four scratch
// bitmaps, one PDF job), a print run over all 200 marked slots, and 200 slots into one
// document as vector pages beside the same pages as 300-dpi bitmaps.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <QBuffer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "display/ascan_plot.h"
#include "display/canvas.h"
#include "display/panel_texts.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "qt_bench_main.h"
#include "record/record_store.h"
#include "record/slot_entries.h"
#include "report/pdf_document_sink.h"
#include "report/print_run.h"
#include "report/report_composer.h"
#include "report/slot_view.h"
#include "report/vector_report_document.h"
#include "support/pdf_page_sink.h"

namespace trellicap {
namespace {

const ModelProfile& profileOf(const benchmark::State& state) {
    return state.range(0) == 0 ? tft::kProfile : dac::kProfile;
}

// A main window reduced to what printing touches: the record store, the plot canvas and
// the panel texts, redrawn on every recall.
class BenchWindow : public ReportSource, public PrintRunHost {
public:
    BenchWindow(const ModelProfile& profile, const QString& dir, int dpi)
        : m_profile(profile),
          m_store(profile),
          m_plot(5205, 4665, Canvas::Unit::Point),
          m_dir(dir),
          m_sink(dir + QStringLiteral("/report-%1.pdf"), dpi) {
        m_store.initMemoryTable();
        m_store.loadStartupTrace();
        for (int col = 0; col < kSlotCount; ++col) {
            m_store.fileRequestedFrame(col);
        }
        redraw();
    }

    [[nodiscard]] QImage plotImage(double dpi) const override { return m_plot.image(dpi); }
    [[nodiscard]] QString controlText(std::string_view control) const override {
        return m_texts.text(control);
    }

    [[nodiscard]] int entryCount() const override { return kSlotCount; }
    [[nodiscard]] bool isSelected(int) const override { return false; }
    [[nodiscard]] QString entryText(int entry) const override {
        return slotEntryText(entry + 1, true);
    }
    bool prepareRun() override { return m_sink.ready(); }
    bool prepareScratchFolder() override { return true; }  // a fresh temporary folder
    void showSlot(int entry) override {
        m_store.recallSlot(entry);
        redraw();
    }
    void printReport() override {
        print_report(m_profile, *this, m_sink, m_dir, [] {});
    }
    void reportFailure() override {}

    [[nodiscard]] qsizetype pages() const { return m_sink.files().size(); }

private:
    void redraw() {
        displayPattern(m_plot, m_store.capture());
        m_texts = buildPanelTexts(m_profile, m_store.capture());
    }

    const ModelProfile& m_profile;
    RecordStore m_store;
    Canvas m_plot;
    PanelTexts m_texts;
    QString m_dir;
    PdfPageSink m_sink;
};

// The process's peak resident memory so far, in MB.
double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Arguments: model (0 TFT, 1 DAC), page resolution in dpi. Run from low to high resolution,
// the peak memory counter shows what the largest report needs.
void BM_ComposeOnePageIntoPdf(benchmark::State& state) {
    QTemporaryDir dir;
    BenchWindow window(profileOf(state), dir.path(), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        window.printReport();
    }
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_ComposeOnePageIntoPdf)
    ->ArgsProduct({{0, 1}, {96, 300, 600}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_PrintAll200SlotsIntoPdf(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        BenchWindow window(profileOf(state), dir.path(), static_cast<int>(state.range(1)));
        state.ResumeTiming();
        runPrint(PrintOption::All, window);
        state.PauseTiming();
        if (window.pages() != kSlotCount) {
            state.SkipWithError("not every slot was printed");
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PrintAll200SlotsIntoPdf)
    ->ArgsProduct({{0, 1}, {96, 300}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// 200 slots, each with a trace of its own (a pulse and echoes that move with the slot), a
// full settings area and header fields: what a shift's file holds.
RecordStore shiftOf200Slots(const ModelProfile& profile) {
    RecordStore store(profile);
    store.initMemoryTable();
    for (int col = 0; col < kSlotCount; ++col) {
        auto c = store.column(col);
        for (int i = 1; i < 251; ++i) {
            const int echo = (i + col) % 40;
            c[static_cast<std::size_t>(i)] =
                static_cast<RecordValue>(echo < 6 ? 90 - 12 * echo + col % 9 : (i * 7 + col) % 11);
        }
        const QByteArray digits = QByteArray::number(col + 1).rightJustified(3, '0');
        for (int i = 0; i < 3; ++i) {
            c[static_cast<std::size_t>(kMemoryNumberFirst + i)] = digits[i];
        }
    }
    return store;
}

// The window's Export PDF and trellicap-cli pdf --vector: 200 pages of lines and text in one
// PDF/A document. Counter KB_per_page: the document's size over its pages.
void BM_VectorPdfOf200Slots(benchmark::State& state) {
    RecordStore store = shiftOf200Slots(profileOf(state));
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        VectorReportDocument document(buffer, QStringLiteral("shift.dat, Mem 1-200"));
        SlotView shown(store);
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            shown.recall(slot - 1);
            document.addPage(store.profile(), shown, shown.plot());
        }
        if (!document.finish() || document.pages() != kSlotCount) {
            state.SkipWithError("the document is not complete");
        }
        bytes = buffer.size();
    }
    state.counters["KB_per_page"] = static_cast<double>(bytes) / kSlotCount / 1024.0;
}
BENCHMARK(BM_VectorPdfOf200Slots)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);

// The same 200 pages as the printed page's bitmaps at 300 dpi in one document (trellicap-cli
// pdf, Export PDF with "Text and lines" unchecked): the figures the vector pages stand beside.
void BM_BitmapPdfOf200SlotsAt300Dpi(benchmark::State& state) {
    RecordStore store = shiftOf200Slots(profileOf(state));
    QTemporaryDir scratch;
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        PdfDocumentSink sink(buffer, 300);
        SlotView shown(store);
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            shown.recall(slot - 1);
            print_report(store.profile(), shown, sink, scratch.path(), [] {});
        }
        if (!sink.finish() || sink.pages() != kSlotCount) {
            state.SkipWithError("the document is not complete");
        }
        bytes = buffer.size();
    }
    state.counters["KB_per_page"] = static_cast<double>(bytes) / kSlotCount / 1024.0;
}
BENCHMARK(BM_BitmapPdfOf200SlotsAt300Dpi)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace trellicap

int main(int argc, char** argv) {
    return trellicap::bench::runQtBenchmarks<QGuiApplication>(argc, argv);
}

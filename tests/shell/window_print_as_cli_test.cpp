// The page the window prints of the record it shows is the page trellicap-cli pdf makes of the
// same slot of the same record file. The window prints to a PDF file the way an operator
// would choose one in the printer setup; both documents are rendered at one resolution and
// compared pixel for pixel, so a difference in any text or in the plot shows.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

#include "cli/crafted_files.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "report/page_placement.h"
#include "report/ui/printer_setup.h"
#include "support/report_fixture.h"
#include "support/window_on_pty.h"

namespace trellicap {
namespace {

// Half the composing resolution: every rendered pixel is the average of four composed ones,
// so a change of one composed pixel still shows, and an A4 page stays within what QImage
// reads (a 600-dpi page is over its 128 MB limit).
constexpr int kRenderDpi = 300;

class WindowPrintAsCli : public testing::WindowOnPty {
protected:
    [[nodiscard]] QString dir(const QString& name) const { return m_dir.filePath(name); }

    // The crafted record file of the model under test and its two marked slots.
    [[nodiscard]] QString craftedFile() const {
        return GetParam() == &tft::kProfile ? testing::writeTftFile(QDir(m_dir.path()))
                                            : testing::writeDacFile(QDir(m_dir.path()));
    }
    [[nodiscard]] std::vector<int> markedSlots() const {
        return GetParam() == &tft::kProfile ? std::vector<int>{3, 7} : std::vector<int>{2, 150};
    }

    // A double-click on the slot's entry, as the operator recalls a record.
    static void recall(frmmain& w, int slot) {
        QListWidget* list = w.slotList();
        list->clearSelection();
        list->item(slot - 1)->setSelected(true);
        w.lstmem_DblClick();
        ASSERT_EQ(w.shownslot(), slot - 1);
    }

    // File > Print with "Currently Displayed Ascan Report", the printer set up to write an A4
    // PDF file; the page rendered.
    QImage printedByWindow(frmmain& w, const QString& name) {
        QPrinter& printer = w.printerSetup().printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFileName(dir(name));
        m_composeDpi = qRound(composeDpi(printer.resolution()));

        w.openPrintOptions();
        auto* options = w.findChild<QWidget*>(QStringLiteral("frmprintop"));
        EXPECT_NE(options, nullptr);
        if (options == nullptr) {
            return {};
        }
        EXPECT_TRUE(options->findChild<QRadioButton*>(QStringLiteral("opsingle"))->isChecked());
        options->findChild<QPushButton*>(QStringLiteral("cmdprint"))->click();
        EXPECT_TRUE(m_messages.empty()) << m_messages.front().text.toStdString();
        EXPECT_EQ(test::pdfPageCount(dir(name)), 1);
        return test::renderPdfPage(dir(name), kRenderDpi, m_dir.path());
    }

    // trellicap-cli pdf of one slot, composed at the resolution the window composed at.
    QImage printedByCli(const QString& file, int slot, const QString& name) {
        const auto run =
            testing::runCli({QStringLiteral("pdf"), file, QStringLiteral("--slots"),
                             QString::number(slot), QStringLiteral("--dpi"),
                             QString::number(m_composeDpi), QStringLiteral("-o"), dir(name)});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(test::pdfPageCount(dir(name)), 1);
        return test::renderPdfPage(dir(name), kRenderDpi, m_dir.path());
    }

    // Both pages there and alike, and not alike by being empty: the heading, the plot's
    // trace and the note block have ink.
    static void expectSamePage(const QImage& window, const QImage& cli, int slot) {
        ASSERT_FALSE(window.isNull()) << "slot " << slot << ": no page from the window";
        ASSERT_FALSE(cli.isNull()) << "slot " << slot << ": no page from trellicap-cli";
        ASSERT_EQ(window.size(), cli.size()) << "slot " << slot;
        EXPECT_GT(test::countDark(window, QRect(0, 0, window.width(), window.height() / 2)), 1000)
            << "slot " << slot;
        EXPECT_TRUE(window == cli)
            << "slot " << slot << ": " << differingPixels(window, cli) << " pixels differ";
    }

    static int differingPixels(const QImage& a, const QImage& b) {
        const QImage left = a.convertToFormat(QImage::Format_RGB32);
        const QImage right = b.convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int y = 0; y < left.height(); ++y) {
            for (int x = 0; x < left.width(); ++x) {
                count += left.pixel(x, y) != right.pixel(x, y) ? 1 : 0;
            }
        }
        return count;
    }

    int m_composeDpi = 0;
};

TEST_P(WindowPrintAsCli, aRecalledSlotPrintsAsTheToolPrintsIt) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    const QString file = craftedFile();
    auto w = start();
    w->loadFromFile(file);
    ASSERT_TRUE(m_messages.empty()) << m_messages.front().text.toStdString();
    for (const int slot : markedSlots()) {
        recall(*w, slot);
        const QString stem = QStringLiteral("slot-%1").arg(slot);
        const QImage window = printedByWindow(*w, stem + QStringLiteral("-window.pdf"));
        const QImage cli = printedByCli(file, slot, stem + QStringLiteral("-cli.pdf"));
        expectSamePage(window, cli, slot);
    }
}

TEST_P(WindowPrintAsCli, headerTextsStoredBySavePrintAsTheToolPrintsThemFromTheFile) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    const ModelProfile& profile = *GetParam();
    auto w = start();
    w->loadFromFile(craftedFile());
    const int slot = markedSlots().back();  // a record whose header is (nearly) blank
    recall(*w, slot);

    // Texts an operator types: a Windows-1252 letter, punctuation, a field filled to its
    // limit, one left empty.
    const QStringList typed{QString::fromUtf8("\u00c5. Tester-\u00e9"), QString(),
                            QStringLiteral("No. 42/7, \"B\""), QStringLiteral("Edge")};
    for (std::size_t f = 0; f < profile.headerFields.size(); ++f) {
        const HeaderField& field = profile.headerFields[f];
        auto* box = w->findChild<QLineEdit*>(QString::fromLatin1(field.control));
        ASSERT_NE(box, nullptr) << field.control;
        QString text = typed.value(static_cast<qsizetype>(f));
        if (f + 1 == profile.headerFields.size()) {
            text = text.leftJustified(field.maxChars, QLatin1Char('x'));
        }
        box->setText(text);
        ASSERT_EQ(box->text(), text) << field.control;
    }
    w->findChild<QPushButton*>(QStringLiteral("cmdtxtsav"))->click();
    const QString stored = dir(QStringLiteral("stored.dat"));
    ASSERT_TRUE(w->saveToFile(stored));

    const QImage window = printedByWindow(*w, QStringLiteral("typed-window.pdf"));
    const QImage cli = printedByCli(stored, slot, QStringLiteral("typed-cli.pdf"));
    expectSamePage(window, cli, slot);

    // The comparison sees one letter typed after the store.
    auto* opname = w->findChild<QLineEdit*>(QStringLiteral("txtopname"));
    opname->setText(opname->text().replace(0, 1, QLatin1Char('B')));
    const QImage retyped = printedByWindow(*w, QStringLiteral("retyped-window.pdf"));
    ASSERT_FALSE(retyped.isNull());
    ASSERT_EQ(retyped.size(), cli.size());
    EXPECT_GT(differingPixels(retyped, cli), 0);
}

INSTANTIATE_TEST_SUITE_P(Models, WindowPrintAsCli,
                         ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

}  // namespace
}  // namespace trellicap

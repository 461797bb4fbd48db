// The main window as a desktop program: where its windows open, the keyboard, and what the
// status bar and the slot list tell about the port, the batch and unsaved records.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "link/instrument_link.h"
#include "link/wire_frames.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "report/ui/printer_setup.h"
#include "shell/common/window_placement.h"
#include "shell/main/frmmain.h"
#include "shell/main/slot_list_panel.h"
#include "shell/main/status_fields.h"
#include "storage/ui/folder_list.h"
#include "support/fake_serial_port.h"
#include "support/wait.h"

namespace trellicap {
namespace {

using testing::FakeSerialPort;
using testing::frameWithMemoryNumber;
using testing::waitUntil;

constexpr auto kDevice = "/dev/ttyFAKE0";

class DesktopManners : public ::testing::Test {
protected:
    // A window on a scripted port that answers requests for the slots in `answered`.
    void start(const ModelProfile& profile = tft::kProfile) {
        writeConfig(QByteArray(kDevice) + "\r\n");
        auto port = std::make_unique<FakeSerialPort>();
        m_port = port.get();
        m_port->onWrite = [this, &profile](const QByteArray& bytes) {
            if (bytes.size() == 110 && bytes[0] == 'R' && bytes[22] == 'A') {
                const int slot = (bytes[44] - '0') * 100 + (bytes[66] - '0') * 10 + bytes[88] - '0';
                if (answered.contains(slot)) {
                    m_port->injectLater(frameWithMemoryNumber(profile, "001"));
                }
            }
        };
        frmmain::Options options;
        options.workingDir = m_dir.path();
        options.waitTimerMs = 30;
        options.messenger = [this](QWidget*, const UserMessage& m) { messages.push_back(m); };
        w = std::make_unique<frmmain>(profile, std::move(port), options);
        w->resize(w->sizeHint());
        w->startUp();
    }
    void writeConfig(const QByteArray& content) {
        QFile file(m_dir.filePath(QStringLiteral("udc.cfg")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QByteArray readConfig() {
        QFile file(m_dir.filePath(QStringLiteral("udc.cfg")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    template <typename T = QWidget>
    T* child(const char* name) {
        return w->findChild<T*>(QString::fromLatin1(name));
    }
    QString statusField(const char* name) { return child<QLabel>(name)->text(); }
    void capture(const QList<int>& columns) {
        w->slotList()->clearSelection();
        for (int c : columns) {
            w->slotList()->item(c)->setSelected(true);
        }
        w->cmdcapture_Click();
        ASSERT_TRUE(waitUntil([this] { return !w->session().link().isBusy(); }, 5000));
    }

    QTemporaryDir m_dir;
    FakeSerialPort* m_port = nullptr;
    std::unique_ptr<frmmain> w;
    QList<int> answered;
    std::vector<UserMessage> messages;
};

TEST_F(DesktopManners, SecondaryWindowsOpenCentredOverTheMainWindowAndOnTheScreen) {
    start();
    w->resize(640, 480);  // on the test screen (800 x 600)
    w->move(40, 30);
    const QRect screen = w->screen()->availableGeometry();
    const struct {
        const char* name;
        void (frmmain::*open)();
    } windows[] = {{"frmsave", &frmmain::openSaveWindow},
                   {"frmopen", &frmmain::openOpenWindow},
                   {"frmprintop", &frmmain::openPrintOptions},
                   {"frmoption", &frmmain::openPortSelection},
                   {"frmAbout", &frmmain::openAbout}};
    for (const auto& window : windows) {
        (w.get()->*window.open)();
        QWidget* opened = child(window.name);
        ASSERT_NE(opened, nullptr) << window.name;
        EXPECT_TRUE(screen.contains(opened->frameGeometry())) << window.name;
        const QPoint offset = opened->frameGeometry().center() - w->frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 30) << window.name;
        opened->close();
    }
    // Near the screen's edge the window stays wholly on the screen.
    const QRect placed = placeCentred({400, 450}, QRect(0, 700, 300, 300), QRect(0, 0, 1600, 1000));
    EXPECT_EQ(placed, QRect(0, 550, 400, 450));
}

TEST_F(DesktopManners, ThePortSelectionOfAFailedStartUpOpensCentredOnTheScreen) {
    frmmain::Options options;
    options.workingDir = m_dir.path();
    options.messenger = [this](QWidget*, const UserMessage& m) { messages.push_back(m); };
    w = std::make_unique<frmmain>(tft::kProfile, std::make_unique<FakeSerialPort>(), options);
    w->startUp();  // no "udc.cfg"
    QWidget* option = child("frmoption");
    ASSERT_NE(option, nullptr);
    const QRect screen = option->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(option->frameGeometry()));
    EXPECT_LE((option->frameGeometry().center() - screen.center()).manhattanLength(), 30);
}

TEST_F(DesktopManners, MenusHaveStandardKeysBesideTheirUnchangedTexts) {
    start(dac::kProfile);
    const std::pair<const char*, QString> keys[] = {{"mnuopen", "Ctrl+O"},
                                                    {"mnusave", "Ctrl+S"},
                                                    {"mnuprint", "Ctrl+P"},
                                                    {"mnuexit", "Ctrl+Q"}};
    for (const auto& [name, key] : keys) {
        EXPECT_EQ(child<QAction>(name)->shortcut(), QKeySequence(key)) << name;
    }
    EXPECT_EQ(child<QAction>("mnuopen")->text(), QStringLiteral("Open"));
    EXPECT_EQ(child<QMenu>("mnufile")->title(), QStringLiteral("File"));
    for (const char* idle : {"mnunew", "mnuhelpt", "mnuadd"}) {
        EXPECT_FALSE(child<QAction>(idle)->statusTip().isEmpty()) << idle;
    }

    QApplication::setActiveWindow(w.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    QTest::keyClick(w.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_NE(child("frmsave"), nullptr);
    QTest::keyClick(w.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_NE(child("frmprintop"), nullptr);
    QTest::keyClick(w.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_NE(child("frmopen"), nullptr);
    QTest::keyClick(w.get(), Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(w->menuBar()->activeAction(), child<QMenu>("mnufile")->menuAction());
}

TEST_F(DesktopManners, EnterAndEscDoWhatTheButtonsAndTheCloseBoxDo) {
    start();
    // Enter on a slot-list entry recalls it; Enter in a header box stores the fields.
    w->session().store().column(6)[0] = 42;
    w->slotList()->item(6)->setSelected(true);
    QTest::keyClick(w->slotList(), Qt::Key_Return);
    EXPECT_EQ(w->shownslot(), 6);
    EXPECT_TRUE(w->slotList()->item(6)->font().bold());  // the slot shown stands out
    EXPECT_EQ(w->slotList()->item(6)->text(), QStringLiteral("Mem 7"));
    auto* opname = child<QLineEdit>("txtopname");
    QTest::keyClicks(opname, QStringLiteral("Kim"));
    QTest::keyClick(opname, Qt::Key_Return);
    EXPECT_EQ(w->session().store().column(6)[561], 'K');

    // Save: Enter writes the file; Open: Esc closes and loads nothing.
    w->openSaveWindow();
    child("frmsave")->findChild<FolderList*>(QStringLiteral("Dir1"))->setPath(m_dir.path());
    auto* name = child("frmsave")->findChild<QLineEdit*>(QStringLiteral("txtfilename"));
    name->setText(QStringLiteral("x.dat"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_TRUE(QFile::exists(QDir(m_dir.path()).filePath(QStringLiteral("x.dat"))));
    w->openOpenWindow();
    QWidget* open = child("frmopen");
    QTest::keyClick(open, Qt::Key_Escape);
    EXPECT_FALSE(open->isVisible());

    // Port selection: Esc leaves "udc.cfg" alone, Enter presses Ok and writes it.
    w->openPortSelection();
    QWidget* option = child("frmoption");
    option->findChild<QRadioButton*>(QStringLiteral("Option3"))->setChecked(true);
    QTest::keyClick(option, Qt::Key_Escape);
    EXPECT_FALSE(option->isVisible());
    EXPECT_EQ(readConfig(), QByteArray(kDevice) + "\r\n");
    w->openPortSelection();
    option = child("frmoption");
    option->findChild<QRadioButton*>(QStringLiteral("Option2"))->setChecked(true);
    QTest::keyClick(option, Qt::Key_Enter);
    EXPECT_EQ(readConfig(), QByteArray("2\r\n"));
}

TEST_F(DesktopManners, TabGoesAlongTheScreenAndReadOnlyBoxesLookIt) {
    start();
    QWidget* at = w->slotList();
    QStringList order;
    for (int i = 0; i < 9; ++i) {
        order << at->objectName();
        at = at->nextInFocusChain();
        while (at->focusPolicy() == Qt::NoFocus || !at->isVisibleTo(w.get())) {
            at = at->nextInFocusChain();
        }
    }
    EXPECT_EQ(order, QStringList({"lstmem", "cmdcapture", "txtopname", "txtraw", "txtaxno",
                                  "txtremark", "cmdtxtsav", "txtbeam", "txtsurf"}));
    const auto base = [this](const char* box) {
        return child<QLineEdit>(box)->palette().color(QPalette::Base);
    };
    EXPECT_EQ(base("txtzero"), w->palette().color(QPalette::Window));
    EXPECT_EQ(base("txtbeam"), w->palette().color(QPalette::Window));
    EXPECT_NE(base("txtopname"), w->palette().color(QPalette::Window));
}

TEST_F(DesktopManners, TheStatusBarTellsTheBatchThePortAndUnsavedRecords) {
    answered = {3, 5, 12};
    start();
    EXPECT_EQ(statusField("lblport"), QStringLiteral("%1 \u2014 port open").arg(kDevice));
    EXPECT_TRUE(statusField("lblunsaved").isEmpty());

    capture({2, 4, 8, 11});  // slot 9 never answers
    EXPECT_EQ(w->statusBar()->currentMessage(),
              QStringLiteral("Captured 3 of 4 slots; no answer: Mem 9"));
    EXPECT_EQ(w->slotPanel().selectedColumns(),
              QList<int>{8});  // what got no answer stays selected
    EXPECT_EQ(QApplication::focusWidget(), w->slotList());
    EXPECT_EQ(statusField("lblunsaved"), QStringLiteral("unsaved changes"));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^%1 \u2014 instrument answered [0-2][0-9]:[0-5][0-9]$")
                               .arg(QRegularExpression::escape(kDevice)))
            .match(statusField("lblport"))
            .hasMatch())
        << statusField("lblport").toStdString();
    const QString tip = w->slotList()->item(2)->toolTip();
    EXPECT_TRUE(tip.contains(QStringLiteral("RANGE"))) << tip.toStdString();
    EXPECT_TRUE(tip.startsWith(QStringLiteral("Tm: "))) << tip.toStdString();

    ASSERT_TRUE(w->saveToFile(QDir(m_dir.path()).filePath(QStringLiteral("a.dat"))));
    EXPECT_TRUE(statusField("lblunsaved").isEmpty());
    w->cmdtxtsav_Click();
    EXPECT_EQ(statusField("lblunsaved"), QStringLiteral("unsaved changes"));
    w->loadFromFile(QDir(m_dir.path()).filePath(QStringLiteral("a.dat")));
    EXPECT_TRUE(statusField("lblunsaved").isEmpty());

    m_port->loseConnection();
    EXPECT_EQ(statusField("lblport"), QStringLiteral("%1 \u2014 link lost").arg(kDevice));
    w->openPortSelection();
    child("frmoption")->findChild<QPushButton*>(QStringLiteral("cmdok"))->click();
    EXPECT_EQ(statusField("lblport"), QStringLiteral("%1 \u2014 port open").arg(kDevice));
    EXPECT_EQ(portStateText(kDevice, PortState::Answered, QTime(14, 2, 59)),
              QStringLiteral("%1 \u2014 instrument answered 14:02").arg(kDevice));
    EXPECT_EQ(batchSummaryText(4, 4, {}), QStringLiteral("Captured 4 of 4 slots"));
}

TEST_F(DesktopManners, ADevicePathInUdcCfgIsAChoiceOfItsOwnAndOkKeepsIt) {
    start();
    w->openPortSelection();
    QWidget* option = child("frmoption");
    auto* device = option->findChild<QRadioButton*>(QStringLiteral("optdevice"));
    ASSERT_NE(device, nullptr);
    EXPECT_TRUE(device->isVisible());
    EXPECT_TRUE(device->isChecked());
    EXPECT_EQ(device->text(), QString::fromLatin1(kDevice));
    EXPECT_FALSE(option->findChild<QRadioButton*>(QStringLiteral("Option1"))->isChecked());
    option->findChild<QPushButton*>(QStringLiteral("cmdok"))->click();
    EXPECT_EQ(readConfig(), QByteArray(kDevice) + "\r\n");
    EXPECT_EQ(w->portTarget().devicePath, QString::fromLatin1(kDevice));

    // A number keeps the old rule: 7 preselects Comport 1 and becomes 1; no fifth choice.
    w->setPortTarget(PortTarget{7, {}});
    w->openPortSelection();
    option = child("frmoption");
    EXPECT_FALSE(option->findChild<QRadioButton*>(QStringLiteral("optdevice"))->isVisible());
    EXPECT_TRUE(option->findChild<QRadioButton*>(QStringLiteral("Option1"))->isChecked());
    EXPECT_EQ(w->portno(), 1);
}

TEST_F(DesktopManners, AReportThatCannotPrintSaysWhereToChooseAPrinter) {
    start();
    // No printer: PDF output without a file. Where CUPS has printers Qt turns an empty file
    // name into the default printer, and a machine without a printer cannot be had.
    QPrinter& printer = w->printerSetup().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString());
    if (printer.outputFormat() != QPrinter::PdfFormat) {
        GTEST_SKIP() << "this machine has a printer (" << printer.printerName().toStdString()
                     << "): the no-printer path cannot be made here";
    }
    w->openPrintOptions();
    child("frmprintop")->findChild<QPushButton*>(QStringLiteral("cmdprint"))->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("The Report can't be printed."));
    EXPECT_EQ(messages[0].informative, QStringLiteral("Choose a printer under File > PrintSetup"));
}

}  // namespace
}  // namespace trellicap

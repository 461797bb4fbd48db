// The main window through its named controls: start-up, port selection, profiles, recall and
// the report header store.
#include "shell/main/frmmain.h"
#include "display/panel_texts.h"
#include "shell/main/settings_panel.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "link/qt_serial_port.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "shell/port/frmoption.h"
#include "support/pty.h"

using namespace trellicap;
using trellicap::testing::Pty;

namespace {

const QString kFileError = QStringLiteral(
    "Port configuratin file is lost so select apropriate serial port which is "
    "necessary ");
const QString kPortError =
    QStringLiteral("Selected Port is used by another device or it might be not available ");

class MainWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<frmmain> make(const ModelProfile& profile) {
        frmmain::Options options;
        options.workingDir = m_dir.path();
        options.messenger = [this](QWidget*, const UserMessage& m) { m_messages.push_back(m); };
        return std::make_unique<frmmain>(profile, std::make_unique<QtSerialPort>(), options);
    }
    void writeConfig(const QByteArray& content) {
        QFile file(m_dir.filePath(QStringLiteral("udc.cfg")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QByteArray readConfig() {
        QFile file(m_dir.filePath(QStringLiteral("udc.cfg")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static frmoption* portWindow(frmmain& w) {
        return w.findChild<frmoption*>(QStringLiteral("frmoption"));
    }
    template <typename T>
    static T* child(QObject& w, const char* name) {
        return w.findChild<T*>(QString::fromLatin1(name));
    }

    QTemporaryDir m_dir;
    Pty m_pty;
    std::vector<UserMessage> m_messages;
};

TEST_F(MainWindowTest, StartUpOnAWorkingPortShowsTheStartupTrace) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    writeConfig(m_pty.slave().toLocal8Bit() + "\r\n");
    auto w = make(tft::kProfile);
    w->startUp();
    EXPECT_TRUE(m_messages.empty());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->session().port().isOpen());
    auto* list = w->slotList();
    ASSERT_EQ(list->count(), 200);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Mem 1"));
    EXPECT_EQ(list->item(199)->text(), QStringLiteral("Mem 200"));
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(w->session().store().capture()[13], 100);
    EXPECT_EQ(w->session().store().capture()[251], 2);
    EXPECT_EQ(w->session().store().column(0)[261], 32);
    EXPECT_EQ(w->session().store().column(199)[600], 0);
    // The trace is drawn (green) and the panel keeps its design-time texts.
    const QImage& image = w->session().view().plot().image();
    bool green = false;
    for (int x = 0; x < image.width() && !green; ++x) {
        for (int y = 0; y < image.height() && !green; ++y) {
            green = image.pixelColor(x, y) == QColor(0, 170, 0);
        }
    }
    EXPECT_TRUE(green);
    EXPECT_EQ(w->controlText("txtzero"), QStringLiteral("108"));
    EXPECT_EQ(w->controlText("txttmdt"), QStringLiteral("Tm: 7:55  Dt: 28/4/2003"));
}

TEST_F(MainWindowTest, StartUpWithoutAUsablePortFileHandsOverToPortSelection) {
    for (const QByteArray& content :
         {QByteArray("<none>"), QByteArray(""), QByteArray("garbage\r\n"), QByteArray("99999\r\n"),
          QByteArray("/dev/no-such-serial-device\r\n")}) {
        m_messages.clear();
        if (content == "<none>") {
            QFile::remove(m_dir.filePath(QStringLiteral("udc.cfg")));
        } else {
            writeConfig(content);
        }
        auto w = make(tft::kProfile);
        w->startUp();
        ASSERT_EQ(m_messages.size(), 1u) << content.toStdString();
        EXPECT_EQ(m_messages[0].title, QStringLiteral("File Error"));
        EXPECT_EQ(m_messages[0].text, kFileError);
        EXPECT_FALSE(w->isVisible());
        frmoption* option = portWindow(*w);
        ASSERT_NE(option, nullptr);
        EXPECT_TRUE(option->isVisible());
        // A device path that is missing now stays the choice (an adapter plugged in later);
        // anything else falls back to Comport 1.
        const bool path = content.startsWith('/');
        EXPECT_EQ(child<QRadioButton>(*option, "optdevice")->isChecked(), path);
        EXPECT_EQ(child<QRadioButton>(*option, "Option1")->isChecked(), !path);
        EXPECT_EQ(w->portno(), 1);
        EXPECT_EQ(w->session().store().column(5)[300], 32);  // the table was initialised before
        EXPECT_EQ(w->session().store().capture()[13], 0);    // no start-up trace on this path
    }
}

TEST_F(MainWindowTest, ClosingThePortSelectionWhileNothingElseIsVisibleEndsTheProgram) {
    auto w = make(tft::kProfile);
    w->startUp();  // no "udc.cfg": only the port selection is visible
    frmoption* option = portWindow(*w);
    ASSERT_NE(option, nullptr);
    option->close();
    // The program's event loop ends at once instead of running on with no window.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    guard.start(3000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
}

TEST_F(MainWindowTest, ABusyPortTakesTheFailurePath) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    QtSerialPort holder;
    ASSERT_TRUE(holder.open(m_pty.slave()));
    writeConfig(m_pty.slave().toLocal8Bit() + "\r\n");
    auto w = make(tft::kProfile);
    w->startUp();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].text, kFileError);
    EXPECT_FALSE(w->session().port().isOpen());
}

TEST_F(MainWindowTest, PortSelectionOkWritesTheFileAndCancelRestores) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    writeConfig(m_pty.slave().toLocal8Bit() + "\r\n");
    auto w = make(tft::kProfile);
    w->startUp();
    const PortTarget atStart = w->portTarget();

    // A number outside 1..4 preselects Comport 1 and becomes 1.
    w->setPortTarget(PortTarget{7, {}});
    w->openPortSelection();
    frmoption* option = portWindow(*w);
    ASSERT_NE(option, nullptr);
    EXPECT_TRUE(child<QRadioButton>(*option, "Option1")->isChecked());
    EXPECT_EQ(w->portno(), 1);
    option->close();  // by its frame: back to the target at opening
    EXPECT_EQ(w->portno(), 7);
    w->setPortTarget(atStart);

    // Cancel goes back to the port of the opening and never writes the file.
    w->openPortSelection();
    option = portWindow(*w);
    ASSERT_NE(option, nullptr);
    child<QRadioButton>(*option, "Option3")->click();
    EXPECT_EQ(w->portno(), 3);
    child<QPushButton>(*option, "cmdcancel")->click();
    EXPECT_EQ(w->portTarget(), atStart);
    EXPECT_TRUE(w->session().port().isOpen());
    EXPECT_EQ(readConfig(), m_pty.slave().toLocal8Bit() + "\r\n");
    EXPECT_TRUE(m_messages.empty());
    EXPECT_FALSE(option->isVisible());

    // Ok writes "2" CR LF before it opens the port; a port that cannot be opened is
    // reported and the window stays open.
    w->openPortSelection();
    option = portWindow(*w);
    ASSERT_NE(option, nullptr);
    child<QRadioButton>(*option, "Option2")->click();
    child<QPushButton>(*option, "cmdok")->click();
    EXPECT_EQ(readConfig(), QByteArray("2\r\n"));
    if (!w->session().port().isOpen()) {
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0].title, QStringLiteral("Port Selection Error"));
        EXPECT_EQ(m_messages[0].text, kPortError);
        EXPECT_FALSE(m_messages[0].informative.isEmpty());
        EXPECT_TRUE(option->isVisible());
    }
}

TEST_F(MainWindowTest, OkOnAPortFileThatCannotBeWrittenSaysSoAndKeepsThePortClosed) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("udc.cfg")));  // a folder in its way
    auto w = make(tft::kProfile);
    w->startUp();
    m_messages.clear();
    frmoption* option = portWindow(*w);
    ASSERT_NE(option, nullptr);
    child<QPushButton>(*option, "cmdok")->click();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages[0].text.contains(QStringLiteral("udc.cfg")));
    EXPECT_FALSE(m_messages[0].informative.isEmpty());
    EXPECT_TRUE(option->isVisible());
    EXPECT_FALSE(w->session().port().isOpen());
    EXPECT_FALSE(w->isVisible());
}

TEST_F(MainWindowTest, EachProfileHasItsOwnCaptionsMenusAndBoxes) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    writeConfig(m_pty.slave().toLocal8Bit() + "\r\n");
    auto tftWindow = make(tft::kProfile);
    auto dacWindow = make(dac::kProfile);
    EXPECT_EQ(tftWindow->windowTitle(), QStringLiteral("Trellicap KVR(TFT)"));
    EXPECT_EQ(dacWindow->windowTitle(), QStringLiteral("Trellicap"));

    const auto fileMenu = [](frmmain& w) {
        QStringList texts;
        for (QAction* a : w.menuBar()->findChild<QMenu*>(QStringLiteral("mnufile"))->actions()) {
            texts << a->text();
        }
        return texts;
    };
    // The profile's entries keep their order; the exports and the recent files come after
    // them and before Exit, which stays last.
    const QStringList additions({"", "Export PDF...", "Export CSV...", "", "Recent Files", ""});
    EXPECT_EQ(fileMenu(*tftWindow), QStringList({"New", "Open", "Save", "PrintSetup", "Print"}) +
                                        additions + QStringList({"Exit"}));
    EXPECT_EQ(fileMenu(*dacWindow),
              QStringList({"New", "Open", "Add", "Save", "PrintSetup", "Print"}) + additions +
                  QStringList({"Exit"}));
    EXPECT_NE(tftWindow->findChild<QAction*>(QStringLiteral("mnuoption")), nullptr);
    EXPECT_NE(tftWindow->findChild<QAction*>(QStringLiteral("mnuhelpt")), nullptr);

    for (const char* name :
         {"txtrefg", "txtcolor", "txtbrt", "txtxoff", "txtblk1", "txtblk2", "txtraw"}) {
        EXPECT_NE(child<QLineEdit>(*tftWindow, name), nullptr) << name;
        EXPECT_EQ(child<QLineEdit>(*dacWindow, name), nullptr) << name;
    }
    EXPECT_EQ(child<QLineEdit>(*tftWindow, "txtcontrast"), nullptr);
    EXPECT_EQ(child<QLineEdit>(*dacWindow, "txtcontrast")->text(), QStringLiteral("50"));
    EXPECT_EQ(child<QLabel>(*tftWindow, "Label22")->text(), QStringLiteral("COLOR"));
    EXPECT_EQ(child<QLabel>(*dacWindow, "Label22")->text(), QStringLiteral("BACKLIT"));
    EXPECT_EQ(child<QLabel>(*dacWindow, "Label22")->buddy()->objectName(),
              QStringLiteral("txtbeep"));
    EXPECT_EQ(child<QLabel>(*tftWindow, "Label45")->buddy()->objectName(),
              QStringLiteral("txtbeep"));
    EXPECT_EQ(child<QLabel>(*dacWindow, "Label45"), nullptr);
    EXPECT_EQ(child<QLineEdit>(*tftWindow, "txtend2")->accessibleName(),
              QStringLiteral("GATE 2 END"));
    // Typing stops at the field's length (20 TFT, 39 DAC).
    for (auto [window, limit] : {std::pair{tftWindow.get(), 20}, std::pair{dacWindow.get(), 39}}) {
        auto* box = child<QLineEdit>(*window, "txtopname");
        QTest::keyClicks(box, QString(50, QLatin1Char('a')));
        EXPECT_EQ(box->text().size(), limit);
    }
    EXPECT_EQ(child<QLabel>(*tftWindow, "Label27")->text(), QStringLiteral("Type of Axle/No."));
    EXPECT_EQ(child<QLabel>(*dacWindow, "Label27")->text(), QStringLiteral("Job No."));

    const std::pair<const char*, const char*> designTexts[] = {
        {"txtzero", "108"},      {"txtrange", "100"},   {"txtvelo", "5920"},  {"txtdelay", "0.0"},
        {"txtgain", "25"},       {"txtmode", "Single"}, {"txtstart", "30%"},  {"txtend2", "70%"},
        {"txtmem", "A Scan"},    {"txtaction", "Send"}, {"Txtent", "ENTER"},  {"txtreject", "00%"},
        {"txtVideo", "Envelop"}, {"txtcur", "001"},     {"txtthick", "0100"}, {"txtangle", "000"},
    };
    for (const auto& [name, text] : designTexts) {
        EXPECT_EQ(tftWindow->controlText(name), QString::fromLatin1(text)) << name;
        EXPECT_EQ(dacWindow->controlText(name), QString::fromLatin1(text)) << name;
    }
    EXPECT_EQ(tftWindow->controlText("txtbrt"), QStringLiteral("50"));
    EXPECT_EQ(tftWindow->controlText("txtblk2"), QStringLiteral("ENTER"));
    EXPECT_TRUE(tftWindow->controlText("txtbeam").isEmpty());
}

TEST_F(MainWindowTest, AboutWindowShowsTitleVersionAndModelText) {
    auto tftWindow = make(tft::kProfile);
    tftWindow->openAbout();
    auto* about = tftWindow->findChild<QWidget*>(QStringLiteral("frmAbout"));
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About TrellicapTFT"));
    EXPECT_EQ(child<QLabel>(*about, "lblVersion")->text(), QStringLiteral("Version 1.0.1"));
    EXPECT_EQ(child<QLabel>(*about, "Label2")->text(),
              QStringLiteral("Application for to Transfer Data from Corvane-KVR (TFT) to PC"));
    EXPECT_EQ(child<QLabel>(*about, "lblTitle")->text(), QStringLiteral("TrellicapTFT"));
    EXPECT_EQ(child<QLabel>(*about, "Label1")->text(),
              QStringLiteral("Talvex Instruments Mfg. Co.(P) Ltd"));
    tftWindow->openAbout();  // a second choice brings the same window forward
    EXPECT_EQ(tftWindow->findChildren<QWidget*>(QStringLiteral("frmAbout")).size(), 1);

    auto dacWindow = make(dac::kProfile);
    dacWindow->openAbout();
    auto* dacAbout = dacWindow->findChild<QWidget*>(QStringLiteral("frmAbout"));
    EXPECT_EQ(child<QLabel>(*dacAbout, "Label2")->text(),
              QStringLiteral("Application for to Transfer Data from Corvane to PC"));
}

TEST_F(MainWindowTest, RecallShowsTheLowestSelectedSlotAndSaveStoresTheHeaderFields) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    struct Case {
        const ModelProfile* profile;
        int firstRow;
        int fieldRows;
        int maxChars;
    };
    for (const Case& c : {Case{&tft::kProfile, 561, 20, 20}, Case{&dac::kProfile, 530, 40, 39}}) {
        writeConfig(m_pty.slave().toLocal8Bit() + "\r\n");
        auto w = make(*c.profile);
        w->startUp();
        auto* list = w->slotList();
        auto* opname = child<QLineEdit>(*w, "txtopname");
        auto* save = child<QPushButton>(*w, "cmdtxtsav");

        // Right after start-up the store goes into slot 1.
        opname->setText(QStringLiteral("AB"));
        QTest::mouseClick(save, Qt::LeftButton);
        EXPECT_EQ(w->session().store().column(0)[static_cast<std::size_t>(c.firstRow)], 65);
        EXPECT_EQ(w->session().store().column(0)[static_cast<std::size_t>(c.firstRow + 1)], 66);

        // With entries 4 and 9 selected, the double-click recalls entry 4.
        w->session().store().column(4)[0] = 42;
        list->item(9)->setSelected(true);
        list->item(4)->setSelected(true);
        w->lstmem_DblClick();
        EXPECT_EQ(w->shownslot(), 4);
        EXPECT_EQ(w->session().store().capture()[0], 42);
        // A never-filled slot shows an empty operator box and ZERO (its code 260 is 0).
        EXPECT_TRUE(opname->text().isEmpty());
        EXPECT_TRUE(w->controlText("txtzero").isEmpty());

        // A full-length text, then a shorter one: no tail of the longer text remains.
        const RecordValue shownCode =
            w->session().store().capture()[static_cast<std::size_t>(c.firstRow)];
        const QString full(c.maxChars, QLatin1Char('X'));
        opname->clear();
        QTest::keyClicks(opname, full + QStringLiteral("overflow"));
        EXPECT_EQ(opname->text(), full);
        save->click();
        auto col = w->session().store().column(4);
        EXPECT_EQ(col[static_cast<std::size_t>(c.firstRow + c.maxChars - 1)], 'X');
        const auto afterField = static_cast<std::size_t>(c.firstRow + c.fieldRows);
        const RecordValue next = col[afterField];
        opname->setText(QStringLiteral("Lee"));
        save->click();
        EXPECT_EQ(col[static_cast<std::size_t>(c.firstRow + 3)], 32);
        EXPECT_EQ(col[static_cast<std::size_t>(c.firstRow + c.maxChars - 1)], 32);
        EXPECT_EQ(col[afterField], next);  // the next field is untouched
        // The store changes only the memory table.
        EXPECT_EQ(w->session().store().capture()[static_cast<std::size_t>(c.firstRow)], shownCode);

        list->clearSelection();
        list->item(4)->setSelected(true);
        w->lstmem_DblClick();
        EXPECT_EQ(opname->text().trimmed(), QStringLiteral("Lee"));
        EXPECT_EQ(list->item(4)->text(), QStringLiteral("Mem 5"));  // no slot mark from a store
    }
}

TEST_F(MainWindowTest, DacHeaderBoxesShowAndStoreTheWhole40CodeRun) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    writeConfig(m_pty.slave().toLocal8Bit() + "\r\n");
    auto w = make(dac::kProfile);
    w->startUp();
    auto* opname = child<QLineEdit>(*w, "txtopname");
    auto* axno = child<QLineEdit>(*w, "txtaxno");
    auto column = w->session().store().column(3);
    // Operator: 39 blanks, then "Z" in the 40th code; job number "OP 001" and 34 blanks.
    for (int k = 0; k < 40; ++k) {
        column[static_cast<std::size_t>(530 + k)] = k == 39 ? 'Z' : ' ';
        column[static_cast<std::size_t>(570 + k)] = k < 6 ? "OP 001"[k] : ' ';
    }
    w->slotList()->item(3)->setSelected(true);
    w->lstmem_DblClick();
    EXPECT_EQ(opname->text(), QString(39, QLatin1Char(' ')) + QLatin1Char('Z'));
    EXPECT_EQ(axno->text(), QStringLiteral("OP 001") + QString(34, QLatin1Char(' ')));

    // The operator cannot type past 39, but may delete from the longer text.
    axno->setCursorPosition(40);
    QTest::keyClicks(axno, QStringLiteral("X"));
    EXPECT_EQ(axno->text().size(), 40);
    QTest::keyClick(axno, Qt::Key_Backspace);
    EXPECT_EQ(axno->text().size(), 39);
    // A paste keeps what fits, as a maximum length would.
    axno->setText(QStringLiteral("OP 00"));
    axno->setCursorPosition(3);
    axno->insert(QString(50, QLatin1Char('9')));
    EXPECT_EQ(axno->text(), QStringLiteral("OP ") + QString(34, QLatin1Char('9')) + "00");
    axno->setText(QStringLiteral("OP 001") + QString(34, QLatin1Char(' ')));

    // "S  A  V  E" stores what the boxes hold: all 40 codes of the operator run.
    child<QPushButton>(*w, "cmdtxtsav")->click();
    EXPECT_EQ(column[569], 'Z');
    EXPECT_EQ(column[530], ' ');
    EXPECT_EQ(column[575], '1');
    EXPECT_EQ(column[609], ' ');  // the 40th code of the shortened job number: a blank
}

// The "Menu Data" grid keeps its columns whatever length the texts of a record have: the
// time-and-date caption's "Tm: " alone, or its whole line, moves no box.
TEST_F(MainWindowTest, TheMenuDataColumnsKeepTheirWidthsWhenTextsChangeLength) {
    for (const ModelProfile* profile : {&tft::kProfile, &dac::kProfile}) {
        SettingsPanel panel(*profile, nullptr);
        panel.resize(panel.sizeHint());
        panel.show();
        const auto boxPlaces = [&panel] {
            QList<QRect> places;
            for (const QLineEdit* box : panel.findChildren<QLineEdit*>()) {
                places.append(box->geometry());
            }
            return places;
        };
        PanelTexts texts;
        texts.set("txttmdt", QStringLiteral("Tm: "));
        panel.showTexts(texts);
        panel.layout()->activate();
        const QList<QRect> shortLine = boxPlaces();
        texts.set("txttmdt", QStringLiteral("Tm: 23:21 Dt:26/03/32"));
        panel.showTexts(texts);
        panel.layout()->activate();
        EXPECT_EQ(boxPlaces(), shortLine) << profile->programName;
        EXPECT_EQ(panel.text("txttmdt"), QStringLiteral("Tm: 23:21 Dt:26/03/32"));
    }
}

TEST_F(MainWindowTest, ThePlotAreaIsTheCanvasSizeBorderIncluded) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    for (const ModelProfile* profile : {&tft::kProfile, &dac::kProfile}) {
        writeConfig(m_pty.slave().toLocal8Bit() + "\r\n");
        auto w = make(*profile);
        w->startUp();
        auto* border = child<QFrame>(*w, "fraascan");
        auto* picascan = child<QWidget>(*w, "picascan");
        ASSERT_NE(border, nullptr);
        EXPECT_EQ(border->size(), QSize(347, 311));  // 5205 x 4665 twips at 96 dpi
        const QPoint inside = picascan->mapTo(border, QPoint(0, 0));
        EXPECT_EQ(inside, QPoint(2, 2));
        EXPECT_EQ(picascan->size(), QSize(343, 307));
        // Points stay where they are in the drawing area: the baseline (y = 210 pt) is row
        // 280 of the drawing area, the first grid dot (1, 10) pt at pixel (1, 13).
        const QImage shown = picascan->grab().toImage();
        EXPECT_EQ(shown.pixelColor(100, 280), QColor(0, 0, 0));
        EXPECT_EQ(shown.pixelColor(1, 13), QColor(0, 0, 0));
        EXPECT_EQ(shown.pixelColor(100, 270), QColor(255, 255, 255));

        // More room goes to the plot, in the canvas's proportions, before the settings boxes.
        auto* panel = child<QWidget>(*w, "fraMenuData");
        w->resize(w->sizeHint());
        QCoreApplication::processEvents();
        EXPECT_EQ(border->size(), QSize(347, 311));  // the first size shows the design size
        const int panelWidth = panel->width();
        w->resize(w->size() + QSize(400, 300));
        QCoreApplication::processEvents();
        EXPECT_GT(border->width(), 347 + 250);
        EXPECT_NEAR(border->width() * 311.0 / 347.0, border->height(), 2.0);
        EXPECT_EQ(panel->width(), panelWidth);
        const double zoom = border->width() / 347.0;
        const QImage larger = picascan->grab().toImage();
        // The grid dot at (6, 10) pt, drawn larger at the same place of the drawing.
        const QPoint dot(static_cast<int>(8 * zoom), static_cast<int>(40 / 3.0 * zoom));
        EXPECT_EQ(larger.pixelColor(dot), QColor(0, 0, 0));
    }
}

}  // namespace

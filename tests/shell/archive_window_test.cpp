// The archive through the main window: the roads in (open, "S  A  V  E", save), the lasting
// status while the archive cannot write, and the archive window that finds a record by the
// operator's text and shows it in the main window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "archive/archive_keeper.h"
#include "archive/archive_search.h"
#include "display/ui/plot_widget.h"
#include "link/qt_serial_port.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "shell/archive/archive_hooks.h"
#include "shell/archive/archive_results_model.h"
#include "shell/archive/frmarchive.h"
#include "shell/main/frmmain.h"
#include "storage/record_file_writer.h"
#include "support/pty.h"
#include "support/window_on_pty.h"

using namespace trellicap;

namespace {

class ArchiveThroughTheWindow : public trellicap::testing::WindowOnPty {
protected:
    static void fillSlot(frmmain& w, int column, const char* digits) {
        auto c = w.session().store().column(column);
        for (int i = 0; i < 251; ++i) {
            c[static_cast<std::size_t>(i)] = static_cast<RecordValue>((i * 7 + column) % 90);
        }
        for (int i = 0; i < 3; ++i) {
            c[static_cast<std::size_t>(kMemoryNumberFirst + i)] =
                static_cast<RecordValue>(digits[i]);
        }
    }
    // A record file with slots 3 and 150, written by a window that keeps no archive here.
    QString writeShift() {
        const QString path = m_dir.filePath(QStringLiteral("Shift-North.dat"));
        RecordStore store(*GetParam());
        store.initMemoryTable();
        for (const auto& [column, digits] : {std::pair{2, "003"}, std::pair{149, "150"}}) {
            auto c = store.column(column);
            for (int i = 0; i < 251; ++i) {
                c[static_cast<std::size_t>(i)] = static_cast<RecordValue>((i * 7 + column) % 90);
            }
            for (int i = 0; i < 3; ++i) {
                c[static_cast<std::size_t>(kMemoryNumberFirst + i)] =
                    static_cast<RecordValue>(digits[i]);
            }
        }
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(writeRecordFile(store));
        return path;
    }
    void typeOperatorAndSave(frmmain& w, int column, const QString& text) {
        w.showSlot(column);
        const auto* field = &GetParam()->headerFields[0];
        auto* box = w.findChild<QLineEdit*>(QString::fromLatin1(
            field->control.data(), static_cast<qsizetype>(field->control.size())));
        ASSERT_TRUE(box);
        box->setText(text);
        w.cmdtxtsav_Click();
    }
    std::vector<archive::KeptVersion> kept(frmmain& w) {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(w.archive().archivePath());
        db.open();
        archive::SearchFilter all;
        all.allVersions = true;
        QString error;
        auto found = archive::searchArchive(db, all, &error);
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("check"));
        return found;
    }
};

TEST_P(ArchiveThroughTheWindow, OpenSaveAndHeaderStoreReachTheArchive) {
    const QString shift = writeShift();
    auto w = start();
    EXPECT_EQ(w->archive().archivePath(), m_dir.filePath(QStringLiteral("archive.sqlite")));
    w->loadFromFile(shift);
    typeOperatorAndSave(*w, 2, QStringLiteral("Zed Quill"));
    const QString saved = m_dir.filePath(QStringLiteral("after.dat"));
    ASSERT_TRUE(w->saveToFile(saved));

    const auto found = kept(*w);
    ASSERT_EQ(found.size(), 3u);  // slot 3 twice (file, then edited), slot 150 once
    int fromFile = 0;
    for (const archive::KeptVersion& version : found) {
        // The header store is an edit; it keeps the file its record came from.
        EXPECT_EQ(version.source,
                  version.version == 1 ? QStringLiteral("file") : QStringLiteral("edit"));
        EXPECT_EQ(version.path, QFileInfo(shift).absoluteFilePath());
        fromFile += version.version == 1 ? 1 : 0;
        if (version.slot == 3 && version.version == 2) {
            EXPECT_EQ(version.header[0].second, QStringLiteral("Zed Quill"));
            EXPECT_EQ(version.savedIn, QStringList{QFileInfo(saved).absoluteFilePath()});
        }
    }
    EXPECT_EQ(fromFile, 2);

    // Opening the same file again adds nothing.
    w->loadFromFile(shift);
    EXPECT_EQ(kept(*w).size(), 3u);
    EXPECT_TRUE(m_messages.empty());
}

TEST_P(ArchiveThroughTheWindow, TheArchiveWindowFindsARecordByOperatorTextAndShowsIt) {
    auto w = start();
    w->loadFromFile(writeShift());
    typeOperatorAndSave(*w, 2, QStringLiteral("Zed Quill"));
    const auto keptValues = std::vector<RecordValue>(w->session().store().column(2).begin(),
                                                     w->session().store().column(2).end());

    w->archive().openSearchWindow();
    frmarchive* search = w->archive().searchWindow();
    ASSERT_TRUE(search);
    ASSERT_TRUE(search->settle());
    EXPECT_EQ(search->results().rowCount(), 2);  // the newest version of each record
    search->findChild<QLineEdit*>(QStringLiteral("txtfind"))->setText(QStringLiteral("quill"));
    search->runSearch();
    ASSERT_TRUE(search->settle());
    ASSERT_EQ(search->results().rowCount(), 1);
    const QModelIndex thumbnailAt =
        search->results().index(0, ArchiveResultsModel::kThumbnailColumn);
    (void)search->results().data(thumbnailAt, Qt::DecorationRole);  // asked for as painted
    ASSERT_TRUE(search->settle());
    EXPECT_FALSE(search->results().data(thumbnailAt, Qt::DecorationRole).value<QImage>().isNull());
    search->table()->selectRow(0);
    ASSERT_TRUE(search->settle());
    EXPECT_TRUE(search->findChild<QLabel*>(QStringLiteral("lblpreview"))
                    ->text()
                    .contains(QLatin1String("Zed Quill")));

    // The main window's slot holds something else now: asked first, and "No" keeps it.
    w->session().store().column(2)[0] = 99;
    QStringList questions;
    search->confirm = [&questions](const QString& q) {
        questions.append(q);
        return false;
    };
    EXPECT_TRUE(search->showInMainWindow());
    ASSERT_TRUE(search->settle());
    EXPECT_EQ(w->session().store().column(2)[0], 99);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].startsWith(QLatin1String("Mem 3 holds a record")))
        << questions[0].toStdString();
    search->confirm = [](const QString&) { return true; };
    EXPECT_TRUE(search->showInMainWindow());
    ASSERT_TRUE(search->settle());
    EXPECT_TRUE(
        std::equal(keptValues.begin(), keptValues.end(), w->session().store().column(2).begin()));
    EXPECT_EQ(w->shownslot(), 2);
    EXPECT_EQ(w->slotList()->item(2)->text(), QStringLiteral("Mem 3 *"));

    const QString exported = m_dir.filePath(QStringLiteral("export.dat"));
    EXPECT_TRUE(search->exportRecordFile(exported));
    ASSERT_TRUE(search->settle());
    EXPECT_EQ(QFileInfo(exported).size(), recordFileSize(*GetParam()));
    // The PDF is the vector report with its texts, and the window says what it wrote.
    const QString pdf = m_dir.filePath(QStringLiteral("export.pdf"));
    EXPECT_TRUE(search->exportPdf(pdf));
    ASSERT_TRUE(search->settle());
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    const QByteArray document = pdfFile.readAll();
    EXPECT_TRUE(document.startsWith("%PDF-"));
    EXPECT_TRUE(document.contains("/FontFile")) << "no embedded font: not a document of text";
    const QString wrote = search->findChild<QLabel*>(QStringLiteral("lblnote"))->text();
    EXPECT_TRUE(wrote.startsWith(QLatin1String("Wrote 1 record(s) to ")) &&
                wrote.endsWith(QDir::toNativeSeparators(pdf)))
        << wrote.toStdString();
    EXPECT_TRUE(m_messages.empty());
}

TEST_P(ArchiveThroughTheWindow, TheArchiveWindowsCsvIsTheCommandLinesCsvOfTheSameRecords) {
    auto w = start();
    w->loadFromFile(writeShift());
    // A comma and a quote, so the two files must agree on quoting too.
    typeOperatorAndSave(*w, 2, QStringLiteral("Quill, \"Zed\""));
    w->archive().openSearchWindow();
    frmarchive* search = w->archive().searchWindow();
    ASSERT_TRUE(search);
    ASSERT_TRUE(search->settle());
    ASSERT_EQ(search->results().rowCount(), 2);

    // Nothing chosen: refused with a reason, no file.
    const QString fromWindow = m_dir.filePath(QStringLiteral("window.csv"));
    EXPECT_FALSE(search->exportCsv(fromWindow));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages[0].text.contains(QLatin1String("Choose the records")));
    EXPECT_FALSE(QFileInfo::exists(fromWindow));
    m_messages.clear();

    search->table()->selectAll();
    ASSERT_TRUE(search->exportCsv(fromWindow));
    ASSERT_TRUE(search->settle());
    EXPECT_TRUE(m_messages.empty());

    const QString fromCli = m_dir.filePath(QStringLiteral("cli.csv"));
    QProcess cli;
    cli.start(
        QStringLiteral(TRELLICAP_CLI_PATH),
        {QStringLiteral("archive"), QStringLiteral("export"), QStringLiteral("--uuids"),
         search->results().uuid(0) + QLatin1Char(',') + search->results().uuid(1),
         QStringLiteral("-o"), fromCli, QStringLiteral("--archive"), w->archive().archivePath()});
    ASSERT_TRUE(cli.waitForFinished(120000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();

    QFile windowFile(fromWindow);
    QFile cliFile(fromCli);
    ASSERT_TRUE(windowFile.open(QIODevice::ReadOnly));
    ASSERT_TRUE(cliFile.open(QIODevice::ReadOnly));
    const QByteArray table = windowFile.readAll();
    EXPECT_EQ(table, cliFile.readAll());
    const QList<QByteArray> rows = table.split('\n');
    ASSERT_EQ(rows.size(),
              4);  // heading, slot 3, slot 150, and the empty text after the last CR LF
    EXPECT_TRUE(rows[1].startsWith("3,"));
    EXPECT_TRUE(rows[1].contains("\"Quill, \"\"Zed\"\"\""));
    EXPECT_TRUE(rows[2].startsWith("150,"));

    // A folder that is not there: the message names the file, and nothing is written.
    const QString nowhere = m_dir.filePath(QStringLiteral("gone/window.csv"));
    EXPECT_TRUE(search->exportCsv(nowhere));
    ASSERT_TRUE(search->settle());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages[0].text.contains(nowhere));
    EXPECT_FALSE(QFileInfo::exists(nowhere));
}

TEST_P(ArchiveThroughTheWindow, ALockedArchiveShowsWhyUntilItWritesAgainAndLosesNothing) {
    auto w = start();
    auto* status = w->findChild<QLabel*>(QStringLiteral("lblarchive"));
    ASSERT_TRUE(status);
    EXPECT_TRUE(status->isHidden());
    {
        QSqlDatabase other =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(w->archive().archivePath());
        ASSERT_TRUE(other.open());
        QSqlQuery lock(other);
        ASSERT_TRUE(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        fillSlot(*w, 4, "005");
        typeOperatorAndSave(*w, 4, QStringLiteral("Ann"));
        EXPECT_FALSE(status->isHidden());
        EXPECT_TRUE(status->text().contains(QLatin1String("locked by another program")))
            << status->text().toStdString();
        EXPECT_EQ(w->slotList()->item(4)->text(), QStringLiteral("Mem 5"));  // the store worked
        lock.exec(QStringLiteral("COMMIT"));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    w->archive().keeper().retryNow();
    EXPECT_TRUE(status->isHidden());
    EXPECT_EQ(kept(*w).size(), 1u);
}

TEST_P(ArchiveThroughTheWindow, TheArchiveOpensOnlyOnceTheWindowHasPainted) {
    auto w = start();  // shown, not yet painted: no event has run since
    const QString path = w->archive().archivePath();
    EXPECT_FALSE(QFileInfo::exists(path));  // nothing of it before the first sight of the window
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(path); }, 5000));
    // A record kept from then on reaches it, as from the first moment.
    fillSlot(*w, 4, "005");
    typeOperatorAndSave(*w, 4, QStringLiteral("Ann"));
    EXPECT_EQ(kept(*w).size(), 1u);
}

TEST_P(ArchiveThroughTheWindow, ADamagedArchiveIsRenamedAsideWithAMessageOnceTheWindowIsUp) {
    {
        QFile garbage(m_dir.filePath(QStringLiteral("archive.sqlite")));
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(20000, '\x3c'));
    }
    auto w = start();
    EXPECT_TRUE(m_messages.empty());  // nothing before the window
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_messages.empty(); }, 5000));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages[0].text.contains(QLatin1String("was damaged")))
        << m_messages[0].text.toStdString();
    const QStringList aside =
        QDir(m_dir.path()).entryList({QStringLiteral("archive.sqlite.damaged-*")}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(QFileInfo(m_dir.filePath(aside[0])).size(), 20000);
    w->loadFromFile(writeShift());
    EXPECT_EQ(kept(*w).size(), 2u);  // the new archive keeps what comes next
    EXPECT_TRUE(w->findChild<QLabel*>(QStringLiteral("lblarchive"))->isHidden());
}

TEST_P(ArchiveThroughTheWindow, RestoreLeavesASlotThatReceivedANewerRecordAsItIs) {
    const ModelProfile& profile = *GetParam();
    std::vector<RecordValue> older(static_cast<std::size_t>(profile.recordSize()), 5);
    std::vector<RecordValue> other(static_cast<std::size_t>(profile.recordSize()), 6);
    {
        // A run that died with slots 3 and 4 unsaved.
        archive::ArchiveKeeper killed(profile, m_dir.filePath(QStringLiteral("archive.sqlite")));
        killed.start();
        killed.keepFiled(2, older, archive::Source::Capture);
        killed.keepFiled(3, other, archive::Source::Capture);
    }
    auto w = start();
    w->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->archive().restoreNotice() != nullptr; }, 5000));
    // Before the operator answers, slot 3 receives a record of its own.
    w->fileRecord(2, std::vector<RecordValue>(static_cast<std::size_t>(profile.recordSize()), 9));
    w->archive().restore();
    EXPECT_EQ(w->session().store().column(2)[0], 9);
    EXPECT_EQ(w->session().store().column(3)[0], 6);
    EXPECT_TRUE(w->statusBar()->currentMessage().contains(QLatin1String("Mem 3 kept the newer")))
        << w->statusBar()->currentMessage().toStdString();
}

TEST_P(ArchiveThroughTheWindow, CompareWithDrawsTheChosenRecordBehindTheMainWindowsTrace) {
    auto w = start();
    const QString shift = writeShift();
    w->loadFromFile(shift);
    w->session().store().column(2)[0] =
        77;  // the slot moves on; the comparison shows what was kept

    w->archive().openSearchWindow();
    frmarchive* search = w->archive().searchWindow();
    ASSERT_TRUE(search);
    auto* compare = search->findChild<QPushButton*>(QStringLiteral("cmdcomparewith"));
    ASSERT_TRUE(compare);
    EXPECT_FALSE(compare->isEnabled());  // nothing chosen yet
    search->findChild<QSpinBox*>(QStringLiteral("spnslot"))->setValue(3);
    search->runSearch();
    ASSERT_TRUE(search->settle());
    ASSERT_EQ(search->results().rowCount(), 1);
    search->table()->selectRow(0);
    ASSERT_TRUE(compare->isEnabled());
    compare->click();
    ASSERT_TRUE(search->settle());

    auto* plot = w->findChild<PlotWidget*>(QStringLiteral("picascan"));
    ASSERT_TRUE(plot->view().reference().has_value());
    EXPECT_TRUE(plot->view().reference()->name.startsWith(QLatin1String("Archive Mem 3 (")));
    EXPECT_TRUE(plot->view().reference()->name.endsWith(QLatin1String(", Shift-North.dat)")))
        << plot->view().reference()->name.toStdString();
    EXPECT_EQ(plot->view().reference()->samples[0], (0 * 7 + 2) % 90);
    EXPECT_EQ(w->session().store().column(2)[0], 77);  // compared, not filed

    // With every version listed, the older one chosen is the one drawn.
    typeOperatorAndSave(*w, 2, QStringLiteral("Zed Quill"));  // version 2 keeps the 77
    search->findChild<QCheckBox*>(QStringLiteral("chkversions"))->setChecked(true);
    search->runSearch();
    ASSERT_TRUE(search->settle());
    ASSERT_EQ(search->results().rowCount(), 2);
    const int older = search->results().version(0) == 1 ? 0 : 1;
    search->table()->selectRow(older);
    compare->click();
    ASSERT_TRUE(search->settle());
    EXPECT_TRUE(plot->view().reference()->name.contains(QLatin1String(" v1, ")));
    EXPECT_EQ(plot->view().reference()->samples[0], (0 * 7 + 2) % 90);
    search->table()->selectRow(1 - older);
    compare->click();
    ASSERT_TRUE(search->settle());
    EXPECT_TRUE(plot->view().reference()->name.contains(QLatin1String(" v2, ")));
    EXPECT_EQ(plot->view().reference()->samples[0], 77);
    EXPECT_TRUE(m_messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Models, ArchiveThroughTheWindow,
                         ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

}  // namespace

#include "web_fixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <map>

#include "archive/archive_search.h"
#include "cli_fixture.h"
#include "crafted_files.h"
#include "session/session.h"

namespace trellicap::testing {

WebProcess::WebProcess(const QStringList& arguments, const QString& workingFolder) {
    if (!workingFolder.isEmpty()) {
        m_process.setWorkingDirectory(workingFolder);
    }
    m_process.start(QStringLiteral(TRELLICAP_WEB_PATH), arguments + QStringList{"--quiet"});
    if (!m_process.waitForStarted(10000)) {
        m_error = m_process.errorString();
        return;
    }
    QByteArray out;
    while (!out.contains('\n') && m_process.waitForReadyRead(20000)) {
        out += m_process.readAllStandardOutput();
    }
    const QRegularExpression address(QStringLiteral("http://[^ ]+:(\\d+)/"));
    const auto match = address.match(QString::fromUtf8(out));
    if (!match.hasMatch()) {
        m_process.waitForFinished(5000);
        m_error = QString::fromUtf8(out + m_process.readAllStandardError());
        return;
    }
    m_port = match.captured(1).toInt();
}

WebProcess::~WebProcess() {
    stop();
}

QString WebProcess::base() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

int WebProcess::stop() {
    if (m_process.state() == QProcess::NotRunning) {
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

WebRun runWeb(const QStringList& arguments, const QByteArray& input) {
    QProcess process;
    process.start(QStringLiteral(TRELLICAP_WEB_PATH), arguments);
    WebRun run;
    if (!process.waitForStarted(10000)) {
        return run;
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

httplib::Result get(int port, const std::string& path, const httplib::Headers& headers) {
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(10);
    client.set_read_timeout(60);
    return client.Get(path, headers);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void samePdfObjectOrder() {
    qputenv("QT_HASH_SEED", "0");
}

QByteArray withoutPdfStamps(QByteArray pdf) {
    // Same length in, same length out: the cross-reference offsets stay valid and equal.
    static const QRegularExpression stamps(QStringLiteral(
        "(/CreationDate ?\\(D:[^)]*\\)|/ID ?\\[[^\\]]*\\]|"
        "xmp:(CreateDate|ModifyDate|MetadataDate)=\"[^\"]*\"|uuid:[0-9a-fA-F-]{36})"));
    QString text = QString::fromLatin1(pdf);
    QRegularExpressionMatchIterator it = stamps.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        for (qsizetype i = match.capturedStart(); i < match.capturedEnd(); ++i) {
            pdf[i] = '#';
        }
    }
    return pdf;
}

namespace {

QString newestUuid(QSqlDatabase& db, const QString& model, int slot) {
    archive::SearchFilter filter;
    filter.model = model;
    filter.slot = slot;
    QString error;
    const auto found = archive::searchArchive(db, filter, &error);
    return found.empty() ? QString() : found.front().uuid;
}

}  // namespace

bool makeTestArchive(TestArchive& archive) {
    const QDir dir(archive.dir.path());
    archive.path = dir.filePath(QStringLiteral("archive.sqlite"));
    archive.tftFile = writeTftFile(dir);
    const QString dacFile = writeDacFile(dir);
    {
        Session::Options options;
        options.archivePath = archive.path;
        Session tft(tft::kProfile, nullptr, options);
        tft.begin();
        if (!tft.load(archive.tftFile).complete) {
            ADD_FAILURE() << "the TFT file does not load";
            return false;
        }
        const QString header[] = {QStringLiteral("<script>alert(1)"), QStringLiteral("</script>"),
                                  QStringLiteral("Axle 7/123"), QStringLiteral("Weld & seam")};
        if (tft.recall(2).refused() || tft.storeHeader(header).refused()) {
            ADD_FAILURE() << "the header store of slot 3 was refused";
            return false;
        }
        if (tft.save(dir.filePath(QStringLiteral("night-shift.dat")))) {
            ADD_FAILURE() << "the TFT file was not saved";
            return false;
        }
        tft.endRunCleanly();
        Session dac(dac::kProfile, nullptr, options);
        dac.begin();
        if (!dac.load(dacFile).complete) {
            ADD_FAILURE() << "the DAC file does not load";
            return false;
        }
        dac.endRunCleanly();
    }
    const QString connection = QUuid::createUuid().toString();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(archive.path);
        ok = db.open();
        archive.slot3 = newestUuid(db, QStringLiteral("tft"), 3);
        archive.slot7 = newestUuid(db, QStringLiteral("tft"), 7);
        archive.dacSlot2 = newestUuid(db, QStringLiteral("dac"), 2);
        // A version no program of ours would write: a whole script in its header and a path
        // that tries to leave its attribute.
        archive.hostile = QUuid::createUuid().toString(QUuid::WithoutBraces);
        // Every column copied from slot 7's version but those the hostile hand wrote.
        const std::map<QString, QString> written = {
            {QStringLiteral("uuid"), QStringLiteral("'%1'").arg(archive.hostile)},
            {QStringLiteral("version"), QStringLiteral("1")},
            {QStringLiteral("source"), QStringLiteral("'file'")},
            {QStringLiteral("source_path"),
             QStringLiteral("'/srv/\"><script>alert(2)</script>.dat'")},
            {QStringLiteral("arrived_ms"), QStringLiteral("arrived_ms + 1")},
            {QStringLiteral("header_json"),
             QStringLiteral("'[[\"txtopname\",\"<script>alert(1)</script>\"]]'")},
            {QStringLiteral("content_hash"), QStringLiteral("'hostile'")},
            {QStringLiteral("search_text"), QStringLiteral("'hostile script'")},
        };
        QStringList names;
        QStringList values;
        for (const QString& name : archive::storedColumnNames()) {
            names << name;
            const auto own = written.find(name);
            values << (own == written.end() ? name : own->second);
        }
        QSqlQuery query(db);
        ok = ok &&
             query.exec(QStringLiteral("INSERT INTO record_versions (%1) SELECT %2 FROM "
                                       "record_versions WHERE uuid = '%3' AND version = 1")
                            .arg(names.join(QStringLiteral(", ")),
                                 values.join(QStringLiteral(", ")), archive.slot7)) &&
             query.exec(
                 QStringLiteral("INSERT INTO record_values SELECT '%1', 1, codes, packing FROM "
                                "record_values WHERE uuid = '%2' AND version = 1")
                     .arg(archive.hostile, archive.slot7)) &&
             query.exec(QStringLiteral("INSERT INTO records SELECT '%1', model, slot, 1 FROM "
                                       "records WHERE uuid = '%2'")
                            .arg(archive.hostile, archive.slot7));
        if (!ok) {
            ADD_FAILURE() << query.lastError().text().toStdString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (archive.slot3.isEmpty() || archive.slot7.isEmpty() || archive.dacSlot2.isEmpty()) {
        ADD_FAILURE() << "the archive lacks a record";
        return false;
    }
    return ok;
}

}  // namespace trellicap::testing

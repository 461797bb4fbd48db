// A real PostgreSQL server for one test: initdb into a temporary folder, a free port on
// 127.0.0.1, trust authentication, one database; stopped and removed at the end. A server
// refuses to run as root, so when the tests run as root the cluster belongs to the
// `postgres` user and every server program runs through runuser. A test can stop the server
// and start it again on the same port (a server going away in the middle of a sync).
// A cluster never outlives its test: a watchdog process stops it when the test process dies
// (a crash, a kill, a time-out), and scripts/test sweeps what a killed run left (the marker
// file names the test process). A port another server took between the probe and the start
// is given up for another. A server that cannot be stopped keeps its folder, and says so.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace trellicap::testing {

class PgCluster {
public:
    PgCluster() = default;
    PgCluster(const PgCluster&) = delete;
    PgCluster& operator=(const PgCluster&) = delete;

    ~PgCluster() { stop(); }

    // The folder of initdb and pg_ctl: TRELLICAP_PG_BIN, else Debian's newest
    // /usr/lib/postgresql/N/bin, else the PATH; empty when none holds them.
    static QString binDir() {
        const QString fromEnvironment = qEnvironmentVariable("TRELLICAP_PG_BIN");
        if (!fromEnvironment.isEmpty()) {
            return fromEnvironment;
        }
        QDir debian(QStringLiteral("/usr/lib/postgresql"));
        QStringList versions = debian.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(versions.begin(), versions.end(),
                  [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
        for (const QString& version : versions) {
            const QString bin = debian.filePath(version + QStringLiteral("/bin"));
            if (QFileInfo::exists(bin + QStringLiteral("/initdb"))) {
                return bin;
            }
        }
        const QString initdb = QStandardPaths::findExecutable(QStringLiteral("initdb"));
        return initdb.isEmpty() ? QString() : QFileInfo(initdb).absolutePath();
    }

    // Why the tests cannot run here, or empty when they can: the one line a skipped test
    // prints.
    static QString unavailableReason() {
        if (binDir().isEmpty()) {
            return QStringLiteral(
                "skipped: PostgreSQL is not installed (no initdb in /usr/lib/postgresql/*/bin "
                "or on the PATH; Debian's package `postgresql` provides it)");
        }
        return {};
    }

    // initdb, start, create the database; false with error() set when a step fails.
    bool start(const QString& database = QStringLiteral("trellicap")) {
        m_database = database;
        m_dir = std::make_unique<QTemporaryDir>();
        if (!m_dir->isValid()) {
            return fail(QStringLiteral("no temporary folder: ") + m_dir->errorString());
        }
        m_port = freePort();
        if (m_port == 0) {
            return fail(QStringLiteral("no free port on 127.0.0.1"));
        }
        if (runningAsRoot() &&
            !run(QStringLiteral("chown"),
                 {QStringLiteral("-R"), QStringLiteral("postgres:postgres"), m_dir->path()},
                 false)) {
            return false;
        }
        writeMarker();
        if (!runServerProgram(
                QStringLiteral("initdb"),
                {QStringLiteral("-D"), dataDir(), QStringLiteral("-A"), QStringLiteral("trust"),
                 QStringLiteral("-U"), superuser(), QStringLiteral("-E"), QStringLiteral("UTF8"),
                 QStringLiteral("--no-sync"), QStringLiteral("--no-instructions")})) {
            return false;
        }
        // Another test's server may take the probed port before ours starts: try others.
        constexpr int kPortTries = 5;
        bool started = startServer();
        for (int attempt = 1; !started && attempt < kPortTries && portTaken(); ++attempt) {
            m_port = freePort();
            started = startServer();
        }
        if (!started) {
            return false;
        }
        startWatchdog();
        return runServerProgram(
            QStringLiteral("createdb"),
            {QStringLiteral("-h"), host(), QStringLiteral("-p"), QString::number(m_port),
             QStringLiteral("-U"), superuser(), m_database});
    }

    // Stops the server at once (as a power cut or a killed server would: "immediate"), or
    // cleanly; the data stay for a restart.
    bool stopServer(bool immediate = false) {
        if (!m_running) {
            return true;
        }
        m_running = false;
        return runServerProgram(QStringLiteral("pg_ctl"),
                                {QStringLiteral("-D"), dataDir(), QStringLiteral("-m"),
                                 immediate ? QStringLiteral("immediate") : QStringLiteral("fast"),
                                 QStringLiteral("-w"), QStringLiteral("stop")});
    }

    // Starts the stopped server again on the same port.
    bool startServer() {
        const QString options = QStringLiteral(
                                    "-p %1 -c listen_addresses=127.0.0.1 -k %2 -c fsync=off "
                                    "-c full_page_writes=off")
                                    .arg(m_port)
                                    .arg(m_dir->path());
        m_running = runServerProgram(
            QStringLiteral("pg_ctl"),
            {QStringLiteral("-D"), dataDir(), QStringLiteral("-o"), options, QStringLiteral("-l"),
             m_dir->filePath(QStringLiteral("server.log")), QStringLiteral("-w"),
             QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("start")});
        return m_running;
    }

    void stop() {
        if (!m_dir) {
            return;
        }
        if (!stopServer()) {
            // Removing the folder under a running server would leave it serving nothing; the
            // folder stays for whoever looks, and the watchdog or scripts/test stops it.
            m_dir->setAutoRemove(false);
            std::fprintf(stderr,
                         "PostgreSQL test cluster in %s could not be stopped (%s); its folder "
                         "stays\n",
                         qPrintable(m_dir->path()), qPrintable(m_error));
        }
        m_dir.reset();
    }

    // Runs one SQL text through psql as the superuser; false with error() set when it fails.
    bool psql(const QString& sql) {
        return runServerProgram(
            QStringLiteral("psql"),
            {QStringLiteral("-h"), host(), QStringLiteral("-p"), QString::number(m_port),
             QStringLiteral("-U"), superuser(), QStringLiteral("-v"),
             QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-c"), sql, m_database});
    }

    [[nodiscard]] QString host() const { return QStringLiteral("127.0.0.1"); }
    [[nodiscard]] int port() const { return m_port; }
    [[nodiscard]] QString database() const { return m_database; }
    [[nodiscard]] QString superuser() const { return QStringLiteral("postgres"); }
    // postgresql://postgres@127.0.0.1:PORT/DATABASE
    [[nodiscard]] QString url() const {
        return QStringLiteral("postgresql://%1@%2:%3/%4")
            .arg(superuser(), host())
            .arg(m_port)
            .arg(m_database);
    }
    [[nodiscard]] QString error() const { return m_error; }
    // The cluster's folder (its data, log and socket).
    [[nodiscard]] QString folder() const { return m_dir ? m_dir->path() : QString(); }

private:
    static bool runningAsRoot() {
#ifdef Q_OS_UNIX
        return ::geteuid() == 0;
#else
        return false;
#endif
    }

    // A port the kernel just handed out and took back: free at that moment.
    static int freePort() {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0)) {
            return 0;
        }
        const int port = probe.serverPort();
        probe.close();
        return port;
    }

    [[nodiscard]] QString dataDir() const {
        return m_dir->filePath(QStringLiteral("data"));
    }

    // The server's log says another process holds the port.
    [[nodiscard]] bool portTaken() const {
        QFile log(m_dir->filePath(QStringLiteral("server.log")));
        return log.open(QIODevice::ReadOnly) &&
               log.readAll().contains("could not bind IPv4 address");
    }

    // "trellicap-test-cluster" in the folder: the test process's id, for scripts/test's sweep.
    void writeMarker() {
        QFile marker(m_dir->filePath(QStringLiteral("trellicap-test-cluster")));
        if (marker.open(QIODevice::WriteOnly)) {
            marker.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n');
        }
    }

    // A process of its own that outlives this one: once the test process is gone, it stops
    // the server at once and removes the folder; once the folder is gone, it ends.
    void startWatchdog() {
#ifdef Q_OS_UNIX
        const QString pgCtl = QDir(binDir()).filePath(QStringLiteral("pg_ctl"));
        const QString asPostgres =
            runningAsRoot() ? QStringLiteral("runuser -u postgres -- ") : QString();
        const QString script = QStringLiteral(
                                   "while kill -0 %1 2>/dev/null && [ -d '%2' ]; do sleep 1; done; "
                                   "if [ -d '%2' ]; then %3'%4' -D '%5' -m immediate stop; "
                                   "rm -rf '%2'; fi")
                                   .arg(QCoreApplication::applicationPid())
                                   .arg(m_dir->path(), asPostgres, pgCtl, dataDir());
        QProcess watchdog;
        watchdog.setProgram(QStringLiteral("/bin/sh"));
        watchdog.setArguments({QStringLiteral("-c"), script});
        watchdog.setWorkingDirectory(QStringLiteral("/"));
        // Not on the test's own output: CTest would wait for it to close.
        watchdog.setStandardInputFile(QProcess::nullDevice());
        watchdog.setStandardOutputFile(QProcess::nullDevice());
        watchdog.setStandardErrorFile(QProcess::nullDevice());
        watchdog.startDetached();
#endif
    }

    bool runServerProgram(const QString& name, const QStringList& arguments) {
        return run(QDir(binDir()).filePath(name), arguments, runningAsRoot());
    }

    bool run(const QString& program, const QStringList& arguments, bool asPostgres) {
        QProcess process;
        if (asPostgres) {
            process.setProgram(QStringLiteral("runuser"));
            process.setArguments(QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                             QStringLiteral("--"), program} +
                                 arguments);
        } else {
            process.setProgram(program);
            process.setArguments(arguments);
        }
        // The postgres user may not enter the folder the tests run in.
        process.setWorkingDirectory(m_dir ? m_dir->path() : QDir::tempPath());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start();
        if (!process.waitForStarted(10000)) {
            return fail(program + QStringLiteral(": ") + process.errorString());
        }
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished(5000);
            return fail(program + QStringLiteral(": no end within two minutes"));
        }
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            return fail(QFileInfo(program).fileName() + QStringLiteral(" failed: ") +
                        QString::fromLocal8Bit(process.readAll()).trimmed());
        }
        return true;
    }

    bool fail(const QString& why) {
        m_error = why;
        return false;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_database;
    QString m_error;
    int m_port = 0;
    bool m_running = false;
};

}  // namespace trellicap::testing

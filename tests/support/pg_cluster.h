// A real PostgreSQL server for one test: initdb into a temporary folder, a free port on
// 127.0.0.1, trust authentication, one database; stopped and removed at the end. A server
// refuses to run as root, so when the tests run as root the cluster belongs to the
// `postgres` user and every server program runs through runuser. A test can stop the server
// and start it again on the same port (a server going away in the middle of a sync).
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTemporaryDir>
#include <algorithm>
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
        if (!runServerProgram(
                QStringLiteral("initdb"),
                {QStringLiteral("-D"), dataDir(), QStringLiteral("-A"), QStringLiteral("trust"),
                 QStringLiteral("-U"), superuser(), QStringLiteral("-E"), QStringLiteral("UTF8"),
                 QStringLiteral("--no-sync"), QStringLiteral("--no-instructions")})) {
            return false;
        }
        if (!startServer()) {
            return false;
        }
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
        stopServer();
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

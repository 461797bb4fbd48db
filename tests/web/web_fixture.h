// The pieces the tests of trellicap-web share: the built server run as a child process (its
// address read from the line it prints when it listens), plain HTTP requests to it, and an
// archive filled the way the window program fills one.
#pragma once

#include <httplib.h>

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

namespace trellicap::testing {

// trellicap-web started with the arguments (and --quiet); stopped with SIGTERM at the end.
class WebProcess {
public:
    explicit WebProcess(const QStringList& arguments, const QString& workingFolder = {});
    ~WebProcess();
    WebProcess(const WebProcess&) = delete;
    WebProcess& operator=(const WebProcess&) = delete;

    // It printed its address; false with error() saying what it printed instead.
    [[nodiscard]] bool listening() const { return m_port > 0; }
    [[nodiscard]] int port() const { return m_port; }
    [[nodiscard]] QString base() const;
    [[nodiscard]] const QString& error() const { return m_error; }
    // SIGTERM, then the exit status (-1 when it did not end within ten seconds).
    int stop();
    [[nodiscard]] bool running() const { return m_process.state() != QProcess::NotRunning; }

private:
    QProcess m_process;
    int m_port = 0;
    QString m_error;
};

struct WebRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs trellicap-web to its end (a refusal, --add-user), with `input` on standard input.
[[nodiscard]] WebRun runWeb(const QStringList& arguments, const QByteArray& input = {});

// A GET to the server (never following redirects); nothing when no answer came.
[[nodiscard]] httplib::Result get(int port, const std::string& path,
                                  const httplib::Headers& headers = {});

// What a record file, a header store and a save leave in a TFT and a DAC archive, as the
// window program keeps them:
//   - TFT slot 3 (version 1 from the file, version 2 after "S  A  V  E" with the operator
//     "<script>alert(1)" and railway "</script>", saved into "night-shift.dat"),
//   - TFT slot 7 (the file's, version 1), DAC slot 2 (version 1),
//   - and one version written by a hostile hand: a whole "<script>alert(1)</script>" in its
//     header and a path that tries to break out of an attribute.
struct TestArchive {
    QTemporaryDir dir;
    QString path;
    QString tftFile;
    QString slot3;  // UUIDs
    QString slot7;
    QString dacSlot2;
    QString hostile;
};

// Fills `archive`; false (with a gtest failure) when a step fails.
[[nodiscard]] bool makeTestArchive(TestArchive& archive);

[[nodiscard]] QByteArray fileBytes(const QString& path);
// Qt's PDF writer lists a document's fonts in the order of a hash whose seed each process
// draws anew: two processes writing the same pages may list them in another order. With
// QT_HASH_SEED=0 in the processes the tests start, they list them alike.
void samePdfObjectOrder();
// The bytes of a PDF with the creation time and the document's random identity (which
// every PDF written carries, so two writes of the same pages differ in them) blanked.
[[nodiscard]] QByteArray withoutPdfStamps(QByteArray pdf);

}  // namespace trellicap::testing

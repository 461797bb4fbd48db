// The main window's record-file commands: File > Open, Save and New, a record file from the
// recent files or a drop, and the unsaved-changes question in front of each of them and of
// Exit. The session does the reading and writing; this says what happened and asks first.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

namespace trellicap {

struct LoadResult;
class Session;
class UnsavedGuard;
class WindowHost;
class frmopen;
class frmsave;

class RecordFileCommands : public QObject {
    Q_OBJECT
public:
    RecordFileCommands(Session& session, WindowHost& host);
    ~RecordFileCommands() override;

    void openSaveWindow();
    void openOpenWindow();
    // File > New: every slot back to its start values and unmarked, after the question.
    void newRecords();
    // A record file from the recent files or a drop: the question, then the load.
    void openRecordFile(const QString& path);

    // The Ok of the save and open windows.
    bool saveToFile(const QString& path);
    void loadFromFile(const QString& path);

    // Asks Save / Discard / Cancel while there are unsaved changes, then runs `then`.
    void proceed(const QString& whatNext, std::function<void()> then);

signals:
    // A record file was opened or saved whole: it is the window's file now.
    void fileTaken(const QString& path);
    // A record file asked for is not there any more.
    void fileGone(const QString& path);

private:
    void showOpenWindow();
    // Asks before a save replaces an existing file; false keeps the save window open.
    bool confirmReplace(const QString& path);
    // A load that stopped part-way: keep the slots, or take the part that was read.
    bool loadPartOf(const LoadResult& result, const QString& path);

    Session& m_session;
    WindowHost& m_host;
    QPointer<frmsave> m_frmsave;
    QPointer<frmopen> m_frmopen;
    std::unique_ptr<UnsavedGuard> m_guard;
    QString m_saveFolder;  // remembered for the run, apart from the open window's
    QString m_openFolder;
    int m_changesWhenOpenShown = 0;  // the open window was shown with these changes settled
};

}  // namespace trellicap

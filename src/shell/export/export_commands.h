// File > Export PDF... and Export CSV... of the main window: the two choice windows (one each,
// kept between uses), the path they suggest, and the run with its progress dialog, one
// export at a time.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

namespace trellicap {

class ExportDialog;
class ExportProgress;
class Session;
class WindowHost;
struct ExportChoice;

// The record file's name with the export's suffix, in the folder of the file; "reports" in
// the working folder before anything is opened or saved.
[[nodiscard]] QString suggestedExportPath(const QString& currentFile, const QString& workingDir,
                                          bool pdf);

class ExportCommands : public QObject {
    Q_OBJECT
public:
    // `isSelected` tells whether a column's entry is selected in the slot list.
    ExportCommands(Session& session, WindowHost& host, std::function<bool(int column)> isSelected);
    ~ExportCommands() override;

    // The choice window for a PDF (pdf true) or a CSV; the path is suggested afresh each
    // time it comes up, not while it is already showing.
    void open(bool pdf);
    // Writes the chosen slots; refused while a capture or another export runs.
    void run(bool pdf, const ExportChoice& choice);

private:
    Session& m_session;
    WindowHost& m_host;
    std::function<bool(int column)> m_isSelected;
    QPointer<ExportDialog> m_pdf;
    QPointer<ExportDialog> m_csv;
    QPointer<ExportProgress> m_running;
};

}  // namespace trellicap

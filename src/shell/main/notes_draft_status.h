// Notes typed into the header boxes and not stored, set aside when another record was shown:
// the status bar says so, with Undo, which shows their slot again with the typed texts.
#pragma once

#include <QObject>

class QPushButton;
class QStatusBar;

namespace trellicap {

class Session;
class WindowHost;

class NotesDraftStatus : public QObject {
    Q_OBJECT
public:
    NotesDraftStatus(Session& session, WindowHost& host, QStatusBar& bar);

    [[nodiscard]] QPushButton* undoButton() const { return m_undo; }

private:
    void setAside(int column);
    void undo();

    Session& m_session;
    WindowHost& m_host;
    QStatusBar& m_bar;
    QPushButton* m_undo;
};

}  // namespace trellicap

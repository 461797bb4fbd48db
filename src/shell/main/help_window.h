// Help > Help Topic: the user's guide that ships inside the program (HTML in the resources),
// in a browser window of its own whose first section is the guide's table of contents.
#pragma once

#include <QPointer>
#include <QWidget>

class QTextBrowser;

namespace trellicap {

inline constexpr const char* kGuideUrl = "qrc:/help/guide.html";

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& program, QWidget* parent = nullptr);

    // Shows the guide from its start (its table of contents) and brings the window forward.
    void showGuide();
    [[nodiscard]] QTextBrowser* browser() const { return m_browser; }
    // Room to read a page of the guide (the placement sizes a window to its hint).
    [[nodiscard]] QSize sizeHint() const override { return {760, 640}; }

private:
    QTextBrowser* m_browser;
};

// Help > Help Topic of a window: the guide's window is made on first use, over its owner,
// and the same one comes back at its start each time after.
class HelpCommand {
public:
    HelpCommand(QWidget& owner, QString program) : m_owner(owner), m_program(std::move(program)) {}

    void open();

private:
    QWidget& m_owner;
    QString m_program;
    QPointer<HelpWindow> m_window;
};

}  // namespace trellicap

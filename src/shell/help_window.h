// Help > Help Topic: the user's guide that ships inside the program (HTML in the resources),
// in a browser window of its own whose first section is the guide's table of contents.
#pragma once

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

}  // namespace trellicap

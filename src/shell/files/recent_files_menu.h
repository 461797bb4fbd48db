// File > Recent Files: the program's last record files (RecentFiles), one entry each, newest
// first, numbered for the keyboard; "(none)" greyed while there are none.
#pragma once

#include <QString>
#include <functional>

class QMenu;

namespace trellicap {

class RecentFilesMenu {
public:
    using Opener = std::function<void(const QString& path)>;

    // Fills `menu` at once; an entry chosen hands its path to `open`.
    RecentFilesMenu(QMenu* menu, QString program, Opener open);

    [[nodiscard]] QMenu* menu() const { return m_menu; }
    // A file opened or saved goes to the front.
    void add(const QString& path);
    // A file that is not there any more leaves the list.
    void forget(const QString& path);

private:
    void fill();

    QMenu* m_menu;
    QString m_program;
    Opener m_open;
};

}  // namespace trellicap

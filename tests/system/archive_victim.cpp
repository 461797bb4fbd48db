// A window program that is killed in the middle of a batch: it starts in the folder it is
// given (udc.cfg names the simulator's pty), opens the record file given after it (if any),
// captures slots 1 to 20 and prints
// "filed SLOT HEX" for each slot the moment it is filed (and, by then, kept by the
// archive), HEX being the column's values as the archive encodes them.
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <cstdio>

#include "archive/archive_keeper.h"
#include "archive/record_codes.h"
#include "link/instrument_link.h"
#include "link/qt_serial_port.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "shell/archive/archive_hooks.h"
#include "shell/main/frmmain.h"

using namespace trellicap;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: archive_victim tft|dac FOLDER [RECORD-FILE]\n");
        return 2;
    }
    const ModelProfile& profile = QByteArray(argv[1]) == "dac" ? dac::kProfile : tft::kProfile;
    frmmain::Options options;
    options.workingDir = QString::fromLocal8Bit(argv[2]);
    options.messenger = [](QWidget*, const UserMessage& m) {
        std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
    };
    frmmain window(profile, std::make_unique<QtSerialPort>(), options);
    window.startUp();
    if (argc == 4) {
        window.loadFromFile(QString::fromLocal8Bit(argv[3]));
    }
    // Connected after the window's archive: the record is kept when this line goes out.
    QObject::connect(&window.session().link(), &InstrumentLink::slotFiled, &window,
                     [&window](int column) {
                         const QByteArray hex =
                             archive::encodeRecord(window.session().store().column(column)).toHex();
                         std::fprintf(stderr, "status: %s\n",
                                      qPrintable(window.archive().keeper().statusText()));
                         std::printf("filed %d %s\n", column + 1, hex.constData());
                         std::fflush(stdout);
                     });
    for (int row = 0; row < 20; ++row) {
        window.slotList()->item(row)->setSelected(true);
    }
    window.cmdcapture_Click();
    return QApplication::exec();
}

// A program whose last worker thread outlives its owner: the thread writes MARKER a moment
// after main() has returned, which it can only do when the program's end waits for it.
#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <cstdio>

#include "archive/outliving_threads.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: outliving_thread_child MARKER\n");
        return 2;
    }
    const QString marker = QString::fromLocal8Bit(argv[1]);
    QThread* thread = QThread::create([marker] {
        QThread::msleep(400);
        QFile file(marker);
        if (file.open(QIODevice::WriteOnly)) {
            file.write("ended\n");
        }
    });
    thread->start();
    trellicap::archive::letThreadOutliveItsOwner(thread);
    return 0;
}

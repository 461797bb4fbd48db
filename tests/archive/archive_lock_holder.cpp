// A second program that holds an archive locked: it takes the write lock, says "locked" on
// its standard output, and lets go when a line arrives on its standard input.
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: archive_lock_holder ARCHIVE\n");
        return 2;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(QString::fromLocal8Bit(argv[1]));
    if (!db.open()) {
        return 1;
    }
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("BEGIN EXCLUSIVE"))) {
        std::fprintf(stderr, "cannot lock\n");
        return 1;
    }
    std::printf("locked\n");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    query.exec(QStringLiteral("COMMIT"));
    return 0;
}

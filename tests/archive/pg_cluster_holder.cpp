// A test process that starts a PostgreSQL test cluster, says "PORT FOLDER" on its standard
// output and waits to be killed: the cluster must not outlive it.
#include <QCoreApplication>
#include <cstdio>
#include <iostream>
#include <string>

#include "support/pg_cluster.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    trellicap::testing::PgCluster cluster;
    if (!cluster.start()) {
        std::fprintf(stderr, "%s\n", qPrintable(cluster.error()));
        return 1;
    }
    std::printf("%d %s\n", cluster.port(), qPrintable(cluster.folder()));
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    return 0;
}

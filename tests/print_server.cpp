#include "support/CupsDaemon.h"

#include <QCoreApplication>

#include <cstdio>

// The tests' private print server, for a script: writes its folder (its
// socket cups.sock, the printed pages in out/) and serves until its standard
// input closes.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    CupsDaemon cups;
    if (const QString failed = cups.start(); !failed.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(failed));
        return 1;
    }
    std::printf("%s\n", qPrintable(cups.folder()));
    std::fflush(stdout);
    while (std::getchar() != EOF) { }
    return 0;
}

// zel-icon-files: writes the program's icon as PNG files for installation:
// zel-icon-files DIRECTORY SIZE... gives DIRECTORY/SIZExSIZE.png for each.
#include "app/programicon.h"

#include <QDir>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: zel-icon-files DIRECTORY SIZE...\n");
        return 64;
    }
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(directory.path());
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString file = directory.filePath(QStringLiteral("%1x%1.png").arg(size));
        if (size <= 0 || !ProgramIconImage(size).save(file)) {
            std::fprintf(stderr, "zel-icon-files: cannot write %s\n", qPrintable(file));
            return 73;
        }
    }
    return 0;
}

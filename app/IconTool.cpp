// Build helper: writes the application icon as nuv-<size>.png files into a folder, for
// installation. Usage: nuv_icon <folder> <size>...
#include <cstdio>
#include <cstdlib>

#include <QDir>
#include <QGuiApplication>

#include "ui/Artwork.h"
#include "ui/Fonts.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <size>...\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    InstallFontSubstitutions();
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString path = folder.filePath(QStringLiteral("nuv-%1.png").arg(size));
        if (size <= 0 || !DrawIcon(size).save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

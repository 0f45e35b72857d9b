#include "windows/IconFile.h"

#include <QDir>
#include <QImage>
#include <QString>
#include <QTextStream>

// Writes the square images of the program's icon file as the PNG files of
// the desktop's icon theme, <folder>/<n>x<n>/apps/tropinets.png, so that the
// desktop shows the same pictures as the program's own windows.
//   tropinets_iconpngs <icon file> <folder> <size>...
int main(int argc, char *argv[])
{
    QTextStream err(stderr);
    if (argc < 4) {
        err << "usage: tropinets_iconpngs <icon file> <folder> <size>...\n";
        return 2;
    }
    const QString iconPath = QString::fromLocal8Bit(argv[1]);
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    const IconFile icon = IconFile::load(iconPath);
    if (!icon.ok()) {
        err << iconPath << ": " << icon.error() << '\n';
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const IconFile::Entry *found = nullptr;
        for (const IconFile::Entry &entry : icon.entries()) {
            if (entry.image.width() == size && entry.image.height() == size)
                found = &entry;
        }
        if (!found) {
            err << iconPath << " has no " << size << "x" << size << " image\n";
            return 1;
        }
        const QString name = QStringLiteral("%1x%1/apps").arg(size);
        const QString path = folder.filePath(name + QStringLiteral("/tropinets.png"));
        if (!folder.mkpath(name) || !found->image.save(path, "PNG")) {
            err << "cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}

// Built and run with every build: turns a picture into C++ source holding its
// pixels as the screen keeps them (32 bits each, 0xffRRGGBB, rows top down),
// so that the program shows it straight from its own file, with nothing to
// decode or copy while it starts.
//   tropinets_pixelarray <picture> <output.cpp> <name>
// defines <name>Width, <name>Height and <name>Pixels.
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <picture> <output.cpp> <name>\n", argv[0]);
        return 2;
    }
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    const QImage image = reader.read().convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "%s: %s: %s\n", argv[0], argv[1], qPrintable(reader.errorString()));
        return 1;
    }
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "%s: %s: %s\n", argv[0], argv[2], qPrintable(file.errorString()));
        return 1;
    }
    const QString name = QString::fromLocal8Bit(argv[3]);
    QTextStream out(&file);
    out << "// Made from " << QString::fromLocal8Bit(argv[1]).section(QLatin1Char('/'), -1)
        << " by tropinets_pixelarray while building; not to be edited.\n"
        << "#include <QtGlobal>\n\n"
        << "extern const int " << name << "Width = " << image.width() << ";\n"
        << "extern const int " << name << "Height = " << image.height()
        << ";\n"
        // Aligned as Qt's images want their rows.
        << "alignas(16) extern const quint32 " << name << "Pixels[] = {";
    Qt::hex(out);
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            out << ((x % 8) ? " 0x" : "\n    0x") << (row[x] | 0xff000000u) << ',';
    }
    out << "\n};\n";
    out.flush();
    return file.error() == QFile::NoError ? 0 : 1;
}

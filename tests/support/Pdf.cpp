#include "support/Pdf.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

QString runTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool popplerInstalled()
{
    for (const char *tool : { "pdfinfo", "pdftotext", "pdftoppm", "pdfimages", "pdffonts" }) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            return false;
    }
    return true;
}

int pageCount(const QString &pdf)
{
    static const QRegularExpression pages(
        QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption);
    const auto match = pages.match(runTool(QStringLiteral("pdfinfo"), { pdf }));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pdfText(const QString &pdf)
{
    return runTool(QStringLiteral("pdftotext"), { pdf, QStringLiteral("-") });
}

QImage pageImage(const QString &pdf, int dotsPerInch)
{
    const QString stem = pdf + QStringLiteral("-page");
    // A picture left from an earlier call must not pass for this one.
    QFile::remove(stem + QStringLiteral(".png"));
    runTool(QStringLiteral("pdftoppm"),
        { QStringLiteral("-r"), QString::number(dotsPerInch), QStringLiteral("-png"),
            QStringLiteral("-singlefile"), pdf, stem });
    return QImage(stem + QStringLiteral(".png"));
}

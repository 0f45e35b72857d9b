#include "BenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTextStream>

#include <algorithm>
#include <cstdlib>
#include <vector>

void measure(const QString &name, const std::function<void()> &run)
{
    run();
    QElapsedTimer timer;
    timer.start();
    qint64 count = 0;
    while (timer.nsecsElapsed() < 250'000'000 || count < 3) {
        run();
        ++count;
    }
    const double micros = timer.nsecsElapsed() / 1000.0 / count;
    QTextStream(stdout) << name << ": " << QString::number(micros, 'f', 1) << " us per run ("
                        << count << " runs)\n";
}

TimedRun timed(std::function<void()> run)
{
    return [run = std::move(run)] {
        QElapsedTimer timer;
        timer.start();
        run();
        return timer.nsecsElapsed() / 1e9;
    };
}

TimedRun process(const QString &program, const QStringList &arguments, const QString &inputFile,
    const QString &outputFile)
{
    return [=] {
        QProcess child;
        if (!inputFile.isEmpty())
            child.setStandardInputFile(inputFile);
        child.setStandardOutputFile(outputFile.isEmpty() ? QProcess::nullDevice() : outputFile);
        QElapsedTimer timer;
        timer.start();
        child.start(program, arguments);
        if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit
            || child.exitCode() != 0) {
            QTextStream(stderr) << "bench: " << program << ' ' << arguments.join(u' ')
                                << " failed: " << child.errorString() << '\n';
            std::exit(2);
        }
        return timer.nsecsElapsed() / 1e9;
    };
}

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

void printRatioHeader()
{
    if (qEnvironmentVariableIsSet("TROPINETS_BENCH_ROWS_ONLY"))
        return;
    QTextStream(stdout) << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                               .arg(QStringLiteral("case"), -52)
                               .arg(QStringLiteral("ours ms"), 10)
                               .arg(QStringLiteral("floor ms"), 10)
                               .arg(QStringLiteral("ratio"), 7)
                               .arg(QStringLiteral("min"), 6)
                               .arg(QStringLiteral("max"), 6);
}

namespace {

struct Pairs {
    std::vector<double> ours, floor, ratios;
};

// Alternating which goes first keeps any drift from favouring one.
Pairs measurePairs(
    const std::function<double()> &ours, const std::function<double()> &floor, int pairs)
{
    Pairs measured;
    for (int i = 0; i < pairs; ++i) {
        double a, b;
        if (i % 2) {
            b = floor();
            a = ours();
        } else {
            a = ours();
            b = floor();
        }
        measured.ours.push_back(a);
        measured.floor.push_back(b);
        measured.ratios.push_back(a / b);
    }
    return measured;
}

// One table row: both medians in the row's unit, then the ratios.
double printRow(const QString &name, const Pairs &measured, double unit)
{
    const double ratio = median(measured.ratios);
    const auto [least, most] = std::minmax_element(measured.ratios.begin(), measured.ratios.end());
    QTextStream(stdout) << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                               .arg(name, -52)
                               .arg(median(measured.ours) / unit, 10, 'f', 3)
                               .arg(median(measured.floor) / unit, 10, 'f', 3)
                               .arg(ratio, 7, 'f', 2)
                               .arg(*least, 6, 'f', 2)
                               .arg(*most, 6, 'f', 2);
    return ratio;
}

} // namespace

double compare(const QString &name, const TimedRun &ours, const TimedRun &floor, int pairs)
{
    // One untimed round of each warms caches and lazy initialisation.
    ours();
    floor();
    return printRow(name, measurePairs(ours, floor, pairs), 1e-3);
}

SizedRun processOutput(const QString &program, const QStringList &arguments)
{
    return [=] {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(program, arguments);
        bool number = false;
        double value = 0;
        if (child.waitForFinished(-1) && child.exitStatus() == QProcess::NormalExit
            && child.exitCode() == 0)
            value = child.readAllStandardOutput().trimmed().toDouble(&number);
        if (!number) {
            QTextStream(stderr) << "bench: " << program << ' ' << arguments.join(u' ')
                                << " printed no number: " << child.errorString() << '\n';
            std::exit(2);
        }
        return value;
    };
}

double compareSizes(const QString &name, const SizedRun &ours, const SizedRun &floor, int pairs)
{
    return printRow(name, measurePairs(ours, floor, pairs), 1024.0 * 1024.0);
}

void printMemoryRow(const QString &name, double oursMiB, double limitMiB)
{
    QTextStream(stdout) << QStringLiteral("%1 %2 %3 %4\n")
                               .arg(name, -52)
                               .arg(oursMiB, 10, 'f', 1)
                               .arg(limitMiB, 10, 'f', 1)
                               .arg(oursMiB / limitMiB, 7, 'f', 2);
}

QString runSelf(const QStringList &arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit
        || child.exitCode() != 0) {
        QTextStream(stderr) << "bench: " << arguments.join(u' ') << " failed\n";
        std::exit(2);
    }
    return QString::fromUtf8(child.readAllStandardOutput());
}

namespace {

qint64 statusField(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

} // namespace

qint64 peakMemory()
{
    return statusField("VmHWM:");
}

qint64 currentMemory()
{
    return statusField("VmRSS:");
}

void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1) {
        QTextStream(stderr) << "bench: cannot reset the peak memory\n";
        std::exit(2);
    }
}

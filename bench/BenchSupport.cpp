#include "BenchSupport.h"

#include <QElapsedTimer>
#include <QTextStream>

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

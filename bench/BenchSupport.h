#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Runs the case until it has taken at least a quarter second and prints the
// mean time of one run.
void measure(const QString &name, const std::function<void()> &run);

// One run of work, timed by the caller's clock; returns seconds. Work that is
// another program (iconv, dd, ...) runs as a process and counts whole.
using TimedRun = std::function<double()>;

// Times a plain function as a TimedRun.
TimedRun timed(std::function<void()> run);

// Times a process: the program with its arguments, standard input from a file
// when inputFile is set, standard output into outputFile when set, or thrown
// away. Fails the benchmark loudly if the program cannot run.
TimedRun process(const QString &program, const QStringList &arguments,
    const QString &inputFile = QString(), const QString &outputFile = QString());

// The project's run against its floor, the same work with nothing extra,
// measured in interleaved pairs in this run so that a shared, noisy machine
// slows both alike. Prints one table row: the name, both medians in ms, and
// the median, min and max of the pairs' ratios. Returns the median ratio.
double compare(const QString &name, const TimedRun &ours, const TimedRun &floor, int pairs = 11);

// Every program prints its part of one table of ratios: it calls
// printRatioHeader() once at its start and then prints rows only through
// compare() and printMemoryRow(); anything else goes to standard error.
// bench.sh runs the programs one after another and sets the environment
// variable TROPINETS_BENCH_ROWS_ONLY after the first, so the header shows
// once; a program run by hand prints its own.
void printRatioHeader();

// One run that reports a size in bytes, such as a process's resident memory.
using SizedRun = std::function<double()>;

// Runs a program and takes the number it prints on its standard output.
// Fails the benchmark loudly if the program cannot run or prints no number.
SizedRun processOutput(const QString &program, const QStringList &arguments);

// Like compare(), for sizes: the row shows both medians in MiB where the
// time rows show milliseconds.
double compareSizes(
    const QString &name, const SizedRun &ours, const SizedRun &floor, int pairs = 11);

// A row of peak memory against its limit, both in MiB, in the same columns:
// a ratio of 1 or less meets the limit.
void printMemoryRow(const QString &name, double oursMiB, double limitMiB);

// Runs this very program again with the arguments and returns what it wrote
// to standard output, so a measurement can start in a fresh process.
QString runSelf(const QStringList &arguments);

// The highest resident memory of this process since the start or since the
// last resetPeakMemory(), in bytes (VmHWM of /proc/self/status), and the
// resident memory now (VmRSS).
qint64 peakMemory();
qint64 currentMemory();
// Makes the peak the present (writes 5 to /proc/self/clear_refs).
void resetPeakMemory();

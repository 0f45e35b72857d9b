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
double compare(const QString &name, const TimedRun &ours, const TimedRun &floor,
               int pairs = 11);

// Prints the header of the ratio table; each program calls it once.
void printRatioHeader();

// One run that reports a size in bytes, such as a process's resident memory.
using SizedRun = std::function<double()>;

// Runs a program and takes the number it prints on its standard output.
// Fails the benchmark loudly if the program cannot run or prints no number.
SizedRun processOutput(const QString &program, const QStringList &arguments);

// Like compare(), for sizes: the row shows both medians in MiB where the
// time rows show milliseconds.
double compareSizes(const QString &name, const SizedRun &ours, const SizedRun &floor,
                    int pairs = 11);

#pragma once

#include <QString>

#include <functional>

// Runs the case until it has taken at least a quarter second and prints the
// mean time of one run.
void measure(const QString &name, const std::function<void()> &run);

#pragma once

#include <QByteArray>
#include <QString>

// Small helpers for tests that read and write real files.
QByteArray readAll(const QString &path);
bool writeAll(const QString &path, const QByteArray &bytes);

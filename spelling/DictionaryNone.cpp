#include "spelling/Dictionary.h"

// Built without Hunspell: the program has no dictionary.
QStringList Dictionary::defaultFolders()
{
    return {};
}

Dictionary::Dictionary(const QStringList &)
    : m_unavailable(QStringLiteral("Эта сборка программы не проверяет орфографию."))
{
}

Dictionary::~Dictionary() = default;

bool Dictionary::load()
{
    return false;
}

bool Dictionary::knows(const QString &)
{
    return true;
}

QStringList Dictionary::suggestions(const QString &, int)
{
    return {};
}

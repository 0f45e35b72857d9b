#include "spelling/Dictionary.h"

#include "spelling/PupilSuggestions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>

#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const QString Name = QStringLiteral("ru_RU");

// Hunspell opens its files by 8-bit names. Built with MinGW, it takes them
// in Windows' ANSI code page, which may lack the letters of «Тропинец»; the
// file's short name is plain ASCII.
QByteArray hunspellName(const QString &path)
{
#ifdef Q_OS_WIN
    const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
    wchar_t shortName[MAX_PATH];
    const DWORD length = GetShortPathNameW(wide.c_str(), shortName, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return QString::fromWCharArray(shortName, int(length)).toLocal8Bit();
#endif
    return QFile::encodeName(path);
}

} // namespace

QStringList Dictionary::defaultFolders()
{
    return { QCoreApplication::applicationDirPath() + QStringLiteral("/hunspell"),
        QStringLiteral("/usr/share/hunspell") };
}

Dictionary::Dictionary(const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QString list = QDir(folder).filePath(QString::fromLatin1(WordListName));
        if (QFileInfo(list).isFile()) {
            m_wordList = list;
            break;
        }
    }
    for (const QString &folder : folders) {
        const QDir dir(folder);
        if (QFile::exists(dir.filePath(Name + QStringLiteral(".aff")))
            && QFile::exists(dir.filePath(Name + QStringLiteral(".dic")))) {
            m_affix = dir.filePath(Name + QStringLiteral(".aff"));
            m_words = dir.filePath(Name + QStringLiteral(".dic"));
            return;
        }
    }
    m_unavailable = QStringLiteral("Проверка орфографии недоступна: не найден словарь русского "
                                   "языка (%1.aff и %1.dic) в папках %2.")
                        .arg(Name, QDir::toNativeSeparators(folders.join(QStringLiteral(", "))));
}

Dictionary::~Dictionary()
{
    delete m_hunspell;
}

bool Dictionary::load()
{
    if (m_hunspell || !m_unavailable.isEmpty())
        return m_hunspell;
    m_hunspell = new Hunspell(hunspellName(m_affix).constData(), hunspellName(m_words).constData());
    // Older dictionaries are written in KOI8-R; the affix file says which.
    m_encoding = QByteArray::fromStdString(m_hunspell->get_dict_encoding());
    if (!QStringEncoder(m_encoding.constData()).isValid()) {
        m_unavailable
            = QStringLiteral("Проверка орфографии недоступна: словарь %1 записан "
                             "в кодировке %2, которой программа не знает.")
                  .arg(QDir::toNativeSeparators(m_words), QString::fromLatin1(m_encoding));
        delete m_hunspell;
        m_hunspell = nullptr;
    }
    if (m_hunspell)
        addWordList();
    return m_hunspell;
}

void Dictionary::addWordList()
{
    // Ours, but read like any file: a junk or huge one adds what it may.
    constexpr qint64 MostBytes = 64 * 1024;
    QFile file(m_wordList);
    if (m_wordList.isEmpty() || !file.open(QIODevice::ReadOnly))
        return;
    QByteArray text = file.read(MostBytes);
    if (!file.atEnd())
        text.truncate(text.lastIndexOf('\n') + 1);
    const auto encoded = [this](const QString &word) -> std::optional<std::string> {
        QStringEncoder encode(m_encoding.constData(), QStringConverter::Flag::ConvertInvalidToNull);
        const QByteArray bytes = encode(word);
        if (encode.hasError() || bytes.contains('\0') || word.size() > PupilSuggestions::LongestWord
            || !std::all_of(
                word.begin(), word.end(), [](QChar c) { return c.isLetter() || c == u'-'; }))
            return std::nullopt;
        return bytes.toStdString();
    };
    QSet<QString> lines; // each once: Hunspell keeps a word's copies in one chain
    for (const QString &line : QString::fromUtf8(text).split(u'\n'))
        lines.insert(line.simplified());
    for (const QString &line : std::as_const(lines)) {
        const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty() || words.size() > 2 || words.constFirst().startsWith(u'#'))
            continue;
        const auto word = encoded(words.constFirst());
        const auto model = encoded(words.value(1));
        if (!word)
            continue;
        // A model without endings of its own lends none: the word is taken alone.
        if (!model || model->empty() || m_hunspell->add_with_affix(*word, *model) != 0)
            m_hunspell->add(*word);
    }
}

bool Dictionary::knows(const QString &word)
{
    if (!load())
        return true;
    QStringEncoder encode(m_encoding.constData(), QStringConverter::Flag::ConvertInvalidToNull);
    const QByteArray bytes = encode(word);
    // A letter the dictionary's encoding lacks cannot be in its words.
    if (encode.hasError() || bytes.contains('\0'))
        return false;
    return m_hunspell->spell(bytes.toStdString());
}

QStringList Dictionary::suggestions(const QString &word, int most)
{
    QStringList found;
    if (!load())
        return found;
    QStringEncoder encode(m_encoding.constData(), QStringConverter::Flag::ConvertInvalidToNull);
    const QByteArray bytes = encode(word);
    if (encode.hasError() || bytes.contains('\0'))
        return found;
    for (const std::string &guess : m_hunspell->suggest(bytes.toStdString())) {
        if (found.size() == most)
            break;
        QStringDecoder decode(m_encoding.constData());
        found << decode(QByteArrayView(guess.data(), qsizetype(guess.size())));
    }
    return found;
}

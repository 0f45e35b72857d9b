#pragma once

#include <QString>
#include <QStringList>

class Hunspell;

// The Russian dictionary: Hunspell's ru_RU where the program is built with
// Hunspell (DictionaryHunspell.cpp), none where it is not
// (DictionaryNone.cpp). Its files are read on the first word asked, from
// the first of the folders that holds both, and with them the program's
// own list of the words children write (WordListName), from the first
// folder that holds it.
class Dictionary {
public:
    // The folder "hunspell" beside the program, where the Windows build
    // brings its own, then the system's.
    static QStringList defaultFolders();
    static constexpr const char *WordListName = "children-words.txt";

    explicit Dictionary(const QStringList &folders = defaultFolders());
    ~Dictionary();
    Dictionary(const Dictionary &) = delete;
    Dictionary &operator=(const Dictionary &) = delete;

    // Empty when the dictionary can be used; otherwise why not, said to
    // the pupil.
    QString unavailableReason() const { return m_unavailable; }

    bool knows(const QString &word);
    // The dictionary's best guesses first, at most `most` of them.
    QStringList suggestions(const QString &word, int most);

private:
    bool load();
    void addWordList();

    QString m_affix; // ru_RU.aff
    QString m_words; // ru_RU.dic
    QString m_wordList; // may be empty: the dictionary serves without it
    QString m_unavailable;
    Hunspell *m_hunspell = nullptr;
    QByteArray m_encoding; // the one the dictionary's files are written in
};

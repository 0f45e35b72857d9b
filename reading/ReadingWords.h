#pragma once

#include <QString>

// What a reading says, in the reading window and on the story's web page
// alike.
namespace ReadingWords {
inline const QString Caption = QStringLiteral("Чтение рассказа с выбором продолжения");
inline const QString FirstQuestionTitle = QStringLiteral("Выбор продолжения");
inline const QString Yes = QStringLiteral("Да");
inline const QString No = QStringLiteral("Нет");
inline const QString TitlePrompt = QStringLiteral("Придумай название рассказа");
inline const QString ReaderPrompt = QStringLiteral("Рассказ читал:");
// What the ear hears of the two prompts: a question or a whole sentence,
// where the eye reads a fragment.
inline const QString TitleHeard = TitlePrompt;
inline const QString ReaderHeard = QStringLiteral("Кто читал рассказ?");
inline const QString ReadAloud = QStringLiteral("Читать вслух");
// Says a box's text once more, then the chapter before it, while reading
// aloud is on.
inline const QString Repeat = QStringLiteral("Повторить");
// What leaves an answer typed in.
inline const QString Done = QStringLiteral("Готово");
// The reader line: these words, then the name with no further separator.
inline const QString ReaderLine = QStringLiteral("Читатель - ");
inline const QString Print = QStringLiteral("Печать рассказа");
} // namespace ReadingWords

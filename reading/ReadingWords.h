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
// What leaves an answer typed in.
inline const QString Done = QStringLiteral("Готово");
// The reader line: these words, then the name with no further separator.
inline const QString ReaderLine = QStringLiteral("Читатель - ");
inline const QString Print = QStringLiteral("Печать рассказа");
} // namespace ReadingWords

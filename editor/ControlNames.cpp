#include "editor/ControlNames.h"

#include <QFileInfo>

#include <array>

QString blockName(int block)
{
    static const std::array<const char16_t *, 10> Names = {
        u"Начало рассказа",
        u"Вопрос 1",
        u"Глава 1",
        u"Глава 2",
        u"Вопрос 2",
        u"Вопрос 3",
        u"Концовка 1",
        u"Концовка 2",
        u"Концовка 3",
        u"Концовка 4",
    };
    return block >= 0 && block < int(Names.size()) ? QString::fromUtf16(Names[block]) : QString();
}

QString frameName(int frame)
{
    return QStringLiteral("Картинка к концовке %1").arg(frame + 1);
}

QString blockDescription(const QString &text)
{
    return text.trimmed().isEmpty() ? QStringLiteral("пусто") : text;
}

QString frameDescription(const QString &picturePath)
{
    // Paths may come from another computer, with either kind of separator.
    QString path = picturePath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? QStringLiteral("картинка не выбрана") : name;
}

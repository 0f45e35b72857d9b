#include "editor/HelpWindow.h"

#include "widgets/WindowDesign.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>

namespace {

// The lines keep their leading and trailing spaces and the double spaces
// inside them; the box wraps them at its own width as well.
const char16_t *const HelpLines[] = {
    u"     Дорогой друг, эта программа научит тебя ",
    u"понимать, как выполняется разветвляющийся ",
    u"алгоритм.",
    u"С её помощью ты сможешь придумать и записать ",
    u"рассказ, в котором читатель может выбирать ",
    u"продолжение.",
    u"      Чтобы записать рассказ, щёлкни по любому блоку ",
    u"блок-схемы. В блоки-параллелограммы запиши главы ",
    u"твоего рассказа,  в ромбы - вопросы, от ответа на ",
    u"которые зависит  продолжение рассказа.",
    u"       Под блок-схемой размести иллюстрации к ",
    u"рассказу. Щёлкни мышкой по рамке и выбери файл с ",
    u"рисунком, который ты хочешь вставить.",
    u"       Рассказ можно:",
    u"       записать на диск (команда Файл - Сохранить),",
    u"       прочитать с диска (команда Файл - Открыть),",
    u"       распечатать (команда Рассказ - Печатать),",
    u"       стереть (команда Файл - Создать)",
    u"       прочитать с выбором продолжения (команда ",
    u"Рассказ - Читать).  ",
};

} // namespace

HelpWindow::HelpWindow(QWidget *owner)
    : QDialog(owner, fixedWindow(Qt::Dialog))
{
    setDesign(*this, QStringLiteral("FrmHelp"), QStringLiteral("Описание программы"),
        QSize(twips(7140), twips(4785)));
    setModal(true);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setGeometry(twips(240), twips(240), twips(6615), twips(4335));
    m_text->setFont(designFont(12));
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setReadOnly(true);
    // The pupil may still move through the text with the keys.
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setPlainText(helpText());
    m_text->setAccessibleName(QStringLiteral("Описание программы"));
    // The text speaks of the mouse; the keys are told to those who listen,
    // as the window opens.
    setAccessibleDescription(keyboardHelp());
    connect(m_text, &QPlainTextEdit::textChanged, this, &HelpWindow::boxTextChanged);
}

QString HelpWindow::helpText()
{
    QString text;
    for (const char16_t *line : HelpLines) {
        text += QString::fromUtf16(line);
        text += QStringLiteral("\r\n");
    }
    return text;
}

QString HelpWindow::keyboardHelp()
{
    return QStringLiteral(
        "Без мыши: клавиша Tab и стрелки ведут по блокам блок-схемы, стрелки влево и вправо "
        "ведут по выходам Ложь и Истина. Клавиша Ввод открывает текст блока; в окне ввода Tab "
        "ведёт к кнопке Ввод завершён. После блоков Tab ведёт к четырём рамкам для картинок к "
        "концовкам, и Ввод выбирает картинку. Alt и Ф открывает меню Файл, Alt и Р меню "
        "Рассказ, Alt и О это описание, Alt и В выход. Escape закрывает это описание.");
}

void HelpWindow::marginClicked()
{
    hide();
}

void HelpWindow::boxTextChanged()
{
    hide();
}

void HelpWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        marginClicked();
    QDialog::mouseReleaseEvent(event);
}

void HelpWindow::closeEvent(QCloseEvent *event)
{
    hide();
    event->accept();
    // Unloaded: the next opening builds the window afresh.
    deleteLater();
}

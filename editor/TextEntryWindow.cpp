#include "editor/TextEntryWindow.h"

#include "flowchart/SpokenWords.h"
#include "spelling/SpellChecker.h"
#include "spelling/SpellingHighlighter.h"
#include "story/StoryDocument.h"
#include "widgets/WindowDesign.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {

// The box keeps paragraphs; the story keeps line breaks as CR LF.
QString toStoryText(QString text)
{
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

QString toBoxText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

TextEntryWindow::TextEntryWindow(StoryDocument &story, SpellChecker &spelling, QWidget *owner)
    : QDialog(owner)
    , m_story(story)
    , m_spelling(spelling)
{
    setDesign(*this, QStringLiteral("FrmVvod"), QStringLiteral("Ввод текста"),
        QSize(twips(4710), twips(3705)));
    setModal(true);
    fillBackground(*this, QColor(254, 240, 222));

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setGeometry(twips(120), twips(120), twips(4455), twips(2895));
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setFont(designFont(12));
    m_text->setTabChangesFocus(true);
    // Connected before the highlighter is made, so that it knows where the
    // pupil types before it looks at the change.
    connect(m_text->document(), &QTextDocument::contentsChange, this,
        [this](int position, int, int added) {
            m_highlighter->typedAt(position + added);
            keepWithinLimit(position, added);
        });
    m_highlighter = new SpellingHighlighter(m_spelling, m_text->document());
    connect(m_text, &QPlainTextEdit::cursorPositionChanged, this,
        [this] { m_highlighter->caretMovedTo(m_text->textCursor().position()); });
    m_text->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_text, &QWidget::customContextMenuRequested, this, &TextEntryWindow::showTextMenu);

    // Over the bottom of the box, shown only once something was cut.
    m_cutNote = new QLabel(QStringLiteral("Блок вмещает не больше %1 знаков: лишнее не вставлено.")
                               .arg(QLocale(QLocale::Russian).toString(MaxBlockTextLength)),
        this);
    m_cutNote->setObjectName(QStringLiteral("cutNote"));
    m_cutNote->setWordWrap(true);
    m_cutNote->setAutoFillBackground(true);
    m_cutNote->setStyleSheet(QStringLiteral("background-color: rgb(255, 255, 225); color: black;"
                                            "border: 1px solid #a08060; padding: 2px;"));
    m_cutNote->setGeometry(twips(120) + 1, twips(120) + twips(2895) - 40, twips(4455) - 20, 39);
    m_cutNote->hide();

    m_button = new QPushButton(QStringLiteral("Ввод завершён"), this);
    m_button->setObjectName(QStringLiteral("Command1"));
    m_button->setGeometry(twips(120), twips(3120), twips(4455), twips(495));
    m_button->setFont(designFont(12));
    m_button->setAutoDefault(false);
    m_button->setDefault(false);
    m_button->setStyleSheet(QStringLiteral(
        "QPushButton { background-color: rgb(255, 224, 192); border: 1px solid #a08060; }"
        "QPushButton:pressed { background-color: rgb(235, 204, 172); }"));
    connect(m_button, &QPushButton::clicked, this, &TextEntryWindow::finishEntry);
    m_text->setAccessibleName(QStringLiteral("Текст блока"));
    m_button->setAccessibleDescription(QStringLiteral("Сохранить текст и вернуться к блок-схеме"));
    setTabOrder(m_text, m_button);
}

void TextEntryWindow::showForBlock()
{
    m_cutNote->hide();
    m_text->setPlainText(toBoxText(m_story.blockTexts.at(m_story.currentBlock)));
    m_highlighter->settle(); // nothing is being typed yet
    m_text->setAccessibleDescription(blockName(m_story.currentBlock));
    if (parentWidget()) {
        const QRect owner = parentWidget()->frameGeometry();
        move(owner.center() - rect().center());
    }
    exec();
}

void TextEntryWindow::keepWithinLimit(int position, int added)
{
    // The document counts one more character than its text, the end of
    // its last paragraph. A text longer than the limit from before (read
    // from a file) is left as it is; only what comes in is cut.
    const int over = m_text->document()->characterCount() - 1 - MaxBlockTextLength;
    if (added <= 0 || over <= 0)
        return;
    int from = position + added - std::min(over, added);
    if (from > position && m_text->document()->characterAt(from - 1).isHighSurrogate())
        --from;
    QTextCursor cursor(m_text->document());
    cursor.setPosition(from);
    cursor.setPosition(position + added, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    m_cutNote->show();
}

void TextEntryWindow::showTextMenu(const QPoint &at)
{
    // At the box's scroll area, the place is the viewport's. The menu goes
    // with the box, and once it is closed, as Qt's own does.
    QMenu *menu = m_text->createStandardContextMenu(at);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QTextCursor place = m_text->cursorForPosition(at);
    const QTextBlock paragraph = place.block();
    if (const auto word = m_spelling.misspeltAt(paragraph.text(), place.positionInBlock())) {
        const QString misspelt = paragraph.text().mid(word->start, word->length);
        QTextCursor replaced(m_text->document());
        replaced.setPosition(paragraph.position() + word->start);
        replaced.setPosition(
            paragraph.position() + word->start + word->length, QTextCursor::KeepAnchor);
        QAction *standard = menu->actions().value(0);
        // Each suggestion takes the dictionary a while: only now, for this word.
        for (const QString &suggestion : m_spelling.suggestions(misspelt)) {
            auto *choose = new QAction(suggestion, menu);
            connect(choose, &QAction::triggered, this,
                [replaced, suggestion]() mutable { replaced.insertText(suggestion); });
            menu->insertAction(standard, choose);
        }
        auto *skip = new QAction(QStringLiteral("Пропустить"), menu);
        skip->setObjectName(QStringLiteral("skipWord"));
        connect(skip, &QAction::triggered, this, [this, misspelt] {
            m_spelling.skip(misspelt);
            m_highlighter->rehighlight();
        });
        menu->insertAction(standard, skip);
        menu->insertSeparator(standard);
    }
    menu->popup(m_text->viewport()->mapToGlobal(at));
}

void TextEntryWindow::takeText()
{
    m_story.blockTexts.at(m_story.currentBlock) = toStoryText(m_text->document()->toRawText());
    m_text->clear();
}

void TextEntryWindow::finishEntry()
{
    hide();
    takeText();
}

bool TextEntryWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        m_text->setFocus();
    return QDialog::event(event);
}

void TextEntryWindow::closeEvent(QCloseEvent *event)
{
    takeText();
    hide();
    event->accept();
    // Closed by its box the window is unloaded; the next block builds it anew.
    deleteLater();
}

void TextEntryWindow::keyPressEvent(QKeyEvent *event)
{
    // The window has no cancel: Escape leaves it as the button does, with
    // the text kept, since nothing typed may be lost.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        finishEntry();
        return;
    }
    QDialog::keyPressEvent(event);
}

#include "editor/EditorWindow.h"

#include "editor/EditorCanvas.h"
#include "editor/HelpWindow.h"
#include "editor/ReadPathMark.h"
#include "editor/TextEntryWindow.h"
#include "flowchart/DrawBlockTexts.h"
#include "flowchart/DrawFlowchart.h"
#include "flowchart/SpokenWords.h"
#include "reading/ReadingWords.h"
#include "speech/ReadingAloud.h"
#include "spelling/SpellChecker.h"
#include "story/StoryDocument.h"
#include "widgets/ClickLabel.h"
#include "widgets/ComingBack.h"
#include "widgets/Dialogs.h"
#include "widgets/PictureBox.h"
#include "widgets/WindowDesign.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QScreen>

#include <algorithm>
#include <cmath>

// The designed client area and its place on the screen, in pixels.
namespace EditorDesign {
inline constexpr int ClientWidth = 663;
inline constexpr int ClientHeight = 554;
inline constexpr int ClientLeft = 23;
inline constexpr int ClientTop = 144;
} // namespace EditorDesign

namespace {

const QString SlowNeedsSpeaking
    = QStringLiteral("Сначала включи «%1».").arg(ReadingWords::ReadAloud);

} // namespace

EditorWindow::EditorWindow(StoryDocument &story, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent)
    , m_story(story)
    , m_dialogs(dialogs)
    , m_readingAloud(std::make_unique<ReadingAloud>())
    , m_spelling(std::make_unique<SpellChecker>())
{
    setObjectName(QStringLiteral("Frmnov"));
    setWindowTitle(QStringLiteral("Создание нового рассказа"));
    createMenus();
    createControls();
    // Redrawn on coming back from the entry, help and reading windows, and
    // when first shown; message boxes and file dialogs leave it as it is.
    m_comingBack = new ComingBack(this);
    connect(m_comingBack, &ComingBack::cameBack, this, &EditorWindow::activated);
    setUpKeyboardAccess();
    const int menuHeight = menuBar()->sizeHint().height();
    setGeometry(EditorDesign::ClientLeft, EditorDesign::ClientTop - menuHeight,
        EditorDesign::ClientWidth, EditorDesign::ClientHeight + menuHeight);
    m_story.showBlockTexts = false;
}

EditorWindow::~EditorWindow() = default;

void EditorWindow::createMenus()
{
    const auto command = [this](QWidget *menu, const char *name, const QString &caption,
                             void (EditorWindow::*handler)(), QKeySequence shortcut = {}) {
        auto *action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        if (handler)
            connect(action, &QAction::triggered, this, handler);
        menu->addAction(action);
        return action;
    };

    QMenu *file = menuBar()->addMenu(QStringLiteral("&Файл"));
    file->menuAction()->setObjectName(QStringLiteral("MnuFile"));
    command(file, "MnuSave", QStringLiteral("&Сохранить"), &EditorWindow::save,
        QKeySequence(Qt::CTRL | Qt::Key_S));
    command(file, "MnuSaveWeb", QStringLiteral("Сохранить как &веб-страницу…"),
        &EditorWindow::saveWebPage);
    command(file, "MnuOpen", QStringLiteral("&Открыть"), &EditorWindow::open,
        QKeySequence(Qt::CTRL | Qt::Key_O));
    command(file, "MnuNew", QStringLiteral("Со&здать"), &EditorWindow::newStory,
        QKeySequence(Qt::CTRL | Qt::Key_N));

    QMenu *story = menuBar()->addMenu(QStringLiteral("&Рассказ"));
    story->menuAction()->setObjectName(QStringLiteral("MnuRas"));
    command(story, "MnuRead", QStringLiteral("&Читать"), &EditorWindow::read);
    command(story, "MnuPrint", QStringLiteral("&Печатать"), &EditorWindow::print);
    story->addSeparator();
    // Switches for the run, stored nowhere.
    QString speak = ReadingWords::ReadAloud;
    m_speakItem = command(story, "MnuSpeak",
        speak.insert(speak.indexOf(QLatin1Char(' ')) + 1, QLatin1Char('&')), nullptr);
    m_speakItem->setCheckable(true);
    connect(m_speakItem, &QAction::toggled, this, [this](bool on) {
        m_readingAloud->setOn(on);
        offerSwitches();
    });
    connect(m_readingAloud.get(), &ReadingAloud::unavailable, this, &EditorWindow::offerSwitches);
    // Slower, for a young reader; it counts only while reading aloud is on.
    m_slowItem = command(story, "MnuSlow", QStringLiteral("Читать &медленно"), nullptr);
    m_slowItem->setCheckable(true);
    m_slowItem->setEnabled(false);
    m_slowItem->setToolTip(SlowNeedsSpeaking);
    connect(m_slowItem, &QAction::toggled, this, [this](bool on) { m_readingAloud->setSlow(on); });
    m_spellItem = command(story, "MnuSpell", QStringLiteral("Проверять &орфографию"), nullptr);
    m_spellItem->setCheckable(true);
    m_spellItem->setChecked(m_spelling->isOn());
    connect(m_spellItem, &QAction::toggled, this, [this](bool on) { m_spelling->setOn(on); });
    // Whether the voice speaks Russian is asked of the speech server only
    // when reading aloud is turned on: the answer takes seconds, and a pupil
    // who never reads aloud never needs the server. Until then the item is
    // offered wherever there is a speech engine at all.
    story->setToolTipsVisible(true);
    connect(story, &QMenu::aboutToShow, this, &EditorWindow::offerSwitches);

    command(menuBar(), "MnuHelp", QStringLiteral("&О программе"), &EditorWindow::showHelp);
    command(menuBar(), "MnuExit", QStringLiteral("&Выход"), &EditorWindow::exitProgram);
}

void EditorWindow::offerSwitches()
{
    const auto offer = [](QAction *item, const QString &unavailable) {
        item->setEnabled(unavailable.isEmpty());
        if (!unavailable.isEmpty())
            item->setChecked(false);
        item->setToolTip(unavailable);
    };
    offer(m_speakItem, m_readingAloud->unavailableReason());
    // Kept as chosen while off, for when reading aloud is on again.
    m_slowItem->setEnabled(m_speakItem->isChecked());
    m_slowItem->setToolTip(m_speakItem->isChecked() ? QString() : SlowNeedsSpeaking);
    offer(m_spellItem, m_spelling->unavailableReason());
}

void EditorWindow::createControls()
{
    m_canvas = new EditorCanvas(m_surface, this);
    m_canvas->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_canvas);

    for (int k = 0; k < FrameCount; ++k) {
        auto *frame = new PictureBox(m_canvas);
        frame->setFrameShape(QFrame::Box);
        frame->setLineWidth(1);
        frame->setFixedSize(FrameWidth, FrameHeight);
        frame->setObjectName(QStringLiteral("Image1_%1").arg(k));
        connect(frame, &ClickLabel::clicked, this, [this, k] { choosePicture(k); });
        m_pictureFrames[k] = frame;
    }
    // The block areas lie above the frames and show the drawing through.
    for (int b = 0; b < BlockCount; ++b) {
        auto *label = new ClickLabel(m_canvas);
        label->setObjectName(QStringLiteral("Label1_%1").arg(b));
        label->setAutoFillBackground(false);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setCursor(handCursor());
        label->resize(designedLabelWidth(b), designedLabelHeight(b));
        connect(label, &ClickLabel::clicked, this, [this, b] { editBlock(b); });
        m_blockAreas[b] = label;
    }
    m_readPathMark = new ReadPathMark(m_canvas, m_layout);
}

QString EditorWindow::programFolder() const
{
    return m_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_programFolder;
}

void EditorWindow::redrawFlowchart()
{
    ::drawFlowchart(m_surface, m_layout, m_canvas->width(), m_canvas->height());
    // Controls sit on whole pixels; the layout keeps the exact values.
    for (int k = 0; k < FrameCount; ++k)
        m_pictureFrames[k]->move(
            std::lround(m_layout.frameLeft[k]), std::lround(m_layout.frameTop));
    for (int b = 0; b < BlockCount; ++b) {
        const LabelPlacement &p = m_layout.labels[b];
        m_blockAreas[b]->setGeometry(
            std::lround(p.left), std::lround(p.top), std::lround(p.width), std::lround(p.height));
    }
    m_canvas->update();
    m_readPathMark->update();
}

void EditorWindow::activated()
{
    // A text entered since the reading makes its trace out of date.
    if (!m_readPathMark->path().isEmpty() && m_story.blockTexts != m_readTexts)
        clearReadPath();
    redrawFlowchart();
    writeBlockTexts();
}

void EditorWindow::showReadPath(const FlowchartPath &path)
{
    m_readPathMark->setPath(path);
    m_readTexts = m_story.blockTexts;
    // A screen reader says the window's description as the window comes
    // back, and again whenever it is asked.
    setAccessibleDescription(readPathDescription(path));
}

void EditorWindow::clearReadPath()
{
    m_readPathMark->setPath({});
    m_readTexts = {};
    setAccessibleDescription(QString());
}

void EditorWindow::writeBlockTexts()
{
    // A word running past its outline is kept as far as the window or the
    // desktop reaches, so making the window wider without a redraw shows it on.
    const QScreen *screen = m_canvas->screen();
    const int widest = screen ? screen->virtualGeometry().width() : 0;
    drawBlockTexts(m_story.showBlockTexts, m_story.blockTexts, m_layout, m_surface,
        std::max(m_canvas->width(), widest));
}

void EditorWindow::editBlock(int index)
{
    m_story.currentBlock = static_cast<qint16>(index);
    m_story.showBlockTexts = true;
    if (!m_entry)
        m_entry = new TextEntryWindow(m_story, *m_spelling, this);
    m_entry->showForBlock();
    m_comingBack->returned();
}

void EditorWindow::newStory()
{
    m_storyFile.clear();
    clearReadPath();
    m_story.eraseTexts();
    redrawFlowchart();
    for (int k = 0; k < FrameCount; ++k) {
        m_story.picturePaths[k] = QString();
        m_pictureFrames[k]->clearPicture();
    }
}

void EditorWindow::read()
{
    emit readRequested();
}

void EditorWindow::showHelp()
{
    if (!m_help)
        m_help = new HelpWindow(this);
    m_help->exec();
    m_comingBack->returned();
}

bool EditorWindow::confirmExit()
{
    return m_dialogs.ask(this, QStringLiteral("Вы действительно хотите выйти из программы?"),
               ApplicationTitle, QString(), {})
        == Dialogs::Answer::Yes;
}

void EditorWindow::exitProgram()
{
    if (!confirmExit())
        return;
    m_ending = true;
    emit programEndRequested();
}

void EditorWindow::closeEvent(QCloseEvent *event)
{
    if (m_ending || confirmExit()) {
        m_ending = true;
        event->accept();
        emit programEndRequested();
    } else {
        event->ignore();
    }
}

#include "editor/Frmnov.h"

#include "editor/ClickLabel.h"
#include "editor/EditorCanvas.h"
#include "editor/FrmVvod.h"
#include "editor/PictureFrame.h"
#include "flowchart/DrawBlockTexts.h"
#include "flowchart/DrawFlowchart.h"
#include "story/StoryDocument.h"
#include "windows/Dialogs.h"
#include "windows/WindowDesign.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>

#include <cmath>

Frmnov::Frmnov(StoryDocument &story, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent)
    , m_story(story)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("Frmnov"));
    setWindowTitle(QStringLiteral("Создание нового рассказа"));
    createMenus();
    createControls();
    const int menuHeight = menuBar()->sizeHint().height();
    setGeometry(EditorDesign::ClientLeft, EditorDesign::ClientTop - menuHeight,
                EditorDesign::ClientWidth, EditorDesign::ClientHeight + menuHeight);
    m_story.ShowBlockTexts = false;
}

Frmnov::~Frmnov() = default;

void Frmnov::createMenus()
{
    const auto command = [this](QWidget *menu, const char *name, const QString &caption,
                                void (Frmnov::*handler)(), QKeySequence shortcut = {}) {
        auto *action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, handler);
        menu->addAction(action);
        return action;
    };

    QMenu *file = menuBar()->addMenu(QStringLiteral("Файл"));
    file->menuAction()->setObjectName(QStringLiteral("MnuFile"));
    command(file, "MnuSave", QStringLiteral("Сохранить"), &Frmnov::MnuSave_Click,
            QKeySequence(Qt::CTRL | Qt::Key_S));
    command(file, "MnuOpen", QStringLiteral("Открыть"), &Frmnov::MnuOpen_Click,
            QKeySequence(Qt::CTRL | Qt::Key_O));
    command(file, "MnuNew", QStringLiteral("Создать"), &Frmnov::MnuNew_Click,
            QKeySequence(Qt::CTRL | Qt::Key_N));

    QMenu *story = menuBar()->addMenu(QStringLiteral("Рассказ"));
    story->menuAction()->setObjectName(QStringLiteral("MnuRas"));
    command(story, "MnuRead", QStringLiteral("Читать"), &Frmnov::MnuRead_Click);
    command(story, "MnuPrint", QStringLiteral("Печатать"), &Frmnov::MnuPrint_Click);

    command(menuBar(), "MnuHelp", QStringLiteral("О программе"), &Frmnov::MnuHelp_Click);
    command(menuBar(), "MnuExit", QStringLiteral("Выход"), &Frmnov::MnuExit_Click);
}

void Frmnov::createControls()
{
    m_canvas = new EditorCanvas(m_surface, this);
    m_canvas->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_canvas);

    for (int k = 0; k < FrameCount; ++k) {
        auto *frame = new PictureFrame(m_canvas);
        frame->setObjectName(QStringLiteral("Image1_%1").arg(k));
        connect(frame, &ClickLabel::clicked, this, [this, k] { Image1_Click(k); });
        m_frames[k] = frame;
    }
    // The block areas lie above the frames and show the drawing through.
    for (int b = 0; b < BlockCount; ++b) {
        auto *label = new ClickLabel(m_canvas);
        label->setObjectName(QStringLiteral("Label1_%1").arg(b));
        label->setAutoFillBackground(false);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setCursor(handCursor());
        label->resize(designedLabelWidth(b), designedLabelHeight(b));
        connect(label, &ClickLabel::clicked, this, [this, b] { Label1_Click(b); });
        m_labels[b] = label;
    }
}

QString Frmnov::programFolder() const
{
    return m_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_programFolder;
}

void Frmnov::DrawFlowchart()
{
    ::DrawFlowchart(m_surface, m_layout, m_canvas->width(), m_canvas->height());
    // Controls sit on whole pixels; the layout keeps the exact values.
    for (int k = 0; k < FrameCount; ++k)
        m_frames[k]->move(std::lround(m_layout.frameLeft[k]), std::lround(m_layout.frameTop));
    for (int b = 0; b < BlockCount; ++b) {
        const LabelPlacement &p = m_layout.labels[b];
        m_labels[b]->setGeometry(std::lround(p.Left), std::lround(p.Top),
                                 std::lround(p.Width), std::lround(p.Height));
    }
    m_canvas->update();
}

bool Frmnov::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        activated();
    return QMainWindow::event(event);
}

void Frmnov::activated()
{
    DrawFlowchart();
    DrawBlockTexts(m_story.ShowBlockTexts, m_story.BlockText, m_layout, m_surface);
    m_canvas->update();
}

void Frmnov::Label1_Click(int index)
{
    m_story.CurrentBlock = static_cast<qint16>(index);
    m_story.ShowBlockTexts = true;
    if (!m_entry)
        m_entry = new FrmVvod(m_story, this);
    m_entry->showForBlock();
    // Coming back from the entry window is an activation, and that redraws.
    activateWindow();
}

void Frmnov::MnuNew_Click()
{
    m_story.eraseTexts();
    DrawFlowchart();
    for (int k = 0; k < FrameCount; ++k) {
        m_story.PicturePath[k] = QString();
        m_frames[k]->clearPicture();
    }
}

bool Frmnov::confirmExit()
{
    return m_dialogs.ask(this, QStringLiteral("Вы действительно хотите выйти из программы?"),
                         ApplicationTitle)
        == Dialogs::Answer::Yes;
}

void Frmnov::MnuExit_Click()
{
    if (!confirmExit())
        return;
    m_ending = true;
    emit programEndRequested();
}

void Frmnov::closeEvent(QCloseEvent *event)
{
    if (m_ending || confirmExit()) {
        m_ending = true;
        event->accept();
        emit programEndRequested();
    } else {
        event->ignore();
    }
}

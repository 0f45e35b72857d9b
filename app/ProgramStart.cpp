#include "app/ProgramStart.h"

#include <memory>

#include "app/TitleWindow.h"
#include "editor/EditorWindow.h"
#include "reader/ReadingWindow.h"
#include "widgets/PictureBox.h"
#include "widgets/WindowDesign.h"

#include <QApplication>

ProgramStart::ProgramStart(StoryDocument &story, Dialogs &dialogs, QObject *parent)
    : QObject(parent)
    , m_story(story)
    , m_dialogs(dialogs)
{
}

ProgramStart::~ProgramStart()
{
    delete m_title.data();
}

TitleWindow *ProgramStart::titleWindow() const
{
    return m_title.data();
}

EditorWindow *ProgramStart::editor() const
{
    return m_editor.get();
}

void ProgramStart::start()
{
    if (m_title || m_editor)
        return;
    m_title = new TitleWindow;
    connect(m_title, &TitleWindow::handedOver, this, &ProgramStart::showEditor);
    connect(m_title, &TitleWindow::closedBeforeHandover, this, &ProgramStart::programEnded);
    m_title->show();
}

void ProgramStart::showEditor()
{
    // Every later window's icon.
    QApplication::setWindowIcon(programIcon());
    if (!m_editor) {
        m_editor = std::make_unique<EditorWindow>(m_story, m_dialogs);
        connect(
            m_editor.get(), &EditorWindow::programEndRequested, this, &ProgramStart::programEnded);
        connectReadingWindow(*m_editor, m_story, m_dialogs);
    }
    m_editor->showMaximized();
}

void connectReadingWindow(EditorWindow &editor, const StoryDocument &story, Dialogs &dialogs)
{
    auto reading = std::make_shared<QPointer<ReadingWindow>>();
    QObject::connect(&editor, &EditorWindow::readRequested, &editor, [&, reading] {
        if (!*reading) {
            // The very picture the editor's frame shows now, not one loaded anew.
            *reading = new ReadingWindow(story, dialogs, editor.readingAloud(),
                [&editor](int frame) { return editor.pictureFrame(frame)->picture(); });
            QObject::connect(
                *reading, &ReadingWindow::finished, &editor, [&editor](const FlowchartPath &path) {
                    editor.show();
                    editor.activateWindow();
                    editor.showReadPath(path);
                });
        }
        // The reading window's activation starts the walk.
        (*reading)->show();
        (*reading)->activateWindow();
        editor.hide();
    });
    // The reading window has no owner, so that it has its own place among
    // the desktop's windows; it goes with the editor all the same.
    QObject::connect(&editor, &QObject::destroyed, [reading] { delete reading->data(); });
}

#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class Dialogs;
class EditorWindow;
class TitleWindow;
struct StoryDocument;

// The run of the program: the title window first, then the editor for the
// rest of the run.
class ProgramStart : public QObject {
    Q_OBJECT

public:
    ProgramStart(StoryDocument &story, Dialogs &dialogs, QObject *parent = nullptr);
    ~ProgramStart() override;

    // Creates the title window and shows it; its timer starts with it.
    void start();

    TitleWindow *titleWindow() const; // null once it is gone
    EditorWindow *editor() const; // null until the handover

signals:
    // The user ended the program, from the editor or by closing the title.
    void programEnded();

private:
    void showEditor();

    StoryDocument &m_story;
    Dialogs &m_dialogs;
    QPointer<TitleWindow> m_title;
    std::unique_ptr<EditorWindow> m_editor;
};

// Gives the editor's Read command its reading window: the editor hides while
// the reading window is up and comes back when the reader is done. The
// reading window is built on first use and goes with the editor.
void connectReadingWindow(EditorWindow &editor, const StoryDocument &story, Dialogs &dialogs);

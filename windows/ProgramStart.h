#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class Dialogs;
class FrmTytle;
class Frmnov;
struct StoryDocument;

// The run of the program: the title window first, then the editor for the
// rest of the run.
class ProgramStart : public QObject
{
    Q_OBJECT

public:
    ProgramStart(StoryDocument &story, Dialogs &dialogs, QObject *parent = nullptr);
    ~ProgramStart() override;

    // Creates the title window and shows it; its timer starts with it.
    void start();

    FrmTytle *titleWindow() const; // null once it is gone
    Frmnov *editor() const;        // null until the handover

signals:
    // The user ended the program, from the editor or by closing the title.
    void programEnded();

private:
    void showEditor();

    StoryDocument &m_story;
    Dialogs &m_dialogs;
    QPointer<FrmTytle> m_title;
    std::unique_ptr<Frmnov> m_editor;
};

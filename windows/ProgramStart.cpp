#include "windows/ProgramStart.h"

#include "editor/Frmnov.h"
#include "windows/FrmTytle.h"

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

FrmTytle *ProgramStart::titleWindow() const
{
    return m_title.data();
}

Frmnov *ProgramStart::editor() const
{
    return m_editor.get();
}

void ProgramStart::start()
{
    if (m_title || m_editor)
        return;
    m_title = new FrmTytle;
    connect(m_title, &FrmTytle::handedOver, this, &ProgramStart::showEditor);
    connect(m_title, &FrmTytle::closedBeforeHandover, this, &ProgramStart::programEnded);
    m_title->show();
}

void ProgramStart::showEditor()
{
    if (!m_editor) {
        m_editor = std::make_unique<Frmnov>(m_story, m_dialogs);
        connect(m_editor.get(), &Frmnov::programEndRequested, this, &ProgramStart::programEnded);
    }
    m_editor->showMaximized();
}

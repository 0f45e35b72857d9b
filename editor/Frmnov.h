#pragma once

#include "flowchart/FlowchartLayout.h"
#include "flowchart/Surface.h"
#include "editor/FrmVvod.h"
#include "reader/Frmread.h"
#include "windows/FrmHelp.h"

#include <QMainWindow>
#include <QPointer>

#include <array>

class ClickLabel;
class Dialogs;
class EditorCanvas;
class PictureFrame;
class QAction;
struct StoryDocument;

// The editor window: the flowchart of the story with its block areas and
// picture frames, and the program's commands.
class Frmnov : public QMainWindow
{
    Q_OBJECT

public:
    Frmnov(StoryDocument &story, Dialogs &dialogs, QWidget *parent = nullptr);
    ~Frmnov() override;

    ClickLabel *Label1(int index) const { return m_labels.at(index); }
    PictureFrame *Image1(int index) const { return m_frames.at(index); }
    EditorCanvas *canvas() const { return m_canvas; }
    const Surface &surface() const { return m_surface; }
    const FlowchartLayout &layout() const { return m_layout; }
    StoryDocument &story() { return m_story; }
    Dialogs &dialogs() { return m_dialogs; }
    FrmVvod *entryWindow() const { return m_entry; }
    Frmread *readingWindow() const { return m_reading; }
    FrmHelp *helpWindow() const { return m_help; }

    // Where the program looks for its story and picture folders.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }
    QString programFolder() const;

    void DrawFlowchart();

    // What the user can do to the window.
    void activated();
    void Label1_Click(int index);
    void Image1_Click(int index);
    void MnuSave_Click();
    void MnuOpen_Click();
    void MnuNew_Click();
    void MnuRead_Click();
    void MnuPrint_Click();
    void MnuHelp_Click();
    void MnuExit_Click();

    // Loads a picture path into a frame, as Open and the frames do.
    bool loadFramePicture(int frame, const QString &path, const QString &storyFile = QString());

signals:
    // The user confirmed leaving: the whole program ends.
    void programEndRequested();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus();
    void createControls();
    bool confirmExit();

    StoryDocument &m_story;
    Dialogs &m_dialogs;
    Surface m_surface;
    FlowchartLayout m_layout;
    EditorCanvas *m_canvas = nullptr;
    std::array<ClickLabel *, BlockCount> m_labels{};
    std::array<PictureFrame *, FrameCount> m_frames{};
    QPointer<FrmVvod> m_entry;
    QPointer<Frmread> m_reading;
    QPointer<FrmHelp> m_help;
    QString m_programFolder;
    bool m_ending = false;
};

#pragma once

#include "flowchart/FlowchartLayout.h"
#include "flowchart/FlowchartPath.h"
#include "flowchart/Surface.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

class ClickLabel;
class ComingBack;
class Dialogs;
class EditorCanvas;
class EditorKeyboard;
class HelpWindow;
class PictureBox;
class ReadPathMark;
class ReadingAloud;
class SpellChecker;
class TextEntryWindow;
class QAction;
struct StoryDocument;

// The editor window: the flowchart of the story with its block areas and
// picture frames, and the program's commands.
class EditorWindow : public QMainWindow {
    Q_OBJECT

public:
    EditorWindow(StoryDocument &story, Dialogs &dialogs, QWidget *parent = nullptr);
    ~EditorWindow() override;

    ClickLabel *blockArea(int index) const { return m_blockAreas.at(index); }
    PictureBox *pictureFrame(int index) const { return m_pictureFrames.at(index); }
    EditorCanvas *canvas() const { return m_canvas; }
    EditorKeyboard *keyboard() const { return m_keyboard; }
    const Surface &surface() const { return m_surface; }
    const FlowchartLayout &layout() const { return m_layout; }
    ReadPathMark *readPathMark() const { return m_readPathMark; }
    // The two switches of the run: the story read aloud, and its spelling.
    ReadingAloud &readingAloud() const { return *m_readingAloud; }
    SpellChecker &spelling() const { return *m_spelling; }

    // Where the program looks for its story and picture folders.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }
    QString programFolder() const;

    // What the user can do to the window.
    void editBlock(int index);
    void choosePicture(int index);
    void save();
    void saveWebPage();
    void open();
    void newStory();
    void read();
    void print();
    void showHelp();
    void exitProgram();

    // The reader is done: the way the reading went is traced on the
    // flowchart until the story changes or the next reading replaces it.
    void showReadPath(const FlowchartPath &path);

signals:
    // The Read command: the reading window takes over until the reader is done.
    void readRequested();
    // The user confirmed leaving: the whole program ends.
    void programEndRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus();
    void createControls();
    // Enables each switch that can be had, and says why the others cannot.
    void offerSwitches();
    // Focus, keys and names for those who work without a mouse.
    void setUpKeyboardAccess();
    bool confirmExit();
    void activated();
    void redrawFlowchart();
    void writeBlockTexts();
    void clearReadPath();
    // Loads a picture path of an opened story into a frame; false when the
    // frame stays empty.
    bool loadFramePicture(int frame, const QString &path, const QString &storyFile);
    // The frame's picture in its own proportions, for the web page.
    QImage pagePicture(int frame) const;

    StoryDocument &m_story;
    Dialogs &m_dialogs;
    std::unique_ptr<ReadingAloud> m_readingAloud;
    std::unique_ptr<SpellChecker> m_spelling;
    QAction *m_speakItem = nullptr;
    QAction *m_slowItem = nullptr;
    QAction *m_spellItem = nullptr;
    Surface m_surface;
    FlowchartLayout m_layout;
    EditorCanvas *m_canvas = nullptr;
    EditorKeyboard *m_keyboard = nullptr;
    ReadPathMark *m_readPathMark = nullptr;
    // The texts the traced reading read: any change to them ends the trace.
    std::array<QString, BlockCount> m_readTexts;
    std::array<ClickLabel *, BlockCount> m_blockAreas {};
    std::array<PictureBox *, FrameCount> m_pictureFrames {};
    QPointer<TextEntryWindow> m_entry;
    QPointer<HelpWindow> m_help;
    ComingBack *m_comingBack = nullptr;
    QString m_programFolder;
    // The file the story was last saved to or opened from; empty after New.
    QString m_storyFile;
    bool m_ending = false;
};

#pragma once

#include "reading/ReadingWalk.h"

#include <QImage>
#include <QMainWindow>

#include <functional>

class Dialogs;
class PictureBox;
class QAction;
class QPagedPaintDevice;
class QTextEdit;
class ReadingAloud;
struct ReadingBox;
struct SpokenBox;
struct StoryDocument;

// The reading window: each time the editor's Read command shows it, the
// reader walks one path of the story, answering its two questions, and then
// names the story and signs it. The result can be printed as it is shown.
// While reading aloud is on, each box is said as it appears, and the
// chapters read when the window shows them, until the reader moves on. The
// boxes open beside the story, so that it stays in view.
class ReadingWindow : public QMainWindow {
    Q_OBJECT

public:
    // The picture of ending frame k, as the editor shows it now.
    using EndingPictures = std::function<QImage(int frame)>;

    ReadingWindow(
        const StoryDocument &story, Dialogs &dialogs, ReadingAloud &aloud, EndingPictures pictures);

    QTextEdit *titleBox() const { return m_titleBox; }
    QTextEdit *readerBox() const { return m_readerBox; }
    QTextEdit *storyBox() const { return m_storyBox; }
    PictureBox *endingPicture() const { return m_endingPicture; }
    // The client area under the menu bar: what printing puts on the page.
    QWidget *content() const { return m_content; }

    // What the user can do to the window.
    void print();
    void backToEditor();
    // Says the chapters read once more.
    void repeat();

    // Paints the client area on one page of the device, at its size on the
    // screen; false when the device cannot be painted on.
    bool printContent(QPagedPaintDevice *device) const;

signals:
    // The reader is done: the editor comes back, told how far the reading
    // went; an empty path when it never began.
    void finished(const FlowchartPath &path);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus();
    void createControls();
    // The reading walk: questions and input boxes, one after another.
    void walk();
    // A box of the walk: beside the story, and read aloud, said again by
    // its «Повторить».
    ReadingBox readingBox(const SpokenBox &spoken) const;

    const StoryDocument &m_story;
    Dialogs &m_dialogs;
    ReadingAloud &m_aloud;
    EndingPictures m_endingPictures;
    QAction *m_repeatItem = nullptr;
    QWidget *m_content = nullptr;
    QTextEdit *m_titleBox = nullptr;
    QTextEdit *m_readerBox = nullptr;
    QTextEdit *m_storyBox = nullptr;
    PictureBox *m_endingPicture = nullptr;
    FlowchartPath m_path;
};

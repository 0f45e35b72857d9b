#include "BenchSupport.h"
#include "RedrawFloor.h"
#include "editor/EditorCanvas.h"
#include "editor/EditorWindow.h"
#include "story/StoryDocument.h"
#include "story/StoryFiles.h"
#include "widgets/QtDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QTextStream>
#include <QWindow>

#include <algorithm>
#include <functional>

namespace {

struct Size

{
    int width;
    int height;
};

// The client areas measured: the designed window, a full HD and a 4K screen.
const Size Sizes[] = { { 663, 554 }, { 1920, 1017 }, { 3840, 2034 } };

// An editor shown at the given client size with the given texts, redrawn the
// way every activation redraws it: the flowchart, the texts, and the paint
// that puts them on the screen.
class ShownEditor {
public:
    ShownEditor(const std::array<QString, BlockCount> &texts, Size size)
        : m_editor(m_story, m_dialogs)
    {
        m_story.blockTexts = texts;
        m_story.showBlockTexts = true;
        m_editor.show();
        m_editor.resize(size.width, size.height + m_editor.menuBar()->height());
        QElapsedTimer waited;
        waited.start();
        while (!m_editor.windowHandle()->isExposed() && waited.elapsed() < 5000)
            QApplication::processEvents();
        if (m_editor.canvas()->width() != size.width
            || m_editor.canvas()->height() != size.height) {
            QTextStream(stderr) << "bench: the editor's client area is not " << size.width << 'x'
                                << size.height << '\n';
            std::exit(2);
        }
        redraw();
    }

    void redraw()
    {
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&m_editor, &activate);
        m_editor.canvas()->repaint();
    }

    const Surface &surface() const { return m_editor.surface(); }

private:
    StoryDocument m_story;
    QtDialogs m_dialogs;
    EditorWindow m_editor;
};

// The best of three passes in a row: on a machine shared with other work, a
// pass that another process interrupted says nothing about the program.
TimedRun bestOfThree(const std::function<void()> &pass)
{
    return [pass] {
        double best = 0;
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer timer;
            timer.start();
            pass();
            const double seconds = timer.nsecsElapsed() / 1e9;
            best = i == 0 ? seconds : std::min(best, seconds);
        }
        return best;
    };
}

std::array<QString, BlockCount> sampleTexts()
{
    const LinesRead read
        = StoryFiles::readStory(QStringLiteral(TROPINETS_SOURCE_DIR "/samples/Рассказы/лиса.txt"));
    if (!read.ok()) {
        QTextStream(stderr) << "bench: " << read.error << '\n';
        std::exit(2);
    }
    std::array<QString, BlockCount> texts;
    for (int b = 0; b < BlockCount; ++b)
        texts[b] = read.lines.at(b);
    return texts;
}

std::array<QString, BlockCount> tenTexts(const QString &text)
{
    std::array<QString, BlockCount> texts;
    texts.fill(text);
    return texts;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const auto sample = sampleTexts();
    // The most a block takes: sentences with line breaks, and one endless word.
    const QString sentence = QStringLiteral("Лиса бежала по тропинке\r\nи думала о зиме. ");
    const QString withSpaces
        = sentence.repeated(MaxBlockTextLength / sentence.size() + 1).left(MaxBlockTextLength);
    const QString withoutSpace(MaxBlockTextLength, QChar(0x0436));

    for (const Size size : Sizes) {
        ShownEditor editor(sample, size);
        RedrawFloor floor(editor.surface(), QSize(size.width, size.height));
        compare(QStringLiteral("redraw %1 px, sample story / one QPainter").arg(size.width),
            bestOfThree([&] { editor.redraw(); }), bestOfThree([&] { floor.draw(); }), 21);
    }
    for (const Size size : Sizes) {
        ShownEditor editor(sample, size);
        for (const auto &[what, text] : { std::pair { QStringLiteral("spaces"), withSpaces },
                 std::pair { QStringLiteral("no space"), withoutSpace } }) {
            ShownEditor big(tenTexts(text), size);
            compare(QStringLiteral("redraw %1 px, largest story (%2) / sample")
                        .arg(size.width)
                        .arg(what),
                bestOfThree([&] { big.redraw(); }), bestOfThree([&] { editor.redraw(); }), 21);
        }
    }
    return 0;
}

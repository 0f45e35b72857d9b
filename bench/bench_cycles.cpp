#include "BenchSupport.h"
#include "editor/EditorWindow.h"
#include "story/StoryDocument.h"
#include "widgets/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

// bench_cycles   the growth of the program's resident memory over a hundred
//                Open and Save cycles of the sample story «лиса» with its four
//                pictures, through Qt's own file dialogs, after ten cycles of
//                warm-up; the limit is 1 MiB.

namespace {

constexpr int WarmUpCycles = 10;
constexpr int MeasuredCycles = 100;

// Answers the dialogs as a pupil does: the story's name chosen in the file
// dialog, and Yes to replacing it. Any other box is a failure.
class Pupil : public QObject {
public:
    explicit Pupil(const QString &story)
        : m_story(story)
    {
        connect(&m_timer, &QTimer::timeout, this, &Pupil::answer);
        m_timer.start(5);
    }

    int failures() const { return m_failures; }

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == m_answered)
            return;
        m_answered = modal;
        if (auto *files = qobject_cast<QFileDialog *>(modal)) {
            files->selectFile(m_story);
            // Accepting asks whether to replace the file, in a box this
            // timer must still answer.
            QTimer::singleShot(0, files, [files] { static_cast<QDialog *>(files)->accept(); });
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            if (QAbstractButton *yes = box->button(QMessageBox::Yes)) {
                yes->click();
            } else {
                QTextStream(stderr) << "bench_cycles: " << box->text() << '\n';
                ++m_failures;
                box->close();
            }
        }
    }

    QString m_story;
    QPointer<QWidget> m_answered;
    QTimer m_timer;
    int m_failures = 0;
};

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

bool copyInto(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    for (const QString &name : QDir(from).entryList(QDir::Files)) {
        if (!QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    if (!qEnvironmentVariableIsSet("TROPINETS_BENCH_ROWS_ONLY"))
        printRatioHeader();

    QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/program");
    const QString samples = QStringLiteral(TROPINETS_SOURCE_DIR "/samples/");
    if (!dir.isValid()
        || !copyInto(samples + QStringLiteral("Рассказы"), program + QStringLiteral("/Рассказы"))
        || !copyInto(samples + QStringLiteral("Картинки"), program + QStringLiteral("/Картинки")))
        qFatal("bench_cycles: cannot copy the samples");

    StoryDocument story;
    QtDialogs dialogs;
    EditorWindow editor(story, dialogs);
    editor.setProgramFolder(program);
    editor.show();
    Pupil pupil(program + QStringLiteral("/Рассказы/лиса.txt"));

    const auto cycles = [&](int count) {
        for (int i = 0; i < count; ++i) {
            editor.open();
            editor.save();
        }
        settle();
    };
    cycles(WarmUpCycles);
    const qint64 before = currentMemory();
    cycles(MeasuredCycles);
    const qint64 after = currentMemory();
    if (pupil.failures() > 0 || story.picturePath(3).isEmpty())
        qFatal("bench_cycles: the cycles did not open and save the story");

    printMemoryRow(QStringLiteral("growth, 100 Open+Save cycles, MiB / 1 MiB"),
        (after - before) / (1024.0 * 1024.0), 1.0);
    return 0;
}

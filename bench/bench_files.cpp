#include "BenchSupport.h"
#include "editor/EditorWindow.h"
#include "story/StoryDocument.h"
#include "story/StoryFiles.h"
#include "windows/Dialogs.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// Answers every file dialog with one path and never asks anything else.
class FixedDialogs : public Dialogs
{
public:
    QString path;

    Answer ask(QWidget *, const QString &, const QString &) override { return Answer::No; }
    std::optional<QString> input(QWidget *, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    std::optional<QString> chooseFile(QWidget *, const FileDialogSettings &) override { return path; }
    bool choosePrinter(QWidget *, QPrinter &) override { return false; }
    void error(QWidget *, const QString &text) override
    {
        QTextStream(stderr) << "error: " << text << '\n';
    }
};

StoryDocument bigStory(const QString &extra)
{
    StoryDocument story;
    const QString words = QStringLiteral("Жили-были дед и баба, и была у них курочка Ряба. ");
    for (int b = 0; b < StoryBlockCount; ++b) {
        QString text;
        while (text.size() < 1024 * 1024)
            text += words;
        text.truncate(1024 * 1024 - extra.size());
        story.blockTexts[b] = text + extra;
    }
    for (int k = 0; k < StoryPictureCount; ++k)
        story.picturePaths[k] = QStringLiteral("/home/ученик/Картинки/%1.jpg").arg(k);
    return story;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    for (const auto &[name, extra] : {std::pair{QStringLiteral("Windows-1251"), QString()},
                                      std::pair{QStringLiteral("UTF-8"), QStringLiteral("🐈")}}) {
        const StoryDocument story = bigStory(extra);
        const QString path = dir.filePath(QStringLiteral("big-%1.txt").arg(name));
        measure(QStringLiteral("Save, ten 1 MB texts, %1").arg(name), [&] {
            if (!StoryFiles::save(path, story).ok())
                qFatal("save failed");
        });
        measure(QStringLiteral("Read both files, ten 1 MB texts, %1").arg(name), [&] {
            if (!StoryFiles::readStory(path).ok() || !StoryFiles::readPictureList(path).ok())
                qFatal("read failed");
        });
    }

    // The whole commands on the editor, drawing of the texts included.
    StoryDocument story = bigStory(QString());
    FixedDialogs dialogs;
    dialogs.path = dir.filePath(QStringLiteral("editor.txt"));
    EditorWindow editor(story, dialogs);
    editor.resize(1000, 700);
    editor.show();
    measure(QStringLiteral("Editor save, ten 1 MB texts"), [&] { editor.save(); });
    measure(QStringLiteral("Editor open, ten 1 MB texts"), [&] { editor.open(); });
    return 0;
}

#include "editor/EditorWindow.h"

#include "editor/EditorCanvas.h"
#include "editor/EditorKeyboard.h"
#include "editor/ReadPathMark.h"
#include "flowchart/SpokenWords.h"
#include "pictures/PictureLoader.h"
#include "reading/WebPage.h"
#include "story/StoryDocument.h"
#include "story/StoryFiles.h"
#include "widgets/Announcer.h"
#include "widgets/Dialogs.h"
#include "widgets/PictureBox.h"

#include <QFileInfo>

namespace {

FileDialogSettings storyDialog(FileDialogSettings::Mode mode, const QString &programFolder)
{
    FileDialogSettings settings;
    settings.mode = mode;
    settings.folder = programFolder + QStringLiteral("/Рассказы");
    settings.confirmOverwrite = mode == FileDialogSettings::Save;
    settings.mustExist = mode == FileDialogSettings::Open;
    // The same Russian names in both: an English filter has no place here.
    settings.filters = { { QStringLiteral("Текстовые файлы"), QStringLiteral("*.txt") },
        { QStringLiteral("Файлы без расширения"), QStringLiteral("*") } };
    return settings;
}

QString pictureFolder(const QString &programFolder)
{
    return programFolder + QStringLiteral("/Картинки");
}

} // namespace

void EditorWindow::save()
{
    const auto path
        = m_dialogs.chooseFile(this, storyDialog(FileDialogSettings::Save, programFolder()));
    if (!path)
        return;
    const StorySaved saved = StoryFiles::save(*path, m_story);
    if (!saved.ok()) {
        m_dialogs.error(this, saved.error);
        return;
    }
    m_storyFile = *path;
    // The eye sees nothing change; the ear is told.
    m_keyboard->announcer()->say(
        QStringLiteral("Рассказ сохранён в файл %1.").arg(QFileInfo(*path).fileName()));
}

void EditorWindow::saveWebPage()
{
    FileDialogSettings settings = storyDialog(FileDialogSettings::Save, programFolder());
    // A page without its ending opens in no browser.
    settings.defaultSuffix = QStringLiteral("html");
    settings.filters = { { QStringLiteral("Веб-страницы"), "*." + settings.defaultSuffix } };
    if (!m_storyFile.isEmpty())
        settings.proposedName
            = QFileInfo(m_storyFile).completeBaseName() + '.' + settings.defaultSuffix;
    const auto path = m_dialogs.chooseFile(this, settings);
    if (!path)
        return;
    // The pictures the frames show; the trace in the editor's colour.
    FramePictures pictures;
    for (int k = 0; k < FrameCount; ++k)
        pictures[k] = pagePicture(k);
    const WebPage::Look look { m_readPathMark->palette().color(QPalette::Active, QPalette::Link) };
    // The page is named as the story's file is, or else as itself.
    const QString name = QFileInfo(m_storyFile.isEmpty() ? *path : m_storyFile).completeBaseName();
    const StorySaved saved = WebPage::save(*path, name, m_story, pictures, look);
    if (!saved.ok()) {
        m_dialogs.error(this, saved.error);
        return;
    }
    m_keyboard->announcer()->say(
        QStringLiteral("Веб-страница сохранена в файл %1.").arg(QFileInfo(*path).fileName()));
}

void EditorWindow::open()
{
    m_story.showBlockTexts = true;
    const auto path
        = m_dialogs.chooseFile(this, storyDialog(FileDialogSettings::Open, programFolder()));
    if (!path)
        return;
    // The story on screen goes only once the new one has been read.
    const LinesRead texts = StoryFiles::readStory(*path);
    if (!texts.ok()) {
        m_dialogs.error(this, texts.error);
        return;
    }
    newStory();
    m_storyFile = *path;
    for (int b = 0; b < BlockCount; ++b)
        m_story.blockTexts[b] = texts.lines.at(b);
    writeBlockTexts();
    m_canvas->update();

    // A story without a picture list simply has no pictures; a list that is
    // there but cannot be read is worth a word.
    const LinesRead paths = StoryFiles::readPictureList(*path);
    if (!paths.ok()) {
        if (!paths.missing)
            m_dialogs.error(this, paths.error);
        return;
    }
    // The eye sees an empty frame; the ear is told which picture it lacks.
    QStringList notShown;
    for (int k = 0; k < FrameCount; ++k) {
        m_story.picturePaths[k] = paths.lines.at(k);
        if (!loadFramePicture(k, paths.lines.at(k), *path))
            notShown << frameName(k) + QLatin1Char(' ')
                    + frameDescription(paths.lines.at(k), false);
    }
    if (!notShown.isEmpty())
        m_keyboard->announcer()->say(notShown.join(QStringLiteral(". ")) + QLatin1Char('.'));
}

void EditorWindow::choosePicture(int index)
{
    FileDialogSettings settings;
    settings.mode = FileDialogSettings::Open;
    settings.folder = pictureFolder(programFolder());
    settings.filters = { { QStringLiteral("Формат bitmap (*.bmp)"), QStringLiteral("*.bmp") },
        { QStringLiteral("Формат JPEG (*.jpg)"), QStringLiteral("*.jpg") } };
    settings.mustExist = true;
    settings.spokenName = pictureDialogName(index);
    const auto path = m_dialogs.chooseFile(this, settings);
    if (!path)
        return;
    // The picture list holds one path a line: a line break in the path would
    // be saved as a space and name no file when the story is opened again.
    if (path->contains(QLatin1Char('\n')) || path->contains(QLatin1Char('\r'))) {
        m_dialogs.error(this,
            QStringLiteral("Картинку «%1» нельзя взять в рассказ: в имени файла "
                           "есть перевод строки. Переименуй файл.")
                .arg(StoryFiles::displayName(*path)));
        return;
    }
    // A picture that cannot be shown is not taken: the frame keeps its old
    // picture together with the path that saves it.
    const LoadedPicture picture = PictureLoader::load(*path);
    if (!picture.ok()) {
        m_dialogs.error(this, picture.error);
        return;
    }
    m_story.picturePaths[index] = *path;
    m_pictureFrames[index]->setPicture(picture.image);
    clearReadPath();
}

QImage EditorWindow::pagePicture(int frame) const
{
    const QImage &kept = m_pictureFrames[frame]->picture();
    // Only a picture cut to the kept size in some direction can have been
    // stretched to it; the page reads that one again, as it is drawn.
    const QSize bound = PictureLoader::KeptSize;
    if (kept.width() != bound.width() && kept.height() != bound.height())
        return kept;
    const LoadedPicture own
        = PictureLoader::load(StoryFiles::findPicture(m_story.picturePath(frame), m_storyFile,
                                  pictureFolder(programFolder())),
            PictureLoader::Proportions::Own);
    // A file gone since keeps the page to what the frame shows.
    return own.image.isNull() ? kept : own.image;
}

bool EditorWindow::loadFramePicture(int frame, const QString &path, const QString &storyFile)
{
    if (path.isEmpty()) {
        m_pictureFrames[frame]->clearPicture();
        return true;
    }
    // A failure leaves the frame empty, as New left it.
    const QString found = StoryFiles::findPicture(path, storyFile, pictureFolder(programFolder()));
    if (found.isEmpty())
        return false;
    const LoadedPicture picture = PictureLoader::load(found);
    if (!picture.ok())
        return false;
    m_pictureFrames[frame]->setPicture(picture.image);
    return true;
}

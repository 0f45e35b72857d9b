#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct StoryDocument;

// What reading one of the story's files gave.
struct LinesRead {
    QStringList lines; // exactly as many as asked for, missing ones empty
    QString error; // in Russian, naming the file; empty when read
    bool missing = false; // the file does not exist at all

    bool ok() const { return error.isEmpty(); }
};

// What saving a story did.
struct StorySaved {
    QString error; // in Russian, naming the file; empty when both were written

    bool ok() const { return error.isEmpty(); }
};

// The two files of a story on disk: the story file with the ten block texts
// and the picture-list file with the four picture paths, one per line.
// No widgets and no dialogs here: the callers show what goes wrong.
class StoryFiles {
public:
    // Ten texts of the most a block takes, even as UTF-8, stay below it;
    // a larger file is no story of this program's and is refused.
    static constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;

    // The picture-list file that goes with a story file: its name is cut
    // after the first dot of the file name and given "il" (fox.txt, fox and
    // fox.v2.txt all give fox.il). It never names the story file itself.
    static QString pictureListPath(const QString &storyPath);

    // Each line ends in CR LF, the last one too. Windows-1251 when every
    // character fits and the bytes could be taken neither for UTF-8's mark
    // nor for a picture, otherwise UTF-8 with a byte-order mark. A line break
    // inside a line would shift every later line, and a NUL byte make the
    // file no text, so each is written as a space.
    static QByteArray encodeLines(const QStringList &lines);

    // UTF-8 when the bytes start with its byte-order mark, Windows-1251
    // otherwise. A line ends at CR LF, a lone CR or a lone LF; lines past
    // the end are empty, lines after the count are ignored.
    static QStringList decodeLines(QByteArrayView bytes, int count);

    // Reads the first count lines of a file of at most MaxFileBytes.
    static LinesRead readLines(const QString &path, int count);
    // The same for a story file, which refuses a file that is not text: one
    // that holds a NUL byte or starts like a JPEG, PNG or GIF picture.
    static LinesRead readStory(const QString &storyPath);
    static LinesRead readPictureList(const QString &storyPath);

    // Writes both files or, as far as the file system allows, neither.
    static StorySaved save(const QString &storyPath, const StoryDocument &story);
    // Writes one file of the story's, whole or not at all: the old file
    // stays until the new one is on the disk.
    static StorySaved saveFile(const QString &path, QByteArrayView bytes);
    // A save that failed before any file was written, for a reason of its own.
    static StorySaved notSaved(const QString &path, const QString &reason);

    // The file to show for a stored picture path. A path brought from
    // another computer is looked for by its file name beside the story file
    // and then in the picture folder. Empty when nothing is found.
    static QString findPicture(
        const QString &path, const QString &storyPath, const QString &pictureFolder);

    static QString displayName(const QString &path);
};

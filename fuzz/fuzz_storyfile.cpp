#include "FuzzCheck.h"

#include "story/StoryDocument.h"
#include "story/StoryFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

// A story file as Open reads it. Whatever its bytes, ten texts without line
// breaks come back; reading the file gives what decoding its bytes gives,
// unless it is refused as no text; and saving those texts and opening the
// saved story gives them back.

namespace {

const QTemporaryDir &folder()
{
    static const QTemporaryDir dir;
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FUZZ_CHECK(folder().isValid());
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const QStringList texts = StoryFiles::decodeLines(bytes, BlockCount);
    FUZZ_CHECK(texts.size() == BlockCount);
    for (const QString &text : texts)
        FUZZ_CHECK(!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')));

    const QString storyPath = folder().filePath(QStringLiteral("рассказ.txt"));
    FUZZ_CHECK(writeFile(storyPath, bytes));
    const LinesRead read = StoryFiles::readStory(storyPath);
    // A file that is no text is refused, and named.
    if (!read.ok()) {
        FUZZ_CHECK(read.error.contains(StoryFiles::displayName(storyPath)));
        return 0;
    }
    FUZZ_CHECK(read.lines == texts);

    StoryDocument story;
    for (int b = 0; b < BlockCount; ++b)
        story.blockTexts[b] = texts.at(b);
    FUZZ_CHECK(StoryFiles::save(storyPath, story).ok());
    const LinesRead reopened = StoryFiles::readStory(storyPath);
    FUZZ_CHECK(reopened.ok());
    FUZZ_CHECK(reopened.lines == texts);
    const LinesRead pictures = StoryFiles::readPictureList(storyPath);
    FUZZ_CHECK(pictures.ok());
    FUZZ_CHECK(pictures.lines == QStringList(FrameCount, QString()));
    return 0;
}

#pragma once

#include <QString>

#include <array>
#include <optional>

// Every story has ten blocks (chapters and questions) and four picture
// frames, one for each ending.
inline constexpr int BlockCount = 10;
inline constexpr int FrameCount = 4;
// The most characters the pupil can give one block: many pages of a book.
inline constexpr int MaxBlockTextLength = 100'000;

// The one story the program holds: ten block texts, four picture paths and
// the editing state. It starts empty and lives for the whole run.
struct StoryDocument {
    std::array<QString, BlockCount> blockTexts;
    // An entry never set has no value; it behaves as the empty path.
    std::array<std::optional<QString>, FrameCount> picturePaths;
    qint16 currentBlock = 0;
    bool showBlockTexts = false;

    QString picturePath(int frame) const { return picturePaths.at(frame).value_or(QString()); }

    // The document part of New: every text and every path becomes empty.
    void eraseTexts();
    void erasePicturePaths();
};

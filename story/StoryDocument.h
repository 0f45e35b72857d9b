#pragma once

#include <QString>

#include <array>
#include <optional>

inline constexpr int StoryBlockCount = 10;
inline constexpr int StoryPictureCount = 4;

// The one story the program holds: ten block texts, four picture paths and
// the editing state. It starts empty and lives for the whole run.
struct StoryDocument {
    std::array<QString, StoryBlockCount> blockTexts;
    // An entry never set has no value; it behaves as the empty path.
    std::array<std::optional<QString>, StoryPictureCount> picturePaths;
    qint16 currentBlock = 0;
    bool showBlockTexts = false;

    QString picturePath(int frame) const { return picturePaths.at(frame).value_or(QString()); }

    // The document part of New: every text and every path becomes empty.
    void eraseTexts();
    void erasePicturePaths();
};

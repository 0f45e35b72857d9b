#pragma once

#include "story/StoryDocument.h"
#include "story/StoryFiles.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QJsonObject>
#include <QSize>

#include <array>

using FramePictures = std::array<QImage, FrameCount>;

// The story as one web page that reads it in any browser, as the reading
// window does, beside its flowchart traced as the reader goes. Everything is
// inside the one file: the texts, the flowchart's connections, the pictures
// as JPEG data, the player and its style, which the page's policy alone
// allows to run. Nothing is fetched from anywhere.
class WebPage {
public:
    // The editor's flowchart is drawn as the editor draws it maximized on
    // the smallest screen schools have: in the window's designed 663 points
    // the endings' shapes overlap and cover each other's words.
    static constexpr QSize ChartWindow { 1024, 768 };
    // The exits' captions: a red that small words can be read in on white,
    // at 5.7 : 1.
    static constexpr QColor ExitColour { 208, 0, 0 };
    // The colour the editor traces a path in.
    struct Look {
        QColor traceColour;
    };

    // The page's UTF-8 bytes, or the frame whose picture could not be
    // written as JPEG. The page is titled by the name given: the story's.
    struct Built {
        QByteArray html;
        int failedFrame = -1;
    };
    static Built build(const QString &name, const StoryDocument &story,
        const FramePictures &pictures, const Look &look);
    // Builds the page and writes it, whole or not at all.
    static StorySaved save(const QString &path, const QString &name, const StoryDocument &story,
        const FramePictures &pictures, const Look &look);

    // Data for a page's script: JSON with <, > and & written as escapes,
    // so that no text can end the script or start markup.
    static QByteArray scriptData(const QJsonObject &data);
    // The pictures' JPEG quality: the sample stories' pages stay small.
    static constexpr int JpegQuality = 85;
};

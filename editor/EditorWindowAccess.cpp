#include "editor/EditorWindow.h"

#include "editor/EditorCanvas.h"
#include "editor/EditorKeyboard.h"
#include "editor/ReadPathMark.h"
#include "flowchart/SpokenWords.h"
#include "story/StoryDocument.h"
#include "widgets/PictureBox.h"

void EditorWindow::setUpKeyboardAccess()
{
    QList<ClickLabel *> places;
    for (int b = 0; b < BlockCount; ++b) {
        m_blockAreas[b]->makeButton(blockName(b), [this, b] {
            return blockDescription(b, m_story.blockTexts.at(b), m_readPathMark->path());
        });
        places << m_blockAreas[b];
    }
    for (int k = 0; k < FrameCount; ++k) {
        m_pictureFrames[k]->makeButton(frameName(k), [this, k] {
            return frameDescription(
                m_story.picturePath(k), !m_pictureFrames[k]->picture().isNull());
        });
        places << m_pictureFrames[k];
    }
    m_canvas->setAccessibleName(QStringLiteral("Блок-схема рассказа"));
    m_keyboard = new EditorKeyboard(this, m_canvas, places);
}

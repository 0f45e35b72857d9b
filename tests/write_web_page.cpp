#include "editor/EditorWindow.h"
#include "flowchart/FlowchartPath.h"
#include "story/StoryDocument.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>

#include <cstdio>

// Opens a story in the editor and saves it as a web page, through the
// editor's own commands: write_web_page PROGRAM_FOLDER STORY PAGE. With
// --ways, writes the ways through the chart instead, one a line: the blocks
// met, each question with its answer after it (+ for yes), then the ending's
// frame.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.value(1) == QLatin1String("--ways")) {
        for (const FlowchartPath &way : FlowchartPath::everyWay()) {
            for (const int b : way.blocks)
                std::printf("%d%s ", b, !way.exitAt(b) ? "" : *way.exitAt(b) ? "+" : "-");
            std::printf("%d\n", FlowchartBlocks[way.blocks.last()].frame);
        }
        return 0;
    }
    if (args.size() != 4) {
        std::fputs("usage: write_web_page PROGRAM_FOLDER STORY PAGE\n", stderr);
        return 2;
    }
    StoryDocument story;
    ScriptedDialogs dialogs;
    EditorWindow editor(story, dialogs);
    editor.setProgramFolder(args[1]);
    dialogs.files << args[2] << args[3];
    editor.open();
    editor.saveWebPage();
    for (const ScriptedDialogs::Call &call : std::as_const(dialogs.calls)) {
        if (call.kind == QLatin1String("error")) {
            std::fprintf(stderr, "%s\n", qPrintable(call.text));
            return 1;
        }
    }
    return 0;
}

#include "reader/ReadPathTrace.h"

ReadPathTrace traceReadPath(const ReadingWalk::Path &path, const FlowchartLayout &layout)
{
    ReadPathTrace trace;
    if (path.isEmpty())
        return trace;
    trace.start = layout.startOutline();
    int from = StartTerminator;
    for (const int block : path.blocks) {
        trace.arrows << layout.arrow(from, block);
        trace.outlines << layout.blockOutline(block);
        from = block;
    }
    return trace;
}

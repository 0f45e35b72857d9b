#!/usr/bin/env python3
"""Checks a screenshot of the maximized editor, empty, as test-wine.sh takes
it: the four picture frames spread across the whole width with equal gaps,
and the flowchart above them as wide as in a reference screenshot of a
window as wide, the Linux build's. A flowchart laid out for another width
fails both.

    layout-check.py SHOT [REFERENCE]
"""
import re
import subprocess
import sys

DARK = 128
# A frame's side is a dark line as tall as the frame; the flowchart's lines
# are shorter, a window's edges longer.
FRAME_SIDE = range(120, 141)
BAND = 300  # rows of flowchart looked at above the frames
# Lines drawn by another system may end a few pixels apart; a layout for
# another width puts the flowchart's ends 7 pixels apart per 8 of width.
SLACK = 6


def gray(path):
    pgm = subprocess.run(['convert', path, '-colorspace', 'Gray', '-depth', '8', 'pgm:-'],
                         check=True, capture_output=True).stdout
    head = re.match(rb'P5\s+(\d+)\s+(\d+)\s+\d+\s', pgm)
    return int(head[1]), int(head[2]), pgm[head.end():]


def frames(width, height, pixels):
    """The columns of the frames' sides and the frames' top row."""
    sides, tops = [], []
    for x in range(width):
        run = longest = end = 0
        for y in range(height):
            run = run + 1 if pixels[y * width + x] < DARK else 0
            if run > longest:
                longest, end = run, y
        if longest in FRAME_SIDE and not (sides and sides[-1] == x - 1):
            sides.append(x)
            tops.append(end - longest + 1)
    return sides, min(tops, default=0)


def flowchart_span(width, pixels, top):
    columns = [x for x in range(width)
               if any(pixels[y * width + x] < DARK for y in range(max(top - BAND, 0), top - 1))]
    return (columns[0], columns[-1]) if columns else (None, None)


def main():
    width, height, pixels = gray(sys.argv[1])
    sides, top = frames(width, height, pixels)
    print(f'frames\' sides at {sides}, top {top}')
    if len(sides) != 8:
        print('FAIL: not four frames side by side')
        return 1
    gaps = [sides[0]] + [sides[i + 1] - sides[i] for i in (1, 3, 5)] + [width - 1 - sides[7]]
    print(f'gaps {gaps}')
    if max(gaps) - min(gaps) > 3:
        print('FAIL: the frames do not spread across the whole width')
        return 1
    span = flowchart_span(width, pixels, top)
    print(f'flowchart from x {span[0]} to {span[1]}')
    if len(sys.argv) > 2:
        reference = gray(sys.argv[2])
        ref_span = flowchart_span(reference[0], reference[2], frames(*reference)[1])
        print(f'reference flowchart from x {ref_span[0]} to {ref_span[1]}')
        if None in span + ref_span or max(abs(a - b) for a, b in zip(span, ref_span)) > SLACK:
            print('FAIL: the flowchart is not laid out for this width')
            return 1
    return 0


sys.exit(main())

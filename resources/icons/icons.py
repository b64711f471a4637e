#!/usr/bin/env python3
"""Writes Tarvik's icon sources (svg/*.svg) from a few shared shapes.

One palette and one stroke width keep the set consistent; names ending in _16 or _small are
drawn on a 16-unit grid, all others on a 32-unit grid. render.sh turns them into the PNGs that
the resource file uses.
"""
import os

INK = "#2b3a4a"        # outlines and glyphs
BLUE = "#2f6db5"
BLUE_LIGHT = "#cfe0f5"
BLUE_TOP = "#5a95dc"
GREEN = "#2e9e5b"
GREEN_LIGHT = "#bfe6cf"
GREEN_DARK = "#1e6e3f"
ORANGE = "#e8902a"
RED = "#c8453b"
GREY = "#8a97a5"
PAPER = "#ffffff"


def svg(size, body):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="{0}" height="{0}" '
            'viewBox="0 0 {0} {0}" stroke-linejoin="round" stroke-linecap="round">\n{1}\n</svg>\n'
            ).format(size, body)


def table(x, y, w, h, cols=3, rows=3, header=BLUE, highlight=None):
    """A small grid with a coloured header row; `highlight` tints one column."""
    parts = ['<rect x="{}" y="{}" width="{}" height="{}" fill="{}" stroke="{}" stroke-width="1.5"/>'
             .format(x, y, w, h, PAPER, INK)]
    cw = w / cols
    rh = h / (rows + 1)
    if highlight is not None:
        parts.append('<rect x="{}" y="{}" width="{}" height="{}" fill="{}"/>'
                     .format(x + cw * highlight, y, cw, h, BLUE_LIGHT))
    parts.append('<rect x="{}" y="{}" width="{}" height="{}" fill="{}" stroke="{}" stroke-width="1.5"/>'
                 .format(x, y, w, rh, header, INK))
    for c in range(1, cols):
        parts.append('<line x1="{0}" y1="{1}" x2="{0}" y2="{2}" stroke="{3}" stroke-width="1"/>'
                     .format(x + cw * c, y + rh, y + h, INK))
    for r in range(2, rows + 1):
        parts.append('<line x1="{0}" y1="{1}" x2="{2}" y2="{1}" stroke="{3}" stroke-width="1"/>'
                     .format(x, y + rh * r, x + w, INK))
    parts.append('<rect x="{}" y="{}" width="{}" height="{}" fill="none" stroke="{}" stroke-width="1.5"/>'
                 .format(x, y, w, h, INK))
    return "\n".join(parts)


def funnel(x, y, s, fill=BLUE):
    """A filter funnel in an s-by-s box at (x, y)."""
    pts = [(0, 0), (1, 0), (0.62, 0.45), (0.62, 0.85), (0.38, 1.0), (0.38, 0.45)]
    path = " ".join("{:.2f},{:.2f}".format(x + px * s, y + py * s) for px, py in pts)
    return '<polygon points="{}" fill="{}" stroke="{}" stroke-width="{}"/>'.format(
        path, fill, INK, 1.5 if s > 10 else 1)


def badge(cx, cy, r, fill):
    return '<circle cx="{}" cy="{}" r="{}" fill="{}" stroke="{}" stroke-width="1.5"/>'.format(
        cx, cy, r, fill, PAPER)


def bars(rows):
    """Gantt bars: (x, y, width, colour) each 5 units high."""
    return "\n".join('<rect x="{}" y="{}" width="{}" height="5" rx="1" fill="{}" stroke="{}" '
                     'stroke-width="1"/>'.format(x, y, w, c, INK) for x, y, w, c in rows)


def plus_box(x, y, s, minus=False):
    m = s / 2
    parts = ['<rect x="{}" y="{}" width="{}" height="{}" rx="2" fill="{}" stroke="{}" stroke-width="1.5"/>'
             .format(x, y, s, s, PAPER, INK),
             '<line x1="{}" y1="{}" x2="{}" y2="{}" stroke="{}" stroke-width="2.5"/>'
             .format(x + 3, y + m, x + s - 3, y + m, BLUE)]
    if not minus:
        parts.append('<line x1="{}" y1="{}" x2="{}" y2="{}" stroke="{}" stroke-width="2.5"/>'
                     .format(x + m, y + 3, x + m, y + s - 3, BLUE))
    return "\n".join(parts)


def round_button(direction):
    arrows = {
        "right": "11,8 23,16 11,24",
        "left": "21,8 9,16 21,24",
        "up": "8,21 16,9 24,21",
        "down": "8,11 16,23 24,11",
    }
    return svg(32, """<defs><linearGradient id="g" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{blue}"/></linearGradient></defs>
<rect x="2" y="2" width="28" height="28" rx="7" fill="url(#g)" stroke="{ink}" stroke-width="1.5"/>
<polygon points="{pts}" fill="{paper}" stroke="{paper}" stroke-width="2"/>""".format(
        top=BLUE_TOP, blue=BLUE, ink=INK, paper=PAPER, pts=arrows[direction]))


def gear(cx, cy, r):
    import math
    teeth = []
    for i in range(8):
        a = i * math.pi / 4
        teeth.append('<rect x="{:.2f}" y="{:.2f}" width="3" height="{:.2f}" fill="{}" '
                     'transform="rotate({:.1f} {} {})"/>'.format(
                         cx - 1.5, cy - r - 2, 4, GREY, math.degrees(a), cx, cy))
    return "\n".join(teeth + [
        '<circle cx="{}" cy="{}" r="{}" fill="{}" stroke="{}" stroke-width="1"/>'.format(cx, cy, r, GREY, INK),
        '<circle cx="{}" cy="{}" r="{}" fill="{}" stroke="{}" stroke-width="1"/>'.format(cx, cy, r / 2.5, PAPER, INK)])


def arrow_down_shape(x, top, bottom, head=5, colour=INK, width=2.5):
    return ('<line x1="{0}" y1="{1}" x2="{0}" y2="{2}" stroke="{3}" stroke-width="{4}"/>'
            '<polygon points="{5},{6} {7},{6} {0},{8}" fill="{3}" stroke="{3}" stroke-width="1"/>'
            ).format(x, top, bottom - head, colour, width, x - head, bottom - head, x + head, bottom)


def arrow_up_shape(x, top, bottom, head=5, colour=INK, width=2.5):
    return ('<line x1="{0}" y1="{1}" x2="{0}" y2="{2}" stroke="{3}" stroke-width="{4}"/>'
            '<polygon points="{5},{6} {7},{6} {0},{8}" fill="{3}" stroke="{3}" stroke-width="1"/>'
            ).format(x, top + head, bottom, colour, width, x - head, top + head, x + head, top)


LETTER_A = 'M{x} {b} L{m} {t} L{r} {b} M{ax} {ay} H{bx}'
LETTER_Z = 'M{x} {t} H{r} L{x} {b} H{r}'


def letter(kind, x, t, w, h):
    if kind == "A":
        d = LETTER_A.format(x=x, b=t + h, m=x + w / 2, t=t, r=x + w,
                            ax=x + w * 0.22, ay=t + h * 0.66, bx=x + w * 0.78)
    else:
        d = LETTER_Z.format(x=x, t=t, r=x + w, b=t + h)
    return '<path d="{}" fill="none" stroke="{}" stroke-width="2.2"/>'.format(d, INK)


def sort_icon(first, second):
    return svg(32, "\n".join([letter(first, 3, 3, 10, 11), letter(second, 3, 18, 10, 11),
                              arrow_down_shape(23, 4, 28, head=5, colour=BLUE)]))


def link_icon(highlight_first):
    first = ORANGE if highlight_first else BLUE_LIGHT
    second = BLUE_LIGHT if highlight_first else ORANGE
    return svg(32, """<rect x="2" y="5" width="15" height="7" rx="1.5" fill="{a}" stroke="{ink}" stroke-width="1.5"/>
<rect x="15" y="20" width="15" height="7" rx="1.5" fill="{b}" stroke="{ink}" stroke-width="1.5"/>
<path d="M17 8.5 H22 V16" fill="none" stroke="{ink}" stroke-width="1.8"/>
<polygon points="18.5,15.5 25.5,15.5 22,19.5" fill="{ink}"/>""".format(a=first, b=second, ink=INK))


def character(kind):
    if kind == "bold":
        body = ('<path d="M4 2 H9 A3 3 0 0 1 9 8 H4 Z M4 8 H9.5 A3 3 0 0 1 9.5 14 H4 Z" fill="none" '
                'stroke="{}" stroke-width="2.2"/>'.format(INK))
    elif kind == "italic":
        body = ('<path d="M10.5 2 L6 14 M8 2 H13 M3.5 14 H8.5" fill="none" stroke="{}" '
                'stroke-width="1.8"/>'.format(INK))
    else:
        body = ('<path d="M4.5 1.5 V7.5 A3.5 3.5 0 0 0 11.5 7.5 V1.5" fill="none" stroke="{0}" '
                'stroke-width="1.8"/><line x1="3" y1="14.5" x2="13" y2="14.5" stroke="{0}" '
                'stroke-width="1.5"/>'.format(INK))
    return svg(16, body)


ICONS = {
    "green_pyramid": svg(32, """<polygon points="16,3 2,26 16,30" fill="{l}" stroke="{d}" stroke-width="1.5"/>
<polygon points="16,3 16,30 30,26" fill="{g}" stroke="{d}" stroke-width="1.5"/>
<line x1="9" y1="14.5" x2="16" y2="16" stroke="{d}" stroke-width="1"/>
<line x1="16" y1="16" x2="23" y2="14.5" stroke="{d}" stroke-width="1"/>""".format(
        l=GREEN_LIGHT, g=GREEN, d=GREEN_DARK)),
    "project-add2_32": svg(32, """<path d="M5 3 H18 L24 9 V29 H5 Z" fill="{p}" stroke="{i}" stroke-width="1.5"/>
<path d="M18 3 V9 H24" fill="none" stroke="{i}" stroke-width="1.5"/>
{bars}
{badge}
<path d="M24 19.5 V26.5 M20.5 23 H27.5" stroke="{p}" stroke-width="2.5"/>""".format(
        p=PAPER, i=INK, bars=bars([(8, 11, 8, BLUE_LIGHT), (11, 17, 7, BLUE_LIGHT)]),
        badge=badge(24, 23, 6.5, GREEN))),
    "table_column_f_32": svg(32, table(3, 5, 26, 22, highlight=1)),
    "table_column_filter_32": svg(32, table(3, 5, 26, 22, highlight=1) + "\n"
                                  + '<circle cx="24" cy="24" r="7.5" fill="{}" stroke="{}" stroke-width="1"/>'.format(PAPER, INK)
                                  + "\n" + funnel(19, 19, 10, ORANGE)),
    "network_diagram_f_32": svg(32, """<path d="M13 7.5 H16 V16.5 H19 M13 25.5 H16 V16.5" fill="none" stroke="{i}" stroke-width="1.8"/>
<rect x="2" y="4" width="11" height="7" rx="1.5" fill="{l}" stroke="{b}" stroke-width="1.5"/>
<rect x="19" y="13" width="11" height="7" rx="1.5" fill="{g}" stroke="{d}" stroke-width="1.5"/>
<rect x="2" y="22" width="11" height="7" rx="1.5" fill="{l}" stroke="{b}" stroke-width="1.5"/>""".format(
        i=INK, l=BLUE_LIGHT, b=BLUE, g=GREEN_LIGHT, d=GREEN_DARK)),
    "details_32": svg(32, """<rect x="3" y="4" width="26" height="24" rx="1.5" fill="{p}" stroke="{i}" stroke-width="1.5"/>
<rect x="3" y="4" width="26" height="4" fill="{b}" stroke="{i}" stroke-width="1.5"/>
<line x1="6" y1="11" x2="26" y2="11" stroke="{g}" stroke-width="1.5"/>
<line x1="6" y1="14" x2="22" y2="14" stroke="{g}" stroke-width="1.5"/>
<rect x="3" y="17" width="26" height="11" fill="{l}" stroke="{i}" stroke-width="1.5"/>
<line x1="6" y1="21" x2="11" y2="21" stroke="{i}" stroke-width="1.5"/>
<rect x="13" y="19.5" width="13" height="3" fill="{p}" stroke="{i}" stroke-width="0.8"/>
<line x1="6" y1="25" x2="11" y2="25" stroke="{i}" stroke-width="1.5"/>
<rect x="13" y="23.5" width="13" height="3" fill="{p}" stroke="{i}" stroke-width="0.8"/>""".format(
        p=PAPER, i=INK, b=BLUE, g=GREY, l=BLUE_LIGHT)),
    "gantt_chart-gear_32": svg(32, bars([(2, 4, 12, GREEN), (8, 12, 14, GREEN), (4, 20, 8, GREEN)])
                               + "\n" + gear(23, 23, 5.5)),
    "export_to_csv_32": svg(32, table(2, 3, 20, 22, cols=3, rows=4, header=GREEN) + "\n"
                            + '<path d="M17 22 H26" stroke="{0}" stroke-width="3.5"/>'
                              '<polygon points="24,16 31,22 24,28" fill="{0}" stroke="{1}" stroke-width="1"/>'
                            .format(GREEN, GREEN_DARK)),
    "expand_all_32": svg(32, plus_box(3, 3, 15) + "\n" + plus_box(14, 14, 15)),
    "collapse_all_32": svg(32, plus_box(3, 3, 15, True) + "\n" + plus_box(14, 14, 15, True)),
    "expand_32": svg(32, plus_box(6, 6, 20)),
    "remove_32": svg(32, plus_box(6, 6, 20, True)),
    "outline_32": svg(32, """<path d="M6 9 V25 H11 M6 17 H11 M16 21 V25 H20" fill="none" stroke="{g}" stroke-width="1.5"/>
<rect x="3" y="4" width="6" height="6" fill="{b}" stroke="{i}" stroke-width="1"/>
<line x1="12" y1="7" x2="29" y2="7" stroke="{i}" stroke-width="2"/>
<rect x="12" y="14" width="6" height="6" fill="{b}" stroke="{i}" stroke-width="1"/>
<line x1="21" y1="17" x2="29" y2="17" stroke="{i}" stroke-width="2"/>
<rect x="12" y="22" width="6" height="6" fill="{l}" stroke="{i}" stroke-width="1"/>
<line x1="21" y1="25" x2="29" y2="25" stroke="{i}" stroke-width="2"/>""".format(
        g=GREY, b=BLUE, l=BLUE_LIGHT, i=INK)),
    "table_stack": svg(32, """<rect x="9" y="3" width="20" height="15" fill="{l}" stroke="{g}" stroke-width="1.5"/>
<rect x="6" y="7" width="20" height="15" fill="{l}" stroke="{g}" stroke-width="1.5"/>
{t}""".format(l=BLUE_LIGHT, g=GREY, t=table(3, 11, 20, 17, cols=3, rows=3))),
    "time_f_32": svg(32, """<circle cx="16" cy="16" r="13" fill="{p}" stroke="{b}" stroke-width="3"/>
<path d="M16 5.5 V7.5 M16 24.5 V26.5 M5.5 16 H7.5 M24.5 16 H26.5" stroke="{i}" stroke-width="1.5"/>
<path d="M16 16 V9.5 M16 16 L21 19" fill="none" stroke="{i}" stroke-width="2.2"/>
<circle cx="16" cy="16" r="1.6" fill="{o}"/>""".format(p=PAPER, b=BLUE, i=INK, o=ORANGE)),
    "arrow_down_16": svg(16, '<polygon points="3,5 13,5 8,12" fill="{}" stroke="{}" stroke-width="1"/>'.format(BLUE, INK)),
    "arrow_up_16": svg(16, '<polygon points="3,11 13,11 8,4" fill="{}" stroke="{}" stroke-width="1"/>'.format(BLUE, INK)),
    "button_rounded_blue_down_32": round_button("down"),
    "button_rounded_blue_left_32": round_button("left"),
    "button_rounded_blue_right_32": round_button("right"),
    "button_rounded_blue_up_32": round_button("up"),
    "character_bold_small": character("bold"),
    "character_italic_small": character("italic"),
    "character_underline_small": character("underline"),
    "filter-delete_32": svg(32, funnel(3, 4, 20) + "\n" + badge(23, 23, 7, RED)
                            + '<path d="M20 20 L26 26 M26 20 L20 26" stroke="{}" stroke-width="2.2"/>'.format(PAPER)),
    "filter_16": svg(16, funnel(2, 2, 12)),
    "filter_down_16": svg(16, funnel(1, 2, 9) + arrow_down_shape(12.5, 2, 14, head=3, colour=INK, width=1.6)),
    "filter_up_16": svg(16, funnel(1, 2, 9) + arrow_up_shape(12.5, 2, 14, head=3, colour=INK, width=1.6)),
    "resource_human-task": svg(32, """<circle cx="16" cy="10" r="6" fill="{l}" stroke="{i}" stroke-width="1.5"/>
<path d="M5 29 C5 21 9 18 16 18 C23 18 27 21 27 29 Z" fill="{b}" stroke="{i}" stroke-width="1.5"/>""".format(
        l=BLUE_LIGHT, b=BLUE, i=INK)),
    "sort_az_32": sort_icon("A", "Z"),
    "sort_za_32": sort_icon("Z", "A"),
    "task_position_predecessors": link_icon(True),
    "task_position_successors": link_icon(False),
}


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "svg")
    os.makedirs(out, exist_ok=True)
    for name, text in sorted(ICONS.items()):
        with open(os.path.join(out, name + ".svg"), "w") as f:
            f.write(text)
    print("wrote", len(ICONS), "icons to", out)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws Vexlo's interface images as SVG files beside this script.

Run it after changing a shape or a colour; the SVG files it writes are committed.
Buttons come in three states found by name: NAME_n (normal), NAME_o (rollover),
NAME_p (pressed or selected).
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

INK = "#c9d1d9"       # normal glyph
INK_HOVER = "#ffffff"  # rollover glyph
ACCENT = "#2f9be0"     # pressed / selected
FRONT = "#2f9be0"
REAR = "#f08c2e"
MODES = {"alwa": "#3fb068", "motion": "#e0b02a", "event": "#e04848"}


def write(name, width, height, body):
    svg = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
           f'viewBox="0 0 {width} {height}">\n{body}\n</svg>\n')
    with open(os.path.join(HERE, name + ".svg"), "w") as f:
        f.write(svg)


def button(name, size, glyph):
    """A round button: glyph(colour) gives the inner drawing on a size x size canvas."""
    r = size / 2
    states = {
        "n": (INK, "none", "none"),
        "o": (INK_HOVER, "#ffffff22", "#ffffff55"),
        "p": ("#ffffff", ACCENT, ACCENT),
    }
    for state, (ink, fill, ring) in states.items():
        body = (f'<circle cx="{r}" cy="{r}" r="{r - 1.5}" fill="{fill}" stroke="{ring}" '
                f'stroke-width="1.5"/>\n' + glyph(ink))
        write(f"{name}_{state}", size, size, body)


def tab(name, glyph):
    """A side-panel tab glyph, 28 x 28: plain, rollover, selected."""
    for state, ink in {"n": "#8b949e", "o": INK_HOVER, "p": ACCENT}.items():
        write(f"{name}_{state}", 28, 28, glyph(ink))


def play(ink):
    return f'<path d="M17 12 L31 20 L17 28 Z" fill="{ink}" stroke="{ink}" stroke-linejoin="round" stroke-width="2"/>'


def pause(ink):
    return (f'<rect x="13.5" y="12" width="4.5" height="16" rx="1.2" fill="{ink}"/>'
            f'<rect x="22" y="12" width="4.5" height="16" rx="1.2" fill="{ink}"/>')


def folder(ink):
    return (f'<path d="M9 13 h7 l2.5 2.5 H27 a1.5 1.5 0 0 1 1.5 1.5 V26 a1.5 1.5 0 0 1 -1.5 1.5 '
            f'H10.5 A1.5 1.5 0 0 1 9 26 Z" fill="none" stroke="{ink}" stroke-width="2" '
            f'stroke-linejoin="round"/><path d="M9 18 H28.5" stroke="{ink}" stroke-width="2"/>')


def swap(ink):
    return (f'<g fill="none" stroke="{ink}" stroke-width="2" stroke-linecap="round" '
            f'stroke-linejoin="round"><path d="M11 16 H27 M23 12 L27 16 L23 20"/>'
            f'<path d="M29 24 H13 M17 20 L13 24 L17 28"/></g>')


def rewind(ink):
    return (f'<path d="M20 13 L12 20 L20 27 Z M28 13 L20 20 L28 27 Z" fill="{ink}" '
            f'stroke="{ink}" stroke-linejoin="round" stroke-width="1.5"/>')


def fast_forward(ink):
    return (f'<path d="M12 13 L20 20 L12 27 Z M20 13 L28 20 L20 27 Z" fill="{ink}" '
            f'stroke="{ink}" stroke-linejoin="round" stroke-width="1.5"/>')


def full_screen(ink):
    return (f'<path d="M11 17 V11 H17 M23 11 H29 V17 M29 23 V29 H23 M17 29 H11 V23" fill="none" '
            f'stroke="{ink}" stroke-width="2" stroke-linecap="round" stroke-linejoin="round"/>')


def snapshot(ink):
    """A still camera: the frame is saved as a picture."""
    return (f'<path d="M10.5 15 H15 L16.8 12.5 H23.2 L25 15 H29.5 A1.5 1.5 0 0 1 31 16.5 V26.5 '
            f'A1.5 1.5 0 0 1 29.5 28 H10.5 A1.5 1.5 0 0 1 9 26.5 V16.5 A1.5 1.5 0 0 1 10.5 15 Z" '
            f'fill="none" stroke="{ink}" stroke-width="2" stroke-linejoin="round"/>'
            f'<circle cx="20" cy="21.3" r="3.8" fill="none" stroke="{ink}" stroke-width="2"/>')


def printer(ink):
    return (f'<path d="M14 16 V11 H26 V16" fill="none" stroke="{ink}" stroke-width="2" '
            f'stroke-linejoin="round"/>'
            f'<path d="M14 25 H10.5 A1.5 1.5 0 0 1 9 23.5 V17.5 A1.5 1.5 0 0 1 10.5 16 H29.5 '
            f'A1.5 1.5 0 0 1 31 17.5 V23.5 A1.5 1.5 0 0 1 29.5 25 H26" fill="none" '
            f'stroke="{ink}" stroke-width="2" stroke-linejoin="round"/>'
            f'<rect x="14" y="21" width="12" height="8" fill="none" stroke="{ink}" '
            f'stroke-width="2" stroke-linejoin="round"/>'
            f'<circle cx="27.5" cy="19.3" r="1.1" fill="{ink}"/>')


def list_glyph(ink):
    rows = "".join(f'<rect x="4" y="{y}" width="4" height="3" rx="1" fill="{ink}"/>'
                   f'<rect x="10" y="{y}" width="14" height="3" rx="1" fill="{ink}"/>'
                   for y in (6, 12.5, 19))
    return rows


def pin_glyph(ink):
    return (f'<path d="M14 25 C9 18 7 15 7 11.5 A7 7 0 0 1 21 11.5 C21 15 19 18 14 25 Z" '
            f'fill="none" stroke="{ink}" stroke-width="2" stroke-linejoin="round"/>'
            f'<circle cx="14" cy="11.5" r="2.6" fill="{ink}"/>')


def camera(cx, cy, scale, colour):
    """A small video camera glyph centred at (cx, cy)."""
    s = scale
    return (f'<g transform="translate({cx - 13 * s} {cy - 8 * s}) scale({s})">'
            f'<rect x="0" y="2" width="18" height="12" rx="2.5" fill="{colour}"/>'
            f'<path d="M19 6.5 L26 3 V13 L19 9.5 Z" fill="{colour}"/></g>')


def logo(name, width, height, label, colour, font):
    body = (camera(width / 2, height * 0.36, height / 40, colour) +
            f'<text x="{width / 2}" y="{height * 0.86}" text-anchor="middle" '
            f'font-family="DejaVu Sans" font-weight="bold" font-size="{font}" '
            f'letter-spacing="2" fill="{colour}">{label}</text>')
    write(name, width, height, f'<g opacity="0.55">{body}</g>')


def car_icon(direction, mode):
    """List row icon, 30 x 18: a car seen from the side, facing right, the camera that
    recorded marked at its end, on a badge in the colour of the recording mode."""
    colour = MODES[mode]
    cam_x = 22.5 if direction == "front" else 5.5
    body = (f'<rect x="0.5" y="0.5" width="29" height="17" rx="4" fill="{colour}"/>'
            f'<path d="M4 12 V9.5 L8 8.5 L11 5 H19 L22.5 8.5 L26 9.3 V12 Z" fill="#ffffff"/>'
            f'<circle cx="9" cy="12.5" r="2" fill="{colour}" stroke="#ffffff" stroke-width="1.2"/>'
            f'<circle cx="21" cy="12.5" r="2" fill="{colour}" stroke="#ffffff" stroke-width="1.2"/>'
            f'<circle cx="{cam_x + 1.5 if direction == "front" else cam_x - 1.5}" cy="4" r="2.3" '
            f'fill="#1b1f24"/>')
    write(f"car_{direction}_{mode}", 30, 18, body)


def frame(name, accent):
    """Nine-part video frame, 48 x 48 with 12-pixel corners: dark inside, thin border, a
    coloured corner mark at the top left."""
    body = ('<rect x="0.5" y="0.5" width="47" height="47" rx="6" fill="#0d1014" '
            'stroke="#3a424b"/>'
            f'<path d="M1 12 V7 A6 6 0 0 1 7 1 H12" fill="none" stroke="{accent}" '
            'stroke-width="2"/>')
    write(name, 48, 48, body)


def slider_images():
    """The range slider: each knob is half of one 20 x 22 knob, its flat side on the value,
    so two knobs at one value join into a whole; a stripe in the knob's colour marks the
    value. The bar is stretched along its length only, so it has no rounded ends."""
    body = ('<defs><linearGradient id="k" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#f6f8fa"/><stop offset="1" stop-color="#c9d1d9"/>'
            '</linearGradient></defs>')
    left = (body + '<path d="M10 0.5 H4.5 A4 4 0 0 0 0.5 4.5 V17.5 A4 4 0 0 0 4.5 21.5 H10 Z" '
            'fill="url(#k)" stroke="#57606a"/>'
            f'<rect x="7" y="3" width="3" height="16" fill="{MODES["alwa"]}"/>')
    right = (body + '<path d="M0 0.5 H5.5 A4 4 0 0 1 9.5 4.5 V17.5 A4 4 0 0 1 5.5 21.5 H0 Z" '
             'fill="url(#k)" stroke="#57606a"/>'
             f'<rect x="0" y="3" width="3" height="16" fill="{MODES["event"]}"/>')
    write("eco_knob_left", 10, 22, left)
    write("eco_knob_right", 10, 22, right)
    write("eco_barFill", 40, 6,
          '<defs><linearGradient id="b" x1="0" y1="0" x2="0" y2="1">'
          '<stop offset="0" stop-color="#8b949e"/><stop offset="1" stop-color="#c9d1d9"/>'
          '</linearGradient></defs><rect width="40" height="6" fill="url(#b)"/>'
          '<rect width="40" height="1" fill="#57606a"/>'
          '<rect y="5" width="40" height="1" fill="#8b949e"/>')


def main():
    button("icon_play", 40, play)
    button("icon_pause", 40, pause)
    button("icon_open", 40, folder)
    button("icon_swap", 40, swap)
    button("icon_backward", 40, rewind)
    button("icon_forward", 40, fast_forward)
    button("icon_fullscreen", 40, full_screen)
    button("icon_capture", 40, snapshot)
    button("icon_print", 40, printer)
    tab("record", list_glyph)
    tab("information", pin_glyph)
    logo("v1_front_logo", 160, 80, "FRONT", FRONT, 16)
    logo("v1_rear_logo", 160, 80, "REAR", REAR, 16)
    logo("v2_front_logo", 110, 56, "FRONT", FRONT, 11)
    logo("v2_rear_logo", 110, 56, "REAR", REAR, 11)
    for direction in ("front", "rear"):
        for mode in MODES:
            car_icon(direction, mode)
    slider_images()
    frame("v1", FRONT)
    frame("v2", REAR)
    frame("panel", "#3a424b")
    write("head-background", 48, 50,
          '<defs><linearGradient id="g" x1="0" y1="0" x2="0" y2="1">'
          '<stop offset="0" stop-color="#2b3138"/><stop offset="1" stop-color="#1e2328"/>'
          '</linearGradient></defs><rect width="48" height="50" fill="url(#g)"/>'
          '<rect y="49" width="48" height="1" fill="#0b0d10"/>')
    write("bottom-background", 48, 36,
          '<rect x="0.5" y="0.5" width="47" height="35" rx="8" fill="#15191e" '
          'fill-opacity="0.92" stroke="#3a424b"/>')
    write("app_logo", 120, 32,
          camera(16, 16, 0.9, ACCENT) +
          '<text x="36" y="22.5" font-family="DejaVu Sans" font-weight="bold" font-size="18" '
          'fill="#e6edf3">Vexlo</text>')


if __name__ == "__main__":
    main()

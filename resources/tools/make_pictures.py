#!/usr/bin/env python3
"""Writes the generated pictures of skylistener: the 16 frames of the playing animation, the
application icon and the about box background. Run it from anywhere after changing a drawing;
the SVG files it writes are committed beside the hand-written ones.

    python3 resources/tools/make_pictures.py
"""

import math
from pathlib import Path

RESOURCES = Path(__file__).resolve().parent.parent
FRAME_COUNT = 16

WAVE = "#1e88e5"
BODY_TOP = "#f08a4b"
BODY_BOTTOM = "#c0501d"
BODY_EDGE = "#7a2e0c"
CREAM = "#fff3d6"
GRILLE = "#3b2a22"


def fmt(value):
    return f"{value:.3f}".rstrip("0").rstrip(".")


def arc(cx, cy, r, start_deg, end_deg):
    """An SVG path of a circular arc, angles in degrees clockwise from the positive x axis."""
    a0, a1 = math.radians(start_deg), math.radians(end_deg)
    x0, y0 = cx + r * math.cos(a0), cy + r * math.sin(a0)
    x1, y1 = cx + r * math.cos(a1), cy + r * math.sin(a1)
    large = 1 if end_deg - start_deg > 180 else 0
    return f"M{fmt(x0)},{fmt(y0)} A{fmt(r)},{fmt(r)} 0 {large} 1 {fmt(x1)},{fmt(y1)}"


def ripple_opacity(u):
    """A ripple fades in as it leaves the antenna and fades out as it grows."""
    fade_in = min(1.0, u / 0.2)
    fade_out = 1.0 - u ** 2
    return max(0.0, fade_in * fade_out)


def waves(cx, cy, phase, r_min, r_max, width, count=2, spread=45, colour=WAVE):
    """Ripples on both sides of the antenna tip; `phase` in [0, 1) moves them outwards.

    Phase 0 (the idle picture) shows the ripples at a quarter and three quarters of their way,
    the familiar still picture of a broadcasting aerial."""
    parts = []
    for i in range(count):
        u = ((i + phase) / count + 0.25) % 1.0
        r = r_min + u * (r_max - r_min)
        opacity = ripple_opacity(u)
        if opacity < 0.02:
            continue
        d = arc(cx, cy, r, -spread, spread) + " " + arc(cx, cy, r, 180 - spread, 180 + spread)
        parts.append(
            f'<path d="{d}" fill="none" stroke="{colour}" stroke-width="{fmt(width)}" '
            f'stroke-linecap="round" opacity="{fmt(opacity)}"/>'
        )
    return "\n  ".join(parts)


def frame_svg(frame):
    phase = (frame - 1) / FRAME_COUNT
    # The tip of the aerial glows with the same beat as the ripples.
    glow = 0.5 + 0.5 * math.cos(2 * math.pi * phase)
    tip_opacity = 0.55 + 0.45 * glow
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">
  <defs>
    <linearGradient id="body" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{BODY_TOP}"/>
      <stop offset="1" stop-color="{BODY_BOTTOM}"/>
    </linearGradient>
  </defs>
  {waves(11.2, 3.9, phase, 1.3, 5.0, 1.0)}
  <path d="M8.2,8.2 L11.2,3.9" stroke="#4a4a4a" stroke-width="0.8" stroke-linecap="round"/>
  <circle cx="11.2" cy="3.9" r="1.05" fill="#e53935" opacity="{fmt(tip_opacity)}"/>
  <rect x="0.7" y="7.9" width="10.8" height="7.4" rx="1.4" fill="url(#body)" stroke="{BODY_EDGE}" stroke-width="0.6"/>
  <circle cx="4" cy="11.6" r="2.3" fill="{GRILLE}"/>
  <circle cx="4" cy="11.6" r="1.1" fill="none" stroke="#6d5548" stroke-width="0.5"/>
  <rect x="6.9" y="9.3" width="3.7" height="1.7" rx="0.3" fill="{CREAM}"/>
  <path d="M8.2,9.5 V10.8" stroke="#c62828" stroke-width="0.3"/>
  <circle cx="8.8" cy="13.3" r="1" fill="{CREAM}"/>
</svg>
"""


def application_icon_svg():
    grille_holes = []
    for row in range(-2, 3):
        for col in range(-2, 3):
            if row * row + col * col <= 5:
                grille_holes.append(
                    f'<circle cx="{fmt(20 + col * 3.4)}" cy="{fmt(44 + row * 3.4)}" r="1.1" fill="#1c120d"/>'
                )
    scale_marks = "".join(
        f'<path d="M{fmt(34.7 + i * 2.2)},35.5 V{37.2 if i % 2 else 38}" stroke="#7a5a3a" stroke-width="0.5"/>'
        for i in range(9)
    )
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">
  <defs>
    <radialGradient id="sky" cx="0.7" cy="0.3" r="0.75">
      <stop offset="0" stop-color="#bfe3ff"/>
      <stop offset="1" stop-color="#4a9be6"/>
    </radialGradient>
    <linearGradient id="body" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#f59a5e"/>
      <stop offset="0.55" stop-color="{BODY_TOP}"/>
      <stop offset="1" stop-color="#a9431a"/>
    </linearGradient>
    <linearGradient id="dial" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#fffaf0"/>
      <stop offset="1" stop-color="#f3ddb0"/>
    </linearGradient>
    <radialGradient id="grille" cx="0.4" cy="0.35" r="0.7">
      <stop offset="0" stop-color="#6b5244"/>
      <stop offset="1" stop-color="{GRILLE}"/>
    </radialGradient>
    <radialGradient id="tip" cx="0.35" cy="0.35" r="0.7">
      <stop offset="0" stop-color="#ff8a80"/>
      <stop offset="1" stop-color="#c62828"/>
    </radialGradient>
  </defs>
  <circle cx="44" cy="20" r="19" fill="url(#sky)"/>
  <path d="M33,27 a4,4 0 0 1 4,-5 a6,6 0 0 1 11,0 a4,4 0 0 1 2,7.5 h-15 a3.5,3.5 0 0 1 -2,-2.5 z" fill="#ffffff" opacity="0.85"/>
  {waves(46, 12, 0.0, 4.5, 17, 2.6, spread=42, colour="#ffffff")}
  <path d="M36,27 L46,12" stroke="#3d3d3d" stroke-width="2.2" stroke-linecap="round"/>
  <circle cx="46" cy="12" r="2.8" fill="url(#tip)"/>
  <path d="M14,27 Q14,21 20,21 H28 Q34,21 34,27" fill="none" stroke="#5a2a12" stroke-width="2.4" stroke-linecap="round"/>
  <rect x="3" y="26" width="46" height="34" rx="6" fill="url(#body)" stroke="{BODY_EDGE}" stroke-width="1.6"/>
  <rect x="6" y="29" width="40" height="2" rx="1" fill="#ffffff" opacity="0.25"/>
  <circle cx="20" cy="44" r="10" fill="url(#grille)" stroke="#2a1d17" stroke-width="1"/>
  {"".join(grille_holes)}
  <rect x="33" y="32.5" width="21" height="8" rx="1.5" fill="url(#dial)" stroke="{BODY_EDGE}" stroke-width="1"/>
  {scale_marks}
  <path d="M42,33 V40" stroke="#c62828" stroke-width="1.1"/>
  <circle cx="37.5" cy="50" r="4" fill="url(#dial)" stroke="{BODY_EDGE}" stroke-width="1"/>
  <path d="M37.5,46.5 V49" stroke="#7a2e0c" stroke-width="1" stroke-linecap="round"/>
  <circle cx="44.5" cy="50" r="2.6" fill="url(#dial)" stroke="{BODY_EDGE}" stroke-width="1"/>
</svg>
"""


def about_background_svg():
    # Faint ripples spreading from the lower right corner, behind the button.
    rings = "\n  ".join(
        f'<path d="{arc(356, 132, r, 180, 270)}" fill="none" stroke="#d6e9fb" '
        f'stroke-width="{fmt(5 - i * 0.6)}" opacity="{fmt(0.9 - i * 0.12)}"/>'
        for i, r in enumerate((40, 62, 84, 106, 128, 150))
    )
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="356" height="132" viewBox="0 0 356 132">
  <defs>
    <linearGradient id="band" x1="0" y1="0" x2="1" y2="0">
      <stop offset="0" stop-color="#4a9be6"/>
      <stop offset="1" stop-color="#bfe3ff"/>
    </linearGradient>
    <linearGradient id="side" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#eef6fe"/>
      <stop offset="1" stop-color="#ffffff"/>
    </linearGradient>
  </defs>
  <rect width="356" height="132" fill="#ffffff"/>
  <rect width="66" height="132" fill="url(#side)"/>
  {rings}
  <text x="76" y="34" font-family="Tahoma" font-size="22" font-weight="bold" fill="#1e6fc0">skylistener</text>
  <rect x="76" y="40" width="150" height="2" rx="1" fill="url(#band)"/>
</svg>
"""


def write(path, text):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(text, encoding="utf-8")


def main():
    for frame in range(1, FRAME_COUNT + 1):
        write(RESOURCES / "icons" / "anim" / f"frame{frame:02d}.svg", frame_svg(frame))
    write(RESOURCES / "icons" / "skylistener.svg", application_icon_svg())
    write(RESOURCES / "about" / "background.svg", about_background_svg())


if __name__ == "__main__":
    main()

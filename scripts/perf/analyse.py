#!/usr/bin/env python3
"""Turns the run directories written by measure.sh into per-run figures and their medians.

Usage: analyse.py OUT_DIR

Frame logs hold "<start ns> <end ns> <clock ms>" a frame: the steady clock when the frame began and
ended, and the program's millisecond clock the frame ran at. A frame is due 15 ms (of that clock)
after the previous frame began; the clock's millisecond boundaries are placed on the steady clock
by the most punctual frame of the run, so each frame's lateness is how long after its due
boundary it began.
"""
import pathlib
import statistics
import sys

FRAME_MS = 15
SKIP = 100  # frames left out at the start (title, start-up)
SPAN = 1200  # frames measured after those: 18.0 s at 66.7 per second
TITLES = {"game": "Tarvik", "minimal": "Minimal", "busy": "Busy"}
COLUMNS = [
    "cpu %", "Xvfb cpu %", "fps", "1200 frames s", "slipped frames", "late p50 ms", "late p99 ms",
    "late max ms", "max RSS MB", "VmHWM MB", "mapped ms", "first frame ms", "load (1 min)",
]


def percentile(values, p):
    ordered = sorted(values)
    k = max(0, min(len(ordered) - 1, -(-p * len(ordered) // 100) - 1))  # nearest rank
    return ordered[k]


def map_times(out):
    maps = []
    for line in (out / "maps.log").read_text().splitlines():
        stamp, _, name = line.partition(" ")
        if stamp.isdigit():
            maps.append((int(stamp), name))
    return maps


def pace(frames):
    """Frame rate and lateness over the measured window of a run's frames."""
    window = frames[SKIP : SKIP + SPAN + 1]
    span = (window[-1][0] - window[0][0]) / 1e9
    boundary = min(start - clock * 1_000_000 for start, _, clock in frames)  # steady ns of clock 0
    late = []
    slips = 0
    for (_, _, previous), (start, _, clock) in zip(window, window[1:]):
        due = boundary + (previous + FRAME_MS) * 1_000_000
        late.append((start - due) / 1e6)
        slips += clock - previous != FRAME_MS
    return {
        "fps": SPAN / span,
        "1200 frames s": span,
        "slipped frames": slips,
        "late p50 ms": percentile(late, 50),
        "late p99 ms": percentile(late, 99),
        "late max ms": max(late),
    }


def one_run(run_dir, kind, maps):
    row = {"load (1 min)": float((run_dir / "load").read_text().split()[0])}
    if not (run_dir / "frames.log").exists():
        return row  # the program did not finish: no figures
    _, t0 = (int(v) for v in (run_dir / "launch").read_text().split())
    c0, c1, x0, x1, w0, w1, hz = (float(v) for v in (run_dir / "cpu").read_text().split())
    row["cpu %"] = 100 * (c1 - c0) / hz / (w1 - w0)
    row["Xvfb cpu %"] = 100 * (x1 - x0) / hz / (w1 - w0)
    frames = [tuple(int(v) for v in line.split()) for line in (run_dir / "frames.log").read_text().splitlines()]
    row["first frame ms"] = (frames[0][1] - t0) / 1e6
    mapped = [t for t, name in maps if name == TITLES[kind] and t >= t0]
    row["mapped ms"] = (mapped[0] - t0) / 1e6 if mapped else float("nan")
    for line in (run_dir / "time.txt").read_text().splitlines():
        if "Maximum resident set size" in line:
            row["max RSS MB"] = int(line.split(":")[1]) / 1024
    row["VmHWM MB"] = int((run_dir / "vmhwm_kb").read_text() or 0) / 1024
    if len(frames) > SKIP + SPAN:
        row.update(pace(frames))
    return row


def main():
    out = pathlib.Path(sys.argv[1])
    maps = map_times(out)
    print((out / "machine.txt").read_text().rstrip())
    for kind in TITLES:
        runs = sorted(out.glob(f"{kind}-*"), key=lambda p: int(p.name.split("-")[1]))
        rows = [one_run(r, kind, maps) for r in runs]
        if not rows:
            continue
        print(f"\n{kind}: {len(rows)} runs")
        print(f"  {'':<16}" + "".join(f"{r.name:>11}" for r in runs) + f"{'median':>11}")
        for c in COLUMNS:
            values = [row.get(c, float("nan")) for row in rows]
            known = [v for v in values if v == v] or [float("nan")]
            print(f"  {c:<16}" + "".join(f"{v:>11.3f}" for v in values) + f"{statistics.median(known):>11.3f}")


if __name__ == "__main__":
    main()

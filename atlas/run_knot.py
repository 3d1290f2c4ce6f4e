#!/usr/bin/env python3
"""One knot of the atlas: its curve from the name, tightened to its ideal
shape, certified, meshed and drawn.

    run_knot.py NAME --relax VEK_RELAX --picture VEK_TUBE_PICTURE
                --folder DIR --record FILE --log FILE [--extra ARGS]

Writes DIR/NAME.vect (the certified polygon), DIR/NAME.stl (its tube at the
certified diameter) and DIR/NAME.png, the tools' output to the log, and
last the record (JSON): status, message, the summary of vek-relax and the
wall time. A knot that fails gets a record that says why and the step
still succeeds, so that one knot does not stop the others.
"""

import argparse
import json
import os
import shlex
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import atlas_lib  # noqa: E402


def tool_version(relax):
    try:
        done = subprocess.run([relax, "--version"], capture_output=True, text=True, timeout=60)
    except OSError as error:
        return f"unknown ({error.strerror})"
    words = done.stdout.split()
    return words[-1] if done.returncode == 0 and words else "unknown"


def last_message(stderr, tool):
    """The tool's own last complaint, or its exit status."""
    lines = [line.strip() for line in stderr.splitlines() if line.strip()]
    for line in reversed(lines):
        if line.startswith(tool + ":"):
            return line[len(tool) + 1:].strip()
    return lines[-1] if lines else ""


def run(command, log):
    log.write("$ " + " ".join(shlex.quote(c) for c in command) + "\n")
    log.flush()
    try:
        done = subprocess.run(command, capture_output=True, text=True)
    except OSError as error:
        log.write(f"cannot start: {error}\n")
        return None, "", f"cannot start {command[0]}: {error.strerror}"
    log.write(done.stderr)
    log.write(f"(exit status {done.returncode})\n")
    log.flush()
    return done.returncode, done.stdout, done.stderr


def main():
    parser = argparse.ArgumentParser(description="Run one knot of the atlas.")
    parser.add_argument("name")
    parser.add_argument("--relax", required=True)
    parser.add_argument("--picture", required=True)
    parser.add_argument("--folder", required=True)
    parser.add_argument("--record", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--extra", default="", help="more vek-relax options, as one shell-quoted string")
    args = parser.parse_args()

    os.makedirs(args.folder, exist_ok=True)
    os.makedirs(os.path.dirname(os.path.abspath(args.log)), exist_ok=True)
    base = os.path.join(args.folder, args.name)
    version = tool_version(args.relax)
    start = time.monotonic()
    with open(args.log, "w", encoding="utf-8") as log:
        relax = [args.relax, "--knot", args.name, "--ideal", "--output", base + ".vect", "--json",
                 "--mesh", base + ".stl"] + shlex.split(args.extra)
        status, stdout, stderr = run(relax, log)
        seconds = time.monotonic() - start
        if status != 0:
            message = last_message(stderr, "vek-relax") or f"vek-relax ended with status {status}"
            record = atlas_lib.failed_record(args.name, message, seconds, version)
        else:
            try:
                summary = json.loads(stdout)
            except ValueError:
                summary = None
            if not isinstance(summary, dict) or "ropelength" not in summary:
                record = atlas_lib.failed_record(args.name, "vek-relax printed no summary", seconds, version)
            else:
                picture = [args.picture, base + ".vect", base + ".png", "--fit"]
                status, _, stderr = run(picture, log)
                if status != 0:
                    message = last_message(stderr, "vek-tube-picture") or "the picture could not be drawn"
                    record = atlas_lib.failed_record(args.name, "picture: " + message, seconds, version)
                else:
                    record = atlas_lib.ok_record(args.name, summary, seconds, version)
        log.write(f"{record['status']}: {record['message']}\n" if record["message"] else "ok\n")
    atlas_lib.write_atomically(args.record, json.dumps(record, indent=1, sort_keys=True) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())

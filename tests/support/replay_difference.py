#!/usr/bin/env python3
"""Where two outputs of quillfrost-replay first part: the frame, and the
figure or shot slot, that the first differing line is about, with both lines.

    replay_difference.py EXPECTED ACTUAL [EXPECTED_NAME ACTUAL_NAME]

Prints one line and exits 1 where they differ; prints nothing and exits 0
where they are the same."""
import sys


def subject(line, frame):
    """What a line of the output is about, given the frame it falls in."""
    words = line.split()
    if not words:
        return f"frame {frame}"
    if words[0] in ("hash", "frame") and len(words) > 1:
        return f"frame {words[1]}" + (" (its hash)" if words[0] == "hash" else "")
    if words[0] == "S" and len(words) > 1:
        return f"frame {frame}, shot slot {words[1]}"
    if words[0].isdigit():
        return f"frame {frame}, figure {words[0]}"
    return f"frame {frame}, line '{words[0]}'"


def first_difference(expected, actual, expected_name, actual_name):
    frame = "before any"
    for number in range(max(len(expected), len(actual))):
        want = expected[number] if number < len(expected) else None
        got = actual[number] if number < len(actual) else None
        if want is not None and want.split()[:1] == ["frame"]:
            frame = want.split()[1]
        if want == got:
            continue
        where = subject(want if want is not None else got, frame)
        if got is None:
            return f"{actual_name} ends at line {number + 1}, at {where}: {expected_name} goes on with '{want}'"
        if want is None:
            return f"{expected_name} ends at line {number + 1}, at {where}: {actual_name} goes on with '{got}'"
        return f"first difference at {where} (line {number + 1}): {expected_name} '{want}', {actual_name} '{got}'"
    return None


def main():
    if len(sys.argv) not in (3, 5):
        sys.exit(__doc__.strip())
    names = sys.argv[3:5] if len(sys.argv) == 5 else ["expected", "actual"]
    texts = []
    for path in sys.argv[1:3]:
        with open(path, encoding="utf-8", errors="replace") as f:
            texts.append(f.read().splitlines())
    message = first_difference(texts[0], texts[1], *names)
    if message:
        print(message)
        sys.exit(1)


if __name__ == "__main__":
    main()

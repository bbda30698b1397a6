"""The real program, as players run it: the shipped executable with its own
main loop, window and input, on an Xvfb of each size (Mesa's llvmpipe), on the
title and in play (the left button held: a game starts and fires), unpaced
(QUILLFROST_FRAME_RATE=0) and paced at the default 60. Frames are counted from
outside by the preloaded swap log; processor time and minor page faults of the
whole process (llvmpipe's threads included) come from /proc.

Usage, after a build (cmake --build build --target quillfrost swap_log):
    python3 bench/game_bench.py [--seconds S] [--rounds N] [--sizes 320x180,1280x720]
                                [--baseline OTHER_BUILD/quillfrost]
With --baseline, that executable (an earlier build, say) runs unpaced beside
this one, in turn, round by round, so the two are compared in one run.
Each figure is the median over the rounds."""

import argparse
import os
import statistics
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "support"))
from game_run import GameRun  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(here, "..", "build"))
    parser.add_argument("--seconds", type=float, default=8)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--sizes", default="320x180,1280x720,1920x1080")
    parser.add_argument("--baseline")
    args = parser.parse_args()
    game = os.path.join(args.build, "quillfrost")
    library = os.path.join(args.build, "tests", "swap_log.so")

    cases = []  # (label, executable, environment)
    if args.baseline:
        cases.append(("baseline, unpaced", args.baseline, {}))
    cases.append(("unpaced", game, {"QUILLFROST_FRAME_RATE": "0"}))
    cases.append(("paced at 60", game, {}))

    print(f"{args.rounds} rounds of {args.seconds:g} s each, medians; executables run in turn")
    for size in args.sizes.split(","):
        width, height = (int(n) for n in size.split("x"))
        run = GameRun(game, library, width, height)
        try:
            for play in (False, True):
                results = {label: [] for label, _, _ in cases}
                for _ in range(args.rounds):
                    for label, executable, env in cases:
                        run.game = os.path.abspath(executable)
                        results[label].append(run.measure(args.seconds, env=env, play=play))
                report(size, "in play" if play else "title", results)
        finally:
            run.close()


def median(results, key):
    return statistics.median(r[key] for r in results)


def report(size, scene, results):
    print(f"\n{size}, {scene}")
    print(f"  {'':20} {'frames/s':>9} {'CPU ms/frame':>13} {'faults/frame':>13} {'CPU share':>10}"
          f" {'interval ms: median':>20} {'p1':>6} {'p99':>6} {'max':>7}")
    for label, runs in results.items():
        print(f"  {label:20} {median(runs, 'fps'):9.1f} {median(runs, 'cpu_ms_per_frame'):13.2f}"
              f" {median(runs, 'faults_per_frame'):13.1f} {median(runs, 'cpu_share') * 100:9.0f}%"
              f" {median(runs, 'interval_median'):20.2f} {median(runs, 'interval_p1'):6.2f}"
              f" {median(runs, 'interval_p99'):6.2f} {max(r['interval_max'] for r in runs):7.1f}")
    if "baseline, unpaced" in results:
        ratio = median(results["unpaced"], "fps") / median(results["baseline, unpaced"], "fps")
        print(f"  unpaced / baseline frames/s: {ratio:.2f}x")


if __name__ == "__main__":
    main()

"""Runs the real game, as a player starts it, on an X server of its own and
measures it from outside: frames from the swap log that swap_log.so (preloaded)
writes, processor time and minor page faults from /proc. The pace test and the
game benchmark share it.

    run = GameRun(game, swap_log_library, 320, 180)
    result = run.measure(seconds=8, env={"QUILLFROST_FRAME_RATE": "30"}, play=True)
"""

import os
import select
import shutil
import signal
import statistics
import subprocess
import tempfile
import time

TICKS = os.sysconf("SC_CLK_TCK")


class GameRunError(Exception):
    pass


def _wait_for(what, seconds, check):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = check()
        if found:
            return found
        time.sleep(0.1)
    raise GameRunError(f"timed out after {seconds} s waiting for {what}")


def _proc_usage(pid):
    """(processor seconds, minor faults) of the whole process, all threads."""
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    # After the name: state is field 3; minflt 10, utime 14, stime 15 (1-based).
    return (int(fields[11]) + int(fields[12])) / TICKS, int(fields[7])


class XServer:
    """An Xvfb of the given size: the game's desktop is the whole screen."""

    def __init__(self, width, height):
        read, write = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", f"{width}x{height}x24",
             "-noreset", "-nolisten", "tcp"],
            pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        # The pipe stays open while the server runs: Xvfb writes the number,
        # then a line end, and a write to a closed pipe leaves it unusable.
        self.pipe = read
        ready, _, _ = select.select([read], [], [], 30)
        number = os.read(read, 16).decode().strip() if ready else ""
        if not number:
            self.close()
            raise GameRunError("Xvfb did not start")
        self.display = f":{number}"

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        os.close(self.pipe)


class GameRun:
    def __init__(self, game, swap_log_library, width, height):
        self.game = os.path.abspath(game)
        self.library = os.path.abspath(swap_log_library)
        self.width, self.height = width, height
        self.server = XServer(width, height)

    def close(self):
        self.server.close()

    def _xdotool(self, *args):
        env = dict(os.environ, DISPLAY=self.server.display)
        return subprocess.run(["xdotool", *args], env=env, capture_output=True, text=True).stdout

    def measure(self, seconds, env=None, play=False, warmup=2.0, folder=None):
        """Starts the game, lets it run `warmup` seconds (pressing and holding
        the left button first when `play`), measures `seconds`, ends it with
        Escape. Returns a dict of figures, the swap times and standard error."""
        scratch = tempfile.mkdtemp(prefix="quillfrost-run.")
        log = os.path.join(scratch, "swaps")
        game_env = dict(os.environ, DISPLAY=self.server.display, LD_PRELOAD=self.library,
                        QF_SWAP_LOG=log, LIBGL_ALWAYS_SOFTWARE="1", SDL_AUDIODRIVER="dummy")
        # A sanitizer build wants its runtime first among the preloaded.
        game_env["ASAN_OPTIONS"] = "verify_asan_link_order=0:" + game_env.get("ASAN_OPTIONS", "")
        game_env.update(env or {})
        errors = open(os.path.join(scratch, "stderr"), "w+")
        process = subprocess.Popen([self.game], cwd=folder or os.path.dirname(self.game), env=game_env,
                                   stdout=subprocess.DEVNULL, stderr=errors)
        try:
            _wait_for("the game's window", 60,
                      lambda: process.poll() is None and self._xdotool("search", "--name", "^Quillfrost$"))
            if play:
                self._xdotool("mousemove", str(self.width // 2), str(self.height // 4))
                self._xdotool("mousedown", "1")
            time.sleep(warmup)
            start, (cpu0, faults0) = time.monotonic_ns(), _proc_usage(process.pid)
            time.sleep(seconds)
            end, (cpu1, faults1) = time.monotonic_ns(), _proc_usage(process.pid)
            if play:
                self._xdotool("mouseup", "1")
            self._xdotool("key", "Escape")
            status = process.wait(timeout=20)
        finally:
            if process.poll() is None:
                process.send_signal(signal.SIGKILL)
                process.wait()
        errors.seek(0)
        stderr = errors.read()
        errors.close()
        try:
            with open(log) as lines:
                swaps = [int(line) for line in lines]
        except OSError:
            raise GameRunError(f"no swap log (exit status {status}); standard error: {stderr.strip()}")
        finally:
            shutil.rmtree(scratch, ignore_errors=True)
        return figures(swaps, start, end, cpu1 - cpu0, faults1 - faults0, status, stderr)


def figures(swaps, start, end, cpu_seconds, faults, status, stderr):
    window = [t for t in swaps if start <= t < end]
    wall = (end - start) / 1e9
    frames = len(window)
    intervals = sorted((b - a) / 1e6 for a, b in zip(window, window[1:]))

    def percentile(p):
        return intervals[min(len(intervals) - 1, int(p / 100 * len(intervals)))] if intervals else float("nan")

    return {
        "frames": frames,
        "fps": frames / wall,
        "cpu_ms_per_frame": cpu_seconds * 1000 / frames if frames else float("nan"),
        "cpu_share": cpu_seconds / wall,
        "faults_per_frame": faults / frames if frames else float("nan"),
        "interval_median": statistics.median(intervals) if intervals else float("nan"),
        "interval_p1": percentile(1),
        "interval_p99": percentile(99),
        "interval_max": intervals[-1] if intervals else float("nan"),
        "status": status,
        "stderr": stderr,
        # Frames in each whole second of the window: the pace must never
        # exceed its rate in any of them, not just on average.
        "per_second": [sum(1 for t in window if start + s * 10**9 <= t < start + (s + 1) * 10**9)
                       for s in range(int(wall))],
    }

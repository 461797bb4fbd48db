#!/usr/bin/env python3
"""A window program's start-up against a Qt hello-world, in turns in the same run.

Each round starts the hello-world and then the program (both end at their first paint, see
startup_probe.cpp) and notes the time from the start to the first paint and the peak memory
(maximum resident set) of each.
The program runs in a working folder of its own against the instrument simulator, with the
archive its earlier runs kept (the first, unmeasured run makes it), as an inspector's second
start of the day would.

  bench/startup/startup_ratio.py BUILD_DIR [--model tft] [--rounds 5]
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time


def run_once(argv, env, cwd):
    """Seconds from the start to the first paint (the probe says "painted"), and the peak
    resident memory of the whole run in KiB."""
    start = time.perf_counter()
    child = subprocess.Popen(argv, env=env, cwd=cwd, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL)
    line = child.stdout.readline()
    painted = time.perf_counter() - start
    child.stdout.read()
    _, status, usage = os.wait4(child.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0 or line.strip() != b"painted":
        sys.exit(f"{' '.join(argv)} ended with {os.waitstatus_to_exitcode(status)}")
    return painted, usage.ru_maxrss


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--model", default="tft")
    parser.add_argument("--rounds", type=int, default=5)
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    probe = os.path.join(build, "bench/startup/startup_probe")
    hello_program = os.path.join(build, "bench/startup/startup_hello")
    sim = os.path.join(build, "tools/instrument-sim/instrument-sim")

    with tempfile.TemporaryDirectory(prefix="trellicap-startup-") as work:
        runtime = os.path.join(work, "runtime")
        os.mkdir(runtime, 0o700)
        env = dict(os.environ, HOME=work, XDG_CONFIG_HOME=os.path.join(work, ".config"),
                   XDG_RUNTIME_DIR=runtime)
        if not env.get("DISPLAY") and not env.get("WAYLAND_DISPLAY"):
            env.setdefault("QT_QPA_PLATFORM", "offscreen")
        link = os.path.join(work, "ttyCORVANE")
        simulator = subprocess.Popen([sim, "--model", args.model, "--link", link,
                                      "--ignore-eof"], stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            for _ in range(100):
                if os.path.exists(link):
                    break
                time.sleep(0.05)
            with open(os.path.join(work, "udc.cfg"), "w", newline="") as cfg:
                cfg.write(link + "\r\n")
            hello = [hello_program]
            program = [probe, args.model]
            run_once(hello, env, work)    # libraries into the page cache
            run_once(program, env, work)  # the archive made
            rows = []
            for _ in range(args.rounds):
                h = run_once(hello, env, work)
                p = run_once(program, env, work)
                rows.append((h, p))
        finally:
            simulator.terminate()
            simulator.wait()

    print(f"{'round':>5} {'hello ms':>9} {'program ms':>11} {'time x':>7} "
          f"{'hello MiB':>10} {'program MiB':>12} {'memory x':>9}")
    time_ratios, memory_ratios = [], []
    for i, ((ht, hm), (pt, pm)) in enumerate(rows, 1):
        time_ratios.append(pt / ht)
        memory_ratios.append(pm / hm)
        print(f"{i:>5} {ht * 1000:>9.1f} {pt * 1000:>11.1f} {pt / ht:>7.2f} "
              f"{hm / 1024:>10.1f} {pm / 1024:>12.1f} {pm / hm:>9.2f}")
    total = sum(p for _, (p, _) in rows) / sum(h for (h, _), _ in rows)
    print(f"time x: all rounds together {total:.2f}, "
          f"median {statistics.median(time_ratios):.2f}, max {max(time_ratios):.2f}; "
          f"memory x: median {statistics.median(memory_ratios):.2f}, "
          f"max {max(memory_ratios):.2f}")


if __name__ == "__main__":
    main()

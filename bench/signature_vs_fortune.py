#!/usr/bin/env python3
"""velmo-signature against fortune, side by side, on the same 200 quotations.

Usage: bench/signature_vs_fortune.py BUILD_DIR [RUNS] [FORTUNE_FILE]

Runs the two commands one after the other RUNS times (101 by default),
alternating which goes first, and reports the median wall time of each and
the median of the paired differences, and the median CPU time (user and
system) of each. velmo-signature runs with a settings
file of its own (bordered layout, fixed text, a 200-entry quote list) in a
temporary home; fortune (Debian's fortune-mod) reads the same 200 quotations
as a fortune file made with strfile. Each time is the whole process: start,
read, pick, print, exit, as a mail program that runs the command sees it.

With FORTUNE_FILE (one of Debian's, with its .dat index beside it), both
pick from that file instead: `velmo-signature --list FORTUNE_FILE` against
`fortune FORTUNE_FILE`.
"""
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def quotations(count):
    words = "the quick brown fox jumps over a lazy dog while Grüße ☺ travel far".split()
    for i in range(count):
        n = 8 + (i * 7) % 30  # 8 to 37 words: one to four lines
        yield " ".join(words[(i + k) % len(words)] for k in range(n)) + " - Author %d" % i


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 101
    fortune = shutil.which("fortune") or "/usr/games/fortune"
    work = tempfile.mkdtemp()
    try:
        home = os.path.join(work, "home")
        config = os.path.join(home, ".config", "Velmo")
        bin_dir = os.path.join(work, "bin")
        os.makedirs(config)
        os.makedirs(bin_dir)
        shutil.copy(os.path.join(build, "velmo-signature"), bin_dir)
        quotes = list(quotations(200))
        with open(os.path.join(config, "User.reg"), "w", newline="") as f:
            f.write(
                'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n'
                '"Program Values"=" 5 0 1 1 1 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1"\r\n'
                '"Signature width"="60"\r\n"Top text like"="*****"\r\n"Top text repeat"="*"\r\n'
                '"Bottom text like"="*****"\r\n"Bottom text repeat"="*"\r\n'
                '"Left text like"="*"\r\n"Indent"="1"\r\n"Right text like"="*"\r\n'
                '"Signature File"="%s"\r\n' % os.path.join(work, "signature.txt")
            )
        with open(os.path.join(bin_dir, "Variable.txt"), "w", encoding="utf-8", newline="") as f:
            f.writelines('"%s"\r\n' % q for q in quotes)
        with open(os.path.join(bin_dir, "Fixed.fxt"), "w", encoding="utf-8", newline="") as f:
            f.write('"Anna Müller"\r\n"Example Ltd., Somewhere 1"\r\n')
        cookies = os.path.join(work, "quotes")
        with open(cookies, "w", encoding="utf-8") as f:
            f.write("%\n".join(q + "\n" for q in quotes))
        subprocess.run(["strfile", "-s", cookies], check=True)

        env = dict(os.environ, HOME=home, LANG="C.UTF-8")
        env.pop("XDG_CONFIG_HOME", None)
        env.pop("XDG_DATA_HOME", None)
        commands = {
            "velmo-signature": [os.path.join(bin_dir, "velmo-signature")],
            "fortune": [fortune, cookies],
        }
        if len(sys.argv) > 3:
            source = os.path.abspath(sys.argv[3])
            commands["velmo-signature"] += ["--list", source]
            commands["fortune"] = [fortune, source]
        for name, command in commands.items():  # a failing command is no benchmark
            out = subprocess.run(command, env=env, capture_output=True, check=True).stdout
            if not out.strip():
                sys.exit("%s printed nothing" % name)

        cpu = {name: [] for name in commands}

        def cpu_seconds():
            usage = resource.getrusage(resource.RUSAGE_CHILDREN)
            return usage.ru_utime + usage.ru_stime

        def once(command, name=None):
            before = cpu_seconds()
            start = time.perf_counter()
            subprocess.run(command, env=env, stdout=subprocess.DEVNULL, check=True)
            wall = time.perf_counter() - start
            if name:
                cpu[name].append(cpu_seconds() - before)
            return wall

        for command in commands.values():  # warm the page cache
            once(command)
        times = {name: [] for name in commands}
        names = list(commands)
        for i in range(runs):
            order = names if i % 2 == 0 else names[::-1]
            for name in order:
                times[name].append(once(commands[name], name))
        diffs = [v - f for v, f in zip(times["velmo-signature"], times["fortune"])]
        ms = lambda seconds: "%.2f ms" % (seconds * 1000)
        print("%d paired runs, %s" % (runs, commands["fortune"][-1] if len(sys.argv) > 3
                                          else "200 quotations"))
        for name in names:
            t = sorted(times[name])
            print("  %-16s median %s  (quartiles %s to %s), CPU %s" % (
                name, ms(statistics.median(t)), ms(t[len(t) // 4]), ms(t[3 * len(t) // 4]),
                ms(statistics.median(cpu[name]))))
        faster = sum(d < 0 for d in diffs)
        print("  median of (velmo-signature - fortune): %s; velmo-signature faster in %d of %d pairs"
              % (ms(statistics.median(diffs)), faster, runs))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()

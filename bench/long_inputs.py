#!/usr/bin/env python3
"""Long and odd inputs through the built program (run by hand; prints figures, asserts nothing).

    python3 bench/long_inputs.py [path/to/rtg-weryfikator]

Each case is typed at "d_obl [pm] = ", followed by 282 and the end of the input, so every run
ends with status 1 at the K-alpha angle prompt. For each it reports the processor time the
program spent (the pauses cost none) and its peak memory. The cases run side by side.
"""

import os
import sys
import threading
import time

MB10 = 10_000_000
CASES = {
    "10 MB of digits": b"1" * MB10,
    "10 MB of digits, a point and an exponent": b"1" * (MB10 // 2) + b"." + b"0" * (MB10 // 2) + b"e-5000000",
    "10 MB of garbage": b"x" * MB10,
    "10^6 entries on one line": b"7,3" + b" 1.5" * 10**6,
    "NUL bytes": b"\0" * MB10,
    "CR LF line ends": b"abc\r\n" * 10**6,
    "bytes above 127": bytes(range(128, 256)) * (MB10 // 128),
}


def peak_rss_kib(pid):
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def run(program, name, entry, results):
    in_r, in_w = os.pipe()
    out_w = os.open(os.devnull, os.O_WRONLY)
    pid = os.fork()
    if pid == 0:
        os.setsid()
        os.dup2(in_r, 0)
        os.dup2(out_w, 1)
        os.dup2(out_w, 2)
        os.close(in_r)
        os.close(in_w)
        os.execv(program, [program])
    os.close(in_r)
    os.close(out_w)

    def feed():
        with os.fdopen(in_w, "wb") as pipe:
            pipe.write(entry + b"\n282\n")

    writer = threading.Thread(target=feed)
    writer.start()
    rss = 0
    while True:
        done, status, usage = os.wait4(pid, os.WNOHANG)
        if done:
            break
        rss = max(rss, peak_rss_kib(pid))
        time.sleep(0.05)
    writer.join()
    results[name] = (os.waitstatus_to_exitcode(status), usage.ru_utime + usage.ru_stime, rss)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        here, "..", "build", "release", "rtg-weryfikator")
    results = {}
    threads = [threading.Thread(target=run, args=(program, name, entry, results))
               for name, entry in CASES.items()]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    print(f"{'input at d_obl [pm] = ':44} {'status':>6} {'CPU':>9} {'peak RSS':>10}")
    for name in CASES:
        status, cpu, rss = results[name]
        print(f"{name:44} {status:>6} {cpu * 1000:>7.1f} ms {rss / 1024:>6.2f} MiB")


if __name__ == "__main__":
    main()

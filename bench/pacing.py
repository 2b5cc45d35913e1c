#!/usr/bin/env python3
"""Pacing and load figures of the built program (run by hand; prints figures, asserts nothing).

    python3 bench/pacing.py [path/to/rtg-weryfikator]

1. A whole correct run on a pseudo-terminal, each answer typed when its prompt appears and the
   key pressed once the closing request is on screen: the deviation of every pause from 2 s,
   the whole run against its 42 s of pauses, the time to the first text, the time from each
   answer to the program's reply, and peak memory.
2. A load run through pipes: 10^6 refused answers at "Z = ", then 42; refusals per second and
   peak memory, against the peak memory of the correct run.
"""

import os
import pty
import select
import statistics
import sys
import termios
import threading
import time

ANSWERS = ["282", "7.2", "447.63", "70.69", "2.812", "17550",
           "6.4", "62.8685", "3.1619", "19737", "42"]
PAUSES = 21
PAUSE_S = 2.0
PROMPT_END = b"= "
CLOSING = "Naciśnij dowolny klawisz aby zamknąć program. ".encode("utf-8")
LOAD_REFUSALS = 10**6


def peak_rss_kib(pid):
    """VmHWM of the running program; ru_maxrss would count the forked Python before exec."""
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def spawn_on_pty(program):
    pid, master = pty.fork()
    if pid == 0:
        # No echo: every byte read back is the program's own.
        attrs = termios.tcgetattr(0)
        attrs[3] &= ~termios.ECHO
        termios.tcsetattr(0, termios.TCSANOW, attrs)
        os.execv(program, [program])
    return pid, master


def read_chunk(fd, timeout):
    ready, _, _ = select.select([fd], [], [], timeout)
    if not ready:
        return b""
    try:
        return os.read(fd, 65536)
    except OSError:
        return None


def harness_baseline():
    """What starting a program on a pseudo-terminal and seeing it exit costs this harness: the
    median over a few runs of /bin/true, taken off the program's figures."""
    costs = []
    for _ in range(7):
        start = time.monotonic()
        pid, master = pty.fork()
        if pid == 0:
            os.execv("/bin/true", ["/bin/true"])
        while read_chunk(master, 1.0) not in (None,):
            pass
        os.waitpid(pid, 0)
        costs.append(time.monotonic() - start)
        os.close(master)
    return statistics.median(costs)


def whole_run(program):
    baseline = harness_baseline()
    start = time.monotonic()
    pid, master = spawn_on_pty(program)
    chunks = []  # (arrival time, bytes)
    seen = b""
    replies = []
    answers = list(ANSWERS)
    sent_at = None
    key_sent = False
    student_time = 0.0  # from a prompt on screen to its answer sent: not the program's time
    rss = 0
    while True:
        chunk = read_chunk(master, 0.5)
        now = time.monotonic()
        if chunk is None:
            break
        if not chunk:
            continue
        chunks.append((now, chunk))
        seen += chunk
        if sent_at is not None:
            replies.append(now - sent_at)
            sent_at = None
        if answers and seen.endswith(PROMPT_END):
            os.write(master, (answers.pop(0) + "\r").encode())
            sent_at = time.monotonic()
            student_time += sent_at - now
        elif not answers and not key_sent and seen.endswith(CLOSING):
            time.sleep(0.05)  # let the wait take the terminal first
            rss = peak_rss_kib(pid)
            os.write(master, b"k")
            key_sent = True
            student_time += time.monotonic() - now
    _, status, _ = os.wait4(pid, 0)
    total = time.monotonic() - start
    overhead = total - PAUSES * PAUSE_S - student_time

    gaps = sorted((b[0] - a[0] for a, b in zip(chunks, chunks[1:])), reverse=True)
    pauses = sorted(g - PAUSE_S for g in gaps[:PAUSES])
    print("whole run on a pseudo-terminal")
    print(f"  exit status            {os.waitstatus_to_exitcode(status)}")
    print(f"  harness baseline       {baseline * 1000:.2f} ms to start and reap /bin/true")
    print(f"  first text after       {(chunks[0][0] - start) * 1000:.2f} ms "
          f"({(chunks[0][0] - start - baseline) * 1000:.2f} ms beyond the baseline)")
    print(f"  pauses (deviation)     min {pauses[0] * 1000:+.2f} ms, "
          f"median {statistics.median(pauses) * 1000:+.2f} ms, max {pauses[-1] * 1000:+.2f} ms")
    print(f"  whole run              {total:.3f} s; beyond the {PAUSES * PAUSE_S:.0f} s of pauses "
          f"and {student_time * 1000:.1f} ms of answering: {overhead * 1000:.1f} ms "
          f"({(overhead - baseline) * 1000:.1f} ms beyond the baseline)")
    print(f"  reply after answer     min {min(replies) * 1000:.3f} ms, "
          f"median {statistics.median(replies) * 1000:.3f} ms, max {max(replies) * 1000:.3f} ms")
    print(f"  peak RSS               {rss / 1024:.2f} MiB")
    return rss


def load_run(program, correct_run_rss):
    feed = ("\n".join(ANSWERS[:-1]) + "\n" + "41\n" * LOAD_REFUSALS + "42\n").encode()
    in_r, in_w = os.pipe()
    out_r, out_w = os.pipe()
    pid = os.fork()
    if pid == 0:
        os.setsid()  # no terminal, so no key wait at the end
        os.dup2(in_r, 0)
        os.dup2(out_w, 1)
        for fd in (in_r, in_w, out_r, out_w):
            os.close(fd)
        os.execv(program, [program])
    os.close(in_r)
    os.close(out_w)

    def write_all():
        with os.fdopen(in_w, "wb") as pipe:
            pipe.write(feed)

    writer = threading.Thread(target=write_all)
    writer.start()
    first_prompt = b"\nZ = "
    done = "Bardzo dobrze - wszystko".encode("cp1250")
    tail = b""
    t_first = t_done = None
    rss = 0
    while True:
        chunk = os.read(out_r, 1 << 20)
        if not chunk:
            break
        window = tail + chunk
        now = time.monotonic()
        if t_first is None and first_prompt in window:
            t_first = now
        if t_done is None and done in window:
            t_done = now
            rss = peak_rss_kib(pid)  # during the closing pause, after every refusal
        tail = window[-64:]
    writer.join()
    _, status, _ = os.wait4(pid, 0)
    seconds = t_done - t_first
    print(f"load run through pipes ({LOAD_REFUSALS:,} refusals at \"Z = \")")
    print(f"  exit status            {os.waitstatus_to_exitcode(status)}")
    print(f"  refusals               {LOAD_REFUSALS / seconds:,.0f} per second ({seconds:.3f} s)")
    print(f"  peak RSS               {rss / 1024:.2f} MiB "
          f"(correct run: {correct_run_rss / 1024:.2f} MiB)")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        here, "..", "build", "release", "rtg-weryfikator")
    rss = whole_run(program)
    load_run(program, rss)


if __name__ == "__main__":
    main()

"""The Windows build's console path under Wine, on a terminal that tmux renders.

Usage: python3 console_test.py keys|run PROGRAM PROBE DATA_DIR -- WINE_COMMAND...

"keys" presses each kind of key at the key wait, with standard input on the console and
redirected from a file; "run" goes through the whole exercise. PROGRAM is rtg-weryfikator.exe, PROBE the key-wait probe (it announces the wait, waits for one
key and says so), DATA_DIR the tests' data, and WINE_COMMAND how to start a Windows program.

Wine's console on a Unix terminal keeps the terminal's line discipline while the program is not
reading, so it would echo keys as they are typed and turn Enter into Ctrl+J. A Windows console's
keyboard has no such discipline; so that Wine shows what Windows shows, each program is started
on a terminal without line mode, echo or CR-to-LF translation, and the terminal is made sane
again afterwards.
"""
import os
import shlex
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from script_checks import check, finish  # noqa: E402

WIDTH = 200
PANE_BOUND = 180  # seconds: longer than a whole run
def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Terminal:
    """A tmux pane on a server of its own, running one shell command."""

    def __init__(self, command):
        self.socket = f"rtg-wine-{os.getpid()}-{time.monotonic_ns()}"
        # Bounded, so that nothing is left running in Wine's prefix if this test is stopped: the
        # pane closes after a while whatever happens, and its hangup ends the program. (Not with
        # timeout(1), which would put the program in the background of its own terminal.)
        script = (f"(sleep {PANE_BOUND}; tmux -L {self.socket} kill-server) >/dev/null 2>&1 & "
                  f"stty -icanon -echo -icrnl; {command}; echo EXIT=$?; stty sane; "
                  "read -t 1 -r -n 50 rest; echo \"LEFT=[$rest]\"; wait")
        self.tmux("new-session", "-d", "-x", str(WIDTH), "-y", "60", "bash", "--norc", "-c", script)

    def tmux(self, *arguments):
        return subprocess.run(["tmux", "-L", self.socket, *arguments], check=True,
                              capture_output=True, text=True).stdout

    def screen(self):
        return self.tmux("capture-pane", "-p", "-J", "-S", "-")

    def press(self, *keys):
        self.tmux("send-keys", *keys)

    def type(self, text):
        self.tmux("send-keys", "-l", text)

    def wait_for(self, text, seconds=60.0):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if text in self.screen():
                return True
            time.sleep(0.1)  # each look at the screen starts a tmux client
        return False

    def close(self):
        subprocess.run(["tmux", "-L", self.socket, "kill-server"], capture_output=True)


def ends_cleanly(terminal, what):
    check(terminal.wait_for("EXIT="), f"{what}: the program did not end")
    screen = terminal.screen()
    check("EXIT=0" in screen, f"{what}: exit status is not 0:\n{screen}")
    check(terminal.wait_for("LEFT="), f"{what}: no report of leftovers")
    check("LEFT=[]" in terminal.screen(), f"{what}: part of the key was left behind")


KEYS = [("letter", "a"), ("enter", "Enter"), ("escape", "Escape"), ("f5", "F5"),
        ("arrow_up", "Up"), ("polish_letter", "ż")]


def key_wait_cases(probe, answers, wine):
    direct = f"{wine} {shlex.quote(probe)}"
    # Redirected as Windows redirects it: the console stays, standard input is a file.
    redirected = (f"{wine} cmd /c {shlex.quote(windows_path(probe) + ' < ' + windows_path(answers))}")
    for how, command in (("console", direct), ("stdin_from_a_file", redirected)):
        for name, key in KEYS:
            what = f"key wait, {how}, {name}"
            terminal = Terminal(command)
            try:
                if not terminal.wait_for("[czekam na klawisz]"):
                    check(False, f"{what}: the wait was not announced:\n{terminal.screen()}")
                    continue
                time.sleep(0.5)
                check("[klawisz]" not in terminal.screen(), f"{what}: it did not wait")
                terminal.press(key)
                check(terminal.wait_for("[klawisz]", 20), f"{what}: the key did not end the wait")
                ends_cleanly(terminal, what)
            finally:
                terminal.close()


def whole_run_case(program, data, wine):
    with open(os.path.join(data, "typical_answers.txt"), encoding="ascii") as file:
        answers = file.read().split()
    with open(os.path.join(data, "typical_run.cp1250"), "rb") as file:
        output = file.read().decode("cp1250")
    terminal = Terminal(f"{wine} {shlex.quote(program)}")
    try:
        check(terminal.wait_for("Witam w programie"), "the run did not start")
        # Typed during a pause, ahead of its question.
        terminal.type(answers[0])
        terminal.press("Enter")
        check(terminal.wait_for("d_obl [pm] = " + answers[0]),
              "the answer typed during a pause is not shown after its prompt")
        rest = output[output.index("d_obl [pm] = ") + len("d_obl [pm] = "):]
        for answer in answers[1:]:
            prompt = rest[:rest.index("= \n") + 2].splitlines()[-1]
            rest = rest[rest.index("= \n") + 3:]
            # A screen line has no trailing blanks.
            check(terminal.wait_for(prompt.rstrip()), f"no prompt {prompt!r}")
            terminal.type(answer)
            terminal.press("Enter")
            check(terminal.wait_for(prompt + answer), f"{answer} not shown after {prompt!r}")
        closing = "Naciśnij dowolny klawisz aby zamknąć program."
        check(terminal.wait_for(closing), "no closing request")
        screen = terminal.screen()
        check("ZAMIAST PRZECINKA UŻYWAMY KROPKI DZIESIĘTNEJ" in screen,
              "the Polish capitals are not on screen")
        check("Jaka odległość pomiędzy płaszczyznami krystalograficznymi" in screen,
              "the Polish letters are not on screen")
        time.sleep(1)
        check("EXIT=" not in terminal.screen(), "it did not wait for the key")
        terminal.press("Up")
        ends_cleanly(terminal, "whole run")
    finally:
        terminal.close()


def main(arguments):
    part, program, probe, data = arguments[:4]
    wine = " ".join(shlex.quote(part) for part in arguments[arguments.index("--") + 1:])
    if part == "keys":
        key_wait_cases(probe, os.path.join(data, "typical_answers.txt"), wine)
    else:
        whole_run_case(program, data, wine)
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

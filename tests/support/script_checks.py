"""Checks for the test scripts that drive a real component (a browser, Wine, a built file): each
failed check is printed and counted, and the script ends with one closing line and status."""

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAILED:", message)


def finish(note=""):
    """The closing line, 'N passed, N failed', and the script's exit status."""
    if failures:
        print(f"0 passed, {len(failures)} failed")
        return 1
    print(f"1 passed, 0 failed{note}")
    return 0

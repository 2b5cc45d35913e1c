"""The page in a real browser, used as a student uses it.

Usage: /usr/bin/python3 browser_test.py PAGE EXPECTED_OUTPUT ANSWERS SCREENSHOT_DIR

Opens the page from disk in headless Chromium, types the typical run's answers (the first one
during a pause, ahead of its question), and checks the transcript against the program's own
output with each answer echoed after its prompt, that there are 21 pauses of about 2 s, the key
that ends the run, a new run, and that nothing reached the console's errors or the network. Saves a screenshot at
desktop width and one at phone width.
"""
import os
import sys

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from script_checks import check, finish  # noqa: E402
from chromium import (console_errors, forget_network_so_far, network_requests,  # noqa: E402
                      observed, page_url, start_browser, state, transcript, wait_for)

PAUSES = 21
PAUSE_MS = 2000
# The observer notes each change when the page next runs its callbacks, which on a busy machine
# can be a while after the change. The page itself never ends a pause early; this only catches
# a pause skipped or cut short. (How exact the pauses are is the benchmark's business.)
SHORTEST_PAUSE_MS = 0.9 * PAUSE_MS
PHONE_WIDTH = 320

def expected_screen(output, answers):
    """The program's output with each answer shown after the prompt that reads it."""
    screen = ""
    rest = output
    for answer in answers:
        prompt_end = rest.index("= \n") + 2
        screen += rest[:prompt_end] + answer + "\n"
        rest = rest[prompt_end:]
    return screen + rest


def pauses_of(states):
    """How long each pause lasted, from its start to the next change of state."""
    lengths = []
    for (name, start), (_, end) in zip(states, states[1:]):
        if name == "pausing":
            lengths.append(end - start)
    return lengths


def type_answer(driver, answer):
    field = driver.find_element(By.ID, "entry")
    field.send_keys(answer + Keys.ENTER)


def echoed(driver):
    """How many entries a reading has taken (each is echoed into the transcript)."""
    return driver.execute_script("return document.querySelectorAll('#transcript .entry').length")


def run_through(driver, answers):
    # The first answer goes in during the opening pauses, before its question is asked.
    wait_for(lambda: state(driver) == "pausing", "the first pause")
    type_answer(driver, answers[0])
    for taken, answer in enumerate(answers[1:], start=1):
        wait_for(lambda: state(driver) == "reading" and echoed(driver) == taken,
                 f"the prompt for {answer}", seconds=60)
        type_answer(driver, answer)
    wait_for(lambda: state(driver) == "key", "the closing request", seconds=60)


def main(page, expected_path, answers_path, screenshots):
    with open(expected_path, "rb") as file:
        output = file.read().decode("cp1250")
    with open(answers_path, encoding="ascii") as file:
        answers = file.read().split()
    url = page_url(page)

    driver = start_browser()
    try:
        forget_network_so_far(driver)
        driver.get(url)
        check(driver.title.startswith("Weryfikator obliczeń"), f"title: {driver.title}")
        check(driver.execute_script("return document.documentElement.lang") == "pl", "lang")
        run_through(driver, answers)

        shown = transcript(driver)
        wanted = expected_screen(output, answers)
        check(shown == wanted, "the transcript differs from the program's output:\n"
              + "".join(f"  shown {a!r}\n  wanted {b!r}\n"
                        for a, b in zip(shown.splitlines(), wanted.splitlines()) if a != b)
              + f"  ({len(shown)} characters shown, {len(wanted)} wanted)")
        check(f"d_obl [pm] = {answers[0]}\n" in shown,
              "the answer typed during a pause is not shown after its prompt")

        lengths = pauses_of(observed(driver)["states"])
        check(len(lengths) == PAUSES, f"{len(lengths)} pauses instead of {PAUSES}")
        short = [round(length) for length in lengths if length < SHORTEST_PAUSE_MS]
        check(not short, f"pauses cut short: {short} ms")

        driver.save_screenshot(f"{screenshots}/page-desktop.png")
        driver.set_window_size(PHONE_WIDTH, 740)
        driver.save_screenshot(f"{screenshots}/page-phone.png")
        check(driver.execute_script(
            "return document.documentElement.scrollWidth <= window.innerWidth"),
            f"the page is wider than a {PHONE_WIDTH} px phone")
        check(driver.switch_to.active_element.get_attribute("id") == "entry",
              "focus is not in the entry line")

        # An arrow key is a key like any other.
        driver.find_element(By.TAG_NAME, "body").send_keys(Keys.ARROW_UP)
        wait_for(lambda: state(driver) == "ended", "the end of the run")
        check("Program zakończył działanie." in driver.find_element(By.ID, "ended").text,
              "the end of the run is not announced")
        again = driver.find_element(By.ID, "again")
        check(driver.switch_to.active_element == again, "the new-run button has no focus")

        again.send_keys(Keys.ENTER)
        wait_for(lambda: state(driver) == "pausing", "the new run's first pause")
        fresh = transcript(driver)
        check(fresh.startswith(output[:60]) and answers[1] not in fresh,
              f"the new run does not start afresh: {fresh[:120]!r}")
        check(driver.switch_to.active_element.get_attribute("id") == "entry",
              "focus is not in the entry line of the new run")

        errors = console_errors(driver)
        check(not errors, f"console errors: {errors}")
        requests = network_requests(driver, url)
        check(not requests, f"network requests: {requests}")
        check(driver.get_cookies() == [], "cookies were set")
        check(driver.execute_script("return localStorage.length + sessionStorage.length") == 0,
              "something was stored")
    finally:
        driver.quit()

    return finish()


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:5]))

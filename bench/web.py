#!/usr/bin/python3
"""The web page against the native program, side by side in one run (by hand; asserts nothing).

    /usr/bin/python3 bench/web.py [build/web/rtg-weryfikator.html] [build/release/rtg-weryfikator]

Debian's python, for Debian's selenium. Reports for each the file size, the time to the first
text, each pause's deviation from 2 s, the time from an answer to the reply, and the memory
(the page's JavaScript heap; the native program's peak RSS). In the page,
an answer is typed the moment its reading starts, the time runs from the Enter key to the
reply's text in the page, and to the next frame that shows it.
"""
import contextlib
import io
import os
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "web"))
sys.path.insert(0, HERE)

from selenium.webdriver.common.by import By  # noqa: E402

import pacing  # noqa: E402
from chromium import observed, page_url, start_browser, state, wait_for  # noqa: E402

# Notes, with the page's clock, each Enter in the entry line and the frame after each text.
TIMING = r"""
window.__bench = { enters: [], frames: [] };
document.addEventListener('keydown', (event) => {
  if (event.key === 'Enter') window.__bench.enters.push(performance.now());
}, true);
new MutationObserver(() => {
  requestAnimationFrame(() => window.__bench.frames.push(performance.now()));
}).observe(document, { subtree: true, childList: true });
"""


def figures(values):
    return (f"min {min(values):+.2f}, median {statistics.median(values):+.2f}, "
            f"max {max(values):+.2f} ms")


RELOADS = 5


def first_texts(driver, url):
    """The first text after navigation, and after the page's file was read, for a cold load in
    a new browser and then for reloads."""
    loads = []
    for _ in range(1 + RELOADS):
        driver.get(url)
        wait_for(lambda: observed(driver)["texts"], "the first text")
        first = observed(driver)["texts"][0][1]
        read = driver.execute_script(
            "return performance.getEntriesByType('navigation')[0].responseEnd")
        loads.append((first, first - read))
    return loads


def page_run(page):
    driver = start_browser()
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": TIMING})
    try:
        loads = first_texts(driver, page_url(page))
        driver.get(page_url(page))
        echoed = "return document.querySelectorAll('#transcript .entry').length"
        for taken, answer in enumerate(pacing.ANSWERS):
            wait_for(lambda: state(driver) == "reading"
                     and driver.execute_script(echoed) == taken, f"prompt {taken}", 60)
            driver.find_element(By.ID, "entry").send_keys(answer + "\n")
        wait_for(lambda: state(driver) == "key", "the closing request", 60)
        time.sleep(0.2)
        log = observed(driver)
        bench = driver.execute_script("return window.__bench")
        heap = driver.execute_cdp_cmd("Runtime.getHeapUsage", {})
    finally:
        driver.quit()

    texts = log["texts"]
    states = log["states"]
    pauses = [end - start - pacing.PAUSE_S * 1000
              for (name, start), (_, end) in zip(states, states[1:]) if name == "pausing"]
    replies, frames = [], []
    for enter in bench["enters"]:
        reply = next(t for _, t, kind in texts if t >= enter and kind != "entry")
        replies.append(reply - enter)
        frames.append(next(f for f in bench["frames"] if f >= reply) - enter)
    return {"loads": loads, "pauses": pauses, "replies": replies, "frames": frames,
            "heap": heap}


def native_run(program):
    printed = io.StringIO()
    with contextlib.redirect_stdout(printed):
        rss = pacing.whole_run(program)
    return printed.getvalue(), rss


def main():
    root = os.path.join(HERE, "..", "build")
    page = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "web", "rtg-weryfikator.html")
    program = sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, "release", "rtg-weryfikator")
    exe = os.path.join(root, "windows-x64", "rtg-weryfikator.exe")

    print("file sizes")
    for name, path in (("page (.html)", page), ("node form (.js)", page[:-5] + ".js"),
                       ("native program", program), ("Windows .exe", exe)):
        if os.path.exists(path):
            print(f"  {name:22} {os.path.getsize(path):>9,} bytes")

    web = page_run(page)
    print("page in headless Chromium")
    cold, warm = web["loads"][0], web["loads"][1:]
    print(f"  first text, cold load  {cold[0]:.1f} ms after navigation, "
          f"{cold[1]:.1f} ms after the file was read")
    print(f"  first text, reloads    median {statistics.median(w[0] for w in warm):.1f} ms after "
          f"navigation, {statistics.median(w[1] for w in warm):.1f} ms after the file was read")
    print(f"  pauses ({len(web['pauses'])}) deviation    {figures(web['pauses'])}")
    print(f"  Enter to reply text    {figures(web['replies'])}")
    print(f"  Enter to next frame    {figures(web['frames'])}")
    print(f"  JavaScript heap        {web['heap']['usedSize'] / 2**20:.2f} MiB used of "
          f"{web['heap']['totalSize'] / 2**20:.2f} MiB")

    text, rss = native_run(program)
    print("native program, same run (" + text.strip().splitlines()[0] + ")")
    print("\n".join(text.strip().splitlines()[1:]))


if __name__ == "__main__":
    main()

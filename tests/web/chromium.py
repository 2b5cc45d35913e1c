"""Headless Chromium from Debian, driven through chromedriver, for the page's test and benchmark.

The page is opened from disk. Before it loads, a small observer is put in place that notes,
with the page's own clock, each change of the page's state (reading, pausing, waiting for the
key) and each text that reaches the transcript.
"""
import json
import os
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

OBSERVER = r"""
window.__rtg = { states: [], texts: [] };
new MutationObserver((records) => {
  const now = performance.now();
  // Each change's value is what the next change found; the last one's is the current value.
  const changes = records.filter((record) => record.type === 'attributes');
  changes.forEach((record, i) => {
    const value = i + 1 < changes.length ? changes[i + 1].oldValue : record.target.dataset.state;
    window.__rtg.states.push([value, now]);
  });
  for (const record of records) {
    if (record.type === 'attributes') {
      continue;
    } else if (record.target.id === 'transcript' && record.addedNodes.length) {
      const node = record.addedNodes[0];
      window.__rtg.texts.push([node.textContent, now, node.className || '']);
    }
  }
}).observe(document, { subtree: true, childList: true, attributes: true,
                       attributeOldValue: true, attributeFilter: ['data-state'] });
"""


def start_browser(width=1280, height=900):
    """A fresh headless Chromium with its own profile, logging the console and the network."""
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    profile = tempfile.mkdtemp(prefix="rtg-chromium-")
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage",
                 f"--user-data-dir={profile}", f"--window-size={width},{height}"):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": OBSERVER})
    return driver


def page_url(path):
    return "file://" + os.path.abspath(path)


def state(driver):
    return driver.execute_script("return document.body ? document.body.dataset.state : ''")


def transcript(driver):
    """The transcript as the page shows it."""
    return driver.execute_script("return document.getElementById('transcript').innerText")


def wait_for(condition, what, seconds=30.0):
    """Asks every 50 ms: each question is a round trip through the driver to the page."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return
        time.sleep(0.05)
    raise AssertionError(f"timed out waiting for {what}")


def observed(driver):
    return driver.execute_script("return window.__rtg")


def console_errors(driver):
    return [entry for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]


def forget_network_so_far(driver):
    """Drops what the browser itself loaded at start (its own new-tab page)."""
    driver.get_log("performance")


def network_requests(driver, page):
    """Every request made since forget_network_so_far, beyond loading the page itself; data:
    URLs never leave the page, and the browser's own pages are not the page's doing."""
    requests = []
    for entry in driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message["method"] != "Network.requestWillBeSent":
            continue
        params = message["params"]
        url = params["request"]["url"]
        if params.get("documentURL", "").startswith("chrome://"):
            continue
        if url != page and not url.startswith("data:"):
            requests.append(url)
    return requests

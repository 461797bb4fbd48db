#!/usr/bin/python3
"""A real browser on trellicap-web: Debian's chromium, headless, driven through chromedriver.

browser_check.py BASE_URL SEARCH_TEXT HEADER_TEXT SCREENSHOT.png

Opens the search page, types SEARCH_TEXT into the text box and presses Search, opens the first
record found, checks that the page holds the plot as SVG (its trace drawn) and the report header
text HEADER_TEXT, and saves a screenshot of the record page. Exit status 0 when every check
holds; 77 when chromium, chromedriver or selenium is missing; 1 with the reason otherwise.
"""
import os
import shutil
import sys
import tempfile

SKIP = 77


def main():
    base, search_text, header_text, screenshot = sys.argv[1:5]
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        from selenium.webdriver.common.by import By
        from selenium.webdriver.support import expected_conditions as ready
        from selenium.webdriver.support.ui import WebDriverWait
    except ImportError:
        print("skipped: python3-selenium is not installed")
        return SKIP
    chromium = shutil.which("chromium")
    driver_path = shutil.which("chromedriver")
    if not chromium or not driver_path:
        print("skipped: chromium and chromium-driver are not installed")
        return SKIP

    profile = tempfile.mkdtemp(prefix="trellicap-browser-")
    options = webdriver.ChromeOptions()
    options.binary_location = chromium
    # This machine has no network: without these chromium waits on lookups that never answer.
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage",
                 "--user-data-dir=" + profile, "--window-size=1400,1200"):
        options.add_argument(flag)
    browser = webdriver.Chrome(service=Service(driver_path), options=options)
    try:
        browser.set_page_load_timeout(60)
        wait = WebDriverWait(browser, 30)
        browser.get(base + "/")
        box = wait.until(ready.presence_of_element_located((By.NAME, "q")))
        box.send_keys(search_text)
        browser.find_element(By.CSS_SELECTOR, "form.search button[type=submit]").click()
        wait.until(ready.presence_of_element_located((By.ID, "count")))
        count = browser.find_element(By.ID, "count").text
        links = browser.find_elements(By.CSS_SELECTOR, "table.results td.when a")
        if not links:
            print("no record found for %r: %s" % (search_text, count))
            return 1
        thumbnails = browser.find_elements(By.CSS_SELECTOR, "table.results td.thumb img")
        loaded = browser.execute_script(
            "return Array.from(document.querySelectorAll('td.thumb img'))"
            ".every(i => i.complete && i.naturalWidth > 0);") if thumbnails else False
        links[0].click()
        plot = wait.until(ready.presence_of_element_located((By.CSS_SELECTOR, "figure.plot img.ascan")))
        wait.until(lambda _: browser.execute_script(
            "const i = document.querySelector('img.ascan'); return i.complete && i.naturalWidth > 0;"))
        size = plot.size
        source = plot.get_attribute("src")
        header = [element.text for element in
                  browser.find_elements(By.CSS_SELECTOR, "section.report-header dd")]
        browser.save_screenshot(screenshot)
        # The plot itself: an SVG document of lines and text.
        browser.get(source)
        lines = browser.find_elements(By.CSS_SELECTOR, "polyline")
        svg = browser.find_elements(By.TAG_NAME, "svg")
        problems = []
        if not source.endswith(".svg") or not svg:
            problems.append("the plot %s is no SVG" % source)
        if not loaded:
            problems.append("the thumbnails did not load")
        if len(lines) < 100:
            problems.append("the plot holds %d lines" % len(lines))
        if size["width"] < 300 or size["height"] < 250:
            problems.append("the plot is %dx%d" % (size["width"], size["height"]))
        if not any(header_text in text for text in header):
            problems.append("the header texts are %r" % header)
        if problems:
            print("; ".join(problems))
            return 1
        print("ok: %s; %d lines in the plot; header %r" % (count, len(lines), header))
        return 0
    finally:
        browser.quit()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""The story's web page, as the editor writes it, read in Debian's Chromium.

web_page_test.py WRITE_WEB_PAGE SAMPLES: every path of the sample «лиса», of a
story of hostile texts and of the longest story, by mouse and by keyboard;
then what the page may not do: run a pupil's text, fetch, log an error.
"""
import base64
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

try:
    from selenium import webdriver
    from selenium.common.exceptions import NoAlertPresentException
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys
except ImportError:
    print("SKIP: python3-selenium is not installed")
    sys.exit(77)
for program in ("/usr/bin/chromium", "/usr/bin/chromedriver", "/usr/bin/pdfinfo"):
    if not os.access(program, os.X_OK):
        print(f"SKIP: {program} is missing (chromium, chromium-driver, poppler-utils)")
        sys.exit(77)

HOSTILE = ["</script><script>alert(1)</script>", "<img src=x onerror=alert(2)> ли?",
           "{{script}} {{story}} &amp; &lt;b&gt;", "<!-- ]]> \" ' ` \\u003c", "<svg onload=alert(5)>?",
           "<b>вопрос</b>?", "<iframe src=x></iframe>", "javascript:alert(6)",
           "<style>*{display:none}</style>", "\u2028 ещё\u2029 <p>конец"]
HOSTILE_PICTURE = "\"'><img src=x onerror=alert(3)>.jpg"
TITLE, NAME = "<b>Лиса</b> & «ёж»", "<script>alert(4)</script>Маша"
# As long as the entry window takes: the final view still prints on one sheet.
LONG = [(f"часть{b} " * 20000)[:100000] for b in range(10)]

STATE = """
const $ = (id) => document.getElementById(id), texts = (q) => Array.from(document.querySelectorAll(q), p => p.textContent);
return {chapters: texts('#chapters p'), question: $('question').hidden ? null : $('questionText').textContent,
  picture: $('picture').hidden ? null : $('picture').alt, decoded: $('picture').naturalWidth > 0,
  trace: Array.from(document.querySelectorAll('svg [id^="trace-"]'))
    .filter(e => getComputedStyle(e).visibility === 'visible').map(e => e.id).sort(),
  words: $('pathWords').textContent, final: !$('final').hidden && $('reading').hidden,
  title: $('finalTitle').textContent, reader: $('readerLine').textContent, finalPicture: $('finalPicture').alt,
  finalChapters: texts('#finalChapters p'), active: document.activeElement.id};
"""
MARKUP = """
return {scripts: document.scripts.length, images: document.images.length,
  foreign: document.querySelectorAll('svg :not(g):not(path):not(text):not(clipPath)').length,
  fetched: performance.getEntriesByType('resource').length, lang: document.documentElement.lang,
  live: document.getElementById('chapters').getAttribute('aria-live'),
  label: document.querySelector('svg').getAttribute('aria-labelledby'),
  policy: document.querySelector('meta[http-equiv="Content-Security-Policy"]').content};
"""


def write_story(folder, name, texts, picture_source):
    """A story in UTF-8 with its picture list, all four pictures one file."""
    os.makedirs(folder, exist_ok=True)
    picture = os.path.join(folder, HOSTILE_PICTURE)
    shutil.copy(picture_source, picture)
    for ending, lines in (("txt", texts), ("il", [picture] * 4)):
        with open(os.path.join(folder, f"{name}.{ending}"), "wb") as f:
            f.write(b"\xef\xbb\xbf" + "".join(line + "\r\n" for line in lines).encode())
    return os.path.join(folder, name + ".txt")


def read_story(driver, work, texts, pictures, paths):
    chapters = {b for _, blocks, _ in paths for b in blocks[::2]}  # a question between each two
    state = lambda: driver.execute_script(STATE)  # noqa: E731
    click = lambda button: driver.find_element("id", button).click()  # noqa: E731

    def expect(blocks, asked):
        """The chapters of the blocks so far, the question asked, the trace."""
        s = state()
        assert s["chapters"] == [texts[b] for b in blocks if b in chapters], str(s)[:400]
        assert s["question"] == (None if asked is None else texts[asked]), s["question"]
        assert s["trace"] == sorted(["trace-start"] + [f"trace-{kind}-{b}" for b in blocks
                                                       for kind in ("block", "arrow")]), s["trace"]
        return s

    def press(*keys):
        chain = ActionChains(driver)
        for key in keys:
            chain.key_down(key) if key == Keys.SHIFT else chain.send_keys(key)
        chain.key_up(Keys.SHIFT).perform()
        return state()["active"]

    for answers, blocks, frame in paths:
        expect(blocks[:2], blocks[1])
        click("yes" if answers[0] else "no")
        expect(blocks[:4], blocks[3])
        click("yes" if answers[1] else "no")
        s = expect(blocks, None)
        assert s["decoded"] and pictures[frame] in s["picture"], s["picture"]
        assert f"Концовка {frame + 1}" in s["words"] and s["active"] == "titleField", str(s)[:400]
        driver.find_element("id", "titleField").send_keys(TITLE)
        click("titleDone")
        driver.find_element("id", "readerField").send_keys(NAME)
        click("readerDone")
        s = state()
        assert s["final"] and s["title"] == TITLE and s["reader"] == "Читатель - " + NAME, str(s)[:400]
        assert pictures[frame] in s["finalPicture"] and s["finalChapters"] == s["chapters"], str(s)[:400]
        if frame == 0:
            pdf = os.path.join(work, "final.pdf")
            with open(pdf, "wb") as f:
                f.write(base64.b64decode(driver.print_page()))
            info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
            printed = subprocess.run(["pdftotext", pdf, "-"], capture_output=True, text=True).stdout
            assert re.search(r"Pages:\s+1\n", info), info
            assert "Читатель -" in printed and "Выбор продолжения" not in printed, printed[:300]
        click("again")

    # By keyboard alone: No by Tab and Space, Yes by Enter, the answers left
    # by Enter and by «Готово»; then back to «Читать снова».
    for keys, focus in (((Keys.TAB,), "no"), ((Keys.SPACE,), "yes"), ((Keys.ENTER,), "titleField"),
                        (("Сказка", Keys.ENTER), "readerField"), (("Маша", Keys.TAB), "readerDone"),
                        ((Keys.SPACE,), "finalTitle"), ((Keys.TAB,), "again"), ((Keys.TAB,), "print"),
                        ((Keys.SHIFT, Keys.TAB), "again")):
        assert press(*keys) == focus, (keys, focus)
    s = state()
    assert s["title"] == "Сказка" and s["reader"] == "Читатель - Маша", str(s)[:400]
    assert s["finalChapters"] == [texts[b] for b in paths[1][1] if b in chapters], str(s)[:400]
    press(Keys.ENTER)
    expect([0, 1], 1)


def main():
    writer, samples = sys.argv[1], sys.argv[2]
    # The four readings as the program has them: the answers, the blocks met, the ending's frame.
    ways = subprocess.run([writer, "--ways"], check=True, capture_output=True, text=True).stdout
    paths = [([w[-1] == "+" for w in way[:-1] if w[-1] in "+-"], [int(w.rstrip("+-")) for w in way[:-1]],
              int(way[-1])) for way in map(str.split, ways.splitlines())]
    assert len(paths) == 4, paths
    work = tempfile.mkdtemp(prefix="tropinets-web-")
    os.environ["HOME"] = work
    fox = os.path.join(samples, "Рассказы", "лиса")
    with open(fox + ".txt", encoding="cp1251", newline="") as f:
        fox_texts = f.read().split("\r\n")[:10]
    with open(fox + ".il", encoding="cp1251", newline="") as f:
        fox_pictures = [os.path.basename(p) for p in f.read().split("\r\n")[:4]]
    picture = os.path.join(samples, "Картинки", fox_pictures[1])
    stories = [(fox + ".txt", fox_texts, fox_pictures)] + [
        (write_story(os.path.join(work, "stories"), name, texts, picture), texts, [HOSTILE_PICTURE] * 4)
        for name, texts in (("hostile", HOSTILE), ("long", LONG))]

    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 f"--user-data-dir={work}/profile", "--window-size=1280,1000"):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        for number, (story, texts, pictures) in enumerate(stories):
            page = os.path.join(work, f"page{number}.html")
            subprocess.run([writer, samples, story, page], check=True)
            print(f"{os.path.basename(story)}: {os.path.getsize(page)} bytes")
            assert number > 0 or os.path.getsize(page) < 1024 * 1024
            driver.get("file://" + page)
            read_story(driver, work, texts, pictures, paths)
            m = driver.execute_script(MARKUP)
            assert (m["scripts"], m["images"], m["foreign"], m["fetched"]) == (2, 2, 0, 0), m
            assert (m["lang"], m["live"], m["label"]) == ("ru", "polite", "pathWords"), m
            assert re.fullmatch(r"default-src 'none'; script-src 'sha256-[^' ]+'; style-src 'sha256-[^' ]+'; "
                                r"img-src data:; base-uri 'none'; form-action 'none'", m["policy"]), m
            try:
                assert False, f"an alert ran: {driver.switch_to.alert.text}"
            except NoAlertPresentException:
                pass
            errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
            assert errors == [], errors
            # The policy holds: a request made anyway is refused by it.
            refused = driver.execute_async_script("""
              document.addEventListener('securitypolicyviolation', e => arguments[0](e.effectiveDirective));
              fetch('http://127.0.0.1:9/').catch(() => {});""")
            assert refused == "connect-src", refused
            driver.get_log("browser")  # the refusal's own words
    finally:
        driver.quit()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()

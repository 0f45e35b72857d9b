#!/usr/bin/python3
"""The story's web page, as the editor writes it, read in Debian's Chromium.

web_page_test.py WRITE_WEB_PAGE SAMPLES AXE_FOLDER: every path of the sample
«лиса», of a story of hostile texts and of the longest story, by mouse and by
keyboard, at 1280 and 360 px, as axe-core and Chromium's own accessibility
tree, scrolling and printing find it; then what the page may not do: run a
pupil's text, fetch, log an error; and the page read aloud, heard through a
private speech-dispatcher. A fault of the table FAULTS is told by its number,
all found in one run.
"""
import base64
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

try:
    from selenium import webdriver
    from selenium.common.exceptions import NoAlertPresentException
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys
except ImportError:
    print("SKIP: python3-selenium is not installed")
    sys.exit(77)
for program in ("/usr/bin/chromium", "/usr/bin/chromedriver", "/usr/bin/pdfinfo", shutil.which("npm")):
    if not program or not os.access(program, os.X_OK):
        print(f"SKIP: {program or 'npm'} is missing (chromium, chromium-driver, poppler-utils, npm)")
        sys.exit(77)

HOSTILE = ["</script><script>alert(1)</script>", "<img src=x onerror=alert(2)> ли?",
           "{{script}} {{story}} &amp; &lt;b&gt;", "<!-- ]]> \" ' ` \\u003c", "<svg onload=alert(5)>?",
           "<b>вопрос</b>?",
           "<iframe src=x></iframe>\tтаб " + "😀" * 30 + " https://пример.рф/" + "адрес_" * 40,
           "javascript:alert(6)",
           "<style>*{display:none}</style>", "\u2028 ещё\u2029 <p>конец"]
HOSTILE_PICTURE = "\"'><img src=x onerror=alert(3)>.jpg"
TITLE, NAME = "<b>Лиса</b> & «ёж»", "<script>alert(4)</script>Маша"
# As long as the entry window takes: it prints whole, on as many sheets.
LONG = [(f"часть{b} " * 20000)[:100000] for b in range(10)]
FAULTS = [None, "focus after an answer", "the question announced", "scrolled where the reader is",
          "pictures in their own proportions", "printing before the end", "a long story printed whole",
          "no focus ring, button or form printed", "the chart read at 360 px", "texts inside their shapes",
          "title, headings, alt text", "axe-core finds nothing", "reading aloud"]
failed = {}
SIZES = [(1280, 757, False), (360, 740, True)]

STATE = """
const $ = (id) => document.getElementById(id), texts = (q) => Array.from(document.querySelectorAll(q), p => p.textContent);
return {chapters: texts('#chapters p'), question: $('question').hidden ? null : $('questionText').textContent,
  picture: $('picture').hidden ? null : $('picture').alt, decoded: $('picture').naturalWidth > 0,
  trace: Array.from(document.querySelectorAll('svg [id^="trace-"]'))
    .filter(e => getComputedStyle(e).visibility === 'visible').map(e => e.id).sort(),
  words: $('pathWords').textContent, final: !$('final').hidden && $('reading').hidden,
  title: $('finalTitle').textContent, reader: $('readerLine').textContent, finalPicture: $('finalPicture').alt,
  finalChapters: texts('#finalChapters p'), active: document.activeElement.id, scrolled: scrollY, high: innerHeight,
  top: document.querySelector('#chapters p:last-child').getBoundingClientRect().top,
  h1: Array.from(document.querySelectorAll('h1')).filter(h => h.getClientRects().length).map(h => h.textContent),
  ratio: ['picture', 'finalPicture'].map(id => $(id).width / $(id).height).filter(r => r)};
"""
# Opened full size at 360 px: the smallest word of the chart against the
# page's text, whether it scrolls sideways, the exits' red; the words neither
# clipped to their block nor captions, or stretched far from their own width.
CHART = """
document.getElementById('chartSize')?.click();
const view = document.querySelector('#chart svg').parentNode, ctx = document.createElement('canvas').getContext('2d');
const words = Array.from(document.querySelectorAll('#chart text')), captions = ['Начало', 'Конец', 'Ложь', 'Истина'];
return {smallest: Math.min(...words.map(t => t.getAttribute('font-size') * t.getScreenCTM().a)), scrolls: view.scrollWidth > view.clientWidth,
  page: parseFloat(getComputedStyle(document.querySelector('#chapters p')).fontSize), sideways: getComputedStyle(view).overflowX,
  red: words.filter(t => captions.slice(2).includes(t.textContent)).map(t => getComputedStyle(t).fill),
  outside: words.filter(t => {
    ctx.font = getComputedStyle(t).fontSize + ' ' + getComputedStyle(t).fontFamily;
    const stretch = Math.log(t.textLength.baseVal.value / ctx.measureText(t.textContent).width);
    return !(t.closest('[clip-path]') || captions.includes(t.textContent)) || t.textContent.trim() && Math.abs(stretch) > .25;
  }).map(t => t.textContent)};
"""
PRINTED = """
return [getComputedStyle(document.activeElement).outlineStyle,
  ...Array.from(document.querySelectorAll('button, input, form, fieldset'), e => e.getClientRects().length ? e.id : '').filter(id => id)];
"""
MARKUP = """
return {scripts: document.scripts.length, images: document.images.length,
  foreign: document.querySelectorAll('svg :not(g):not(path):not(text):not(clipPath)').length,
  fetched: performance.getEntriesByType('resource').length, lang: document.documentElement.lang,
  live: document.getElementById('chapters').getAttribute('aria-live'),
  label: document.querySelector('svg').getAttribute('aria-labelledby'),
  policy: document.querySelector('meta[http-equiv="Content-Security-Policy"]').content};
"""


def check(fault, ok, detail=""):
    ok or failed.setdefault(fault, str(detail)[:300])


def write_story(folder, name, texts, picture_source):
    """A story in UTF-8 with its picture list, all four pictures one file."""
    os.makedirs(folder, exist_ok=True)
    picture = os.path.join(folder, HOSTILE_PICTURE)
    shutil.copy(picture_source, picture)
    for ending, lines in (("txt", texts), ("il", [picture] * 4)):
        with open(os.path.join(folder, f"{name}.{ending}"), "wb") as f:
            f.write(b"\xef\xbb\xbf" + "".join(line + "\r\n" for line in lines).encode())
    return os.path.join(folder, name + ".txt")


def accessible(driver, expression):
    """Role, name and description of an element as Chromium gives them to a screen reader."""
    found = driver.execute_cdp_cmd("Runtime.evaluate", {"expression": expression})["result"]
    node = driver.execute_cdp_cmd("Accessibility.getPartialAXTree",
                                  {"objectId": found["objectId"], "fetchRelatives": False})["nodes"][0]
    return [node.get(key, {}).get("value", "") for key in ("role", "name", "description")]


def printed(driver, work):
    """The page as Chromium prints it on A4: its sheets, its words, its pictures' resolutions."""
    pdf = os.path.join(work, "print.pdf")
    with open(pdf, "wb") as f:
        a4 = {"paperWidth": 8.27, "paperHeight": 11.69}
        f.write(base64.b64decode(driver.execute_cdp_cmd("Page.printToPDF", a4)["data"]))
    run = lambda *command: subprocess.run(command, capture_output=True, text=True).stdout  # noqa: E731
    ppi = [line.split()[12:14] for line in run("pdfimages", "-list", pdf).splitlines()[2:]]
    return int(re.search(r"Pages:\s+(\d+)", run("pdfinfo", pdf))[1]), re.sub(r"\s", "", run("pdftotext", pdf, "-")), ppi


def read_story(driver, work, axe, texts, pictures, size, paths):
    chapters = {b for _, blocks, _ in paths for b in blocks[::2]}  # a question between each two
    state = lambda: driver.execute_script(STATE)  # noqa: E731
    click = lambda button: driver.find_element("id", button).click()  # noqa: E731
    whole = lambda text: re.sub(r"\s", "", text)  # noqa: E731
    proportions = lambda ratios, own: check(  # noqa: E731
        4, all(abs(r * own[1] / own[0] - 1) < .02 for r in ratios), (ratios, own))

    def audit(where):
        driver.execute_script("return typeof axe") == "undefined" and driver.execute_script(axe)
        found = driver.execute_async_script("axe.run(document).then(r => arguments[0](r.violations.map(v => v.id)))")
        check(11, found == [], (size, where, found))

    def expect(blocks, asked):
        """The chapters of the blocks so far, the question asked, the trace."""
        s = state()
        assert s["chapters"] == [texts[b] for b in blocks if b in chapters], str(s)[:400]
        assert s["question"] == (None if asked is None else texts[asked]), s["question"]
        assert s["trace"] == sorted(["trace-start"] + [f"trace-{kind}-{b}" for b in blocks
                                                       for kind in ("block", "arrow")]), s["trace"]
        audit(blocks)
        return s

    def answered(blocks, asked):
        """Where the reader goes on: the new chapter in view, focus where the answer is given."""
        s = expect(blocks, asked)
        check(3, -1 < s["top"] < s["high"], (size, blocks, s["top"]))
        if asked is None:
            return check(1, s["active"] == "titleField", s["active"])
        role, name, description = accessible(driver, "document.activeElement")
        check(1, [role, name] == ["group", "Выбор продолжения"], (role, name))
        question = " ".join(texts[asked].split())
        check(2, description == question == accessible(driver, "document.getElementById('yes')")[2], description)

    def press(*keys):
        chain = ActionChains(driver)
        for key in keys:
            chain.key_down(key) if key == Keys.SHIFT else chain.send_keys(key)
        chain.key_up(Keys.SHIFT).perform()
        return state()["active"]

    check(3, state()["scrolled"] == 0, (size, "opened scrolled", state()["scrolled"]))
    for answers, blocks, frame in paths:
        expect(blocks[:2], blocks[1])
        if frame == 0 and size[0] > 1000:
            pages, words, _ = printed(driver, work)
            check(5, whole(texts[0]) in words, f"{pages} pages: {words[:200]}")
        click("yes" if answers[0] else "no")
        answered(blocks[:4], blocks[3])
        click("yes" if answers[1] else "no")
        answered(blocks, None)
        s = state()
        assert s["decoded"] and f"Концовка {frame + 1}" in s["words"], str(s)[:400]
        check(10, f"концовке {frame + 1}" in s["picture"] and os.path.basename(pictures[frame]) not in s["picture"],
              s["picture"])
        own = [float(side) for side in subprocess.run(["identify", "-format", "%w %h", pictures[frame]],
                                                      capture_output=True, text=True).stdout.split()]
        proportions(s["ratio"], own)
        # The last reader gives no title: then no heading is left empty.
        title = TITLE if frame < 3 else ""
        driver.find_element("id", "titleField").send_keys(title)
        click("titleDone")
        # Left by Enter: a keyboard's reader, whose focus ring shows.
        driver.find_element("id", "readerField").send_keys(NAME + Keys.ENTER)
        s = state()
        assert s["final"] and s["title"] == title and s["reader"] == "Читатель - " + NAME, str(s)[:400]
        assert s["finalChapters"] == s["chapters"], str(s)[:400]
        proportions(s["ratio"], own)
        check(10, f"концовке {frame + 1}" in s["finalPicture"] and len(s["h1"]) == 1
              and (title or s["active"] == "heading"), (s["finalPicture"], s["h1"], s["active"]))
        audit(("final", blocks))
        if frame == 0 and size[0] > 1000:
            pages, words, ppi = printed(driver, work)
            check(6, all(whole(texts[b]) in words for b in blocks if b in chapters), f"{pages} pages: {words[:200]}")
            proportions([float(x) / float(y) for x, y in ppi] or [0], (1, 1))
            driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
            check(7, driver.execute_script(PRINTED) == ["none"], driver.execute_script(PRINTED))
            driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": ""})
        click("again")
    if size[0] < 1000:
        return
    # By keyboard alone, from the top, past «Читать вслух»: Yes by Tab, No by Space, Yes by
    # Enter, the answers left by Enter and by «Готово»; then back to «Читать
    # снова».
    for keys, focus in (((Keys.TAB,), "aloud"), ((Keys.TAB,), "yes"), ((Keys.TAB,), "no"),
                        ((Keys.SPACE,), "question"), ((Keys.TAB,), "yes"), ((Keys.ENTER,), "titleField"),
                        (("Сказка", Keys.ENTER), "readerField"), (("Маша", Keys.TAB), "readerDone"),
                        ((Keys.SPACE,), "finalTitle"), ((Keys.TAB,), "again"), ((Keys.TAB,), "print"),
                        ((Keys.SHIFT, Keys.TAB), "again")):
        if press(*keys) != focus:
            return check(1, False, (keys, focus, state()["active"]))
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
    # axe-core as the lock file that CMake copied there pins it.
    if subprocess.run(["npm", "ci", "--no-audit", "--no-fund", "--no-update-notifier"], cwd=sys.argv[3]).returncode:
        print("SKIP: npm could not install axe-core (is the npm registry reachable?)")
        sys.exit(77)
    with open(os.path.join(sys.argv[3], "node_modules", "axe-core", "axe.min.js"), encoding="utf-8") as f:
        axe = f.read()
    work = tempfile.mkdtemp(prefix="tropinets-web-")
    os.environ["HOME"] = work
    fox = os.path.join(samples, "Рассказы", "лиса")
    with open(fox + ".txt", encoding="cp1251", newline="") as f:
        fox_texts = f.read().split("\r\n")[:10]
    with open(fox + ".il", encoding="cp1251", newline="") as f:
        fox_pictures = [os.path.join(samples, "Картинки", os.path.basename(p)) for p in f.read().split("\r\n")[:4]]
    # A tall picture, which the editor's frames stretch.
    portrait = os.path.join(work, "portrait.jpg")
    subprocess.run(["convert", "-size", "1000x3000", "xc:white", "-fill", "red", "-draw",
                    "circle 500,1500 500,1000", portrait], check=True)
    stories = [(fox + ".txt", fox_texts, fox_pictures)] + [
        (write_story(os.path.join(work, "stories"), name, texts, portrait), texts,
         [os.path.join(work, "stories", HOSTILE_PICTURE)] * 4) for name, texts in (("hostile", HOSTILE), ("long", LONG))]

    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=chromium(work, "profile"))
    try:
        for number, (story, texts, pictures) in enumerate(stories):
            page = os.path.join(work, f"page{number}.html")
            subprocess.run([writer, samples, story, page], check=True)
            for width, height, mobile in SIZES:
                driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                    "width": width, "height": height, "deviceScaleFactor": 1, "mobile": mobile})
                # How long it takes to open, to its load event; a busy machine spreads it.
                opened = sorted(driver.get("file://" + page) or driver.execute_script(
                    "return performance.getEntriesByType('navigation')[0].loadEventEnd") for _ in range(3))
                print(f"{os.path.basename(story)}: {os.path.getsize(page)} bytes, opened at {width} px in "
                      f"{opened[1]:.0f} ms (the median of 3; fastest {opened[0]:.0f} ms)")
                assert number > 0 or os.path.getsize(page) < 200 * 1024
                check(10, driver.title == os.path.splitext(os.path.basename(story))[0], driver.title)
                if mobile:
                    c = driver.execute_script(CHART)
                    check(8, c["smallest"] >= c["page"] and c["scrolls"] and c["sideways"] == "auto", c)
                    check(8, all(contrast(re.findall(r"\d+", red)) >= 4.5 for red in c["red"]), c["red"])
                    check(9, c["outside"] == [], c["outside"][:5])
                    driver.get("file://" + page)
                read_story(driver, work, axe, texts, pictures, (width, height), paths)
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
        # Without a speech server Chromium has no voice: the switch, off at
        # load, says why and stays off.
        driver.get("file://" + os.path.join(work, "page0.html"))
        pressed = lambda: driver.find_element("id", "aloud").get_attribute("aria-pressed")  # noqa: E731
        check(12, pressed() == "false", "on at load")
        driver.find_element("id", "aloud").click()
        check(12, waited(lambda: driver.find_element("id", "aloudWhy").text) and pressed() == "false",
              "no voice, and no word of it")
        read_aloud(chromium(work, "aloud", "--enable-speech-dispatcher"), os.path.join(work, "page0.html"),
                   paths[2])
    finally:
        driver.quit()
        shutil.rmtree(work, ignore_errors=True)
    for fault, name in enumerate(FAULTS[1:], 1):
        print(f"fault {fault}, {name}: " + (f"FAILED: {failed[fault]}" if fault in failed else "ok"))
    sys.exit(1 if failed else 0)


def speech_daemon(work):
    """A private speech-dispatcher whose one voice writes each text into spoken.txt, as the program's tests have."""
    conf = os.path.join(work, "speech")
    os.makedirs(os.path.join(conf, "modules"))
    for name, text in (("speechd.conf", 'AddModule "file" "sd_generic" "file.conf"\nDefaultModule file\n'
                        f'DefaultLanguage "ru"\nAudioOutputMethod "alsa"\nAudioALSADevice "null"\nLogDir "{conf}"\n'),
                       ("modules/file.conf", f"GenericExecuteSynth \"printf '%s\\\\n' \\'$DATA\\' >> {work}/spoken.txt\"\n"
                        'GenericDelimiters "~"\nGenericMaxChunkLength 100000\nGenericLanguage "ru" "ru" "utf-8"\nAddVoice "ru" "MALE1" "ru"\n')):
        with open(os.path.join(conf, name), "w") as f:
            f.write(text)
    socket = os.path.join(work, "speechd.sock")
    daemon = subprocess.Popen(["speech-dispatcher", "-s", "-t", "0", "-C", conf, "-c", "unix_socket", "-S", socket,
                               "-P", os.path.join(conf, "pid")], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    waited(lambda: os.path.exists(socket))
    return daemon, dict(os.environ, SPEECHD_ADDRESS="unix_socket:" + socket)


def waited(ready, seconds=10):
    deadline = time.monotonic() + seconds
    while not ready() and time.monotonic() < deadline:
        time.sleep(.1)
    return ready()


def chromium(work, profile, *flags):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-quic",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 f"--user-data-dir={work}/{profile}", "--window-size=1280,1000", *flags):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return options


def read_aloud(options, page, way):
    """Chromium's voice says the core's words for each box in the reading window's order, each again by its
    «Повторить», heard through speech-dispatcher, which Chromium reaches only when told to."""
    if not shutil.which("speech-dispatcher"):
        return print("reading aloud not heard: speech-dispatcher is missing")
    work = os.path.dirname(page)
    daemon, env = speech_daemon(work)
    spoken = os.path.join(work, "spoken.txt")
    heard = lambda: open(spoken, encoding="utf-8").read().splitlines() if os.path.exists(spoken) else []  # noqa: E731
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver", env=env), options=options)
    try:
        driver.get("file://" + page)
        blocks = driver.execute_script("return JSON.parse(document.getElementById('story').textContent).blocks")
        answers, met, _ = way
        ending = blocks[met[-1]]
        said = [blocks[met[1]]["said"], blocks[met[3]]["said"], ending["said"], ending["readerSaid"],
                {"opening": ending["story"], "again": ending["story"]}]
        steps = [("aloud", "questionRepeat"), ("yes" if answers[0] else "no", "questionRepeat"),
                 ("yes" if answers[1] else "no", "titleRepeat"), ("titleDone", "readerRepeat"),
                 ("readerDone", "storyRepeat")]
        for step, buttons in enumerate(steps):
            for count, button in enumerate(buttons, 2 * step + 1):
                driver.find_element("id", button).click()
                waited(lambda: len(heard()) >= count)
        check(12, heard() == [text for box in said for text in (box["opening"], box["again"])], heard())
    finally:
        driver.quit()
        daemon.terminate()


def contrast(rgb):
    """Against white, as WCAG counts it."""
    linear = [c / 12.92 if c <= .04045 else ((c + .055) / 1.055) ** 2.4 for c in (int(v) / 255 for v in rgb)]
    return 1.05 / (.2126 * linear[0] + .7152 * linear[1] + .0722 * linear[2] + .05)


if __name__ == "__main__":
    main()

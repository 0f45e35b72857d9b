"use strict";
// Walks the story as the reading window does, from the flowchart's own
// connections, which the page holds as data; every text is written as text.
(() => {
  const story = JSON.parse(document.getElementById("story").textContent);
  const $ = (id) => document.getElementById(id);
  const reading = $("reading"), chapters = $("chapters"), question = $("question");
  const titleForm = $("titleForm"), readerForm = $("readerForm"), picture = $("picture");
  const final = $("final"), finalTitle = $("finalTitle"), readerLine = $("readerLine");
  const finalPicture = $("finalPicture"), finalChapters = $("finalChapters");
  const chart = $("chart"), chartSize = $("chartSize"), chartView = $("chartView");
  let path = [];
  let asked = null;
  let ending = null;

  // Reading aloud, off at load: the browser's own voice, where it speaks
  // Russian. Each box is said as it opens, and again by its «Повторить», in
  // the reading window's words; at the end, the story read.
  const synth = window.speechSynthesis, aloud = $("aloud");
  let voice = null;
  let heard = { opening: "", again: "" };
  const say = (text) => {
    if (!voice) return;
    synth.cancel();
    if (!text) return;
    const utterance = new SpeechSynthesisUtterance(text);
    utterance.voice = voice;
    utterance.lang = voice.lang;
    synth.speak(utterance);
  };
  const hear = (spoken) => {
    heard = spoken;
    say(spoken.opening);
  };
  const speakWith = (found, why) => {
    if (!found) say("");
    voice = found;
    aloud.setAttribute("aria-pressed", String(Boolean(found)));
    $("aloudWhy").textContent = why || "";
    for (const button of document.querySelectorAll(".repeat")) button.hidden = !found;
    say(heard.opening);
  };
  // The browser lists its voices a moment after it is first asked, if at all.
  const voices = () => new Promise((resolve) => {
    if (synth.getVoices().length) return resolve(synth.getVoices());
    synth.addEventListener("voiceschanged", () => resolve(synth.getVoices()), { once: true });
    setTimeout(() => resolve(synth.getVoices()), 2000);
  });
  aloud.addEventListener("click", async () => {
    if (voice) return speakWith(null);
    if (!synth) return speakWith(null, story.noEngine);
    const russian = (await voices()).find((v) => /^ru([-_]|$)/i.test(v.lang));
    speakWith(russian || null, russian ? "" : story.noVoice);
  });
  for (const id of ["questionRepeat", "titleRepeat", "readerRepeat", "storyRepeat"])
    $(id).addEventListener("click", () => say(heard.again));

  const paragraph = (text) => {
    const p = document.createElement("p");
    p.textContent = text;
    return p;
  };

  // The path so far is traced over the flowchart and said in words.
  const trace = () => {
    const on = new Set(path.length ? [story.trace.start] : []);
    for (const block of path) {
      on.add(story.trace.blocks[block]);
      on.add(story.trace.arrows[block]);
    }
    const all = [story.trace.start, ...story.trace.blocks, ...story.trace.arrows];
    for (const id of all) {
      const element = document.getElementById(id);
      if (element) element.setAttribute("visibility", on.has(id) ? "visible" : "hidden");
    }
    $("pathWords").textContent = story.pathWords[path.join(" ")] || "";
  };

  const showPicture = (img, frame) => {
    const uri = story.pictures[frame] || "";
    img.hidden = !uri;
    if (uri) {
      img.src = uri;
      img.alt = story.pictureWords[frame];
    } else {
      img.removeAttribute("src");
    }
  };

  // The reader goes on where the new chapter begins; focus waits where the
  // answer is given, which a screen reader names after the chapter.
  const moveOn = (seen, focused) => {
    focused.focus({ preventScroll: true });
    seen.scrollIntoView({ block: "start" });
  };

  // From a place on, chapter after chapter, up to a question or an ending.
  // Returns the step read: the chapters added, in order, and what waits for
  // the reader's answer.
  const go = (place) => {
    const added = [];
    let waiting = null;
    for (;;) {
      const block = story.blocks[place];
      if (!block) break;
      path.push(place);
      if (block.role === "question") {
        asked = block;
        $("questionText").textContent = block.text;
        question.hidden = false;
        waiting = question;
        hear(block.said);
        break;
      }
      const p = paragraph(block.text);
      chapters.append(p);
      added.push(p);
      if (block.role === "ending") {
        ending = block;
        showPicture(picture, block.frame);
        titleForm.hidden = false;
        waiting = $("titleField");
        hear(block.said);
        break;
      }
      place = block.next;
    }
    trace();
    return { added, waiting };
  };

  const answer = (yes) => {
    if (!asked) return;
    const from = asked;
    asked = null;
    question.hidden = true;
    const next = go(yes ? from.trueExit : from.falseExit);
    if (next.waiting) moveOn(next.added[0] || next.waiting, next.waiting);
  };

  // At load nothing moves: the reader starts at the heading.
  const start = () => {
    path = [];
    asked = ending = null;
    chapters.replaceChildren();
    picture.hidden = true;
    $("titleField").value = "";
    $("readerField").value = "";
    titleForm.hidden = readerForm.hidden = true;
    final.hidden = true;
    reading.hidden = false;
    go(story.start);
  };

  const finish = () => {
    const title = $("titleField").value;
    finalTitle.textContent = title;
    // No title, no heading for it: the story's own name heads the page.
    finalTitle.hidden = !title.trim();
    const name = $("readerField").value;
    // As in the reading window, no name leaves the last reader's line.
    if (name) readerLine.textContent = story.readerLine + name;
    showPicture(finalPicture, ending.frame);
    finalChapters.replaceChildren(
      ...Array.from(chapters.children, (p) => paragraph(p.textContent)));
    reading.hidden = true;
    final.hidden = false;
    moveOn($("heading"), finalTitle.hidden ? $("heading") : finalTitle);
    hear({ opening: ending.story, again: ending.story });
  };

  // Full size, the chart is read by scrolling it sideways, by finger or by
  // the arrow keys once it has focus.
  // It opens where the reader is: the last block read in the middle.
  const showChart = (full) => {
    chart.classList.toggle("full", full);
    chartSize.setAttribute("aria-expanded", String(full));
    if (full) chartView.tabIndex = 0;
    else chartView.removeAttribute("tabindex");
    const last = document.getElementById(story.trace.blocks[path[path.length - 1]]);
    if (!full || !last) return;
    const at = last.getBoundingClientRect(), view = chartView.getBoundingClientRect();
    chartView.scrollLeft += at.left + at.width / 2 - view.left - view.width / 2;
  };

  $("yes").addEventListener("click", () => answer(true));
  $("no").addEventListener("click", () => answer(false));
  titleForm.addEventListener("submit", (event) => {
    event.preventDefault();
    titleForm.hidden = true;
    readerForm.hidden = false;
    $("readerField").focus();
    hear(ending.readerSaid);
  });
  readerForm.addEventListener("submit", (event) => {
    event.preventDefault();
    readerForm.hidden = true;
    finish();
  });
  $("again").addEventListener("click", () => {
    start();
    moveOn($("heading"), $("heading"));
  });
  $("print").addEventListener("click", () => {
    say("");
    window.print();
  });
  chartSize.addEventListener("click", () => showChart(!chart.classList.contains("full")));
  chartView.querySelector("svg").addEventListener("click", () => showChart(true));
  start();
})();

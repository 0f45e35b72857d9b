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
  let path = [];
  let asked = null;
  let ending = null;

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

  // From a place on, chapter after chapter, up to a question or an ending.
  const go = (place) => {
    for (;;) {
      const block = story.blocks[place];
      if (!block) break;
      path.push(place);
      if (block.role === "question") {
        asked = block;
        $("questionText").textContent = block.text;
        question.hidden = false;
        $("yes").focus();
        break;
      }
      chapters.append(paragraph(block.text));
      if (block.role === "ending") {
        ending = block;
        showPicture(picture, block.frame);
        titleForm.hidden = false;
        $("titleField").focus();
        break;
      }
      place = block.next;
    }
    trace();
  };

  const answer = (yes) => {
    if (!asked) return;
    const from = asked;
    asked = null;
    question.hidden = true;
    go(yes ? from.trueExit : from.falseExit);
  };

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
    finalTitle.textContent = $("titleField").value;
    const name = $("readerField").value;
    // As in the reading window, no name leaves the last reader's line.
    if (name) readerLine.textContent = story.readerLine + name;
    showPicture(finalPicture, ending.frame);
    finalChapters.replaceChildren(
      ...Array.from(chapters.children, (p) => paragraph(p.textContent)));
    reading.hidden = true;
    final.hidden = false;
    finalTitle.focus();
  };

  $("yes").addEventListener("click", () => answer(true));
  $("no").addEventListener("click", () => answer(false));
  titleForm.addEventListener("submit", (event) => {
    event.preventDefault();
    titleForm.hidden = true;
    readerForm.hidden = false;
    $("readerField").focus();
  });
  readerForm.addEventListener("submit", (event) => {
    event.preventDefault();
    readerForm.hidden = true;
    finish();
  });
  $("again").addEventListener("click", start);
  $("print").addEventListener("click", () => window.print());
  start();
})();

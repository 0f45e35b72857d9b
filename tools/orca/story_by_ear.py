"""Drives the program by keys under Orca and checks what Orca said.

Started by story-by-ear.sh inside its own session bus; argv: PROGRAM WORK.
Each step presses keys, waits until the speech has settled, and checks the
words a blind pupil needs in what was spoken since the step began."""

import os
import subprocess
import sys
import time

PROGRAM, WORK = sys.argv[1], sys.argv[2]
SPOKEN = os.path.join(WORK, "spoken.txt")
transcript = []
failures = []


def spoken_text():
    with open(SPOKEN, encoding="utf-8", errors="replace") as f:
        return f.read()


def settle(quiet=1.2, limit=20.0):
    """Waits until nothing new has been spoken for a while."""
    start = time.monotonic()
    last = spoken_text()
    changed = time.monotonic()
    while time.monotonic() - start < limit:
        time.sleep(0.2)
        now = spoken_text()
        if now != last:
            last, changed = now, time.monotonic()
        elif time.monotonic() - changed >= quiet:
            break
    return last


def xdo(*args):
    subprocess.run(["xdotool", *args], check=True)


def key(*keys):
    """Presses keys; a modifier is held down a moment before the key and let
    go after it, as fingers do: pressed all at once, the screen reader's
    round trip can let the program see the letter without its modifier."""
    for k in keys:
        *modifiers, last = k.split("+")
        for modifier in modifiers:
            xdo("keydown", modifier)
            time.sleep(0.15)
        xdo("key", last)
        time.sleep(0.15)
        for modifier in reversed(modifiers):
            xdo("keyup", modifier)
        time.sleep(0.25)


def type_text(text):
    xdo("type", "--delay", "60", text)


def step(name, action, heard=(), not_heard=()):
    before = settle()
    action()
    # Windows and dialogs take their time to open: wait for what must be
    # heard, then for the speech to end.
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        said = spoken_text()[len(before):].lower()
        if all(words.lower() in said for words in heard):
            break
        time.sleep(0.2)
    after = settle()
    said = after[len(before):].strip()
    transcript.append((name, said))
    print(f"== {name}\n{said}\n", flush=True)
    for words in heard:
        if words.lower() not in said.lower():
            failures.append(f"{name}: not heard «{words}»")
    for words in not_heard:
        if words.lower() in said.lower():
            failures.append(f"{name}: heard «{words}»")
    return said

PICTURES = os.path.join(os.path.dirname(PROGRAM), "Картинки")
TEXTS = [
    "Жила-была лиса.",
    "<b>Пойдёт</b> ли лиса к реке?",
    "Лиса осталась дома.",
    "Лиса пошла к реке.",
    "Испечёт ли она пирог?",
    "Встретит ли она бобра?",
    "Пирог сгорел.",
    "Пирог удался.",
    "Бобра не было.",
    "Бобр построил ей мост.",
]
NAMES = ["Начало рассказа", "Вопрос 1", "Глава 1", "Глава 2", "Вопрос 2", "Вопрос 3",
         "Концовка 1", "Концовка 2", "Концовка 3", "Концовка 4"]
FRAMES = ["лиса_спит.bmp", "лиса_у_реки.jpg", "лиса_и_бобр.jpg", "лиса_и_ежик.jpg"]


def start_orca():
    log = os.path.join(WORK, "orca-debug.txt")
    orca = subprocess.Popen(["orca", "--debug-file", log], stdout=subprocess.DEVNULL,
                            stderr=open(os.path.join(WORK, "orca.err"), "w"))
    deadline = time.monotonic() + 30
    while not spoken_text().strip() and time.monotonic() < deadline:
        time.sleep(0.3)
    if not spoken_text().strip():
        sys.exit("story-by-ear: Orca said nothing; see " + log)
    settle()
    return orca


def start_program():
    return subprocess.Popen([PROGRAM], cwd=os.path.dirname(PROGRAM),
                            stdout=open(os.path.join(WORK, "program.log"), "w"),
                            stderr=subprocess.STDOUT)


def cups(*args):
    subprocess.run(list(args), check=True, stderr=subprocess.DEVNULL)


def choose_file(path):
    type_text(path)
    key("Return")


def story():
    program = []
    step("1. The program starts; its title says how to start by keys",
         lambda: program.append(start_program()), heard=["Выбери продолжение рассказа", "Нажми Ввод"])
    step("2. Enter on the title: the editor, on the opening", lambda: key("Return"),
         heard=["Начало рассказа", "Сюда ведёт: Начало.", "Дальше: Вопрос 1."])
    step("3. Where am I: the press key in Russian", lambda: key("KP_Enter"),
         heard=["Пробел или Ввод"], not_heard=["Space"])
    step("4. An arrow that leads nowhere", lambda: key("Up"),
         heard=["Отсюда стрелки вверх нет"])
    step("5. The help tells the keys", lambda: key("alt+Cyrillic_o"),
         heard=["Описание программы", "Без мыши", "клавиша Tab"])
    step("6. Escape leaves the help", lambda: key("Escape"), heard=["Начало рассказа"])

    for block, text in enumerate(TEXTS):
        step(f"7.{block}a Enter on {NAMES[block]}: the entry window", lambda: key("Return"),
             heard=["Ввод текста", NAMES[block]])
        type_text(text)
        if block == 0:
            step(f"7.{block}b Escape keeps the text and comes back", lambda: key("Escape"),
                 heard=[NAMES[block], "Жила-была лиса."])
        else:
            step(f"7.{block}b Tab to the button", lambda: key("Tab"), heard=["Ввод завершён"])
            step(f"7.{block}c Enter on the button keeps the text and comes back",
                 lambda: key("Return"), heard=[NAMES[block], text.replace("<b>", "").replace("</b>", "")[-8:]])
        if block < len(TEXTS) - 1:
            places = {
                1: ["Вопрос 1", "Сюда ведёт: Начало рассказа.", "Выход Ложь: Глава 1.",
                    "Выход Истина: Глава 2."],
                2: ["Глава 1", "Сюда ведёт: Вопрос 1, выход Ложь.", "Дальше: Вопрос 2."],
                3: ["Глава 2", "Сюда ведёт: Вопрос 1, выход Истина.", "Дальше: Вопрос 3."],
                5: ["Вопрос 3", "Выход Ложь: Концовка 3.", "Выход Истина: Концовка 4."],
                8: ["Концовка 3", "Сюда ведёт: Вопрос 3, выход Ложь.", "Дальше: Конец."],
            }
            step(f"7.{block}d Tab to the next block", lambda: key("Tab"),
                 heard=places.get(block + 1, [NAMES[block + 1]]))

    for frame, picture in enumerate(FRAMES):
        step(f"8.{frame}a Tab to picture frame {frame + 1}", lambda: key("Tab"),
             heard=[f"Картинка к концовке {frame + 1}", "картинка не выбрана"])
        step(f"8.{frame}b Enter: the picture dialog says what for", lambda: key("Return"),
             heard=[f"Выбор картинки к концовке {frame + 1}"])
        if frame == 0:
            step("8.0c Tab to the file type", lambda: key("Tab"), heard=["Формат bitmap"])
            step("8.0d Down changes the type, and says so", lambda: key("Down"),
                 heard=["Формат JPEG"])
            key("shift+Tab")
        if frame == 1:
            with open(os.path.join(WORK, "не картинка.jpg"), "w") as f:
                f.write("not a picture")
            step("8.1c A file that is no picture: a warning in Russian",
                 lambda: choose_file(os.path.join(WORK, "не картинка.jpg")),
                 heard=["не картинка.jpg", "Понятно"], not_heard=["OK"])
            step("8.1d Enter on Понятно", lambda: key("Return"),
                 heard=["Картинка к концовке 2"])
            step("8.1e Enter: the dialog again", lambda: key("Return"),
                 heard=["Выбор картинки к концовке 2"])
        step(f"8.{frame}f The picture is chosen", lambda: choose_file(os.path.join(PICTURES, picture)),
             heard=[f"Картинка к концовке {frame + 1}", picture])

    step("9a Alt+Ф: the menu's commands are heard with their shortcuts",
         lambda: key("alt+Cyrillic_ef"), heard=["Сохранить", "Ctrl+S"])
    step("9b Down: a command without a shortcut", lambda: key("Down"),
         heard=["Сохранить как веб-страницу"], not_heard=["Ctrl"])
    step("9b.1 Down: the next one with its shortcut", lambda: key("Down"), heard=["Открыть", "Ctrl+O"])
    key("Escape")
    key("Escape")
    step("9c Ctrl+S: the Save dialog", lambda: key("ctrl+s"), heard=["Сохранить"])
    step("9d Its file types are Russian", lambda: key("Tab"),
         heard=["Текстовые файлы"], not_heard=["text files"])
    key("shift+Tab")
    step("9e Shift+Tab from the file name: the folder's files, by a name",
         lambda: key("shift+Tab"), heard=["Содержимое папки"], not_heard=["с уровнями"])
    key("Tab")
    step("9f Saved, and told so", lambda: choose_file(os.path.join(WORK, "лиса.txt")),
         heard=["Рассказ сохранён в файл лиса.txt"])

    def print_story():
        key("alt+Cyrillic_er")
        key("Cyrillic_pe")

    step("10a Alt+Р, Up: the last command, spelling, is on",
         lambda: (key("alt+Cyrillic_er"), key("Up")), heard=["Проверять орфографию"])
    step("10b Up: reading aloud is off, and stays so", lambda: key("Up"),
         heard=["Читать вслух"])
    key("Escape")
    key("Escape")
    key("alt+Cyrillic_er")
    key("Cyrillic_ve")
    step("10b.1 Alt+Р, Up, Up: reading aloud on, «Читать медленно» can be had",
         lambda: (key("alt+Cyrillic_er"), key("Up"), key("Up")), heard=["Читать медленно"])
    step("10b.2 Enter: slowly", lambda: key("Return"))
    step("10c Рассказ › Печатать: the author", print_story, heard=["Введи фамилию и имя автора"])
    type_text("Маша Ёлкина")
    step("10d The title", lambda: key("Return"), heard=["Введи название рассказа"])
    type_text("Лиса")
    step("10e The print dialog", lambda: key("Return"), heard=["Печать"])
    step("10f Enter prints, and nothing goes wrong", lambda: key("Return"),
         not_heard=["не напечатан"])
    cups("cupsreject", "pdf")
    step("10g Again, to a queue that refuses jobs", print_story,
         heard=["Введи фамилию и имя автора"])
    key("Return")
    key("Return")
    step("10h The refusal is said in Russian", lambda: key("Return"),
         heard=["Рассказ не напечатан", "не принимает задания", "Понятно"],
         not_heard=["Rejecting"])
    step("10i Enter on Понятно", lambda: key("Return"))
    cups("cupsaccept", "pdf")

    def read():
        key("alt+Cyrillic_er")
        key("Cyrillic_che")

    step("11a Рассказ › Читать: the opening, then the question as written", read,
         heard=["Выбор продолжения", "Жила-была лиса.", "Пойдёт", "ли лиса к реке?"])
    step("11a.1 Tab: the box's own «Повторить»", lambda: key("Tab", "Tab"), heard=["Повторить"])
    step("11a.2 Enter: the question said again, then the chapter", lambda: key("Return"),
         heard=["ли лиса к реке? Жила-была лиса."])
    step("11b Д, Да: the chapter reached, then the second question", lambda: key("Cyrillic_de"),
         heard=["Лиса пошла к реке.", "Встретит ли она бобра?"])
    step("11c Нет: the ending and its picture, then the title", lambda: key("Escape"),
         heard=["Бобра не было.", "Картинка к концовке: лиса_и_бобр.jpg", "Придумай название рассказа"])
    type_text("Лиса и бобр")
    step("11d The reader's name, asked as a question", lambda: key("Return"),
         heard=["Кто читал рассказ?"])
    type_text("Петя")
    step("11e The reading window", lambda: key("Return"))
    step("11f Печать рассказа", lambda: key("alt+Cyrillic_pe"), heard=["Печать"])
    step("11g Enter prints", lambda: key("Return"), not_heard=["не напечатан"])
    step("11h Выход: back on the block left, and the path read", lambda: key("alt+Cyrillic_ve"),
         heard=["Картинка к концовке 4", "Прочитанный путь: Начало рассказа",
                "Вопрос 3, Ложь", "Концовка 3"])
    step("11i Up: an ending off the path", lambda: key("Up"),
         heard=["Концовка 4"], not_heard=["прочитанном пути"])
    step("11j Left: the ending reached says so", lambda: key("Left"),
         heard=["Концовка 3", "На прочитанном пути"])
    step("12a Выход: the question", lambda: key("alt+Cyrillic_ve"),
         heard=["Вы действительно хотите выйти из программы?"])
    key("Return")
    return program[0]


orca = start_orca()
program = None
try:
    program = story()
finally:
    for process in (program, orca):
        if process and process.poll() is None:
            process.terminate()
    with open(os.path.join(WORK, "transcript.txt"), "w", encoding="utf-8") as f:
        for name, said in transcript:
            f.write(f"== {name}\n{said}\n\n")
if not program or program.wait(10) != 0:
    failures.append("the program did not end by its Выход")
for failure in failures:
    print("story-by-ear: FAIL", failure)
print(f"story-by-ear: {len(transcript)} steps, {len(failures)} failed")
sys.exit(1 if failures else 0)

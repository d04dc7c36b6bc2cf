"""Types into the find field of an exported index.html in headless Chromium
and checks which notes stay shown, as a person would see them.
  find_in_page.py [--shot PNG] INDEX_HTML [TYPED=FILE,FILE,... ...]
Each case after the page types TYPED into the field (the text there before
is selected and typed over; "-" types nothing, which empties it) and checks
that exactly the notes of those data-file names are shown; the count beside
the field must say so. Without cases it checks the sample notes of
sample-notes. With --shot, the page as the last case leaves it is saved
as a picture. Chromium is driven over its DevTools pipe (fds 3 and 4): key
events as a keyboard sends them, no library needed. Any console message
(a script the page's content policy refused, say) fails the check."""
import json
import os
import subprocess
import sys
import tempfile

SAMPLE_CASES = [
    ("", "Jotling0.jot,Jotling1.jot,Jotling2.jot,Jotling3.jot,Jotling7.jot,Jotling8.jot.alarm,Jotling9.jot"),
    ("DENTIST TEN", "Jotling1.jot"),            # several words, title and text
    ("ete", "Jotling2.jot"),                     # an accent in the title
    ("\u041f\u0420\u0418\u0412\u0415\u0422", "Jotling2.jot"),   # Cyrillic case
    ("voice", "Jotling3.jot,Jotling7.jot"),      # the damaged copy by its title
    ("voice dentist", ""),
    ("alarm screen", "Jotling8.jot.alarm"),      # a note set aside during its alarm
    ("title", ""),                               # not the "(no title)" an untitled note shows
    ("milk", "Jotling9.jot"),
    ("-", "Jotling0.jot,Jotling1.jot,Jotling2.jot,Jotling3.jot,Jotling7.jot,Jotling8.jot.alarm,Jotling9.jot"),
]


class Browser:
    def __init__(self, url):
        self.profile = tempfile.mkdtemp()
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()
        # Chromium reads fd 3 and writes fd 4.
        self.process = subprocess.Popen(
            ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--hide-scrollbars",
             "--window-size=1000,700",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--user-data-dir=" + self.profile, "--remote-debugging-pipe", "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            pass_fds=(3, 4), preexec_fn=lambda: (os.dup2(to_browser_r, 3), os.dup2(from_browser_w, 4)))
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.next_id = 0
        self.buffer = b""
        self.console = []
        targets = self.call("Target.getTargets")["targetInfos"]
        page = next(t for t in targets if t["type"] == "page")
        self.session = self.call("Target.attachToTarget", targetId=page["targetId"], flatten=True)["sessionId"]
        self.call("Runtime.enable", session=True)
        self.call("Log.enable", session=True)
        self.call("Page.enable", session=True)
        self.call("Page.navigate", session=True, url=url)
        self.wait_event("Page.loadEventFired")

    def send(self, method, params, session):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = self.session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        return self.next_id

    def read(self):
        while b"\0" not in self.buffer:
            chunk = os.read(self.from_browser, 65536)
            if not chunk:
                raise RuntimeError("Chromium closed its pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        message = json.loads(message)
        method = message.get("method", "")
        if method == "Runtime.consoleAPICalled" or method == "Log.entryAdded" or method == "Runtime.exceptionThrown":
            self.console.append(message["params"])
        return message

    def call(self, method, session=False, **params):
        wanted = self.send(method, params, session)
        while True:
            message = self.read()
            if message.get("id") == wanted:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']}")
                return message.get("result", {})

    def wait_event(self, name):
        while self.read().get("method") != name:
            pass

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", session=True, expression=expression, returnByValue=True)
        return result["result"].get("value")

    def key(self, key, code, text="", modifiers=0, vk=0):
        for kind in ("keyDown", "keyUp"):
            params = {"type": kind, "key": key, "code": code, "modifiers": modifiers,
                      "windowsVirtualKeyCode": vk}
            if kind == "keyDown" and text:
                params["text"] = text
            self.call("Input.dispatchKeyEvent", session=True, **params)

    def type_into_find(self, typed):
        self.evaluate("document.getElementById('find').focus(); document.getElementById('find').select()")
        if typed == "-" or typed == "":
            if typed == "-":
                self.key("Backspace", "Backspace", vk=8)
            return
        for ch in typed:
            self.key(ch, "", text=ch)

    def shot(self, path):
        import base64
        data = self.call("Page.captureScreenshot", session=True, format="png")["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))

    def close(self):
        self.process.kill()
        self.process.wait()
        subprocess.run(["rm", "-rf", self.profile])


def main(page, cases, shot=None):
    browser = Browser("file://" + os.path.abspath(page))
    problems = []
    try:
        for typed, files in cases:
            browser.type_into_find(typed)
            shown = browser.evaluate(
                "Array.from(document.querySelectorAll('li.note')).filter(li => !li.hidden && "
                "li.offsetParent !== null).map(li => li.dataset.file).sort().join(',')")
            count = browser.evaluate("document.getElementById('find-count').textContent")
            total = browser.evaluate("document.querySelectorAll('li.note').length")
            want = ",".join(sorted(f for f in files.split(",") if f))
            if shown != want:
                problems.append(f"typed {typed!r}: shown {shown!r}, expected {want!r}")
            found = len([f for f in want.split(",") if f])
            value = browser.evaluate("document.getElementById('find').value")
            expected_count = f"{found} of {total}" if value.strip() else f"{total} notes"
            if count != expected_count:
                problems.append(f"typed {typed!r}: count {count!r}, expected {expected_count!r}")
        if shot:
            browser.shot(shot)
        if browser.console:
            problems.append(f"console: {browser.console[0]}")
    finally:
        browser.close()
    for p in problems:
        print(p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    args = sys.argv[1:]
    shot = None
    if args[:1] == ["--shot"]:
        shot, args = args[1], args[2:]
    cases = [tuple(a.split("=", 1)) for a in args[1:]] if args[1:] else SAMPLE_CASES
    sys.exit(main(args[0], cases, shot))

#!/usr/bin/python3
"""What a screen reader reads of the window, through the real accessibility bus.

The program runs on a private desktop (bus_desktop.py); its tree is read with pyatspi as Orca reads it, and input
comes as real mouse clicks and key presses (xdotool). One table names every control once, with its role, its
caption (its name, the labels that label it, its description) and what it says (a result's or a pick list's name,
a box's text, a check box's state). After a rate, a size and a time, a unit pick, a common rate, an address, a
prefix pick, a mode pick and a Generate, the results are read back against sums made here, and each result or pick
list that changed must have announced its new name. The password list's description must then give the strength
that tarvelle-cli reports for the same settings.

Usage: /usr/bin/python3 screen_reader_bus.py PATH/TO/tarvelle PATH/TO/tarvelle-cli   (pyatspi: python3-pyatspi)
"""
import decimal
import ipaddress
import json
import signal
import subprocess
import sys
import time
import traceback

from bus_desktop import Desktop, Failure

DEADLINE_SECONDS = 100  # the whole run, below ctest's timeout; a run on a quiet machine takes a few seconds
START_SECONDS = 40  # for the program to appear on the bus, slower under a sanitizer or on a loaded machine
STEP_SECONDS = 15  # for one input's results to arrive

# Qt names a label by its text and a pick list by its current item; other controls are named by their caption.
NAMED_BY_VALUE = {"label", "combo box"}
CONTROL_ROLES = {"push button", "text", "combo box", "spin button", "check box", "list", "link"}


class Reader:
    """The program's tree on the accessibility bus, read as a screen reader reads it."""

    def __init__(self, desktop):
        import pyatspi  # only now: it finds the display and the buses through the environment the desktop set
        from gi.repository import GLib

        self.at = pyatspi
        self.desktop = desktop
        self.context = GLib.MainContext.default()
        self.renamed = []
        pyatspi.Registry.registerEventListener(self.renamed.append, "object:property-change:accessible-name")
        # Qt sends a pick list's name change only to readers that follow value changes too, as Orca does.
        pyatspi.Registry.registerEventListener(lambda event: None, "object:value-changed")
        desktop.launch()
        self.app = self.wait_for("program on the accessibility bus", self.find_app, START_SECONDS)
        tabs = [a for a in walk(self.app) if self.role(a) == "page tab"]
        stacks = [a for a in walk(self.app) if self.role(a) == "layered pane"]
        if len(stacks) != 1 or len(tabs) != stacks[0].childCount:
            raise Failure(f"{len(tabs)} page tabs for {len(stacks)} page stacks")
        self.tabs = {tab.name: tab for tab in tabs}
        self.pages = {tab.name: stacks[0].getChildAtIndex(k) for k, tab in enumerate(tabs)}

    def find_app(self):
        root = self.at.Registry.getDesktop(0)
        for k in range(root.childCount):
            app = root.getChildAtIndex(k)
            if app is not None and app.get_process_id() == self.desktop.app.pid and app.childCount:
                return app
        return None

    def pump(self):
        while self.context.iteration(False):
            pass

    def wait_for(self, what, probe, seconds=STEP_SECONDS):
        """Waits for probe() to give something true, reading the bus's events meanwhile; returns it."""
        ends = time.monotonic() + seconds
        while True:
            self.pump()
            got = probe()
            if got:
                return got
            if self.desktop.app.poll() is not None:
                raise Failure(f"the program ended (exit code {self.desktop.app.returncode}) before the {what}")
            if time.monotonic() > ends:
                raise Failure(f"no {what} after {seconds} s")
            time.sleep(0.05)

    def controls(self, page):
        """The page's controls and results (labels with a caption of their own), in the tree's order."""
        found = []
        for acc in walk(self.pages[page], into=lambda a: self.role(a) not in CONTROL_ROLES):
            relations = {r.getRelationType() for r in acc.getRelationSet()}
            captioned = self.at.RELATION_LABELLED_BY in relations or acc.description
            result = self.role(acc) == "label" and captioned and self.at.RELATION_LABEL_FOR not in relations
            if self.role(acc) in CONTROL_ROLES or result:
                found.append(acc)
        return found

    def role(self, acc):
        """The role's name as at-spi2-core 2.46 (Debian 12) spells it: 2.56 (Debian 13) says "button" for the same
        role."""
        return "push button" if acc.getRole() == self.at.ROLE_PUSH_BUTTON else acc.getRoleName()

    def caption(self, acc):
        parts = [] if self.role(acc) in NAMED_BY_VALUE else [acc.name]
        for relation in acc.getRelationSet():
            if relation.getRelationType() == self.at.RELATION_LABELLED_BY:
                parts += [relation.getTarget(k).name for k in range(relation.getNTargets())]
        parts.append(acc.description)
        return " / ".join(dict.fromkeys(p for p in parts if p))

    def spoken(self, acc):
        role, states = self.role(acc), acc.getState()
        if role in NAMED_BY_VALUE:
            return acc.name
        if role in ("text", "spin button"):
            return acc.queryText().getText(0, -1)
        if role == "check box":
            return "checked" if states.contains(self.at.STATE_CHECKED) else "not checked"
        if role == "list":
            return "\n".join(acc.getChildAtIndex(k).name for k in range(acc.childCount))
        return "" if states.contains(self.at.STATE_SENSITIVE) else "unavailable"

    def click(self, acc):
        box = acc.queryComponent().getExtents(self.at.DESKTOP_COORDS)
        self.desktop.xdotool("mousemove", "--sync", str(box.x + box.width // 2), str(box.y + box.height // 2),
                             "click", "1")

    def show_page(self, name):
        self.tabs[name].queryAction().doAction(0)
        page = self.pages[name]
        self.wait_for(f"page {name} showing", lambda: page.getState().contains(self.at.STATE_SHOWING))


def walk(acc, into=lambda a: True):
    for k in range(acc.childCount):
        child = acc.getChildAtIndex(k)
        if child is not None:
            yield child
            if into(child):
                yield from walk(child, into)


# ---- The table: every control once, with its role, its caption and what it says at start ----

ABOUT, BANDWIDTH, IP, PASSWORDS = "About", "Bandwidth Calculator", "IP Calculator", "Password Generator"
START_MODE = "Show passwords more easily pronounced"

CONTROLS = [
    # name, page, role, caption, said at start
    ("Label6", ABOUT, "link", "Quenfield Software / Web link", ""),
    ("Label40", ABOUT, "link", "Ostrelin / Web link", ""),
    ("Label42", ABOUT, "link", "Vantrix / Web link", ""),
    ("btnBW", BANDWIDTH, "push button", "Bandwidth", ""),
    ("tbBW", BANDWIDTH, "text", "Bandwidth", ""),
    ("cbBWUnit", BANDWIDTH, "combo box", "Rate unit", "Kbps (b10)"),
    ("cbCommon", BANDWIDTH, "combo box", "Common rates", ""),
    ("lbBWTol", BANDWIDTH, "label", "Bandwidth tolerance", ""),
    ("btnDS", BANDWIDTH, "push button", "Data Size", ""),
    ("tbDS", BANDWIDTH, "text", "Data size", ""),
    ("cbDSUnit", BANDWIDTH, "combo box", "Size unit", "KB (b2)"),
    ("lbDSTol", BANDWIDTH, "label", "Data size tolerance", ""),
    ("btnTm", BANDWIDTH, "push button", "Time", ""),
    ("tbTm", BANDWIDTH, "text", "Time", ""),
    ("cbTmUnit", BANDWIDTH, "combo box", "Time unit", "min"),
    ("lbTmTol", BANDWIDTH, "label", "Time tolerance", ""),
    ("seTol", BANDWIDTH, "spin button", "Tolerance in percent / Tolerance: / %", "3"),
    ("tbIP1", IP, "text", "IP address, octet 1 / IP Address", ""),
    ("tbIP2", IP, "text", "IP address, octet 2", ""),
    ("tbIP3", IP, "text", "IP address, octet 3", ""),
    ("tbIP4", IP, "text", "IP address, octet 4", ""),
    ("cbSlash", IP, "combo box", "Prefix length", "/ 24"),
    ("cbMask", IP, "combo box", "Subnet Mask", "255.255.255.0"),
    ("lbIPBinary", IP, "label", "Binary Representation", ""),
    ("lbBreakdown", IP, "label", "Decimal Breakdown", ""),
    ("lbSNBinary", IP, "label", "Binary Representation", ""),
    ("lbClass", IP, "label", "Address Class", ""),
    ("lbReserved", IP, "label", "Reserved Address", ""),
    ("lbBroadcast", IP, "label", "Broadcast Address", ""),
    ("lbAddresses", IP, "label", "Available Addresses", ""),
    ("lbSubnet", IP, "label", "Usable Range", ""),
    ("seMinLen", PASSWORDS, "spin button", "Minimum password length / Password Length: / Min.", "8"),
    ("seMaxLen", PASSWORDS, "spin button", "Maximum password length / Max.", "12"),
    ("ckbUpper", PASSWORDS, "check box", "UPPERCASE Alphabetic", "checked"),
    ("seUpper1", PASSWORDS, "spin button", "Minimum uppercase letters / Min.", "1"),
    ("seUpper2", PASSWORDS, "spin button", "Maximum uppercase letters / Max.", "4"),
    ("ckbLower", PASSWORDS, "check box", "lowercase Alphabetic", "checked"),
    ("seLower1", PASSWORDS, "spin button", "Minimum lowercase letters / Min.", "1"),
    ("seLower2", PASSWORDS, "spin button", "Maximum lowercase letters / Max.", "8"),
    ("ckbNumeric", PASSWORDS, "check box", "Numeric", "checked"),
    ("seNum1", PASSWORDS, "spin button", "Minimum digits / Min.", "0"),
    ("seNum2", PASSWORDS, "spin button", "Maximum digits / Max.", "1"),
    ("ckbOther", PASSWORDS, "check box", "Other / Other:", "checked"),
    ("tbOther", PASSWORDS, "text", "Other characters", "!@#$%^*"),
    ("seOther1", PASSWORDS, "spin button", "Minimum other characters / Min.", "0"),
    ("seOther2", PASSWORDS, "spin button", "Maximum other characters / Max.", "1"),
    ("cbWordMode", PASSWORDS, "combo box", "Pronounceability:", START_MODE),
    ("btnGo", PASSWORDS, "push button", "Generate ->", ""),
    ("seGenerate", PASSWORDS, "spin button", "Number of passwords / #", "9"),
    ("btnSave", PASSWORDS, "push button", "Save List", "unavailable"),
    ("lbPasswords", PASSWORDS, "list", "Passwords", ""),
]


# ---- Independent sums for the results ----

# Unit factors of the units the steps use, to bits, bits per second or seconds.
FACTORS = {"Kbps (b10)": 1000, "KB (b2)": 8192, "Mb (b)": 1 << 20, "min": 60}
COMMON_BPS = {"33.6kbps": 33600}


def number_text(d):
    """A number as the window writes it: plain decimals, no trailing zeros (every value here is exact)."""
    return f"{d.normalize():f}" if d else "0"


def tolerance_line(shown, unit, percent=3):
    v = decimal.Decimal(shown)
    bounds = [((100 - percent) * v) / 100, ((percent + 100) * v) / 100]
    rounded = [decimal.Decimal(int(b * 100 + decimal.Decimal("0.5"))) / 100 for b in bounds]
    return f"± {percent}%: {number_text(rounded[0])} - {number_text(rounded[1])} {unit}"


def ip_results(address, prefix):
    """The page's results for an address in the local block 192.168.0.0/16, whose network part is 16 bits."""
    a = ipaddress.IPv4Address(address)
    net = ipaddress.IPv4Network(f"{address}/{prefix}", strict=False)
    if a not in ipaddress.IPv4Network("192.168.0.0/16"):
        raise ValueError(address)
    bits, total = f"{int(a):032b}", net.num_addresses
    subnet, node = bits[16:prefix], bits[prefix:]
    host = int(node, 2)
    node_text = "Broadcast" if host == total - 1 else "Reserved" if host == 0 else f"Node {host}"
    mask = f"{int(net.netmask):032b}"
    return {
        "cbMask": str(net.netmask),
        "lbIPBinary": f"Subnet {subnet} Node {node}",
        "lbBreakdown": f"Local Subnet {int(subnet, 2)} of {1 << (prefix - 16)} {node_text} of {total - 2}",
        "lbSNBinary": " ".join(mask[k:k + 8] for k in range(0, 32, 8)),
        "lbClass": "Local (/16 Network)",
        "lbReserved": str(net.network_address),
        "lbBroadcast": str(net.broadcast_address),
        "lbAddresses": f"{total} Total, {total - 2} Usable ({total - 3} + Gateway)",
        "lbSubnet": f"{net.network_address + 1} - {net.broadcast_address - 1}",
    }


# ---- The run ----

class Run:
    """The table's rows found on the bus, the checks on them and the input."""

    def __init__(self, reader):
        self.r = reader
        self.failures = []
        self.rows = {}  # name -> (accessible, row)
        for page in (ABOUT, BANDWIDTH, IP, PASSWORDS):
            self.locate(page)

    def fail(self, text):
        self.failures.append(text)
        print("FAIL", text)

    def locate(self, page):
        left = self.r.controls(page)
        for row in (row for row in CONTROLS if row[1] == page):
            name, _, role, caption, _ = row
            match = next((a for a in left if self.r.role(a) == role and self.r.caption(a) == caption), None)
            if match is None:
                self.fail(f"{name}: no {role} captioned {caption!r} on {page}")
                continue
            left.remove(match)
            self.rows[name] = (match, row)
        for acc in left:
            self.fail(f"{page}: a {self.r.role(acc)} captioned {self.r.caption(acc)!r}, saying "
                      f"{self.r.spoken(acc)!r}, is not in the table")

    def said(self, name):
        return self.r.spoken(self.rows[name][0])

    def check_start(self):
        for name, (acc, (_, _, role, _, start)) in self.rows.items():
            if self.said(name) != start:
                self.fail(f"{name} at start says {self.said(name)!r}, not {start!r}")
            if role == "spin button" and acc.queryValue().currentValue != int(start):
                self.fail(f"{name}'s value is {acc.queryValue().currentValue}, its text {start!r}")
            if role == "link" and not (acc.getState().contains(self.r.at.STATE_FOCUSABLE) and "Press" in [
                    acc.queryAction().getName(k) for k in range(acc.queryAction().nActions)]):
                self.fail(f"{name} cannot be reached by the keyboard or pressed")

    def type_into(self, name, text):
        self.r.click(self.rows[name][0])
        self.r.desktop.xdotool("key", "ctrl+a")
        self.r.desktop.xdotool("type", "--delay", "30", text)

    def pick(self, name, steps):
        """Opens the list with the mouse, goes `steps` items down from the highlighted one and picks that item
        with Return; returns its text."""
        acc = self.rows[name][0]
        self.r.click(acc)
        popup = acc.getChildAtIndex(0)
        items = [popup.getChildAtIndex(k) for k in range(popup.childCount)]
        lit = self.r.wait_for(f"open list of {name}", lambda: popup.getState().contains(self.r.at.STATE_SHOWING) and [
            k for k, item in enumerate(items) if item.getState().contains(self.r.at.STATE_FOCUSED)])
        self.r.desktop.xdotool("key", *["Down"] * steps, "Return")
        return items[lit[0] + steps].name

    def step(self, what, act, wanted):
        """Runs act(), then waits until every named control says what `wanted` gives for it (a text, or a test of
        the text, or a function of act()'s answer giving either); results and pick lists that changed must have
        announced their new name."""
        self.r.pump()
        start, before = len(self.r.renamed), {name: self.said(name) for name in self.rows}
        answer = act()
        wanted = wanted(answer) if callable(wanted) else wanted
        what = what.format(answer)

        def holds(name):
            want, got = wanted[name], self.said(name)
            return want(got) if callable(want) else got == want

        try:
            self.r.wait_for(f"results of {what}", lambda: all(map(holds, wanted)))
        except Failure as late:
            self.fail(str(late))
        for name, (acc, (_, _, role, _, _)) in self.rows.items():
            got = self.said(name)
            if name in wanted and not holds(name):
                self.fail(f"after {what}, {name} says {got!r}, not {wanted[name]!r}")
            if role not in NAMED_BY_VALUE or got == before[name]:
                continue
            try:
                self.r.wait_for(f"name change from {name}", lambda: any(
                    e.source == acc for e in self.r.renamed[start:]), 5)
            except Failure as missing:
                self.fail(str(missing))

    def check_all_read(self):
        """After the input, every result and pick list says something, and something other than its caption."""
        for name, (acc, (_, _, role, caption, _)) in self.rows.items():
            if role in NAMED_BY_VALUE and self.said(name) in ("", caption):
                self.fail(f"{name} says {self.said(name)!r} after the input, captioned {caption!r}")


def bandwidth(run):
    run.r.show_page(BANDWIDTH)
    run.step("a rate, a size and a time", lambda: [run.type_into(n, t) for n, t in (
        ("tbBW", "5"), ("tbDS", "100"), ("tbTm", "2"))], {
        "tbBW": "5", "lbBWTol": tolerance_line(5, "Kbps (b10)"),
        "tbDS": "100", "lbDSTol": tolerance_line(100, "KB (b2)"),
        "tbTm": "2", "lbTmTol": tolerance_line(2, "min"),
    })

    def converted(unit):
        size = decimal.Decimal(100 * FACTORS["KB (b2)"]) / FACTORS[unit]
        return {"cbDSUnit": unit, "tbDS": number_text(size), "lbDSTol": tolerance_line(size, unit)}

    run.step("the size unit {}", lambda: run.pick("cbDSUnit", 1), converted)

    def common(item):
        rate = decimal.Decimal(COMMON_BPS[item]) / FACTORS["Kbps (b10)"]
        return {"cbCommon": item, "tbBW": number_text(rate), "lbBWTol": tolerance_line(rate, "Kbps (b10)"),
                "cbBWUnit": "Kbps (b10)", "cbTmUnit": "min"}

    run.step("the common rate {}", lambda: run.pick("cbCommon", 1), common)


def ip(run):
    run.r.show_page(IP)
    # Each full stop moves on to the next box.
    run.step("the address 192.168.1.10", lambda: run.type_into("tbIP1", "192.168.1.10"), {
        "tbIP1": "192", "tbIP2": "168", "tbIP3": "1", "tbIP4": "10", "cbSlash": "/ 24",
        **ip_results("192.168.1.10", 24),
    })
    run.step("the prefix {}", lambda: run.pick("cbSlash", 1),
             lambda prefix: {"cbSlash": prefix, **ip_results("192.168.1.10", int(prefix.lstrip("/ ")))})


def passwords(run, cli):
    run.r.show_page(PASSWORDS)
    run.step("the mode {}", lambda: run.pick("cbWordMode", 1), lambda mode: {"cbWordMode": mode})
    modes = run.rows["cbWordMode"][0].getChildAtIndex(0)
    mode = [modes.getChildAtIndex(k).name for k in range(modes.childCount)].index(run.said("cbWordMode"))
    low, high = int(run.said("seMinLen")), int(run.said("seMaxLen"))
    classes = [(str.isupper, "seUpper"), (str.islower, "seLower"), (str.isdigit, "seNum"),
               (lambda c: c in run.said("tbOther"), "seOther")]

    def fits(password):
        counts = [(sum(map(test, password)), int(run.said(box + "1")), int(run.said(box + "2")))
                  for test, box in classes]
        return low <= len(password) <= high and sum(c for c, _, _ in counts) == len(password) and all(
            lo <= c <= hi for c, lo, hi in counts)

    count = int(run.said("seGenerate"))
    run.step("Generate", lambda: run.rows["btnGo"][0].queryAction().doAction(0), {
        "lbPasswords": lambda said: len(said.split("\n")) == count and all(map(fits, said.split("\n"))),
        "btnSave": "",
    })
    # The other settings are the page's start values, which are the command line's defaults.
    figures = json.loads(subprocess.run([cli, "passwords", "--strength", "-j", "--mode", str(mode)], check=True,
                                        capture_output=True, text=True).stdout)
    wanted = (f"Each password of these settings: {figures['shannon_bits']:.1f} bits "
              f"(the likeliest: 1 in 2^{figures['min_entropy_bits']:.1f})")
    described = run.r.wait_for("strength in the password list's description",
                               lambda: run.rows["lbPasswords"][0].description)
    if described != wanted:
        run.fail(f"the password list is described as {described!r}, not {wanted!r}")


def main():
    def stop(reason):
        def handler(*_):
            raise Failure(reason)
        return handler

    signal.signal(signal.SIGALRM, stop(f"the run took over {DEADLINE_SECONDS} s"))
    signal.signal(signal.SIGTERM, stop("terminated"))
    signal.alarm(DEADLINE_SECONDS)
    started = time.monotonic()
    failures = []
    desktop = Desktop(sys.argv[1])
    try:
        with desktop:
            run = Run(Reader(desktop))
            run.check_start()
            failures = run.failures
            if not failures:
                bandwidth(run)
                ip(run)
                passwords(run, sys.argv[2])
                run.check_all_read()
    except Exception as fatal:  # a stop, a deadline, or a tool that failed: the desktop is ended all the same
        failures.append(repr(fatal))
        traceback.print_exc()
    finally:
        signal.alarm(0)
    if failures:
        print("---- output of the desktop's processes ----\n" + getattr(desktop, "output", ""))
    print(f"{len(CONTROLS)} controls read over the accessibility bus in {time.monotonic() - started:.1f} s, "
          f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

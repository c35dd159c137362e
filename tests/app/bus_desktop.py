"""A private desktop for one run of the window: its own X display (Xvfb), session D-Bus and accessibility bus.

Every process started here leads a process group of its own, and each group is ended by its id on the way out,
after a failure too; the processes write to one log, which the caller shows when something went wrong.
"""
import ctypes
import os
import signal
import subprocess
import tempfile
import time

ACTION_SECONDS = 15


class Failure(Exception):
    pass


def _die_with_parent():
    # Should the test itself be killed outright, its children go too instead of holding a display or a bus.
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


class Desktop:
    """Xvfb, a session bus and the accessibility bus launcher; then the program, with Qt's bridge always on."""

    def __init__(self, program):
        self.program = program
        self.groups = []
        self.env = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "DBUS_", "AT_SPI", "DISPLAY"))}

    def __enter__(self):
        self.runtime = tempfile.TemporaryDirectory(prefix="tarvelle-bus-")
        self.log = open(os.path.join(self.runtime.name, "log"), "w+")
        try:
            # The launcher keeps the accessibility bus's socket in the runtime folder, apart from other desktops.
            self.env["XDG_RUNTIME_DIR"] = self.runtime.name
            self.env["DISPLAY"] = ":" + self.answer(
                ["Xvfb", "-displayfd", "{fd}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"])
            self.env["DBUS_SESSION_BUS_ADDRESS"] = self.answer(
                ["dbus-daemon", "--session", "--nofork", "--print-address={fd}"])
            self.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1"])
            os.environ.update({k: self.env[k] for k in ("XDG_RUNTIME_DIR", "DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
        except BaseException:
            self.__exit__()
            raise
        return self

    def launch(self):
        """Starts the program, once the reader is listening: Qt asks the registry at start which events to send."""
        self.env.update(QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        if "ASAN_OPTIONS" in self.env:
            # libxkbcommon-x11 copies names out of the X server's replies with strndup and their length, with no NUL
            # after them; a sanitized build's strict string checks read on to a NUL all the same and stop the
            # program before its window appears.
            self.env["ASAN_OPTIONS"] += ":intercept_strndup=0"
        self.app = self.start([self.program])

    def start(self, cmd, fds=()):
        proc = subprocess.Popen(cmd, env=self.env, start_new_session=True, pass_fds=fds, stdin=subprocess.DEVNULL,
                                stdout=self.log, stderr=self.log, preexec_fn=_die_with_parent)
        self.groups.append(proc)
        return proc

    def answer(self, cmd):
        """Starts cmd with a pipe whose number replaces {fd}; returns the first line it writes there."""
        read_end, write_end = os.pipe()
        try:
            proc = self.start([part.format(fd=write_end) for part in cmd], fds=(write_end,))
        finally:
            os.close(write_end)
        with os.fdopen(read_end, "rb") as pipe:
            line = pipe.readline().decode().strip()
        if not line:
            raise Failure(f"{cmd[0]} (pid {proc.pid}) gave no answer")
        return line

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=ACTION_SECONDS)

    def __exit__(self, *exc):
        # The launcher's group also holds the accessibility bus and the registry daemon that the bus started.
        for proc in reversed(self.groups):
            _signal_group(proc.pid, signal.SIGTERM)
        for proc in self.groups:
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                _signal_group(proc.pid, signal.SIGKILL)
                proc.wait()
        ends = time.monotonic() + 5
        while any(_group_alive(proc.pid) for proc in self.groups) and time.monotonic() < ends:
            time.sleep(0.05)
        for proc in self.groups:
            _signal_group(proc.pid, signal.SIGKILL)
        self.log.seek(0)
        self.output = self.log.read()
        self.log.close()
        self.runtime.cleanup()
        return False


def _signal_group(pgid, sig):
    try:
        os.killpg(pgid, sig)
    except (ProcessLookupError, PermissionError):
        pass


def _group_alive(pgid):
    """Whether a process of the group still runs; a zombie left to an init that does not reap it is not counted."""
    for entry in os.listdir("/proc"):
        try:
            with open(f"/proc/{entry}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
        except (OSError, IndexError):
            continue
        if fields[0] != "Z" and fields[2] == str(pgid):
            return True
    return False

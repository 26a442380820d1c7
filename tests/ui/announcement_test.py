#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The taxcalc developers
#
# What a screen reader hears, through the accessibility bus (AT-SPI): the window
# runs on a virtual X server of its own, a bonus is typed and Enter pressed, and
# the result must arrive as a notification that shows, whatever has the focus.
# The result labels carry the names of what they show. Run under dbus-run-session:
#   dbus-run-session -- tests/ui/announcement_test.py build/bin/taxcalc
import os
import subprocess
import sys
import tempfile
import time

DEADLINE = 30  # seconds for the whole run; it normally takes two or three


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def start_xvfb(work):
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                               "-nolisten", "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        display = numbers.readline().strip()
    if not display:
        fail("Xvfb did not start")
    return server, ":" + display


def main():
    if len(sys.argv) != 2:
        fail("usage: announcement_test.py TAXCALC")
    program = sys.argv[1]
    started = []
    work = tempfile.mkdtemp(prefix="taxcalc-a11y.")
    os.chmod(work, 0o700)
    os.environ["XDG_RUNTIME_DIR"] = work
    try:
        server, display = start_xvfb(work)
        started.append(server)
        os.environ["DISPLAY"] = display
        # The accessibility bus and its registry, inside this session bus.
        launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                    stderr=subprocess.DEVNULL)
        started.append(launcher)
        run(program, started)
    finally:
        for process in reversed(started):
            process.terminate()
        for process in reversed(started):
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
        subprocess.run(["rm", "-rf", work], check=False)


def run(program, started):
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, GLib

    # The registry may take a moment to come up on a fresh bus.
    for _ in range(50):
        if Atspi.get_desktop(0) is not None and Atspi.get_desktop(0).get_child_count() >= 0:
            break
        time.sleep(0.1)

    heard = []

    def on_event(event):
        try:
            role = event.source.get_role()
            name = event.source.get_name()
        except GLib.Error:
            return
        heard.append((event.type, role, name, event.detail1))

    listener = Atspi.EventListener.new(on_event)
    listener.register("object:state-changed:showing")
    listener.register("object:property-change:accessible-name")

    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    environment.pop("WAYLAND_DISPLAY", None)
    app = subprocess.Popen([program], env=environment, stderr=subprocess.DEVNULL)
    started.append(app)

    loop = GLib.MainLoop()
    give_up = time.monotonic() + DEADLINE

    def spin(seconds):
        end = time.monotonic() + seconds
        context = loop.get_context()
        while time.monotonic() < end:
            context.iteration(False)
            time.sleep(0.01)

    def xdotool(*arguments):
        return subprocess.run(["xdotool", *arguments], capture_output=True, text=True).stdout.strip()

    window = ""
    while not window and time.monotonic() < give_up:
        window = xdotool("search", "--onlyvisible", "--pid", str(app.pid))
        if app.poll() is not None:
            fail("taxcalc ended before its window appeared")
        spin(0.1)
    if not window:
        fail("the window did not appear")
    window = window.splitlines()[0]

    def find_application():
        desktop = Atspi.get_desktop(0)
        for index in range(desktop.get_child_count()):
            child = desktop.get_child_at_index(index)
            if child is not None and child.get_process_id() == app.pid:
                return child
        return None

    application = None
    while application is None and time.monotonic() < give_up:
        application = find_application()
        spin(0.1)
    if application is None:
        fail("taxcalc did not appear on the accessibility bus")

    def labels_named(root):
        names = set()
        stack = [root]
        while stack:
            node = stack.pop()
            if node.get_role() == Atspi.Role.LABEL:
                names.add(node.get_name())
            stack.extend(node.get_child_at_index(i) for i in range(node.get_child_count()))
        return names

    # Empty result labels say what they will show, not the frame's title.
    names = labels_named(application)
    for expected in ("调整前需纳税", "调整后需纳税", "调整结果", "差额", "纳税额", "评价"):
        if expected not in names:
            fail("no result label named %s among %s" % (expected, sorted(names)))

    # Type a bonus into Text2 and press Enter twice: the focus moves to Text3, which
    # holds 3500, and the second Enter calculates.
    xdotool("windowfocus", "--sync", window)
    xdotool("mousemove", "--window", window, "550", "79", "click", "1")
    xdotool("type", "--window", window, "--delay", "20", "18001")
    del heard[:]
    xdotool("key", "--window", window, "Return")
    xdotool("key", "--window", window, "Return")

    expected = ("纳税额：1695.10 元，税后 16305.90元", "评价：1、该年终奖建议修改为18000元！参考：",
                "年终奖18000，税额540.00，税后年终奖17460.00", "节省80.00元！")
    announced = None
    while announced is None and time.monotonic() < give_up:
        spin(0.05)
        for event_type, role, name, detail in heard:
            if (event_type == "object:state-changed:showing" and detail == 1 and role == Atspi.Role.NOTIFICATION
                    and all(part in name for part in expected)):
                announced = name
    if announced is None:
        fail("no notification with the result was heard; heard: %r" % heard)
    # The notification came without any change of focus: the focus is still in Text3.
    names = labels_named(application)
    if "纳税额：1695.10 元，税后 16305.90元" not in names:
        fail("Label17 is not named with its figures: %s" % sorted(names))
    print("heard: " + announced)


if __name__ == "__main__":
    main()

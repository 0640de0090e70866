#!/usr/bin/python3
"""Reads Tidvale the way a screen reader does and drives it by keyboard alone.

Starts the real application under Xvfb with Qt's AT-SPI bridge switched on, on a
throwaway home full of junk, and then:
  1. visits every tool through its Ventana shortcut (Ctrl+1 ... Ctrl+0, Ctrl+Shift+1),
     lists what each screen lists, and fails on every control a user can reach
     (buttons, boxes, pop-ups, menu entries, list cells) that has no accessible name;
  2. cleans System Junk with the keyboard only: Tab to "Escanear", Space, Tab into the
     list and on to "Limpiar Seleccionados", Enter; checks that Enter on the
     confirmation answers "Cancelar" (nothing goes), then confirms with the arrow keys
     and Space, and checks the status line and the home folder afterwards.
Exits 0 when both pass. Needs Debian's xvfb, dbus, at-spi2-core, python3-pyatspi and
xdotool (scripts/install-deps.sh installs them) and a built build/ci/bin/tidvale.

As root the machine's own junk folders get empty stand-ins in a private mount
namespace first, so the clean can never reach the real /var/log or /var/cache/apt.

  scripts/check-accessibility.py [--keep-home]
"""
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
APP = os.path.join(ROOT, "build/ci/bin/tidvale")
PYTHON = "/usr/bin/python3"  # the system's, which has pyatspi
NO_DISPLAY = 3  # the application could not open the X display
MACHINE_JUNK = ["/var/log", "/var/cache/apt/archives", "/var/crash", "/var/lib/systemd/coredump"]


def reexec_isolated():
    """Root: run again in a private mount namespace with the machine's junk hidden."""
    if os.getuid() != 0 or os.environ.get("TIDVALE_A11Y_PRIVATE"):
        return
    if subprocess.call(["unshare", "-m", "true"]) != 0:
        sys.exit("As root this check needs a private mount namespace (unshare -m); refusing "
                 "to run the clean against the machine's own folders.")
    mounts = "; ".join(f'[ -d {d} ] && mount -t tmpfs none {d}' for d in MACHINE_JUNK)
    os.execvp("unshare", ["unshare", "-m", "--propagation", "private", "bash", "-c",
                          mounts + '; exec "$@"', "_", "env", "TIDVALE_A11Y_PRIVATE=1",
                          PYTHON, *sys.argv])


def reexec_in_xvfb():
    """Run again on a new X server with its own session bus."""
    if os.environ.get("TIDVALE_A11Y_INSIDE"):
        return
    os.environ["TIDVALE_A11Y_INSIDE"] = "1"
    # A display number of its own: other sessions on the machine start X servers too,
    # and one may take the number between the check and the start (then once more).
    for attempt in range(3):
        rc = subprocess.call(["xvfb-run", "-a", "-n", str(100 + (os.getpid() + attempt * 97) % 800),
                              "-s", "-screen 0 1280x900x24",
                              "dbus-run-session", "--", PYTHON, *sys.argv])
        if rc != NO_DISPLAY:
            sys.exit(rc)
    sys.exit(rc)


reexec_isolated()
reexec_in_xvfb()

import pyatspi  # noqa: E402  (only inside the session the bus exists)

INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_MENU_ITEM,
    pyatspi.ROLE_CHECK_MENU_ITEM, pyatspi.ROLE_MENU, pyatspi.ROLE_PAGE_TAB,
    pyatspi.ROLE_ENTRY, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_TREE_ITEM,
    pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE,
}
ROWS_CHECKED = 25  # per list: a name missing on one row is missing on all
TOOLS = [("ctrl+1", "Smart Scan"), ("ctrl+2", "Basura del Sistema"), ("ctrl+3", "Privacidad"),
         ("ctrl+4", "Aplicaciones"), ("ctrl+5", "Extensiones"), ("ctrl+6", "Memoria"),
         ("ctrl+7", "Espacio en Disco"), ("ctrl+8", "Archivos Grandes"),
         ("ctrl+9", "Archivos Duplicados"), ("ctrl+0", None), ("ctrl+shift+1", "Descargas")]
# The button that lists a screen's content, pressed through AT-SPI to fill its list.
START_BUTTONS = {"Escanear", "Analizar", "Cargar Apps", "Cargar Elementos",
                 "Escanear Duplicados", "Cargar Descargas"}

failures = []


def fail(text):
    failures.append(text)
    print("FALLO:", text, flush=True)


def key(*names):
    subprocess.run(["xdotool", "key", "--delay", "60", *names], check=True)
    time.sleep(0.25)


def wait(predicate, seconds=20.0, step=0.2):
    end = time.time() + seconds
    while time.time() < end:
        try:
            value = predicate()
        except Exception:  # the tree changes under the walk
            value = None
        if value:
            return value
        time.sleep(step)
    return None


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "tidvale":
            return app
    return None


def states(node):
    return node.getState()


def showing(node):
    s = states(node)
    return s.contains(pyatspi.STATE_SHOWING) and s.contains(pyatspi.STATE_VISIBLE)


def walk(node, path=(), depth=0):
    """Every showing descendant with the names of the containers above it."""
    if node is None or depth > 40:
        return
    yield node, path
    role = node.getRole()
    count = node.childCount
    if role in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_LIST):
        count = min(count, ROWS_CHECKED * 8)
    for i in range(count):
        child = node.getChildAtIndex(i)
        if child is not None and showing(child):
            yield from walk(child, path + (node.name or node.getRoleName(),), depth + 1)


def window():
    app = application()
    if not app:
        return None
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.name == "Tidvale" and showing(w):
            return w
    return None


def unnamed_controls(screen):
    """The reachable controls without a name, and how many controls were read."""
    found, read = [], 0
    for node, path in walk(window()):
        role = node.getRole()
        if role not in INTERACTIVE:
            continue
        if role == pyatspi.ROLE_TABLE_CELL and node.getIndexInParent() < 0:
            continue
        # A header cell of a tick column is drawn empty on purpose; its cells are named.
        if role == pyatspi.ROLE_TABLE_CELL and node.parent.getRole() == pyatspi.ROLE_TABLE_ROW_HEADER:
            continue
        read += 1
        if not (node.name or "").strip():
            found.append(f"{screen}: {node.getRoleName()} sin nombre en {' › '.join(path[-3:])}")
    return found, read


def find(predicate):
    """In every window of the application: alerts are windows of their own."""
    for node, _ in walk(application()):
        if predicate(node):
            return node
    return None


def named(role, name):
    return lambda n: n.getRole() == role and n.name == name


ITEMS = {pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TREE_ITEM}


def focused():
    """The object with the keyboard. Qt marks a list's current row as focused even
    when another widget has the keyboard: a focused control outside the lists wins,
    and the sidebar's rows never count."""
    control, item = None, None
    for node, path in walk(application()):
        if not states(node).contains(pyatspi.STATE_FOCUSED) or "Herramientas" in path:
            continue
        if node.getRole() in ITEMS:
            item = item or node
        else:
            control = node
    return control or item


def status_text():
    """The screen's status line: the label whose text changes with the job."""
    texts = []
    for node, _ in walk(window()):
        if node.getRole() == pyatspi.ROLE_LABEL and node.name:
            texts.append(node.name)
    return texts


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click"):
            action.doAction(i)
            return
    action.doAction(0)


def visit_every_screen():
    for keys, title in TOOLS:
        key(keys)
        ok = wait(lambda: find(lambda n: n.getRole() == pyatspi.ROLE_LABEL
                               and (title is None or n.name == title)
                               and n.parent is not None), 10)
        if not ok:
            fail(f"{keys} no mostró «{title}»")
            continue
        time.sleep(0.5)
        shown = title or "Limpieza de desarrollo"
        start = find(lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name in START_BUTTONS)
        if start is not None:
            press(start)
            # Listed once the start button reads its own title again.
            wait(lambda: find(lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON
                              and n.name == start.name) and not find(
                lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "Detener"), 60)
            time.sleep(0.5)
        missing, read = unnamed_controls(shown)
        for m in missing:
            fail(m)
        print(f"{shown}: {read} controles, {len(missing)} sin nombre", flush=True)


def tab_to(name, role=pyatspi.ROLE_PUSH_BUTTON, limit=40, back=False):
    for _ in range(limit):
        key("shift+Tab" if back else "Tab")
        node = wait(focused, 3)
        if os.environ.get("TIDVALE_A11Y_VERBOSE"):
            print("  foco:", node.getRoleName() if node else None, node.name if node else "")
        roles = role if isinstance(role, tuple) else (role,)
        if node is not None and node.getRole() in roles and (name is None or node.name == name):
            return node
    return None


def junk_files(home):
    count = 0
    for base in (".cache/thumbnails", ".cache/pip", ".cache/vlc", ".cache/yarn"):
        for _, _, files in os.walk(os.path.join(home, base)):
            count += len(files)
    return count


def clean_by_keyboard(home):
    before = junk_files(home)
    key("ctrl+2")
    wait(lambda: find(named(pyatspi.ROLE_PUSH_BUTTON, "Escanear")), 10)
    # From the sidebar, reading order: the toolbar's first control is the scan button.
    # The window opens with the keyboard in the sidebar; in reading order the toolbar's
    # first control, the scan button, comes next.
    start = focused()
    if start is None or start.name != "Herramientas":
        return fail("el teclado no empieza en la barra lateral «Herramientas»")
    if not tab_to("Escanear", limit=1):
        return fail("Tab desde la barra lateral no llega a «Escanear»")
    key("space")
    if not wait(lambda: any(t.startswith("Total: ") for t in status_text()), 60):
        return fail("el escaneo por teclado no terminó")
    table = tab_to(None, (pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_TABLE), limit=4)
    if table is None:
        return fail("Tab no entra en la lista de Basura del Sistema")
    key("Down")
    key("Up")
    # The clean button sits in the toolbar, before the list in reading order.
    if not tab_to("Limpiar Seleccionados", limit=2, back=True):
        return fail("Shift+Tab no sale de la lista hacia «Limpiar Seleccionados»")
    key("Return")
    alert = wait(lambda: find(named(pyatspi.ROLE_PUSH_BUTTON, "Cancelar")), 10)
    if alert is None:
        return fail("Enter en «Limpiar Seleccionados» no abrió la confirmación")
    key("Return")  # the default button of a permanent deletion is "Cancelar"
    time.sleep(1)
    if find(named(pyatspi.ROLE_PUSH_BUTTON, "Cancelar")) or junk_files(home) != before:
        return fail("Enter en la confirmación no respondió «Cancelar»")
    print("Enter en la confirmación: Cancelar, nada eliminado", flush=True)
    back = wait(lambda: (lambda f: f if f is not None and f.name == "Limpiar Seleccionados"
                         else None)(focused()), 5)
    if back is None:
        f = focused()
        return fail("tras «Cancelar» el teclado no vuelve a «Limpiar Seleccionados» (está en "
                    f"{f.getRoleName() + ' ' + f.name if f else 'ninguna parte'})")
    key("space")
    if not wait(lambda: find(named(pyatspi.ROLE_PUSH_BUTTON, "Eliminar")), 10):
        return fail("Space en «Limpiar Seleccionados» no abrió la confirmación")
    # Shift+Tab from "Cancelar" reaches "Eliminar" whatever side the style puts it on.
    target = focused()
    for _ in range(4):
        if target is not None and target.name == "Eliminar":
            break
        key("Tab")
        target = wait(focused, 3)
    if target is None or target.name != "Eliminar":
        return fail("el teclado no llega a «Eliminar» en la confirmación")
    key("space")
    done = wait(lambda: [t for t in status_text() if t.startswith(("✅ Liberado", "ℹ️"))], 60)
    if not done:
        return fail("la limpieza por teclado no dejó su línea de estado")
    after = junk_files(home)
    print(f"Limpieza por teclado: {done[0]} ({before} archivos de caché antes, {after} después)",
          flush=True)
    if after >= before:
        fail("la limpieza por teclado no eliminó nada de la carpeta de inicio")


def main():
    if not os.access(APP, os.X_OK):
        sys.exit(f"Build Tidvale first: {APP} is missing (cmake --build --preset ci).")
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    home = subprocess.check_output([os.path.join(ROOT, "scripts/make-junk-home.sh")],
                                   text=True).strip()
    env = dict(os.environ, HOME=home, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               QT_ACCESSIBILITY="1", LANG="es_ES.UTF-8", XDG_CONFIG_HOME=home + "/.config",
               XDG_CACHE_HOME=home + "/.cache", XDG_DATA_HOME=home + "/.local/share")
    env.pop("TIDVALE_PROFILE", None)
    app = subprocess.Popen([APP], env=env)
    try:
        if not wait(lambda: window() or app.poll() is not None, 30) or app.poll() is not None:
            if app.poll() is not None:
                print("Tidvale could not start on this display.", flush=True)
                sys.exit(NO_DISPLAY)
            sys.exit("Tidvale did not appear on the accessibility bus.")
        time.sleep(1)
        visit_every_screen()
        clean_by_keyboard(home)
    finally:
        app.terminate()
        try:
            app.wait(10)
        except subprocess.TimeoutExpired:
            app.kill()
        bus.terminate()
        if "--keep-home" not in sys.argv:
            shutil.rmtree(home, ignore_errors=True)
    if failures:
        print(f"{len(failures)} fallos de accesibilidad", flush=True)
        sys.exit(1)
    print("Accesibilidad: todas las pantallas con nombres; limpieza por teclado correcta",
          flush=True)


main()

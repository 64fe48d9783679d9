#!/usr/bin/python3
# End to end with phones: the real twinrun --phones on a private 1024x768 X server, its phones
# headless Chromium pages on loopback driven through chromedriver, its screen read back.
#
# Usage: tests/phones.py path/to/twinrun [--abuse], from the repository root.
#
# A session: the lobby's QR code reads as the printed address; two pages join with a press each,
# take their dinosaurs' colours, say "Ready" after JUMP and play a match, in which the second's
# two fingers, on RIGHT and JUMP at once, move its red dinosaur right and lift it; at its end
# one page says "You won!", the other "Out", and the first, silent since it marked ready but for
# the answers to pings, is still on its first connection; the second page closed, its player is
# faded in the lobby; the same page back, it is present again and told its state; Escape ends
# the game with status 0.
# --abuse: a second game on the taken port; garbage, an overlong request, a body; messages too
# long, malformed, binary or unmasked; then one token reconnecting in a loop, which the game
# plays through (scripts/measure-phones measures its frames meanwhile); idle sockets from one
# host, while a phone of another (127.0.0.2) loads, connects and presses; a takeover; wrong
# codes; another site's page; the answers' headers; IPv6. The game plays on and ends with
# status 0.
import contextlib
import os
import re
import select
import socket
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

WIDTH, HEIGHT = 1024, 768
RED, BLACK = (255, 0, 0), (0, 0, 0)
tmp = tempfile.mkdtemp()
# The X server and the game, while they run.
xvfb = game = None


def expect(holds, message):
    if not holds:
        sys.exit("FAIL: " + message)


# Polls check until it holds, for up to within seconds; else fails naming what.
def wait_for(check, within, what):
    deadline = time.monotonic() + within
    while not check():
        expect(time.monotonic() < deadline, "waited in vain for " + what)
        time.sleep(0.05)


# Starts Xvfb and the game with phones on a free port; reads the address it prints.
def start(command):
    global xvfb, env, game, url, code, port, local
    number, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                             f"{WIDTH}x{HEIGHT}x24", "-nolisten", "tcp", "-noreset"],
                            pass_fds=(write,), stderr=subprocess.DEVNULL)
    env = dict(os.environ, DISPLAY=":" + os.read(number, 16).decode().split()[0])
    game = subprocess.Popen([command, "--mute", "--phones", "--phones-port", "0"], env=env,
                            stdout=subprocess.PIPE, stderr=open(os.path.join(tmp, "err"), "w"))
    line = game.stdout.readline().decode() if select.select([game.stdout], [], [], 30)[0] else ""
    found = re.fullmatch(r"twinrun: phones join at (http://([\d.]+):(\d+)/#([A-Z0-9]{6}))\n", line)
    expect(found, f"no address on stdout: {line!r}")
    url, address, port, code = found.groups()
    # The machine's first network address, where it has one.
    ours = subprocess.run(["hostname", "-I"], capture_output=True, text=True).stdout.split()
    expect(address == next((a for a in ours if "." in a and a[:4] != "127."), "127.0.0.1"),
           f"phones join at {address}, not at the first of {ours}")
    port, local = int(port), url.replace(address, "127.0.0.1", 1)


# The screen as RGB bytes, row after row, or in another format of ImageMagick's.
def shot(form="rgb"):
    return subprocess.run(["import", "-window", "root", "-depth", "8", form + ":-"], env=env,
                          capture_output=True, check=True).stdout


# The left and the top edge of the pixels of that colour above the ground; the screen's right
# edge and the ground's top when none.
def corner_of(picture, colour):
    left, top = WIDTH, HEIGHT - 41
    for y in range(HEIGHT - 41):
        row, at = picture[y * WIDTH * 3:(y + 1) * WIDTH * 3], -1
        while (at := row.find(bytes(colour), at + 1)) != -1:
            if at % 3 == 0:
                left, top = min(left, at // 3), min(top, y)
                break
    return left, top


# Escape ends the game (a match, then the lobby, if need be): status 0, no sanitizer's report.
def end():
    subprocess.run(["xdotool", "key", "--delay", "1500", "Escape", "Escape"], env=env)
    status, errors = game.wait(10), open(os.path.join(tmp, "err")).read()
    expect(status == 0 and not re.search("AddressSanitizer|LeakSanitizer|runtime error:", errors),
           f"the game ended with {status}: {errors[-2000:]}")


# A headless Chromium page of the game's address with a profile of its own, once connected.
def phone(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu",
                 "--user-data-dir=" + os.path.join(tmp, profile)):
        options.add_argument(flag)
    page = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    page.get(local)
    wait_for(lambda: page.execute_script("return state.className") == "connected", 20, profile)
    page.execute_script("window.first = socket")
    return page


# What the page says: its player and its line.
def says(page):
    return page.execute_script("return [who.textContent, line.textContent]")


# Puts fingers down on the page's buttons by number, all at once, or lifts them (down False).
def touch(page, *buttons, down=True):
    actions = webdriver.ActionChains(page).w3c_actions
    for b in buttons:
        finger = actions.add_pointer_input("touch", f"finger{b}")
        target = page.find_element("css selector", f'button[data-button="{b}"]')
        finger.create_pointer_move(duration=0, origin=target)
        finger.create_pointer_down(button=0) if down else finger.create_pointer_up(button=0)
    actions.perform()


# Clicks the page's button by number, a press and a release, as a mouse does.
def press(page, b):
    button = page.find_element("css selector", f'button[data-button="{b}"]')
    webdriver.ActionChains(page).click_and_hold(button).pause(0.03).release().perform()


def session():
    # The lobby's QR code, once drawn.
    wait_for(lambda: subprocess.run(["zbarimg", "-q", "--raw", "-"], input=shot("png"),
                                    capture_output=True, env={"PATH": os.environ["PATH"]}
                                    ).stdout.decode().strip() == url, 20, "a QR code of " + url)
    a, b = phone("a"), phone("b")
    # One press joins, JUMP or RIGHT; the page takes the colour of its dinosaur.
    for n, page, button, rgb in ((1, a, 0, BLACK), (2, b, 3, RED)):
        press(page, button)
        wait_for(lambda: says(page) == [f"Player {n}", "Press JUMP when you're ready"], 5,
                 f"player {n}'s page")
        colour = page.execute_script("return getComputedStyle(document.body).backgroundColor")
        expect(colour == "rgb" + str(rgb), f"player {n}'s page in {colour}, not {rgb}")
    press(a, 0)
    wait_for(lambda: says(a)[1] == "Ready: waiting for the others", 5, "Ready")
    quiet = time.monotonic()
    press(b, 0)
    # The red dinosaur, right of the middle in the lobby, runs left of it in the match.
    wait_for(lambda: corner_of(shot(), RED)[0] < WIDTH // 2, 10, "a match")
    # Two fingers at once: RIGHT held while JUMP is tapped move the red dinosaur right and up.
    left, top = corner_of(shot(), RED)
    touch(b, 3, 0)
    touch(b, 0, down=False)

    def moved_and_lifted():
        x, y = corner_of(shot(), RED)
        return x > left + 20 and y < top - 100
    wait_for(moved_and_lifted, 5, "the red dinosaur moves right and jumps")
    touch(b, 3, down=False)
    # Both run out: one page says it won, the other that it is out, until they mark ready.
    wait_for(lambda: sorted([says(a)[1], says(b)[1]]) == ["Out", "You won!"], 60,
             "\"Out\" and \"You won!\"")
    # The first page, silent since it marked ready but for the answers to the server's pings,
    # is still on its first connection past the server's 10 s for a silent phone.
    time.sleep(max(0, quiet + 11 - time.monotonic()))
    expect(a.execute_script("return socket === first"), "a silent page was dropped")
    outcome = says(b)
    # The second page closed: its player is absent, faded in the lobby (no red on the screen).
    b.quit()
    wait_for(lambda: corner_of(shot(), RED)[0] == WIDTH, 15, "faded")
    # The same page back: the same player, told where it stands.
    b = phone("b")
    wait_for(lambda: says(b) == outcome, 5, "the state again")
    a.quit()
    b.quit()


# Sends the bytes from that host: the status of the answer's head, read to its blank line (0
# when it closed first), and the socket.
def request(raw, host="127.0.0.1"):
    sock = socket.create_connection((host, port), timeout=10, source_address=(host, 0))
    sock.sendall(raw)
    head = b""
    with contextlib.suppress(ConnectionResetError):
        while not head.endswith(b"\r\n\r\n") and (byte := sock.recv(1)):
            head += byte
    return int(head.split()[1]) if head.endswith(b"\r\n\r\n") else 0, sock


# A WebSocket handshake with the code and token from that host, with more bytes in its packet.
def upgrade(code, token, host="127.0.0.1", more=b"", origin=""):
    return request((f"GET /phone?code={code}&token={token} HTTP/1.1\r\nHost: x\r\n{origin}"
                    "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
                    "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n\r\n").encode() + more, host)


# A masked frame of a short payload, as a browser sends, with a mask of zeros.
def frame(payload, opcode=1):
    return bytes([0x80 | opcode, 0x80 | len(payload)]) + bytes(4) + payload


# Whether the server closes the connection, or sends its close frame, within that time. Its
# frames before the close are states, short texts, in which no byte is the close's 0x88.
def closed_by_server(sock, within):
    sock.settimeout(within)
    try:
        while (chunk := sock.recv(4096)) and b"\x88" not in chunk:
            pass
        return True
    except OSError as error:
        return not isinstance(error, TimeoutError)


# Runs attack(until) on two threads until that many seconds from now; gives the threads.
def during(seconds, attack):
    until = time.monotonic() + seconds
    threads = [threading.Thread(target=attack, args=(until,)) for _ in range(2)]
    for thread in threads:
        thread.start()
    return threads


def reconnect(until):
    while time.monotonic() < until:
        with contextlib.suppress(OSError):
            status, sock = upgrade(code, "reconnect1")
            sock.sendall(b"".join(frame(b"d1") + frame(b"u1") for _ in range(30)) * (status == 101))
            sock.close()


# Idle sockets, 150 held open, each opened again once closed.
def hold(until):
    held = []
    while time.monotonic() < until:
        with contextlib.suppress(OSError):
            while len(held) < 150:
                held.append(socket.create_connection(("127.0.0.1", port), timeout=1))
        for sock in select.select(held, [], [], 0.05)[0]:
            held.remove(sock)
            sock.close()
    for sock in held:
        sock.close()


def abuse(command):
    # A second game on the taken port says so in one line and plays on without phones.
    second = subprocess.Popen([command, "--mute", "--phones-port", str(port)], env=env, text=True,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    line, running = second.stderr.readline(), second.poll() is None
    second.terminate()
    expect(running and line.startswith(f"twinrun: no phones: can't listen on port {port}: ") and
           second.communicate() == ("", ""), f"a second game on the port: {line!r}, {running}")
    for raw in (b"\x16\x03\x01\x02\x00garbage\r\n\r\n", b"GET / HTTP/1.1\r\nX: " + b"x" * 8000,
                b"POST / HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello"):
        expect(request(raw)[0] not in (101, 200), f"{raw[:20]!r} was answered")
    # Closed by the server: a message too long (which says it brings 100000 bytes, of which 65
    # come, so that only a server that stops reading at the limit closes it), one malformed, a
    # binary one, an unmasked frame, and a malformed one in the packet of the upgrade.
    long = b"\x81\xff" + (100000).to_bytes(8, "big") + bytes(4) + b"d" * 65
    for more, bad in ((b"", long), (b"", frame(b"x9")), (b"", frame(b"d0", 2)),
                      (b"", b"\x81\x02d0" + os.urandom(40)), (frame(b"x9"), b"")):
        status, sock = upgrade(code, "abuse" + os.urandom(4).hex(), more=more)
        sock.sendall(bad)
        expect(status == 101 and closed_by_server(sock, 3),
               f"{(more or bad)[:12]!r} did not close its connection")
    # One token reconnecting in a loop, each connection with 30 presses and 30 releases: the
    # game plays on. (The frames it shows meanwhile are measured by scripts/measure-phones.)
    for thread in during(6, reconnect):
        thread.join()
    # Idle sockets of one host: a phone of another loads its page, connects,
    # and its first press reaches the game (whose lobby shows the join) within a second.
    threads = during(6, hold)
    time.sleep(1)
    page = request(b"GET / HTTP/1.1\r\nHost: x\r\n\r\n", "127.0.0.2")[0]
    (status, guest), lobby = upgrade(code, "guest0001", host="127.0.0.2"), shot()
    expect(page == 200 and status == 101, "a phone of another host was refused")
    guest.sendall(frame(b"d1"))
    wait_for(lambda: shot() != lobby, 1, "the press of a phone of another host")
    for thread in threads:
        thread.join()
    # A token that connects again closes its connection before at once.
    taken = [upgrade(code, "takeover1")[1] for _ in range(4)]
    expect(all(closed_by_server(sock, 1) for sock in taken[:3]), "a connection stayed taken over")
    # Wrong codes of one host: refused at once past 10 a second; the right code of another host
    # is not slowed.
    statuses = [upgrade(f"{i:06d}", "guesser1", host="127.0.0.3")[0] for i in range(30)]
    expect(statuses.count(403) <= 11 and statuses[-1] == 429, f"30 wrong codes: {statuses}")
    expect(upgrade(code, "another1", host="127.0.0.2")[0] == 101, "the right code refused")
    expect(upgrade(code, "origin001", origin="Origin: http://x.elsewhere\r\n")[0] == 403,
           "a WebSocket of another site's page was taken")
    # The answers' headers; the page over IPv6 where it exists.
    headers = urllib.request.urlopen(local, timeout=5).headers
    expect(headers["X-Content-Type-Options"] == "nosniff" and headers["Referrer-Policy"] ==
           "no-referrer" and "frame-ancestors 'none'" in headers["Content-Security-Policy"] and (
               not os.path.exists("/proc/net/if_inet6") or urllib.request.urlopen(
                   f"http://[::1]:{port}/", timeout=5).status == 200), f"headers: {headers}")
    expect(game.poll() is None, f"the game ended with {game.poll()}")


command = os.path.realpath(sys.argv[1])
try:
    start(command)
    abuse(command) if sys.argv[2:] == ["--abuse"] else session()
    end()
finally:
    for process in (game, xvfb):
        if process and process.poll() is None:
            process.kill()
print("phones end to end" + (" under abuse" if sys.argv[2:] else "") + ": passed")

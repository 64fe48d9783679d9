"""What tests/phones.py drives the game with: a private X server and the real twinrun with
phones, screenshots read as RGB, and raw sockets that speak HTTP and WebSocket frames
(masked, as a browser's are) to send the server what no browser would."""
import os
import re
import select
import socket
import subprocess
import sys
import tempfile
import time

WIDTH, HEIGHT = 1024, 768
RED, BLACK, WHITE = (255, 0, 0), (0, 0, 0), (255, 255, 255)


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(check, within, what):
    """Polls check until it holds, for up to within seconds; fails naming what, or with no
    name gives False."""
    deadline = time.monotonic() + within
    while True:
        if check():
            return True
        if time.monotonic() > deadline:
            if what is None:
                return False
            fail("waited in vain for " + what)
        time.sleep(0.05)


class Game:
    """Xvfb and twinrun --phones on a free port, its stdout's address read."""

    def __init__(self, command):
        self.tmp = tempfile.mkdtemp()
        with open(os.path.join(self.tmp, "silent.conf"), "w") as conf:
            conf.write("drivers = null\n")
        number, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", f"{WIDTH}x{HEIGHT}x24",
             "-nolisten", "tcp", "-noreset"], pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        self.env = dict(os.environ, DISPLAY=":" + os.read(number, 16).decode().split()[0],
                        ALSOFT_CONF=os.path.join(self.tmp, "silent.conf"))
        self.err = open(os.path.join(self.tmp, "err"), "w+")
        self.command = os.path.realpath(command)
        self.process = subprocess.Popen([self.command, "--phones", "--phones-port", "0"],
                                        env=self.env, stdout=subprocess.PIPE,
                                        stderr=self.err)
        ready, _, _ = select.select([self.process.stdout], [], [], 30)
        line = self.process.stdout.readline().decode() if ready else ""
        found = re.fullmatch(r"twinrun: phones join at (http://([\d.]+):(\d+)/#([A-Z0-9]{6}))\n",
                             line)
        if not found:
            fail(f"no address on stdout: {line!r}")
        self.url, address, port, self.code = found.groups()
        self.port = int(port)
        self.loopback_url = self.url.replace(address, "127.0.0.1", 1)
        wait_for(lambda: count(self.shot(), (0, 0, 100, 100), WHITE) == 10000, 20, "the lobby")

    def shot(self):
        """The screen as RGB bytes, row after row."""
        return subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                              env=self.env, capture_output=True, check=True).stdout

    def keys(self, *names):
        subprocess.run(["xdotool", "key", "--delay", "100", *names], env=self.env, check=True)

    def end(self):
        """Escape until the game ends (a match first, then the lobby); status 0, and no
        sanitizer's report."""
        for _ in range(6):
            self.keys("Escape")
            try:
                status = self.process.wait(3)
                break
            except subprocess.TimeoutExpired:
                continue
        else:
            fail("Escape did not end the game")
        self.err.seek(0)
        errors = self.err.read()
        if status != 0 or re.search("AddressSanitizer|LeakSanitizer|runtime error:", errors):
            fail(f"the game ended with {status}: {errors[-2000:]}")

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
        self.xvfb.kill()


def png(shot):
    return subprocess.run(["convert", "-size", f"{WIDTH}x{HEIGHT}", "-depth", "8", "rgb:-",
                           "png:-"], input=shot, capture_output=True, check=True).stdout


def pixels(shot, area):
    left, top, right, bottom = area
    for y in range(top, bottom):
        row = shot[(y * WIDTH + left) * 3:(y * WIDTH + right) * 3]
        for x in range(right - left):
            yield left + x, y, tuple(row[3 * x:3 * x + 3])


def count(shot, area, colour):
    return sum(1 for _, _, c in pixels(shot, area) if c == colour)


def top_of(shot, colour, area=(0, 0, WIDTH, HEIGHT - 41)):
    """The first row in the area with a pixel of that colour; the area's bottom when none."""
    left, top, right, bottom = area
    pattern = bytes(colour)
    for y in range(top, bottom):
        row = shot[(y * WIDTH + left) * 3:(y * WIDTH + right) * 3]
        at = row.find(pattern)
        while at != -1 and at % 3:
            at = row.find(pattern, at + 1)
        if at != -1:
            return y
    return bottom


def figure_colours(shot, players):
    """The lobby's figures of that many players (up to four, in a row): black, red, faded
    (red at a third of its strength on white) or empty."""
    colours = []
    for p in range(players):
        x = round((p + 1) * WIDTH / (players + 1))
        seen = [c for _, _, c in pixels(shot, (x - 50, HEIGHT // 2 - 50, x + 50, HEIGHT // 2 + 50))]
        faded = sum(1 for c in seen if c[0] == 255 and 140 <= c[1] == c[2] <= 200)
        colours.append("black" if seen.count(BLACK) > 1000 else "red" if seen.count(RED) > 1000
                       else "faded" if faded > 1000 else "")
    return colours


def in_match(shot):
    """The ground along the bottom: no white in its 40 rows, and sky above them."""
    return (count(shot, (0, HEIGHT - 40, WIDTH, HEIGHT), WHITE) == 0 and
            count(shot, (0, HEIGHT - 41, WIDTH, HEIGHT - 40), WHITE) > WIDTH - 120)


def connect(host, port):
    return socket.create_connection((host, port), timeout=10)


def upgrade(host, port, code, token, wait=True):
    """A WebSocket handshake with the code and token; its status (when wait) and socket."""
    sock = connect(host, port)
    sock.sendall((f"GET /phone?code={code}&token={token} HTTP/1.1\r\nHost: {host}\r\n"
                  "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
                  "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n\r\n").encode())
    return (status_of(sock), sock) if wait else sock


def status_of(sock):
    """The status of the answer's head, read up to its blank line; 0 when it closed first."""
    head = b""
    while b"\r\n\r\n" not in head:
        chunk = sock.recv(1)
        if not chunk:
            return 0
        head += chunk
    return int(head.split()[1])


def exchange(host, port, raw):
    """Sends raw bytes and gives whatever comes back before the server closes."""
    sock = connect(host, port)
    try:
        sock.sendall(raw)
    except OSError:
        return b""
    answer = b""
    try:
        while chunk := sock.recv(4096):
            answer += chunk
    except OSError:
        pass  # reset: closed with the request unread
    sock.close()
    return answer


def frame(payload, opcode=1):
    """A masked WebSocket frame of a short payload."""
    mask = os.urandom(4)
    return (bytes([0x80 | opcode, 0x80 | len(payload)]) + mask +
            bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))


def closed_by_server(sock, within=8):
    """Whether the server closes the connection (a close frame, then the end) within time."""
    sock.settimeout(within)
    try:
        while sock.recv(4096):
            pass
        return True
    except (socket.timeout, TimeoutError):
        return False
    except OSError:
        return True

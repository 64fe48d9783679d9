// The page a phone loads to be a controller: four buttons side by side, pressed by touch or
// mouse, each press and release sent at once over a WebSocket with the code from the address;
// it shows whether it is connected, connects again by itself, and keeps its token.
#include "core/phoneserver.hpp"

const char* const phonePage = R"page(<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1, user-scalable=no">
<title>Twinrun controller</title>
<style>
html, body { margin: 0; height: 100%; background: #fff; font-family: sans-serif;
  touch-action: none; user-select: none; -webkit-user-select: none;
  -webkit-touch-callout: none; overscroll-behavior: none; }
body { display: flex; flex-direction: column; }
#state { padding: 0.6em; text-align: center; font-size: 1.1em; color: #fff; background: #a33; }
#state.connected { background: #282; }
#pad { flex: 1; display: flex; gap: 2vw; padding: 2vw; }
button { flex: 1; border: 0; border-radius: 3vw; background: #333; color: #fff;
  font-size: 10vw; touch-action: none; -webkit-tap-highlight-color: transparent; }
button.held { background: #e70; }
</style>
</head>
<body>
<div id="state">Connecting…</div>
<div id="pad">
<button data-button="0">1</button><button data-button="1">2</button><button
 data-button="2">3</button><button data-button="3">4</button>
</div>
<script>
"use strict";
const code = location.hash.slice(1);
const state = document.getElementById("state");
// The phone's token: the game knows the phone by it when it comes back.
let token = localStorage.getItem("twinrun-token") || "";
if (!/^[A-Za-z0-9]{8,32}$/.test(token)) {
  const bytes = crypto.getRandomValues(new Uint8Array(16));
  token = Array.from(bytes, (b) => (b % 36).toString(36)).join("");
  localStorage.setItem("twinrun-token", token);
}
let socket = null;
let failures = 0;
const held = new Set();

function show(text, connected) {
  state.textContent = text;
  state.className = connected ? "connected" : "";
}

function send(message) {
  if (socket && socket.readyState === WebSocket.OPEN) socket.send(message);
}

function letGoAll() {
  for (const button of document.querySelectorAll("button.held")) {
    button.classList.remove("held");
  }
  held.clear();
}

function connect() {
  if (socket) return;
  if (!/^[A-Za-z0-9]{6}$/.test(code)) {
    show("This address has no game code: scan the game's QR code again", false);
    return;
  }
  const scheme = location.protocol === "https:" ? "wss://" : "ws://";
  socket = new WebSocket(scheme + location.host + "/phone?code=" + code + "&token=" + token);
  socket.onopen = () => {
    failures = 0;
    show("Connected: press a button to join", true);
  };
  socket.onclose = () => {
    socket = null;
    letGoAll();
    failures += 1;
    show(failures > 3
      ? "Not connected: is this phone on the game's network? Trying again…"
      : "Not connected, trying again…", false);
    setTimeout(connect, Math.min(5000, 250 * 2 ** failures));
  };
}

for (const button of document.querySelectorAll("button")) {
  const number = button.dataset.button;
  button.addEventListener("pointerdown", (e) => {
    e.preventDefault();
    button.setPointerCapture(e.pointerId);
    if (held.has(number)) return;
    held.add(number);
    button.classList.add("held");
    send("d" + number);
  });
  const release = () => {
    if (!held.has(number)) return;
    held.delete(number);
    button.classList.remove("held");
    send("u" + number);
  };
  button.addEventListener("pointerup", release);
  button.addEventListener("pointercancel", release);
  button.addEventListener("contextmenu", (e) => e.preventDefault());
}
// A page put away lets go of its buttons; one brought back connects at once.
document.addEventListener("visibilitychange", () => {
  if (document.hidden) {
    for (const number of Array.from(held)) send("u" + number);
    letGoAll();
  } else {
    connect();
  }
});
window.addEventListener("online", connect);
connect();
</script>
</body>
</html>
)page";

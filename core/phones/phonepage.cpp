// The page a phone loads to be a controller: JUMP, DOWN, LEFT and RIGHT, each finger's press and
// release sent at once over a WebSocket with the code from the address; the page takes its
// player's colour and says what to do, buzzes at a match's start, a stun and going out, keeps
// the screen on where it may, connects again by itself, and keeps its token.
#include "core/phones/phoneserver.hpp"

const char* const phonePage = R"page(<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport"
 content="width=device-width, initial-scale=1, maximum-scale=1, user-scalable=no, viewport-fit=cover">
<meta name="theme-color" content="#333333">
<title>Twinrun controller</title>
<style>
html, body { margin: 0; height: 100%; overflow: hidden; touch-action: none; user-select: none;
  -webkit-user-select: none; -webkit-touch-callout: none; overscroll-behavior: none; }
body { display: flex; flex-direction: column; background: #333; color: #fff;
  font-family: system-ui, sans-serif; }
body.light { color: #111; }
#state { padding: 0.5em; text-align: center; font-size: 4vmin; background: #a33; color: #fff; }
#state.connected { display: none; }
#info { padding: 2vmin; text-align: center; }
#who { font-size: 8vmin; font-weight: bold; min-height: 1.2em; }
#line { font-size: 6vmin; }
#hint { font-size: 4vmin; min-height: 1.3em; opacity: 0.8; }
#pad { flex: 1; display: grid; gap: 3vmin; padding: 0 3vmin 3vmin;
  grid-template: "jump down" 1fr "left right" 1fr / 1fr 1fr; }
@media (orientation: landscape) {
  #pad { grid-template: "left right jump" 1fr "left right down" 1fr / 1fr 1fr 1.5fr; }
}
button { display: flex; flex-direction: column; align-items: center; justify-content: center;
  border: 0; border-radius: 4vmin; padding: 0; background: rgba(255, 255, 255, 0.2);
  color: inherit; font: bold 5vmin system-ui, sans-serif; touch-action: none;
  user-select: none; -webkit-user-select: none; -webkit-tap-highlight-color: transparent; }
button b { font-size: 10vmin; line-height: 1.1; }
body.light button { background: rgba(0, 0, 0, 0.15); }
button.held { background: rgba(255, 255, 255, 0.5); }
body.light button.held { background: rgba(0, 0, 0, 0.4); }
[data-button="0"] { grid-area: jump; }
[data-button="1"] { grid-area: down; }
[data-button="2"] { grid-area: left; }
[data-button="3"] { grid-area: right; }
</style>
</head>
<body>
<div id="state">Connecting…</div>
<div id="info"><div id="who"></div><div id="line">Press any button to join</div>
<div id="hint"></div></div>
<div id="pad">
<button data-button="0"><b>&#x25B2;&#xFE0E;</b>JUMP</button>
<button data-button="1"><b>&#x25BC;&#xFE0E;</b>DOWN</button>
<button data-button="2"><b>&#x25C0;&#xFE0E;</b>LEFT</button>
<button data-button="3"><b>&#x25B6;&#xFE0E;</b>RIGHT</button>
</div>
<script>
"use strict";
const code = location.hash.slice(1);
const state = document.getElementById("state");
const who = document.getElementById("who");
const line = document.getElementById("line");
const hint = document.getElementById("hint");
// The phone's token: the game knows the phone by it when it comes back.
let token = localStorage.getItem("twinrun-token") || "";
if (!/^[A-Za-z0-9]{8,32}$/.test(token)) {
  const bytes = crypto.getRandomValues(new Uint8Array(16));
  token = Array.from(bytes, (b) => (b % 36).toString(36)).join("");
  localStorage.setItem("twinrun-token", token);
}
let socket = null;
let failures = 0;
// The player's state as the game last told it, the screen's wake lock, and whether full screen
// was asked for.
let standing = null;
let wakeLock = null;
let fullScreenAsked = false;
// The buttons held, and which button each finger (pointer) holds.
const held = new Set();
const fingers = new Map();
const ready = "Press JUMP when you're ready";
// What the page says for each state the game tells: the line, and a hint below it.
const says = {
  notjoined: ["Press any button to join", ""],
  joined: [ready, ""],
  notready: [ready, ""],
  ready: ["Ready: waiting for the others", "DOWN takes it back"],
  running: ["Run!", ""],
  stunned: ["Run!", "Stunned"],
  out: ["Out: wait for the next match", ""],
  won: ["You won!", ready],
  lobby: ["Out", ready],
};

function show(text, connected) {
  state.textContent = text;
  state.className = connected ? "connected" : "";
}

function buzz(pattern) {
  if (navigator.vibrate) navigator.vibrate(pattern);
}

// A state from the game, "ready 2 #ff0000": the page takes the player's colour (light text on
// a dark colour) and says what to do; it buzzes when a match starts, at a stun and when out.
function told(message) {
  const [name, number, colour] = message.split(" ");
  if (!(name in says)) return;
  const before = standing;
  standing = name;
  const joined = name !== "notjoined";
  who.textContent = joined ? "Player " + number : "";
  [line.textContent, hint.textContent] = says[name];
  document.body.style.backgroundColor = joined ? colour : "";
  const rgb = parseInt(colour.slice(1), 16);
  const brightness = 0.299 * (rgb >> 16) + 0.587 * ((rgb >> 8) & 255) + 0.114 * (rgb & 255);
  document.body.classList.toggle("light", joined && brightness > 150);
  if (before === null || before === name) return;
  if (name === "stunned") buzz(80);
  if (name === "out") buzz(500);
  if (name === "running" && before !== "stunned") buzz(150);
}

// Keeps the screen on while connected, where the browser offers it (secure pages only, in
// most browsers); a hidden page loses the lock and asks again when it is shown.
async function keepAwake() {
  if (wakeLock || !navigator.wakeLock || document.hidden || !socket) return;
  wakeLock = "asking";
  try {
    wakeLock = await navigator.wakeLock.request("screen");
    wakeLock.addEventListener("release", () => { wakeLock = null; });
  } catch (e) {
    wakeLock = null;
  }
}

function askFullScreen() {
  if (fullScreenAsked) return;
  fullScreenAsked = true;
  const root = document.documentElement;
  const ask = root.requestFullscreen || root.webkitRequestFullscreen;
  if (!ask || document.fullscreenElement) return;
  try {
    const asked = ask.call(root, { navigationUI: "hide" });
    if (asked && asked.catch) asked.catch(() => {});
  } catch (e) {
    // Refused: the page plays on as it is.
  }
}

function send(message) {
  if (socket && socket.readyState === WebSocket.OPEN) socket.send(message);
}

function buttonOf(number) {
  return document.querySelector('button[data-button="' + number + '"]');
}

function letGoAll() {
  for (const number of held) buttonOf(number).classList.remove("held");
  held.clear();
  fingers.clear();
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
    show("Connected", true);
    keepAwake();
  };
  socket.onmessage = (e) => told(String(e.data));
  socket.onclose = () => {
    socket = null;
    letGoAll();
    if (wakeLock && wakeLock.release) wakeLock.release();
    failures += 1;
    show(failures > 3
      ? "Not connected: is this phone on the game's network? Trying again…"
      : "Not connected, trying again…", false);
    setTimeout(connect, Math.min(5000, 250 * 2 ** failures));
  };
}

// Each finger on a button holds it: a button goes down with its first finger and up with its
// last, and fingers on different buttons press them at once.
for (const button of document.querySelectorAll("button")) {
  const number = button.dataset.button;
  button.addEventListener("pointerdown", (e) => {
    e.preventDefault();
    askFullScreen();
    button.setPointerCapture(e.pointerId);
    fingers.set(e.pointerId, number);
    if (held.has(number)) return;
    held.add(number);
    button.classList.add("held");
    send("d" + number);
  });
  const release = (e) => {
    if (fingers.get(e.pointerId) !== number) return;
    fingers.delete(e.pointerId);
    if ([...fingers.values()].includes(number) || !held.delete(number)) return;
    button.classList.remove("held");
    send("u" + number);
  };
  button.addEventListener("pointerup", release);
  button.addEventListener("pointercancel", release);
  button.addEventListener("contextmenu", (e) => e.preventDefault());
}
// No zoom or scroll by any gesture.
for (const name of ["dblclick", "gesturestart", "touchmove"]) {
  document.addEventListener(name, (e) => e.preventDefault(), { passive: false });
}
// A page put away lets go of its buttons; one brought back connects at once.
document.addEventListener("visibilitychange", () => {
  if (document.hidden) {
    for (const number of held) send("u" + number);
    letGoAll();
  } else {
    connect();
    keepAwake();
  }
});
window.addEventListener("online", connect);
connect();
</script>
</body>
</html>
)page";

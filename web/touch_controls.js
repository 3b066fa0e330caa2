// Touch play on the page. Each finger on the game's canvas is handed to the game, which
// takes taps on its screens and shows a round's touch controls while the player plays by
// touch: from the start on a device with a touch screen, and again at every touch, until
// a key or a pad button is pressed. A phone held upright meanwhile shows a hint to turn it.
"use strict";

(() => {
  // The game's touch events, and the fingers it reads.
  const kDown = 7, kUp = 8, kMove = 9;
  const kFingers = 10;
  const fingers = new Array(kFingers).fill(null);  // each finger's touch identifier

  const style = document.createElement("style");
  style.textContent = `
    canvas { touch-action: none; }
    #turn { position: fixed; left: 50%; top: 30%; transform: translate(-50%, -50%);
            width: max-content; max-width: 85vw; padding: 0.8em 1.2em; border-radius: 0.6em;
            background: rgba(0, 0, 0, 0.75); font-size: 1.2em; text-align: center;
            pointer-events: none; display: none; }
    #turn span { display: inline-block; font-size: 2em; line-height: 1; }
    @media (orientation: portrait) { body.touch-play #turn { display: block; } }`;
  document.head.append(style);
  const hint = document.createElement("div");
  hint.id = "turn";
  hint.innerHTML = "<span>&#x21bb;</span><br>Turn your phone<br>sideways to play";
  document.body.append(hint);

  function setTouchPlay(on) {
    if (Module.touchPlay === on) return;
    Module.touchPlay = on;
    document.body.classList.toggle("touch-play", on);
    if (on) requestAnimationFrame(watchPads);
  }

  // A pad button ends touch play; pads are looked at only while it lasts.
  function watchPads() {
    if (!Module.touchPlay) return;
    const pads = navigator.getGamepads ? navigator.getGamepads() : [];
    const pressed = Array.from(pads).some((pad) => pad && pad.buttons.some((b) => b.pressed));
    if (pressed) setTouchPlay(false); else requestAnimationFrame(watchPads);
  }

  // The game reads positions in the canvas's own pixels, which need not be the page's.
  function hand(kind, touch) {
    const canvas = Module.canvas, box = canvas.getBoundingClientRect();
    let finger = fingers.indexOf(touch.identifier);
    if (finger < 0 && kind === kDown) finger = fingers.indexOf(null);
    if (finger < 0) return;
    fingers[finger] = kind === kUp ? null : touch.identifier;
    const x = (touch.clientX - box.left) * canvas.width / box.width;
    const y = (touch.clientY - box.top) * canvas.height / box.height;
    Module._QvPageTouch(kind, finger, x, y);
  }

  // Touches on the canvas go to the game alone: the browser neither scrolls nor zooms
  // for them nor makes mouse clicks of them, and emscripten's GLFW, which would read them
  // all as one mouse button, never sees them.
  function onTouch(kind) {
    return (event) => {
      if (kind === kDown) setTouchPlay(true);
      if (event.target !== Module.canvas || !Module.calledRun) return;
      event.preventDefault();
      event.stopPropagation();
      for (const touch of event.changedTouches) hand(kind, touch);
    };
  }
  const options = { capture: true, passive: false };
  window.addEventListener("touchstart", onTouch(kDown), options);
  window.addEventListener("touchmove", onTouch(kMove), options);
  window.addEventListener("touchend", onTouch(kUp), options);
  window.addEventListener("touchcancel", onTouch(kUp), options);
  window.addEventListener("keydown", () => setTouchPlay(false), true);

  Module.touchPlay = null;
  setTouchPlay(navigator.maxTouchPoints > 0);
})();

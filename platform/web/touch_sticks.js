// Touch twin sticks for phones and tablets. A thumb on the left half of the
// canvas is the left stick, one on the right half the right stick; each stick
// is centred where its thumb lands. The game reads them as its controller
// (touch_sticks.cpp calls sample once a poll for the gamepad's device), so
// they walk, aim and fire exactly as a gamepad's sticks do. Every new touch
// is also a press of the first button, which starts a game on the title.
//
// The page also keeps the browser's own gestures off the game here, goes full
// screen and sideways on the first tap, and tells the player to turn a device
// held upright, when touches are ignored and the game stays on the title.
(function () {
  "use strict";
  var canvas = document.getElementById("canvas");
  var hint = document.getElementById("turn-sideways");

  // Browsers do not tell a screen's physical size; on phones and tablets a CSS
  // pixel is about 1/160 inch (Android's dp, Apple's point), so 1.2 cm of
  // thumb travel is about 76 of them. The dead zone keeps a resting thumb still.
  var fullDeflection = 1.2 / 2.54 * 160;
  var deadZone = 0.12;  // of the full deflection

  // Deflection (dx, dy) in CSS pixels as stick axes in -1..1, down positive,
  // the direction kept and the travel past the dead zone stretched to 1.
  function stickAxes(dx, dy) {
    var distance = Math.sqrt(dx * dx + dy * dy);
    var travel = distance / fullDeflection;
    if (travel <= deadZone) return [0, 0];
    var strength = Math.min(1, (travel - deadZone) / (1 - deadZone));
    return [dx / distance * strength, dy / distance * strength];
  }

  function makeStick(side) {
    var ring = document.createElement("div");
    ring.className = "stick-ring";
    ring.dataset.side = side;
    ring.style.width = ring.style.height = 2 * fullDeflection + "px";
    var knob = document.createElement("div");
    knob.className = "stick-knob";
    ring.appendChild(knob);
    document.body.appendChild(ring);
    return { touch: null, x0: 0, y0: 0, axes: [0, 0], ring: ring, knob: knob };
  }
  var sticks = [makeStick("left"), makeStick("right")];

  var used = false;          // a touch has come: the sticks are a controller from now on
  var read = false;          // the game has read the sticks once, which attached them
  var pressPending = false;  // a new touch's press of the first button, until a frame has seen it
  var pressClearing = false;

  function upright() { return window.matchMedia("(orientation: portrait)").matches; }
  // Only a touch screen held upright gets the hint: a narrow desktop window
  // still plays with the mouse.
  function touchScreen() { return used || window.matchMedia("(pointer: coarse)").matches; }
  function showHint() { hint.style.display = touchScreen() && upright() ? "" : "none"; }

  function place(stick, x, y) {
    var axes = stickAxes(x - stick.x0, y - stick.y0);
    stick.axes = axes;
    stick.ring.style.left = stick.x0 - fullDeflection + "px";
    stick.ring.style.top = stick.y0 - fullDeflection + "px";
    stick.knob.style.transform = "translate(" + axes[0] * fullDeflection + "px," + axes[1] * fullDeflection + "px)";
  }

  function release(stick) {
    stick.touch = null;
    stick.axes = [0, 0];
    stick.ring.style.display = "none";
  }

  function stickOf(identifier) {
    for (var i = 0; i < sticks.length; ++i)
      if (sticks[i].touch === identifier) return sticks[i];
    return null;
  }

  function inside(touch, rect) {
    return touch.clientX >= rect.left && touch.clientX < rect.right && touch.clientY >= rect.top &&
           touch.clientY < rect.bottom;
  }

  // Browsers enter full screen and lock the orientation only on a gesture; a
  // lifted finger is one. The lock works only in full screen, and only where
  // the browser allows it.
  function goFullScreenSideways() {
    enterFullScreen().then(function (entered) {
      if (entered && screen.orientation && screen.orientation.lock)
        return screen.orientation.lock("landscape").catch(function () {});
    });
  }

  // Handled touches are kept from the browser: no scrolling or zooming, and
  // no mouse events made up from them, which would switch the game to
  // mouse aiming.
  canvas.addEventListener("touchstart", function (event) {
    event.preventDefault();
    used = true;
    document.body.classList.add("touched");  // the Full screen button goes: a tap does that
    showHint();
    if (upright()) return;
    var rect = canvas.getBoundingClientRect();
    for (var i = 0; i < event.changedTouches.length; ++i) {
      var touch = event.changedTouches[i];
      pressPending = true;
      var stick = sticks[touch.clientX < rect.left + rect.width / 2 ? 0 : 1];
      if (stick.touch !== null) continue;  // that half has its thumb already
      stick.touch = touch.identifier;
      stick.x0 = touch.clientX;
      stick.y0 = touch.clientY;
      place(stick, touch.clientX, touch.clientY);
      stick.ring.style.display = "block";
    }
  }, { passive: false });

  canvas.addEventListener("touchmove", function (event) {
    event.preventDefault();
    var rect = canvas.getBoundingClientRect();
    for (var i = 0; i < event.changedTouches.length; ++i) {
      var touch = event.changedTouches[i], stick = stickOf(touch.identifier);
      if (!stick) continue;
      if (inside(touch, rect)) place(stick, touch.clientX, touch.clientY);
      else release(stick);  // a thumb that slides off the canvas lets go
    }
  }, { passive: false });

  function onEnd(event) {
    event.preventDefault();
    for (var i = 0; i < event.changedTouches.length; ++i) {
      var stick = stickOf(event.changedTouches[i].identifier);
      if (stick) release(stick);
    }
    if (event.type === "touchend") goFullScreenSideways();
  }
  canvas.addEventListener("touchend", onEnd, { passive: false });
  canvas.addEventListener("touchcancel", onEnd, { passive: false });

  // A page that is hidden or turned upright hears no more of its touches.
  function releaseAll() { sticks.forEach(release); }
  document.addEventListener("visibilitychange", function () { if (document.hidden) releaseAll(); });
  window.addEventListener("blur", releaseAll);
  window.matchMedia("(orientation: portrait)").addEventListener("change", function () {
    if (upright()) { releaseAll(); pressPending = false; }
    showHint();
  });
  showHint();

  // The controller's reading: writes left x, left y, right x, right y (-1..1)
  // and the first button (0 or 1) at values[offset..offset + 4]; 0 until the
  // page has been touched. A press is held until the game's code has run to
  // its next wait, which the microtask marks: every poll before that, and the
  // frame after them, see it, however quickly the finger was lifted. The very
  // first reading only attaches the controller (the game acquires it then and
  // reads it from its next poll on), so the first touch's press waits for the
  // run after that one.
  function sample(values, offset) {
    if (!used) return 0;
    values[offset] = sticks[0].axes[0];
    values[offset + 1] = sticks[0].axes[1];
    values[offset + 2] = sticks[1].axes[0];
    values[offset + 3] = sticks[1].axes[1];
    values[offset + 4] = pressPending ? 1 : 0;
    var attaching = !read;
    read = true;
    if (pressPending && !pressClearing && !attaching) {
      pressClearing = true;
      queueMicrotask(function () { pressPending = false; pressClearing = false; });
    }
    return 1;
  }

  window.quillfrostTouch = { sample: sample, stickAxes: stickAxes, fullDeflection: fullDeflection, deadZone: deadZone };
})();

// The touch controls and the page's pause. The controls show only with
// touch: where the primary pointer is coarse, or from the first touch on.
// A held control is a key held on one more pad (sdlplat::TouchKey), so the
// rules get the same key-downs, repeats and key-ups as from the keyboard or
// a gamepad; several may be held at once, and a finger sliding from one
// control to another lets go of the first. Escape asks first, since it ends
// the game. The page pauses on P (in the game), on its button, in a hidden
// tab or a window without the focus; only P, the button or a tap on the
// picture resumes.
'use strict';

(function () {
  const page = (window.ruzovPage = window.ruzovPage || {});
  const status = (window.ruzov = window.ruzov || {});
  const $ = (id) => document.getElementById(id);

  // sdlplat::TouchKey
  const kKeys = { left: 0, up: 1, right: 2, down: 3, fire: 4, space: 5, enter: 6, escape: 7 };

  // ----------------------------------------------------- only with touch
  function useTouch() {
    if (status.touch) return;
    status.touch = true;
    document.body.classList.add('touch');
    page.layout();
  }
  status.touch = false;
  window.addEventListener('touchstart', useTouch, { capture: true, passive: true });
  window.addEventListener('pointerdown', (e) => e.pointerType === 'touch' && useTouch(), { capture: true });
  if (window.matchMedia('(pointer: coarse)').matches) useTouch();
  // Safari zooms on a pinch whatever the viewport says.
  document.addEventListener('gesturestart', (e) => e.preventDefault());

  // ------------------------------------------------------- held controls
  const fingers = new Map(); // pointer -> the control under it
  const holders = new Map(); // control -> how many pointers hold it
  status.held = [];

  function send(key, held) {
    if (page.game && status.state === 'running') {
      page.game._RuzovTouch(kKeys[key], held ? 1 : 0);
      page.kick();
    }
  }

  function hold(control) {
    const n = holders.get(control) || 0;
    holders.set(control, n + 1);
    if (n > 0) return;
    control.classList.add('held');
    status.held = [...holders.keys()].map((c) => c.dataset.key);
    send(control.dataset.key, true);
  }

  function letGo(control) {
    const n = holders.get(control) || 0;
    if (n > 1) return holders.set(control, n - 1);
    holders.delete(control);
    control.classList.remove('held');
    status.held = [...holders.keys()].map((c) => c.dataset.key);
    send(control.dataset.key, false);
  }

  function follow(event) {
    const under = document.elementFromPoint(event.clientX, event.clientY);
    const control = under && under.closest('[data-key]');
    const before = fingers.get(event.pointerId);
    if (control === before) return;
    if (control) fingers.set(event.pointerId, control);
    else fingers.delete(event.pointerId);
    // Let go first: a key-up drops the arrows, the key-down after it counts.
    if (before) letGo(before);
    if (control) hold(control);
  }

  function lift(event) {
    const before = fingers.get(event.pointerId);
    if (!before) return;
    fingers.delete(event.pointerId);
    letGo(before);
  }

  function letGoOfAll() {
    for (const id of [...fingers.keys()]) lift({ pointerId: id });
  }

  for (const group of document.querySelectorAll('.controls')) {
    group.addEventListener('pointerdown', (event) => {
      event.preventDefault(); // no focus, no mouse events made up from the touch
      if (event.target.closest('[data-key]')) follow(event);
    });
    group.addEventListener('contextmenu', (event) => event.preventDefault());
  }
  document.addEventListener('pointermove', (event) => fingers.has(event.pointerId) && follow(event));
  document.addEventListener('pointerup', lift);
  document.addEventListener('pointercancel', lift);

  // ------------------------------------------------------------- pause
  const pauseButton = $('pause');

  page.showPaused = function (paused) {
    status.paused = paused;
    pauseButton.classList.toggle('on', paused);
    pauseButton.textContent = paused ? 'Resume' : 'Pause';
  };

  page.pause = function (paused) {
    if (!page.game || status.state !== 'running' || paused === status.paused) return;
    page.game._RuzovSetPaused(paused ? 1 : 0);
    page.showPaused(paused);
    page.kick();
  };

  pauseButton.addEventListener('click', () => page.pause(!status.paused));
  $('canvas').addEventListener('pointerdown', () => status.paused && asking.classList.contains('hidden') && page.pause(false));
  document.addEventListener('visibilitychange', () => {
    if (!document.hidden) return;
    letGoOfAll();
    page.pause(true);
  });
  window.addEventListener('blur', () => {
    letGoOfAll();
    page.pause(true);
  });

  // ----------------------------------------------- Escape, asked first
  const asking = $('ask');
  let pausedBeforeAsking = false;

  $('escape').addEventListener('click', () => {
    if (status.state !== 'running') return;
    pausedBeforeAsking = status.paused;
    page.pause(true);
    asking.classList.remove('hidden');
  });
  $('end').addEventListener('click', () => {
    asking.classList.add('hidden');
    send('escape', true); // reaches the rules even while paused, as on a keyboard
    send('escape', false);
  });
  $('stay').addEventListener('click', () => {
    asking.classList.add('hidden');
    if (!pausedBeforeAsking) page.pause(false);
  });
})();

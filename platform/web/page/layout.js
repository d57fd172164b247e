// Where the picture and the controls go. The 4:3 picture takes the room the
// controls leave: between them in landscape, above them in portrait, the
// whole page (but the credits' line) without touch. A whole multiple of
// 640 x 480 in device pixels keeps every game pixel square and sharp, and is
// taken when it gives up at most a tenth of the size; otherwise the picture
// fills the room, still pixel by pixel, and is smoothed only below 1x.
'use strict';

(function () {
  const page = (window.ruzovPage = window.ruzovPage || {});
  const $ = (id) => document.getElementById(id);
  const canvas = $('canvas');
  const overlay = $('overlay');
  const steer = $('steer');
  const act = $('act');
  const strip = $('strip');

  const kStrip = 24; // the credits' line
  const kGap = 8; // between two buttons
  const kMargin = 8; // around a group of buttons
  const kMinButton = 48; // a thumb's width
  const kMaxButton = 88;

  const clamp = (v, lo, hi) => Math.max(lo, Math.min(hi, v));
  // Steering is 3 x 3 buttons; the other group 2 wide and 3.5 high.
  const steerSize = (b) => ({ w: 3 * b + 2 * kGap, h: 3 * b + 2 * kGap });
  const actSize = (b) => ({ w: 2 * b + kGap, h: 3.5 * b + 2 * kGap });

  // Rounded to device pixels, so a whole multiple lands on whole pixels.
  function place(element, box) {
    const ratio = window.devicePixelRatio || 1;
    const snap = (v) => Math.round(v * ratio) / ratio;
    element.style.left = snap(box.x) + 'px';
    element.style.top = snap(box.y) + 'px';
    element.style.width = snap(box.w) + 'px';
    element.style.height = snap(box.h) + 'px';
  }

  // The picture's size in CSS pixels within w x h.
  function pictureIn(w, h) {
    const ratio = window.devicePixelRatio || 1;
    const fits = Math.min((w * ratio) / 640, (h * ratio) / 480);
    const whole = Math.floor(fits);
    const scale = whole >= 1 && whole >= 0.9 * fits ? whole : fits;
    return { w: Math.floor(640 * scale) / ratio, h: Math.floor(480 * scale) / ratio, sharp: scale >= 1 };
  }

  page.layout = function () {
    const vw = window.innerWidth;
    const vh = window.innerHeight;
    const touch = document.body.classList.contains('touch');
    let room;
    let stripBox = { x: 0, y: vh - kStrip, w: vw, h: kStrip };
    let narrow = false;
    if (!touch) {
      room = { x: 0, y: 0, w: vw, h: vh - kStrip };
    } else if (vw > vh) {
      // Landscape: the picture keeps the full height if the buttons allow;
      // the credits' line, folded, goes under the arrows.
      const folded = 3 * kStrip;
      const byWidth = Math.floor((vw - (vh * 4) / 3 - 3 * kGap - 4 * kMargin) / 5);
      const byHeight = Math.floor((vh - 2 * kGap - 2 * kMargin - folded) / 3.5);
      const b = clamp(Math.min(byWidth, byHeight), kMinButton, kMaxButton);
      const left = steerSize(b).w + 2 * kMargin;
      const right = actSize(b).w + 2 * kMargin;
      room = { x: left, y: 0, w: Math.max(0, vw - left - right), h: vh };
      page.buttonSize = b;
      const free = vh - folded;
      placeGroup(steer, b, { x: kMargin, y: Math.max(kMargin, (free - steerSize(b).h) / 2) });
      placeGroup(act, b, { x: vw - right + kMargin, y: Math.max(kMargin, (vh - actSize(b).h) / 2) });
      stripBox = { x: 0, y: vh - folded, w: left, h: folded };
      narrow = true;
    } else {
      // Portrait: the picture on top, the buttons below it within reach.
      const b = clamp(Math.floor((vw - 3 * kGap - 4 * kMargin) / 5), kMinButton, kMaxButton);
      const below = actSize(b).h + 2 * kMargin;
      room = { x: 0, y: 0, w: vw, h: Math.max(0, vh - below - kStrip) };
      page.buttonSize = b;
      const top = vh - kStrip - below + kMargin;
      placeGroup(steer, b, { x: kMargin, y: top + (actSize(b).h - steerSize(b).h) / 2 });
      placeGroup(act, b, { x: vw - kMargin - actSize(b).w, y: top });
    }
    const picture = pictureIn(room.w, room.h);
    const box = {
      x: room.x + (room.w - picture.w) / 2,
      y: room.y + (room.h - picture.h) / 2,
      w: picture.w,
      h: picture.h,
    };
    place(canvas, box);
    place(overlay, box);
    canvas.classList.toggle('sharp', picture.sharp);
    place(strip, stripBox);
    strip.classList.toggle('narrow', narrow);
  };

  function placeGroup(group, b, at) {
    const size = group === steer ? steerSize(b) : actSize(b);
    group.style.setProperty('--size', b + 'px');
    group.style.setProperty('--gap', kGap + 'px');
    place(group, { x: at.x, y: at.y, w: size.w, h: size.h });
  }

  // Rotating, resizing, full screen: laid out again, never reloaded.
  for (const type of ['resize', 'orientationchange']) window.addEventListener(type, () => page.layout());
  document.addEventListener('fullscreenchange', () => page.layout());
  if (window.visualViewport) window.visualViewport.addEventListener('resize', () => page.layout());
})();

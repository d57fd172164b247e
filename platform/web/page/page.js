// The page around the game: the downloads before the first picture (gzipped,
// unpacked here), the game started as soon as they are in, the timer that
// drives its loop, the SoundFont that follows with the music, F12's picture,
// the service worker that keeps the page for offline play, and what the
// page says at the end. layout.js places things; controls.js has the touch
// controls and the pause; recordings.js saves and watches recordings.
'use strict';

(function () {
  const page = (window.ruzovPage = window.ruzovPage || {});
  const $ = (id) => document.getElementById(id);
  const canvas = $('canvas');
  const overlay = $('overlay');
  const message = $('message');
  const bar = $('bar');
  const again = $('again');
  const music = $('music');

  // What the tests read: the state ('loading', 'running', 'ended' or
  // 'failed'), frames run, the output peak, the renderer chosen, when the
  // first picture was shown (ms after navigation), the music ('waiting',
  // 'loading', 'on' or 'none'), whether the page is kept offline, what the
  // rules hold now (watch()), and a replay's state and, once done, the
  // recording of what was watched (replayState, replayed).
  const status = Object.assign(window.ruzov || {}, { state: 'loading', frames: 0, peak: 0, paused: false });
  status.music = 'waiting';
  status.offline = false;
  window.ruzov = status;

  function show(text) {
    message.textContent = text;
    overlay.classList.remove('hidden');
  }

  function fail(why) {
    status.state = 'failed';
    bar.classList.add('hidden');
    show('The game could not start: ' + why);
    console.error(why);
  }

  // ------------------------------------------------------------- loading
  // A file as bytes, unpacked if gzipped; `progress` hears of every piece.
  async function download(name, progress) {
    const response = await fetch(name);
    if (!response.ok) throw new Error(name + ': ' + response.status);
    const size = Number(response.headers.get('Content-Length')) || 0;
    let seen = 0;
    let body = response.body.pipeThrough(
      new TransformStream({
        transform(piece, out) {
          seen += piece.length;
          progress(seen, size);
          out.enqueue(piece);
        },
      })
    );
    if (name.endsWith('.gz')) body = body.pipeThrough(new DecompressionStream('gzip'));
    return new Response(body).arrayBuffer();
  }

  function runScript(bytes) {
    return new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = URL.createObjectURL(new Blob([bytes], { type: 'text/javascript' }));
      script.onload = resolve;
      script.onerror = () => reject(new Error('a script would not run'));
      document.head.appendChild(script);
    });
  }

  // FluidSynth is a module of its own; its script sets the global Module.
  function startSynthesizer(source) {
    return new Promise((resolve, reject) => {
      window.Module = { onRuntimeInitialized: () => resolve(window.Module) };
      runScript(source).catch(reject);
    }).then((synth) => {
      window.FluidSynth = synth;
    });
  }

  // WebGL drawn by the processor (a machine without a graphics card, or
  // Chromium without its GPU) costs more than SDL's own renderer on a 2D
  // canvas, as on the desktop; the names are those of such drivers.
  function softwareWebGl() {
    try {
      const gl = document.createElement('canvas').getContext('webgl');
      if (!gl) return false;
      const info = gl.getExtension('WEBGL_debug_renderer_info');
      const name = info ? String(gl.getParameter(info.UNMASKED_RENDERER_WEBGL)) : '';
      const lose = gl.getExtension('WEBGL_lose_context');
      if (lose) lose.loseContext();
      return /SwiftShader|llvmpipe|softpipe|Software Rasterizer/i.test(name);
    } catch (e) {
      return false;
    }
  }

  // Everything the first picture needs; the SoundFont comes after it.
  const before = ['ruzov.js.gz', 'ruzov.wasm.gz', 'ruzov.data.gz', 'fluidsynth.js.gz'];

  async function load() {
    if (!('DecompressionStream' in window)) throw new Error('this browser cannot unpack gzip (DecompressionStream)');
    const seen = {};
    const size = {};
    const progress = (name) => (have, total) => {
      seen[name] = have;
      size[name] = total;
      const all = before.reduce((sum, f) => [sum[0] + (seen[f] || 0), sum[1] + (size[f] || 0)], [0, 0]);
      bar.firstElementChild.style.width = (all[1] ? (100 * all[0]) / all[1] : 0).toFixed(1) + '%';
    };
    const [script, wasm, data, synth] = await Promise.all(before.map((f) => download(f, progress(f))));
    await startSynthesizer(synth);
    await runScript(script);
    const recording = page.takeRecording();
    page.game = await Ruzov({
      canvas: canvas,
      preRun: [
        (module) => {
          if (recording !== null) module.FS.writeFile('/replay.rec', recording);
          status.renderer = softwareWebGl() ? 'software' : 'webgl';
          if (status.renderer === 'software') module.ENV.SDL_RENDER_DRIVER = 'software';
          // A touch on the picture is no mouse click for the rules.
          module.ENV.SDL_TOUCH_MOUSE_EVENTS = '0';
        },
      ],
      wasmBinary: wasm,
      getPreloadedPackage: () => data,
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      savePicture: savePicture,
    });
    // A tab opened in the background starts when it is first seen.
    if (document.hidden) await new Promise((seen) => document.addEventListener('visibilitychange', seen, { once: true }));
    start(recording !== null ? ['--replay', '/replay.rec'] : []);
  }

  // ------------------------------------------------------------- playing
  // The game decides when a frame is due; the page only calls it soon
  // enough. A timer for the long stretch, stopped a little short, then
  // message-channel polls, which no timer clamping delays. Only the latest
  // call asked for runs, so a kick never doubles the chain.
  const poll = new MessageChannel();
  let asked = 0;
  poll.port1.onmessage = (event) => event.data === asked && step();

  function after(ms) {
    const mine = ++asked;
    if (ms > 3) setTimeout(() => mine === asked && step(), ms - 2);
    else poll.port2.postMessage(mine);
  }

  // Something for the game to take at once (a touch, the pause).
  page.kick = () => status.state === 'running' && after(0);

  function step() {
    const game = page.game;
    let wait;
    try {
      wait = game._RuzovStep();
    } catch (error) {
      return fail(error.message || String(error)); // the game stopped short (out of memory, ...)
    }
    status.frames = game._RuzovFrames();
    page.noteRecordings(game, status);
    if (wait < 0) return ended();
    if ((game._RuzovPaused() === 1) !== status.paused) page.showPaused(!status.paused);
    if (status.titleAt === undefined && status.frames > 0) firstPicture();
    after(wait);
  }

  function start(args) {
    status.state = 'running';
    overlay.classList.add('hidden');
    bar.classList.add('hidden');
    page.game.callMain(args);
    page.layout();
    step();
    setInterval(() => {
      if (status.state === 'running') status.peak = Math.max(status.peak * 0.5, page.game._RuzovOutputPeak());
    }, 250);
  }

  // The first picture is on the screen with the next paint; then the
  // SoundFont may take the line, and after it the service worker.
  function firstPicture() {
    status.titleAt = null;
    requestAnimationFrame(() => {
      status.titleAt = performance.now();
      loadMusic().finally(keepOffline);
    });
  }

  function ended() {
    status.state = 'ended';
    if (document.fullscreenElement) document.exitFullscreen();
    show('The game has ended.');
    page.offerSave();
    again.classList.remove('hidden');
    again.focus();
  }

  again.addEventListener('click', () => location.reload());

  // The game's keys must not scroll the page or press a focused button.
  const gameKeys = new Set(['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', ' ', 'Enter', 'Shift', 'Escape']);
  window.addEventListener(
    'keydown',
    (event) => {
      if (status.state === 'running' && gameKeys.has(event.key)) event.preventDefault();
    },
    true
  );

  // What the rules hold now, for the tests: whether a game is on, the
  // arrows as bits (1 left, 2 right, 4 up, 8 down), ammunition, heading and
  // position of the ship.
  status.watch = () => {
    const game = page.game;
    if (!game) return null;
    const [playing, arrows, ammo, heading, x, y] = [0, 1, 2, 3, 4, 5].map((i) => game._RuzovWatch(i));
    return { playing, arrows, ammo, heading, x, y };
  };

  // --------------------------------------------------------------- music
  // The SoundFont is the largest file by far and the game starts without
  // it; the music joins when it is in.
  async function loadMusic() {
    status.music = 'loading';
    music.textContent = 'Music loading…';
    try {
      const bytes = await download('GM.sf2.gz', (have, total) => {
        if (total) music.textContent = 'Music loading… ' + Math.floor((100 * have) / total) + '%';
      });
      if (status.state !== 'running') return;
      page.game.FS.writeFile('/GM.sf2', new Uint8Array(bytes));
      page.game._RuzovSoundFontArrived();
      status.music = 'on';
      music.textContent = '';
    } catch (error) {
      status.music = 'none';
      music.textContent = 'No music: ' + (error.message || error);
    }
  }

  // -------------------------------------------------------------- saving
  // A file for the player, saved as a download named by the time, as the
  // desktop's pictures are: ruzov-20250131-235959.png.
  page.saveFile = function (blob, extension) {
    const now = new Date();
    const two = (n) => String(n).padStart(2, '0');
    const stamp = `${now.getFullYear()}${two(now.getMonth() + 1)}${two(now.getDate())}-` +
      `${two(now.getHours())}${two(now.getMinutes())}${two(now.getSeconds())}`;
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = `ruzov-${stamp}.${extension}`;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  };

  // F12: the game hands over its 640 x 480 frame; it leaves as a PNG.
  function savePicture(rgba, width, height) {
    const picture = document.createElement('canvas');
    picture.width = width;
    picture.height = height;
    picture.getContext('2d').putImageData(new ImageData(rgba, width, height), 0, 0);
    picture.toBlob((blob) => page.saveFile(blob, 'png'), 'image/png');
  }

  // ------------------------------------------------------------- offline
  // sw.js keeps every file of one build. Registered only once the page has
  // all it needs, so its downloads never slow the first picture. A page
  // already kept asks for a newer build, which takes over once every page
  // of the old one is closed.
  function keepOffline() {
    if (!('serviceWorker' in navigator)) return;
    const kept = !!navigator.serviceWorker.controller;
    navigator.serviceWorker
      .register('sw.js')
      .then((registration) => kept && registration.update().catch(() => {})) // no network: fine
      .then(() => navigator.serviceWorker.ready)
      .then(() => {
        status.offline = true;
      })
      .catch((error) => console.warn('offline play unavailable: ' + error.message));
  }

  // ---------------------------------------------------------- full screen
  $('fullscreen').addEventListener('click', () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else if (document.documentElement.requestFullscreen) document.documentElement.requestFullscreen().catch(() => {});
  });
  if (!document.fullscreenEnabled) $('fullscreen').classList.add('hidden');

  page.layout();
  load().catch((error) => fail(error.message || String(error)));
})();

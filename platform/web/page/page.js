// The page around the game: downloads with a progress bar, a click that
// starts the game (and with it the audio), the timer that drives the game's
// loop, pixel-sharp scaling, full screen, and what the page says at the end.
'use strict';

(function () {
  const canvas = document.getElementById('canvas');
  const stage = document.getElementById('stage');
  const overlay = document.getElementById('overlay');
  const message = document.getElementById('message');
  const bar = document.getElementById('bar');
  const again = document.getElementById('again');
  const fullscreen = document.getElementById('fullscreen');

  // What the tests read: the state ('loading', 'ready', 'running', 'ended' or
  // 'failed'), frames run, the output peak and the renderer chosen.
  const status = (window.ruzov = { state: 'loading', frames: 0, peak: 0 });

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
  const files = ['ruzov.wasm', 'ruzov.data', 'fluidsynth.js'];
  const loaded = {};
  const total = {};
  function progress() {
    let have = 0;
    let want = 0;
    for (const f of files) {
      have += loaded[f] || 0;
      want += total[f] || 0;
    }
    bar.firstElementChild.style.width = (want ? (100 * have) / want : 0).toFixed(1) + '%';
  }

  async function download(name) {
    const response = await fetch(name);
    if (!response.ok) throw new Error(name + ': ' + response.status);
    total[name] = Number(response.headers.get('Content-Length')) || 0;
    const reader = response.body.getReader();
    const parts = [];
    let size = 0;
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      parts.push(value);
      size += value.length;
      loaded[name] = size;
      progress();
    }
    const whole = new Uint8Array(size);
    let at = 0;
    for (const p of parts) {
      whole.set(p, at);
      at += p.length;
    }
    return whole.buffer;
  }

  // FluidSynth is a module of its own; its script sets the global Module.
  function startSynthesizer(source) {
    return new Promise((resolve, reject) => {
      window.Module = { onRuntimeInitialized: () => resolve(window.Module) };
      const script = document.createElement('script');
      script.src = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
      script.onerror = () => reject(new Error('fluidsynth.js'));
      document.head.appendChild(script);
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

  let game = null;

  async function load() {
    const [wasm, data, synth] = await Promise.all(files.map(download));
    message.textContent = 'Starting…';
    await startSynthesizer(synth);
    game = await Ruzov({
      canvas: canvas,
      preRun: [
        (module) => {
          status.renderer = softwareWebGl() ? 'software' : 'webgl';
          if (status.renderer === 'software') module.ENV.SDL_RENDER_DRIVER = 'software';
        },
      ],
      wasmBinary: wasm,
      getPreloadedPackage: () => data,
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
    });
    status.state = 'ready';
    bar.classList.add('hidden');
    overlay.classList.add('start');
    show('Click to play');
    overlay.addEventListener('click', start);
    window.addEventListener('keydown', startByKey);
  }

  // ------------------------------------------------------------- playing
  // The game decides when a frame is due; the page only calls it soon
  // enough. A timer for the long stretch, stopped a little short, then
  // message-channel polls, which no timer clamping delays.
  const poll = new MessageChannel();
  poll.port1.onmessage = step;

  function step() {
    const wait = game._RuzovStep();
    status.frames = game._RuzovFrames();
    if (wait < 0) return ended();
    if (wait > 3) setTimeout(step, wait - 2);
    else poll.port2.postMessage(0);
  }

  function start() {
    if (status.state !== 'ready') return;
    overlay.removeEventListener('click', start);
    window.removeEventListener('keydown', startByKey);
    overlay.classList.remove('start');
    overlay.classList.add('hidden');
    status.state = 'running';
    canvas.focus();
    // Inside the click: the audio the game opens is allowed to play.
    game.callMain([]);
    fit(); // after SDL has set the canvas up at 640 x 480
    step();
    setInterval(() => {
      status.peak = Math.max(status.peak * 0.5, game._RuzovOutputPeak());
    }, 250);
  }

  function startByKey(event) {
    if (event.key === 'Enter' || event.key === ' ') {
      event.preventDefault();
      start();
    }
  }

  function ended() {
    status.state = 'ended';
    if (document.fullscreenElement) document.exitFullscreen();
    show('The game has ended.');
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

  // ------------------------------------------------------------- scaling
  // Whole multiples of 640 x 480 in device pixels keep every game pixel
  // square and sharp; only a window smaller than the game shrinks it smoothly.
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const w = stage.clientWidth * ratio;
    const h = stage.clientHeight * ratio;
    const whole = Math.floor(Math.min(w / 640, h / 480));
    const scale = whole >= 1 ? whole : Math.min(w / 640, h / 480);
    canvas.style.width = (640 * scale) / ratio + 'px';
    canvas.style.height = (480 * scale) / ratio + 'px';
    canvas.classList.toggle('sharp', whole >= 1);
  }
  window.addEventListener('resize', fit);
  fit();

  fullscreen.addEventListener('click', () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else stage.requestFullscreen().catch(() => {});
    canvas.focus();
  });
  document.addEventListener('fullscreenchange', fit);

  load().catch((error) => fail(error.message || String(error)));
})();

// Recordings on the page: after a game "Save recording" downloads the
// session so far; a recording dropped on the page, or chosen with "Watch a
// recording", is watched from a fresh start: the page keeps it for one
// reload, and page.js hands it to the game before its first frame.
'use strict';

(function () {
  const page = (window.ruzovPage = window.ruzovPage || {});
  const $ = (id) => document.getElementById(id);
  const save = $('save');
  const watch = $('watch');
  const chooser = $('watch-file');
  const said = $('replay');
  const kKey = 'ruzov-replay';
  const kMaxBytes = 16 << 20; // as the game's reader

  // The recording kept for this start, taken once: null when there is none.
  page.takeRecording = function () {
    const text = sessionStorage.getItem(kKey);
    sessionStorage.removeItem(kKey);
    return text;
  };

  async function watchFile(file) {
    if (!file) return;
    if (file.size > kMaxBytes) {
      said.textContent = file.name + ' is too large for a recording';
      return;
    }
    try {
      sessionStorage.setItem(kKey, await file.text());
    } catch (error) {
      said.textContent = file.name + ' cannot be kept for watching: ' + (error.message || error);
      return;
    }
    location.reload();
  }

  watch.addEventListener('click', () => chooser.click());
  chooser.addEventListener('change', () => watchFile(chooser.files[0]));
  window.addEventListener('dragover', (event) => event.preventDefault());
  window.addEventListener('drop', (event) => {
    event.preventDefault();
    const files = event.dataTransfer && event.dataTransfer.files;
    if (files && files.length) watchFile(files[0]);
  });

  // The session can be saved once the game has ended too.
  page.offerSave = () => save.classList.remove('hidden');

  // What the game says of its recordings, after every step.
  page.noteRecordings = function (game, status) {
    if (game._RuzovGamesEnded() > 0) save.classList.remove('hidden');
    const state = game._RuzovReplayState();
    if (state === status.replayState) return;
    status.replayState = state;
    if (state === 1) said.textContent = 'Watching a recording: 1 2 3 4 for 1x 2x 4x 8x';
    if (state === 2) {
      status.replayed = game.UTF8ToString(game._RuzovReplayed());
      said.textContent = 'The recording has ended; play on';
    }
    if (state === -1) said.textContent = 'Not a recording: ' + game.UTF8ToString(game._RuzovReplayed());
  };

  save.addEventListener('click', () => {
    const game = page.game;
    if (!game) return;
    const text = game.UTF8ToString(game._RuzovRecording());
    page.saveFile(new Blob([text], { type: 'text/plain' }), 'rec');
  });
})();

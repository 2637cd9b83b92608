// The page around the game: options from the address's query, files named there fetched before
// the start, the progress and settings kept in the browser's storage, the canvas scaled by a whole
// factor, full screen, sound after the first key press or click, and the exit status shown.
'use strict';
(function () {
  const GAME_W = 640, GAME_H = 480;
  const stage = document.getElementById('stage');
  const canvas = document.getElementById('canvas');
  // The canvas fills this box; the box is sized here (the runtime resets the canvas's own size).
  const screenBox = document.getElementById('screen');
  const statusLine = document.getElementById('status');
  function say(text) { statusLine.textContent = text; }

  // ?key=value becomes --key value and ?flag becomes --flag, whatever the option. A value that
  // names a file the server has (a replay, a trace, a settings file) is fetched and handed over
  // as a file; any other value is passed as it is. Outputs asked for without a file name go to
  // /out and are printed to the console at the end.
  const OUTPUT_DEFAULTS = { 'dump-state': '/out/state.json', 'trace': '/out/game.trace', 'record': '/out/game.replay' };
  const args = ['--data', '/data'];
  const fetches = [];
  const printAtEnd = [];
  for (const [key, value] of new URLSearchParams(location.search)) {
    if (!key) continue;
    args.push('--' + key);
    if (value === '') {
      if (OUTPUT_DEFAULTS[key]) { args.push(OUTPUT_DEFAULTS[key]); printAtEnd.push(OUTPUT_DEFAULTS[key]); }
      continue;
    }
    args.push(value);
    if (/^(https?:\/\/[^?#]+|[\w.\-/]+\.\w+)$/.test(value) && !/^\/(out|tmp|persist)\//.test(value)) {
      fetches.push({ url: value, index: args.length - 1 });
    }
  }

  // Sound may only start after the player's first gesture: every audio context the game makes is
  // resumed then.
  const contexts = [];
  const NativeAudioContext = window.AudioContext || window.webkitAudioContext;
  if (NativeAudioContext) {
    window.AudioContext = class extends NativeAudioContext {
      constructor(...a) { super(...a); contexts.push(this); }
    };
  }
  function resumeAudio() {
    for (const c of contexts) if (c.state === 'suspended') c.resume().catch(() => {});
  }
  for (const ev of ['keydown', 'pointerdown', 'touchstart']) window.addEventListener(ev, resumeAudio, true);

  // The picture: the largest whole factor that fits, in device pixels, letterboxed in black.
  function fit() {
    const dpr = window.devicePixelRatio || 1;
    const w = stage.clientWidth * dpr, h = stage.clientHeight * dpr;
    const f = Math.max(1, Math.floor(Math.min(w / GAME_W, h / GAME_H)));
    screenBox.style.width = (GAME_W * f / dpr) + 'px';
    screenBox.style.height = (GAME_H * f / dpr) + 'px';
  }
  window.addEventListener('resize', fit);
  window.addEventListener('load', fit);
  document.addEventListener('fullscreenchange', fit);
  fit();

  function toggleFullScreen() {
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    else if (stage.requestFullscreen) stage.requestFullscreen().catch(() => say('The browser refused full screen'));
  }
  document.getElementById('fullscreen').addEventListener('click', () => { toggleFullScreen(); canvas.focus(); });
  document.getElementById('watch').addEventListener('click', () => { location.search = '?autoplay'; });
  window.addEventListener('keydown', (e) => {
    if (e.code === 'F11' || (e.altKey && e.code === 'Enter')) { e.preventDefault(); toggleFullScreen(); }
  }, true);

  // Progress and settings live under /persist, kept in IndexedDB. Each save is copied there as
  // soon as it is written; the game writes a file beside its target and renames it, and one
  // storage transaction carries each copy, so a reload never leaves half a file.
  let storageOk = false, syncing = false, syncAgain = false;
  const syncWaiters = [];
  // The runtime's file system and its storage driver (globals of the program's script).
  function lib(name) { return Module[name] || window[name]; }

  function persistSaves() {
    if (!storageOk) return;
    if (syncing) { syncAgain = true; return; }
    syncing = true;
    lib('FS').syncfs(false, (err) => {
      syncing = false;
      if (err) console.warn('Could not keep the progress in the browser\'s storage: ' + err);
      if (syncAgain) { syncAgain = false; persistSaves(); return; }
      while (syncWaiters.length) syncWaiters.shift()();
    });
  }
  function whenSaved(done) {
    if (!storageOk || (!syncing && !syncAgain)) done();
    else syncWaiters.push(done);
  }

  function mountStorage() {
    const FS = lib('FS');
    FS.mkdir('/persist');
    FS.mkdir('/out');
    lib('ENV').XDG_DATA_HOME = '/persist/save';
    lib('ENV').XDG_CONFIG_HOME = '/persist/config';
    lib('ENV').XDG_STATE_HOME = '/tmp/state';
    const refused = (why) => {
      storageOk = false;
      console.warn('This browser refuses its storage (' + why + '): the game plays, but progress and settings ' +
                   'will not be kept after the page closes.');
      say('Storage refused: progress will not be kept');
    };
    try {
      if (!window.indexedDB) throw new Error('no IndexedDB');
      FS.mount(lib('IDBFS'), {}, '/persist');
    } catch (e) { refused(e.message || e); return; }
    Module.addRunDependency('storage');
    let settled = false;
    const settle = (err) => {
      if (settled) return;
      settled = true;
      if (err) refused(err.message || err); else storageOk = true;
      Module.removeRunDependency('storage');
    };
    try { FS.syncfs(true, settle); } catch (e) { settle(e); }
    setTimeout(() => settle(new Error('no answer')), 5000);
  }

  function fetchFiles() {
    for (const f of fetches) {
      const dep = 'fetch ' + f.url;
      Module.addRunDependency(dep);
      const local = '/url/' + f.index + '-' + f.url.replace(/[?#].*$/, '').split('/').pop();
      fetch(f.url).then((r) => r.ok ? r.arrayBuffer() : null).then((buf) => {
        if (buf) {
          try { lib('FS').mkdir('/url'); } catch (e) {}
          lib('FS').writeFile(local, new Uint8Array(buf));
          args[f.index] = local;
        }
      }).catch(() => {}).finally(() => Module.removeRunDependency(dep));
    }
  }

  function finish(status) {
    whenSaved(() => {
      for (const file of printAtEnd) {
        try { console.log(file + ':\n' + lib('FS').readFile(file, { encoding: 'utf8' })); } catch (e) {}
      }
      console.log('exit status ' + status);
      document.body.dataset.exitStatus = String(status);
      say('The game ended (exit status ' + status + ')');
    });
  }

  window.Module = {
    canvas: canvas,
    // Effects are read from the packed files when the game loads them, not decoded beforehand.
    noAudioDecoding: true,
    arguments: args,
    preRun: [mountStorage, fetchFiles],
    print: (text) => console.log(text),
    printErr: (text) => console.error(text),
    persistSaves: persistSaves,
    // Tools that picture late frames set window.brackmoorStepFreely: frames then run back to back.
    stepFreely: !!window.brackmoorStepFreely,
    toggleFullScreen: toggleFullScreen,
    onRuntimeInitialized: () => { say('Press a key or click for sound'); canvas.focus(); },
    onExit: finish,
    onAbort: (what) => {
      console.error('The game stopped: ' + what);
      document.body.dataset.exitStatus = 'abort';
      say('The game stopped with an error');
    },
    setStatus: (text) => { if (text) say(text); },
  };
})();

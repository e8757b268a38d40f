// SPDX-License-Identifier: GPL-3.0-or-later
// The page's half of the web host (host_web.cpp): what only a browser can do.
// It makes a window in the DOM for each scene the host shows, tells the host
// the room the page has and the frame round a window, and puts each window
// and its canvas where the host says; it passes the player's pointer, keys
// and closes and the passing of time to the host, puts the pixels the host
// paints on the canvases, draws the mark of the keyboard's pointer, plays
// the sounds the host hands it through Web Audio (with its "Sound" button to
// turn them off for the visit), asks the browser for full screen, and keeps
// the site for offline play through its service worker. Its runScript loads
// the script runner (runner.cpp), a module apart, at its first call. The host reads the
// options from the address (?fullscreen, ?kiosk, ?keyboard, ?mute,
// ?volume=PERCENT, ?idle-restart=MINUTES, ?scale=N) and the session decides
// every rule: sizes, places, keys, new games.
'use strict';
(function () {
  const desk = document.getElementById('desk');
  const windows = new Map(); // scene number -> {frame, canvas, context, name, caption, scale}
  const cursors = ['default', 'wait', 'not-allowed'];
  let fullscreen = false;
  const mark = document.getElementById('mark');
  let marked = null; // [scene, x, y] of the keyboard's pointer
  let game = null;
  let timer = null;
  let raised = 0;

  // The page's own words, in the game's language once the game has loaded
  // and chosen it; the game's own text before.
  const text = (context, original) => game
    ? game.ccall('guardianes_text', 'string', ['string', 'string'], [context, original]) : original;
  function localise() {
    document.documentElement.lang = (game && game.UTF8ToString(game._guardianes_language())) || 'en';
    document.getElementById('fullscreen').textContent = text('page|fullscreen', 'Full screen');
    document.getElementById('sound').textContent = text('page|sound', 'Sound');
    document.querySelector('#ended p').textContent = text('page|ended', 'The game has ended.');
    document.getElementById('new-game').textContent = text('page|new-game', 'New game');
    for (const w of windows.values()) w.close.title = text('page|close', 'Close');
    retitle();
  }

  const api = window.guardianes = {
    firstFrameAt: undefined,
    wakeups: null, // set to [] to record [grid ms, actual ms] for each wake-up served
    // A guardianes-sim script on a game of its own, in the page's language.
    runScript: async (text) => {
      await ready;
      const language = game.UTF8ToString(game._guardianes_language());
      const scripts = await runner();
      const status = scripts.ccall('guardianes_run_script', 'number', ['string', 'string'], [text, language]);
      return { status, stdout: scripts.UTF8ToString(scripts._guardianes_script_out()),
               stderr: scripts.UTF8ToString(scripts._guardianes_script_err()) };
    },
    // A file a script's shot wrote.
    file: (name) => scriptRunner.FS.readFile(name),
  };

  // The host places every shown window in the page's room, in device
  // pixels, from the room's size and the frame round a window's client
  // area, which the page measures.
  function layout() {
    const ratio = window.devicePixelRatio || 1;
    for (const [scene, w] of windows) {
      if (w.frame.hidden) continue;
      const frame = w.frame.getBoundingClientRect();
      const client = w.client.getBoundingClientRect();
      const edge = (length) => Math.round(length * ratio);
      game.ccall('guardianes_place', null, Array(8).fill('number'),
                 [scene, Math.floor(innerWidth * ratio), Math.floor(innerHeight * ratio), ratio,
                  edge(client.left - frame.left), edge(client.top - frame.top),
                  edge(frame.right - client.right), edge(frame.bottom - client.bottom)]);
    }
    placeMark();
  }

  // The mark's tip on the scene pixel's top left corner, at the scene's scale.
  function placeMark() {
    const w = marked && windows.get(marked[0]);
    mark.hidden = !w;
    if (!w) return;
    w.client.append(mark);
    mark.style.left = w.canvas.offsetLeft + marked[1] * w.scale + 'px';
    mark.style.top = w.canvas.offsetTop + marked[2] * w.scale + 'px';
    mark.style.width = 12 * w.scale + 'px';
    mark.style.height = 19 * w.scale + 'px';
    mark.dataset.x = marked[1];
    mark.dataset.y = marked[2];
  }
  addEventListener('resize', layout);

  function topWindow() {
    let top = null;
    for (const w of windows.values()) if (!w.frame.hidden && (!top || w.frame.style.zIndex - top.frame.style.zIndex > 0)) top = w;
    return top;
  }
  function retitle() {
    const top = topWindow();
    document.title = top ? top.caption : text('page|title', 'Guardianes');
    // In full screen the top scene is shown alone.
    for (const w of windows.values()) w.frame.classList.toggle('top', w === top);
  }

  // The device pixel under a pointer event, from the client area's corner;
  // the host maps it to the scene's.
  function pixel(client, e) {
    const box = client.getBoundingClientRect();
    const ratio = window.devicePixelRatio || 1;
    return [Math.floor((e.clientX - box.left) * ratio), Math.floor((e.clientY - box.top) * ratio)];
  }

  function makeWindow(scene, name, caption) {
    const frame = document.createElement('div');
    frame.className = 'window';
    const title = document.createElement('div');
    title.className = 'title';
    const label = document.createElement('span');
    label.textContent = caption;
    const close = document.createElement('button');
    close.type = 'button';
    close.textContent = '\u00d7';
    close.title = text('page|close', 'Close');
    close.dataset.close = name;
    close.addEventListener('click', () => game._guardianes_close(scene));
    title.append(label, close);
    const client = document.createElement('div');
    client.className = 'client';
    const canvas = document.createElement('canvas');
    canvas.dataset.scene = name;
    client.addEventListener('pointerdown', (e) => {
      if (!e.isPrimary || e.button !== 0) return;
      e.preventDefault();
      client.setPointerCapture(e.pointerId);
      game._guardianes_press(scene, ...pixel(client, e));
    });
    client.addEventListener('pointerup', (e) => {
      if (!e.isPrimary || e.button !== 0) return;
      game._guardianes_release(scene, ...pixel(client, e));
    });
    client.addEventListener('pointermove', (e) => game._guardianes_pointer(scene, ...pixel(client, e)));
    client.append(canvas);
    frame.append(title, client);
    desk.append(frame);
    return { frame, client, canvas, close, context: canvas.getContext('2d'), name, caption };
  }

  const page = {
    show(scene, name, caption, width, height) {
      let w = windows.get(scene);
      if (!w) windows.set(scene, w = makeWindow(scene, name, caption));
      w.canvas.width = width;
      w.canvas.height = height;
      w.frame.hidden = false;
      w.frame.style.zIndex = ++raised;
      retitle();
      layout();
    },
    hide(scene) {
      windows.get(scene).frame.hidden = true;
      retitle();
    },
    remove(scene) {
      if (marked && marked[0] === scene) document.body.append(mark);
      windows.get(scene).frame.remove();
      windows.delete(scene);
      retitle();
    },
    place(scene, x, y, clientWidth, clientHeight, left, top, width, height, whole) {
      const w = windows.get(scene);
      const ratio = window.devicePixelRatio || 1;
      const css = (device) => device / ratio + 'px';
      w.frame.style.left = css(x);
      w.frame.style.top = css(y);
      w.client.style.width = css(clientWidth);
      w.client.style.height = css(clientHeight);
      w.canvas.style.left = css(left);
      w.canvas.style.top = css(top);
      w.canvas.style.width = css(width);
      w.canvas.style.height = css(height);
      w.canvas.classList.toggle('smooth', !whole);
      w.scale = width / ratio / w.canvas.width;
    },
    mark(scene, x, y) {
      marked = [scene, x, y];
      placeMark();
    },
    present(scene, rgba, x, y, width, height, frameWidth, frameHeight) {
      const w = windows.get(scene);
      if (w.canvas.width !== frameWidth || w.canvas.height !== frameHeight) {
        w.canvas.width = frameWidth;
        w.canvas.height = frameHeight;
        layout();
      }
      const pixels = new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, rgba.length);
      w.context.putImageData(new ImageData(pixels, width, height), x, y);
      if (api.firstFrameAt === undefined) api.firstFrameAt = performance.now();
    },
    cursor(scene, shape) {
      windows.get(scene).canvas.style.cursor = cursors[shape];
    },
    schedule(delay) {
      clearTimeout(timer);
      timer = delay >= 0 ? setTimeout(() => game._guardianes_wakeup(), delay) : null;
    },
    wakeupServed(grid, actual) {
      if (api.wakeups) api.wakeups.push([grid, actual]);
    },
    error(title, message) {
      const box = document.createElement('div');
      box.setAttribute('role', 'alertdialog');
      box.setAttribute('aria-modal', 'true');
      box.setAttribute('aria-label', title);
      const text = document.createElement('p');
      text.textContent = message;
      const ok = document.createElement('button');
      ok.type = 'button';
      ok.textContent = text('page|ok', 'OK');
      const veil = document.createElement('div');
      veil.id = 'veil';
      ok.addEventListener('click', () => { box.remove(); veil.remove(); game._guardianes_error_seen(); });
      box.append(text, ok);
      document.body.append(veil, box);
      ok.focus();
    },
    ended() {
      document.body.dataset.state = 'ended';
      document.title = text('page|title', 'Guardianes');
    },
    started() {
      document.body.dataset.state = 'playing';
    },
    play(scene, cue, samples, rate) {
      sound.play(scene, cue, samples, rate);
    },
    stopSounds(scene) {
      sound.stop(scene);
    },
  };

  // The host's sounds through Web Audio. Browsers let a page sound only
  // after a gesture, so the audio starts on the player's first press, before
  // the press reaches the game. The Sound button turns it off and on for the
  // visit; ?mute keeps the game from starting any sound at all. Each cue's
  // samples are scaled to the options' volume (in percent) as they become
  // its buffer.
  const sound = {
    on: true,
    volume: 100,
    context: null,
    buffers: new Map(), // cue -> AudioBuffer
    playing: new Map(), // scene -> Set of {source, gain}
    wake() {
      if (!this.on || !window.AudioContext) return;
      if (!this.context) this.context = new AudioContext();
      if (this.context.state === 'suspended') this.context.resume();
    },
    play(scene, cue, samples, rate) {
      if (!this.on || !this.context) return;
      let buffer = this.buffers.get(cue);
      if (!buffer) {
        buffer = this.context.createBuffer(1, samples.length, rate);
        const data = buffer.getChannelData(0);
        const level = this.volume / 100 / 32768;
        for (let i = 0; i < samples.length; ++i) data[i] = samples[i] * level;
        this.buffers.set(cue, buffer);
      }
      const source = this.context.createBufferSource();
      const gain = this.context.createGain();
      source.buffer = buffer;
      source.connect(gain).connect(this.context.destination);
      const voice = { source, gain };
      if (!this.playing.has(scene)) this.playing.set(scene, new Set());
      this.playing.get(scene).add(voice);
      source.onended = () => this.playing.get(scene)?.delete(voice);
      source.start();
    },
    // Each voice fades out over a few milliseconds, so that none clicks.
    stop(scene) {
      const voices = this.playing.get(scene);
      if (!voices) return;
      const now = this.context.currentTime;
      for (const { source, gain } of voices) {
        gain.gain.setTargetAtTime(0, now, 0.002);
        source.stop(now + 0.015);
      }
      this.playing.delete(scene);
    },
    toggle(button) {
      this.on = !this.on;
      button.setAttribute('aria-pressed', String(this.on));
      if (!this.on) for (const scene of [...this.playing.keys()]) this.stop(scene);
      else this.wake();
    },
  };
  addEventListener('pointerdown', () => sound.wake(), true);
  addEventListener('keydown', () => sound.wake(), true);
  const soundButton = document.getElementById('sound');
  soundButton.addEventListener('click', () => sound.toggle(soundButton));

  document.getElementById('new-game').addEventListener('click', () => game._guardianes_new_game());

  // Browsers allow full screen only on a player's gesture: the first press
  // asks, once it is released, so that the layout changes only after the
  // press's click has landed where it was aimed.
  let asked = true;
  function askFullscreen() {
    if (asked) return;
    asked = true;
    if (!document.fullscreenElement) document.documentElement.requestFullscreen().catch(() => {});
  }
  addEventListener('pointerup', askFullscreen, true);
  addEventListener('keyup', askFullscreen, true);
  addEventListener('keydown', (e) => {
    if (!game || e.target.closest('[role=alertdialog]')) return;
    const top = topWindow();
    const scene = top ? [...windows].find(([, w]) => w === top)[0] : -1;
    if (game.ccall('guardianes_key', 'number', ['number', 'string', 'number', 'number', 'number'],
                   [scene, e.key, e.shiftKey, e.ctrlKey, e.repeat])) e.preventDefault();
  });

  document.getElementById('fullscreen').addEventListener('click', () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else document.documentElement.requestFullscreen();
  });

  // The one-file game (guardianes.html) carries the game's and the script
  // runner's scripts and compiled code with it, compressed, where the site
  // has their files beside the page; each is unpacked only when it is needed.
  const packed = !!document.getElementById('packed-guardianes.wasm');
  async function unpack(file) {
    // Seven bits a character, as finish_site.py packs them: U+0100 to
    // U+0102 stand for the three an HTML parser would not keep.
    const text = document.getElementById('packed-' + file).textContent;
    const held = [0x00, 0x0d, 0x3c];
    const bytes = new Uint8Array(Math.floor(text.length * 7 / 8));
    let bits = 0;
    let count = 0;
    let n = 0;
    for (let i = 0; i < text.length; ++i) {
      const c = text.charCodeAt(i);
      bits = (bits << 7 | (c < 0x80 ? c : held[c - 0x100])) & 0x7fff;
      count += 7;
      if (count >= 8) {
        count -= 8;
        bytes[n++] = bits >> count;
      }
    }
    const unpacked = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'));
    return new Response(unpacked).arrayBuffer();
  }
  // Runs a module's script: unpacked in the one-file game; in the site from
  // beside the page, asked for under the build's id, so that no cache
  // answers with another build's file.
  async function runFile(file) {
    const src = packed ? URL.createObjectURL(new Blob([await unpack(file)], { type: 'text/javascript' }))
      : file + '?' + api.build;
    await new Promise((loaded, failed) => {
      const script = document.createElement('script');
      script.src = src;
      script.onload = loaded;
      script.onerror = () => failed(new Error(file + ' could not be loaded'));
      document.head.append(script);
    });
  }
  // The game's module; the site's page loads its script itself.
  async function startGame() {
    if (!packed) return Guardianes({ page });
    await runFile('guardianes.js');
    return Guardianes({ page, wasmBinary: await unpack('guardianes.wasm') });
  }

  // The script runner, loaded at the first runScript, of this page's build
  // or not at all: the site's service worker does not keep it, and the
  // server may have a newer build by then.
  let scriptRunner = null;
  let loading = null;
  function runner() {
    loading ??= (async () => {
      await runFile('guardianes-runner.js');
      const module = await GuardianesRunner(packed ? { wasmBinary: await unpack('guardianes-runner.wasm') }
        : { locateFile: (file, folder) => folder + file + '?' + api.build });
      if (module.build !== build || module.UTF8ToString(module._guardianes_build()) !== build)
        throw new Error('the script runner is of another build than the page: reload the page');
      // Its shots draw with the game's glyphs.
      const glyphs = game._guardianes_glyphs();
      const size = game._guardianes_glyphs_size();
      module.HEAPU8.set(game.HEAPU8.subarray(glyphs, glyphs + size), module._guardianes_glyph_room(size));
      return scriptRunner = module;
    })().catch((e) => {
      loading = null;
      throw e;
    });
    return loading;
  }

  // Where the game cannot play, the page says why in every language the
  // game has, since only the game knows which of them to speak: the build
  // writes their words into the page (#unplayable).
  function unplayable(context, original) {
    const notice = document.getElementById('notice');
    const words = JSON.parse(document.getElementById('unplayable').textContent)[context] || [];
    notice.textContent = [original, ...words].join('\n');
    notice.hidden = false;
  }
  // Marks the page's texts for translation that only the build writes in.
  text('page|replaced', 'This copy of the game is being replaced by a newer one: reload the page.');
  text('page|from-disk',
       'Opened from disk the site cannot load its game: open guardianes.html, the game in one file, instead.');
  text('page|not-loaded', 'The game could not be loaded: reload the page.');
  localise();

  // The page, its scripts and the game must come from one build: a page
  // opened while the site was being replaced says so instead of playing.
  const build = 'guardianes build 0000000000000000';
  api.build = build.slice(-16);
  const ready = startGame().then((module) => {
    const notice = document.getElementById('notice');
    const builds = [document.querySelector('meta[name=guardianes-build]').content, module.build,
                    module.UTF8ToString(module._guardianes_build())];
    if (builds.some((b) => b !== build)) {
      api.mixed = true;
      unplayable('page|replaced', 'This copy of the game is being replaced by a newer one: reload the page.');
      return;
    }
    game = module;
    const refused = game.ccall('guardianes_configure', 'string', ['string', 'string'],
                               [location.search, navigator.languages.join(',')]);
    localise();
    fullscreen = game._guardianes_fullscreen() !== 0;
    soundButton.hidden = game._guardianes_muted() !== 0;
    sound.volume = game._guardianes_volume();
    asked = !fullscreen;
    document.body.classList.toggle('fullscreen', fullscreen);
    notice.textContent = refused;
    notice.hidden = !refused;
    game._guardianes_new_game();
    // Offline play: browsers keep service workers only for served pages.
    if (location.protocol !== 'file:' && !packed && 'serviceWorker' in navigator)
      navigator.serviceWorker.register('sw.js').catch(() => {});
  }, () => {
    // Browsers let a page on disk load no file beside it.
    if (location.protocol === 'file:')
      unplayable('page|from-disk',
                 'Opened from disk the site cannot load its game: open guardianes.html, the game in one file, instead.');
    else unplayable('page|not-loaded', 'The game could not be loaded: reload the page.');
  });
})();

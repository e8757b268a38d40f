// The page's half of the web host (app/host_web.cpp): it makes a window for
// each scene the host shows, passes the player's pointer and closes and the
// passing of time to the host, and puts the pixels the host paints on the
// canvases. No rule of the game is here: the host decides everything.
'use strict';
(function () {
  const desk = document.getElementById('desk');
  const windows = new Map(); // scene number -> {frame, canvas, context, name, caption}
  const cursors = ['default', 'wait', 'not-allowed'];
  let game = null;
  let timer = null;
  let raised = 0;

  const api = window.guardianes = {
    firstFrameAt: undefined,
    wakeups: null, // set to [] to record [grid ms, actual ms] for each wake-up served
    runScript: async (text) => {
      await ready;
      const status = game.ccall('guardianes_run_script', 'number', ['string'], [text]);
      return { status, stdout: game.UTF8ToString(game._guardianes_script_out()),
               stderr: game.UTF8ToString(game._guardianes_script_err()) };
    },
    file: (name) => game.FS.readFile(name),
  };

  // The largest whole number of device pixels per scene pixel that fits
  // every shown window in the viewport, so that pixels stay square and sharp.
  function layout() {
    const ratio = window.devicePixelRatio || 1;
    for (const w of windows.values()) {
      const chrome = 28; // the title bar and the frame, in CSS pixels
      const fit = Math.min(innerWidth * ratio / w.canvas.width, (innerHeight - chrome) * ratio / w.canvas.height);
      const scale = Math.max(1, Math.floor(fit));
      const width = w.canvas.width * scale / ratio;
      const height = w.canvas.height * scale / ratio;
      w.canvas.style.width = width + 'px';
      w.canvas.style.height = height + 'px';
      // Whole device pixels, so that no canvas pixel straddles two.
      w.frame.style.left = Math.max(0, Math.floor((innerWidth - width) / 2 * ratio)) / ratio + 'px';
      w.frame.style.top = Math.max(0, Math.floor((innerHeight - height - chrome) / 2 * ratio)) / ratio + 'px';
    }
  }
  addEventListener('resize', layout);

  function topWindow() {
    let top = null;
    for (const w of windows.values()) if (!w.frame.hidden && (!top || w.frame.style.zIndex - top.frame.style.zIndex > 0)) top = w;
    return top;
  }
  function retitle() {
    const top = topWindow();
    document.title = top ? top.caption : 'Guardianes';
  }

  // The scene pixel under a pointer event.
  function pixel(canvas, e) {
    const box = canvas.getBoundingClientRect();
    return [Math.floor((e.clientX - box.left) * canvas.width / box.width),
            Math.floor((e.clientY - box.top) * canvas.height / box.height)];
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
    close.title = 'Close';
    close.dataset.close = name;
    close.addEventListener('click', () => game._guardianes_close(scene));
    title.append(label, close);
    const canvas = document.createElement('canvas');
    canvas.dataset.scene = name;
    canvas.addEventListener('pointerdown', (e) => {
      if (!e.isPrimary || e.button !== 0) return;
      e.preventDefault();
      canvas.setPointerCapture(e.pointerId);
      game._guardianes_press(scene, ...pixel(canvas, e));
    });
    canvas.addEventListener('pointerup', (e) => {
      if (!e.isPrimary || e.button !== 0) return;
      game._guardianes_release(scene, ...pixel(canvas, e));
    });
    canvas.addEventListener('pointermove', (e) => game._guardianes_pointer(scene, ...pixel(canvas, e)));
    canvas.addEventListener('pointerleave', () => game._guardianes_pointer(-1, 0, 0));
    frame.append(title, canvas);
    desk.append(frame);
    return { frame, canvas, context: canvas.getContext('2d'), name, caption };
  }

  const page = {
    show(scene, name, caption, width, height) {
      let w = windows.get(scene);
      if (!w) windows.set(scene, w = makeWindow(scene, name, caption));
      w.canvas.width = width;
      w.canvas.height = height;
      w.frame.hidden = false;
      w.frame.style.zIndex = ++raised;
      layout();
      retitle();
    },
    hide(scene) {
      windows.get(scene).frame.hidden = true;
      retitle();
    },
    remove(scene) {
      windows.get(scene).frame.remove();
      windows.delete(scene);
      retitle();
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
      box.setAttribute('aria-label', 'Guardianes');
      const text = document.createElement('p');
      text.textContent = title + '\n\n' + message;
      const ok = document.createElement('button');
      ok.type = 'button';
      ok.textContent = 'OK';
      const veil = document.createElement('div');
      veil.id = 'veil';
      ok.addEventListener('click', () => { box.remove(); veil.remove(); });
      box.append(text, ok);
      document.body.append(veil, box);
      ok.focus();
    },
    ended() {
      document.body.dataset.state = 'ended';
      document.title = 'Guardianes';
    },
  };

  document.getElementById('new-game').addEventListener('click', () => {
    for (const w of windows.values()) w.frame.remove();
    windows.clear();
    document.body.dataset.state = 'playing';
    game._guardianes_new_game();
  });
  document.getElementById('fullscreen').addEventListener('click', () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else document.documentElement.requestFullscreen();
  });

  const ready = Guardianes({ page }).then((module) => {
    game = module;
    document.body.dataset.state = 'playing';
    game._guardianes_new_game();
  });
})();

// The page's side of the browser backend: an Emscripten JavaScript library (--js-library), whose
// functions the backend calls by their C names (declared in platform/web/page.h). Outside a
// browser (Node) each does nothing, or what a page would answer. The three that wait are listed
// in ASYNCIFY_IMPORTS (platform/web/CMakeLists.txt).
mergeInto(LibraryManager.library, {
  JsPlaceCanvas: function (shown, x, y, width, height, title) {
    if (typeof document === 'undefined') return;
    const canvas = document.getElementById('canvas');
    canvas.hidden = !shown;
    if (!shown) return;
    // The window's place and size are in device pixels, the page's CSS pixels in
    // devicePixelRatio of them.
    const scale = window.devicePixelRatio || 1;
    canvas.style.left = x / scale + 'px';
    canvas.style.top = y / scale + 'px';
    canvas.style.width = width / scale + 'px';
    canvas.style.height = height / scale + 'px';
    document.title = UTF8ToString(title);
  },

  JsViewportSize: function (height) {
    if (typeof window === 'undefined') return height ? 768 : 1024;
    // Device pixels, as a DPI-aware program sees the screen: the canvas's backing store is then
    // as sharp as the display.
    const scale = window.devicePixelRatio || 1;
    return Math.round((height ? window.innerHeight : window.innerWidth) * scale);
  },

  JsCapturePointer: function (capture) {
    if (typeof document === 'undefined' || Module.ribbonPointer === undefined) return;
    const canvas = document.getElementById('canvas');
    try {
      if (capture) canvas.setPointerCapture(Module.ribbonPointer);
      else canvas.releasePointerCapture(Module.ribbonPointer);
    } catch (e) {
      // The pointer is no longer active: there is nothing to capture or release.
    }
  },

  JsWake: function () {
    if (Module.ribbonWake) Module.ribbonWake();
  },

  JsWait__deps: ['$Asyncify'],
  JsWait: function (timeout) {
    return Asyncify.handleAsync(async () => {
      await new Promise(resolve => {
        Module.ribbonWake = resolve;
        if (timeout >= 0) setTimeout(resolve, timeout);
      });
      Module.ribbonWake = null;
    });
  },

  // A modal dialog on the page: the caption as its title, the text as given (blanks kept) and an
  // OK button that has the focus, so Enter dismisses it as a click does (and Esc, as on Windows).
  // Outside a browser the box becomes a line on stderr.
  JsShowMessageBox__deps: ['$Asyncify'],
  JsShowMessageBox: function (text, caption, error) {
    text = UTF8ToString(text);
    caption = UTF8ToString(caption);
    if (typeof document === 'undefined') {
      err('ribbon: ' + caption + ': ' + text);
      return;
    }
    return Asyncify.handleAsync(async () => {
      const box = document.createElement('dialog');
      box.className = error ? 'box error' : 'box';
      const title = document.createElement('div');
      title.className = 'caption';
      title.textContent = caption;
      const body = document.createElement('div');
      body.className = 'text';
      body.textContent = text;
      const form = document.createElement('form');
      form.method = 'dialog';
      const ok = document.createElement('button');
      ok.textContent = 'OK';
      form.append(ok);
      box.append(title, body, form);
      document.body.append(box);
      box.showModal();
      ok.focus();
      await new Promise(resolve => box.addEventListener('close', resolve));
      box.remove();
    });
  },

  // Mouse, pen and touch come alike as Pointer Events. Only the primary pointer counts: a second
  // finger is ignored, as a second pointer would be. Positions are scaled to device pixels, the
  // unit of the window's size. The page keeps the pressed pointer's id for SetCapture, and
  // reports losing the capture or the focus, and being hidden or shown. The backend passes the
  // pointer kinds and modifier bits it reads back.
  JsWatchPage: function (down, up, move, shiftBit, controlBit, altBit) {
    if (typeof document === 'undefined') return 0;
    const canvas = document.getElementById('canvas');
    const report = (e, kind, button) => {
      const box = canvas.getBoundingClientRect();
      const scale = window.devicePixelRatio || 1;
      const keys =
          (e.shiftKey ? shiftBit : 0) | (e.ctrlKey ? controlBit : 0) | (e.altKey ? altBit : 0);
      _RibbonPointer(kind, Math.floor((e.clientX - box.left) * scale),
                     Math.floor((e.clientY - box.top) * scale), button, keys);
    };
    // A button goes down or up when its bit in the event's buttons changes. The event's button
    // is not trusted for that: WebKitGTK names the left one in the move after a right or middle
    // button comes up, or after a context menu closes.
    let held = 0;
    const buttonsChanged = e => {
      const changed = [[0, 1], [1, 4], [2, 2]].filter(pair => (held ^ e.buttons) & pair[1]);
      held = e.buttons;
      for (const pair of changed) report(e, held & pair[1] ? down : up, pair[0]);
      return changed.length > 0;
    };
    canvas.addEventListener('pointerdown', e => {
      if (!e.isPrimary) return;
      Module.ribbonPointer = e.pointerId;
      buttonsChanged(e);
      // No mouse events follow, nor a touch's scrolling or zooming (touch-action: none as well).
      e.preventDefault();
    });
    canvas.addEventListener('pointerup', e => { if (e.isPrimary) buttonsChanged(e); });
    // A button pressed or released while another is held comes as a move.
    canvas.addEventListener('pointermove', e => {
      if (e.isPrimary && !buttonsChanged(e)) report(e, move, -1);
    });
    canvas.addEventListener('lostpointercapture', e => {
      if (!canvas.hasPointerCapture(e.pointerId)) _RibbonCaptureLost();
    });
    window.addEventListener('blur', () => _RibbonFocusLost());
    document.addEventListener('visibilitychange', () => _RibbonPageShown(document.hidden ? 0 : 1));
    return 1;
  },

  // The canvas's drawing buffer takes the window's size before the context is made on it.
  JsSizeCanvas: function (width, height) {
    if (typeof document === 'undefined') return;
    const canvas = document.getElementById('canvas');
    canvas.width = width;
    canvas.height = height;
  },

  // Without a context the page says why it stays empty, where a visitor reads it. With one, a
  // restored context (the GL subset has made its objects again, in its own listener registered
  // before this one) is an exposure: the window paints its picture again.
  JsWatchContext: function (made) {
    if (typeof document === 'undefined') return;
    if (!made) {
      document.getElementById('notice').textContent =
          'This browser offers no WebGL 2, so ribbon cannot draw here.';
    } else if (!Module.ribbonWatchesContext) {
      Module.ribbonWatchesContext = true;
      document.getElementById('canvas').addEventListener('webglcontextrestored',
                                                         () => _RibbonPageShown(1));
    }
  },

  // The browser shows a frame when control returns to it; waiting for its next animation frame
  // paces a spinning model at the display's rate and lets input in between frames.
  JsWaitForAnimationFrame__deps: ['$Asyncify'],
  JsWaitForAnimationFrame: function () {
    return Asyncify.handleAsync(() => new Promise(resolve => {
      if (typeof requestAnimationFrame === 'function') requestAnimationFrame(() => resolve());
      else setTimeout(resolve, 16);
    }));
  },

  // The runtime ends in a task of its own, where Emscripten catches exit()'s throw itself.
  JsEndProgram__deps: ['$callUserCallback', 'exit'],
  JsEndProgram: function (code) {
    setTimeout(() => callUserCallback(() => _exit(code)));
  },
});

'use strict';
// The page's controls for phones, tablets and gamepads, beside the picture and never on it: named
// touch buttons, a finger dragged on the picture or the drag pad, the gamepad's shop cursor, the
// sound notice, and the settings kept in localStorage with their small panel. Every control sends
// the game a key or the mouse's button or motion (plinkwell_page_* in PageInput.cpp), nothing more:
// what a press means is the game's business. index.html calls plinkwellControls once.
// eslint-disable-next-line no-unused-vars
function plinkwellControls({ stage, screen, hint, layout, setMuted }) {
  const W = 800;
  const KEY_ESCAPE = 0x01, KEY_FIRST_ITEM = 0x02, KEY_SPACE = 0x39;
  const TAP_MS = 200, TAP_PX = 10;
  const call = (name, ...args) => Module['_' + name](...args);
  // The same with strings, put on the stack here: ccall answers with a promise while the game waits.
  function callWithText(name, ...texts) {
    const top = Module.stackSave();
    const result = call(name, ...texts.map((text) => {
      const size = text.length * 4 + 1, at = Module.stackAlloc(size);
      Module.stringToUTF8(text, at, size);
      return at;
    }));
    Module.stackRestore(top);
    return result;
  }

  function make(tag, props, ...children) {
    const e = Object.assign(document.createElement(tag), props);
    e.append(...children);
    return e;
  }
  function touchButton(id, label, press) {
    const b = make('button', { id, type: 'button', textContent: label, className: 'touch' });
    b.addEventListener('pointerdown', (e) => {
      e.preventDefault();  // no focus, no emulated mouse (which would take the pointer lock)
      b.setPointerCapture(e.pointerId);
      b.classList.add('held');
      press(true);
    });
    const release = () => {
      if (!b.classList.contains('held')) return;
      b.classList.remove('held');
      press(false);
    };
    b.addEventListener('pointerup', release);
    b.addEventListener('pointercancel', release);
    return b;
  }

  // ---- the buttons --------------------------------------------------------------------------------
  let paused = false;    // by the Pause button: the button then quits
  let quitting = false;  // the press began while paused
  const start = touchButton('touch-start', 'Start', (down) => call('plinkwell_page_key', KEY_SPACE, down ? 1 : 0));
  const launch = touchButton('touch-launch', 'Launch', (down) => call('plinkwell_page_button', down ? 1 : 0));
  const pause = touchButton('touch-pause', 'Pause', (down) => {
    if (down) quitting = paused;
    if (!quitting) {
      if (down) setPaused(true);
    } else if (down) {
      call('plinkwell_hold', 0);  // Escape is read by the next frame
      call('plinkwell_page_key', KEY_ESCAPE, 1);
    } else {
      call('plinkwell_page_key', KEY_ESCAPE, 0);
      setPaused(false);
    }
  });
  function setPaused(on) {
    if (on !== paused) call('plinkwell_hold', on ? 1 : 0);
    paused = on;
    pause.textContent = on ? 'Quit' : 'Pause';
    hint.textContent = on ? 'Paused: tap the picture to go on.' : hintText();
  }

  const items = make('div', { id: 'items' });
  const shop = JSON.parse(Module.UTF8ToString(call('plinkwell_shop')));
  const itemButtons = shop.map((item, cell) => {
    const icon = make('canvas', { width: item.w, height: 14 });
    const b = touchButton(`touch-item-${item.key}`, '', (down) => call('plinkwell_page_key', KEY_FIRST_ITEM + cell, down ? 1 : 0));
    b.setAttribute('aria-label', `Item ${item.key}`);
    b.title = `${item.name}, ${item.price}`;
    b.append(icon, make('span', { textContent: String(item.price) }));
    items.append(b);
    return { button: b, icon, item };
  });
  // The icons are the item bar's own, cut from its picture in the game's data.
  createImageBitmap(new Blob([Module.FS.readFile('/sprite/ItemBar.bmp')], { type: 'image/bmp' })).then((bar) => {
    for (const { icon, item } of itemButtons) {
      const c = icon.getContext('2d');
      c.drawImage(bar, item.x, 0, item.w, 14, 0, 0, item.w, 14);
    }
  }).catch(() => {});

  const drag = make('div', { id: 'drag', className: 'touch', textContent: 'Drag here to move' });
  const keys = make('div', { id: 'touch-keys' }, make('div', { id: 'touch-buttons' }, start, pause, launch), items);
  stage.append(keys, drag);

  // ---- a finger on the picture or the drag pad: relative motion, one to one on the screen ------------
  const fingers = new Map();  // pointerId -> { x, t, travel, onPicture }
  let remainder = 0;
  for (const area of [screen, drag]) {
    area.addEventListener('pointerdown', (e) => {
      if (e.pointerType !== 'touch') return;
      e.preventDefault();
      fingers.set(e.pointerId, { x: e.clientX, t: e.timeStamp, travel: 0, onPicture: area === screen });
    });
  }
  stage.addEventListener('pointermove', (e) => {
    const f = fingers.get(e.pointerId);
    if (!f) return;
    const dx = e.clientX - f.x;
    f.x = e.clientX;
    f.travel += Math.abs(dx);
    remainder += dx * W / screen.clientWidth;  // the picture's CSS pixels are the screen's
    const whole = Math.trunc(remainder);
    remainder -= whole;
    if (whole) call('plinkwell_page_motion', whole);
  });
  const lift = (e) => {
    const f = fingers.get(e.pointerId);
    if (!f) return;
    fingers.delete(e.pointerId);
    if (e.type !== 'pointerup' || e.timeStamp - f.t >= TAP_MS || f.travel >= TAP_PX) return;
    // A tap on the picture goes on after the Pause button; otherwise it is the left button.
    if (paused && f.onPicture) {
      setPaused(false);
    } else {
      call('plinkwell_page_button', 1);
      call('plinkwell_page_button', 0);  // the press still shows in the next frame
    }
  };
  stage.addEventListener('pointerup', lift);
  stage.addEventListener('pointercancel', lift);
  // A finger's tap on the controls is theirs alone: no emulated mouse click, which on the picture
  // would take the pointer lock that is the mouse's (Play again still gets its click).
  stage.addEventListener('touchstart', (e) => {
    if (e.cancelable && e.target.closest('#screen, #drag, #touch-keys')) e.preventDefault();
  }, { passive: false });

  // Mouse events made up from a finger's tap are not the mouse's: on the picture they would take the
  // pointer lock, and the paddle would jump to where the finger was.
  let lastTouch = -Infinity;
  window.addEventListener('touchstart', () => { lastTouch = performance.now(); }, true);
  for (const type of ['mousedown', 'mouseup', 'mousemove']) {
    window.addEventListener(type, (e) => {
      const made = e.sourceCapabilities ? e.sourceCapabilities.firesTouchEvents : performance.now() - lastTouch < 1000;
      if (made) e.stopImmediatePropagation();
    }, true);
  }

  // ---- which controls show: the touch ones while the last input was touch ----------------------------
  const coarseOnly = matchMedia('(pointer: coarse)').matches && !matchMedia('(any-pointer: fine)').matches;
  let touching = coarseOnly, padUsed = false;
  let soundRunning = () => false;
  const soundWaits = () => padUsed && !soundRunning();
  function hintText() {
    if (soundWaits()) return 'Tap or press a key for sound.';
    return touching ? 'Tap Start to play; drag to move.' : 'Click the picture to play; Escape gives the mouse back.';
  }
  function setTouching(on) {
    if (on === touching) return;
    touching = on;
    document.body.classList.toggle('touching', on);
    hint.textContent = hintText();
    layout();  // the picture gets the room the controls leave
  }
  document.body.classList.toggle('touching', touching);
  hint.textContent = hintText();
  window.addEventListener('pointerdown', (e) => setTouching(e.pointerType === 'touch'), true);
  window.addEventListener('pointermove', (e) => { if (e.pointerType === 'mouse' && (e.movementX || e.movementY)) setTouching(false); }, true);
  window.addEventListener('keydown', () => setTouching(false), true);

  // ---- the gamepad: read by the game once a frame, which tells the page ------------------------------
  function padPolled(buttons, stick) {
    if (!buttons && Math.abs(stick) < 0.5) return;
    const first = !padUsed;
    padUsed = true;
    setTouching(false);
    if (first) hint.textContent = hintText();
  }
  let shopping = false;
  function showShopCursor(cell) {
    shopping = cell >= 0;
    document.body.classList.toggle('shopping', shopping);
    layout();
    itemButtons.forEach(({ button }, i) => button.classList.toggle('cursor', i === cell));
  }

  // ---- where the controls go: below a picture that takes the width, or beside one that takes the height
  const SIDE = 150, BELOW = 280;  // the least room the touch controls need
  const STRIP = 50, STRIP_SIDE = 80;  // the pad's shop cursor alone: a row, or two columns
  const portrait = () => stage.clientWidth / stage.clientHeight < W / 600;
  // The room layout() leaves beside the picture. In full screen the pad's cursor may need some; in a
  // window it can go over the header.
  function room() {
    if (touching) return portrait() ? { w: 0, h: BELOW } : { w: 2 * SIDE, h: 0 };
    const fits = stage.clientWidth - (stage.clientHeight * W) / 600 >= 2 * STRIP_SIDE ||
      stage.clientHeight - (stage.clientWidth * 600) / W >= STRIP;
    return shopping && document.fullscreenElement && !fits ? { w: 0, h: STRIP } : { w: 0, h: 0 };
  }
  function place() {
    stage.classList.toggle('portrait', portrait());
    const s = stage.getBoundingClientRect(), p = screen.getBoundingClientRect();
    const set = (e, box) => { for (const k of ['left', 'top', 'width', 'height']) e.style[k] = k in box ? box[k] + 'px' : ''; };
    const left = p.left - s.left, above = p.top - s.top;
    const header = document.querySelector('header').getBoundingClientRect();
    const overHeader = !touching && left < STRIP_SIDE && above < STRIP && !document.fullscreenElement;
    keys.classList.toggle('over-header', overHeader);
    if (overHeader) {
      set(keys, { left: 0, top: header.top, width: header.width, height: header.height });
    } else if (touching && portrait()) {
      set(keys, { left: 0, top: above + p.height, width: s.width });
      set(drag, { left: 0, top: above + p.height + keys.offsetHeight, width: s.width, height: s.height - above - p.height - keys.offsetHeight });
    } else if (touching) {
      set(keys, { left: 0, top: 0, width: left, height: s.height });
      set(drag, { left: left + p.width, top: 0, width: s.width - left - p.width, height: s.height });
    } else if (left >= STRIP_SIDE) {  // the pad's shop cursor alone: in a side bar, else above the picture
      set(keys, { left: 0, top: above, width: left });
    } else {
      set(keys, { left: 0, top: 0, width: s.width, height: above });
    }
  }

  // ---- settings: settings.ini lines in localStorage, checked by the game's option table --------------
  const STORE = 'plinkwell.settings';
  const stored = () => { try { return localStorage.getItem(STORE) || ''; } catch { return ''; } };
  function setting(name) {
    const line = stored().split('\n').find((l) => l.split('=')[0].trim() === name);
    return line === undefined ? null : line.slice(line.indexOf('=') + 1).trim();
  }
  // Stores name = value unless the game would refuse it; returns the game's words for the problem.
  function store(name, value) {
    const problem = Module.UTF8ToString(callWithText('plinkwell_check_setting', name, value));
    if (problem) return problem;
    const lines = stored().split('\n').filter((l) => l.trim() && l.split('=')[0].trim() !== name);
    try { localStorage.setItem(STORE, [...lines, `${name} = ${value}`].join('\n') + '\n'); } catch { /* private mode: for this visit only */ }
    return '';
  }
  // Where the next run reads them (the desktop's settings file, in the page's own file system).
  function writeSettingsFile() {
    const path = Module.UTF8ToString(call('plinkwell_settings_path'));
    Module.FS.mkdirTree(path.slice(0, path.lastIndexOf('/')));
    Module.FS.writeFile(path, stored());
  }

  const panel = make('dialog', { id: 'settings' });
  const problem = make('p', { id: 'settings-problem', role: 'alert' });
  const field = (name, label) => {
    const input = make('input', { id: `setting-${name}`, inputMode: 'decimal', value: setting(name) ?? '1' });
    input.addEventListener('input', () => { problem.textContent = store(name, input.value.trim()); });
    return make('label', {}, label, input);
  };
  const sound = make('input', { type: 'checkbox', id: 'setting-sound', checked: setting('mute') !== 'true' });
  sound.addEventListener('change', () => { store('mute', String(!sound.checked)); setMuted(!sound.checked); });
  const close = make('button', { type: 'button', textContent: 'Close' });
  close.addEventListener('click', () => panel.close());
  panel.append(make('h2', { textContent: 'Settings' }), field('mouse-speed', 'Mouse speed'), field('pad-speed', 'Pad speed'),
    make('label', {}, 'Sound', sound), make('p', { textContent: 'Speeds apply from the next game.' }), problem, close);
  document.body.append(panel);

  return {
    room,
    place,
    padPolled,
    showShopCursor,
    setPaused,
    writeSettingsFile,
    muted: () => setting('mute') === 'true',
    saveMuted: (on) => { store('mute', String(on)); sound.checked = !on; },
    openSettings: () => panel.showModal(),
    watchSound: (running) => { soundRunning = running; },
    soundStarted: () => { hint.textContent = hintText(); },
  };
}

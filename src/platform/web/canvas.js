// The picture's worker: the page hands it the canvas, and it converts and puts there the parts of
// the game's pictures the page sends. Drawn here, a picture costs the page's own thread no
// conversion, layout, paint or commit. The worker also tells the page when the next display frame
// comes (the game's loop waits for it) and sends back the picture shown.
'use strict';
let context = null;
let width = 0, height = 0;
let frameAsked = false;
const spent = [];  // the page's buffers, to go back with the next frame
const nextDisplayFrame = self.requestAnimationFrame ? (f) => requestAnimationFrame(f) : (f) => setTimeout(f, 16);

// The conversion (CanvasParts.cpp as canvas.wasm) keeps the RGBA picture shown in its memory; each
// message is copied in after it, and the parts are widened into the picture there.
let parts = null;  // its exports
let picture = null;  // an ImageData over the picture, made again when the memory grows
let messageAt = 0;
const loaded = fetch('canvas.wasm')
  .then((response) => {
    if (!response.ok) throw new Error('canvas.wasm: ' + response.status);
    return response.arrayBuffer();
  })
  .then((bytes) => WebAssembly.instantiate(bytes))
  .then(({ instance }) => {
    parts = instance.exports;
    if (parts._initialize) parts._initialize();
    messageAt = parts.free_space();
  });

function pictureView() {
  if (!picture || picture.data.buffer !== parts.memory.buffer) {
    picture = new ImageData(new Uint8ClampedArray(parts.memory.buffer, parts.picture_pixels(), width * height * 4), width, height);
  }
  return picture;
}

function giveBack(message) {
  postMessage({ ...message, spent }, spent);
  spent.length = 0;
}

// The message (PageCanvas::Draw): the number of parts; x, y, width and height of each; then their
// RGB565 pixels, one part after the other, each part's rows in turn.
// The page's buffers are larger than most messages: only what the parts use is copied.
function put(message) {
  const count = new Int32Array(message, 0, 1)[0];
  const boxes = new Int32Array(message, 4, count * 4);
  let size = 4 + boxes.byteLength;
  for (let i = 0; i < boxes.length; i += 4) size += boxes[i + 2] * boxes[i + 3] * 2;
  size = Math.min(size, message.byteLength);
  const room = parts.memory.buffer.byteLength - messageAt;
  if (size > room) parts.memory.grow(Math.ceil((size - room) / 65536));
  new Uint8Array(parts.memory.buffer, messageAt, size).set(new Uint8Array(message, 0, size));
  if (parts.put_parts(messageAt, size, width, height) !== count) throw new Error('canvas.js: a picture message that does not add up');
  const shown = pictureView();
  for (let i = 0; i < boxes.length; i += 4) context.putImageData(shown, 0, 0, boxes[i], boxes[i + 1], boxes[i + 2], boxes[i + 3]);
  spent.push(message);
}

// Answers once at the next display frame, however often asked meanwhile.
function askFrame() {
  if (frameAsked) return;
  frameAsked = true;
  nextDisplayFrame(() => {
    frameAsked = false;
    giveBack({ frame: true });
  });
}

function handle(data) {
  if (data instanceof ArrayBuffer) {
    put(data);
    askFrame();  // the game's loop waits for it next
  } else if (data.canvas) {
    // Opaque and unsynchronised: the game's pictures have no see-through pixels, and each part is
    // shown as soon as it is put.
    context = data.canvas.getContext('2d', { alpha: false, desynchronized: true });
    width = data.canvas.width;
    height = data.canvas.height;
    if (width * height > parts.picture_capacity()) throw new Error('canvas.js: a canvas larger than the game');
    new Uint32Array(parts.memory.buffer, parts.picture_pixels(), width * height).fill(0xff000000);
  } else if (data.frame) {
    askFrame();
  } else if (data.read) {
    postMessage({ picture: pictureView().data.slice() });
  }
}

// In their order, once the conversion is in. A failure is thrown again outside the chain, so that the
// page hears of it (the worker's error event) and the messages after it are still handled.
let queue = Promise.resolve();
onmessage = ({ data }) => {
  queue = queue.then(() => loaded).then(() => handle(data)).catch((e) => setTimeout(() => { throw e; }));
};

// The picture's worker: the page hands it the canvas, and it converts and puts there the parts of
// the game's pictures the page sends. Drawn here, a picture costs the page's own thread no
// conversion, layout, paint or commit. The worker also tells the page when the next display frame
// comes (the game's loop waits for it) and sends back the picture shown.
'use strict';
let context = null;
let picture = null, picture32 = null;  // what the canvas shows, RGBA
let frameAsked = false;
const spent = [];  // the page's buffers, to go back with the next frame
const nextDisplayFrame = self.requestAnimationFrame ? (f) => requestAnimationFrame(f) : (f) => setTimeout(f, 16);

// RGB565 to the canvas's RGBA, each channel widened as the desktop's conversion does.
const kRgba = new Uint32Array(65536);
for (let p = 0; p < 65536; ++p) {
  const r = p >> 11, g = (p >> 5) & 0x3f, b = p & 0x1f;
  kRgba[p] = ((r << 3) | (r >> 2)) | (((g << 2) | (g >> 4)) << 8) | (((b << 3) | (b >> 2)) << 16) | 0xff000000;
}

function giveBack(message) {
  postMessage({ ...message, spent }, spent);
  spent.length = 0;
}

// The message (PageCanvas::Draw): the number of parts; x, y, width and height of each; then their
// RGB565 pixels, one part after the other, each part's rows in turn.
function put(message) {
  const count = new Int32Array(message, 0, 1)[0];
  const boxes = new Int32Array(message, 4, count * 4);
  const pixels = new Uint16Array(message, 4 + count * 16);
  const width = picture.width;
  let at = 0;
  for (let i = 0; i < boxes.length; i += 4) {
    const [x, y, w, h] = boxes.subarray(i, i + 4);
    for (let row = y; row < y + h; ++row) {
      for (let to = row * width + x, end = to + w; to < end; ++to) picture32[to] = kRgba[pixels[at++]];
    }
    context.putImageData(picture, 0, 0, x, y, w, h);
  }
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

onmessage = ({ data }) => {
  if (data instanceof ArrayBuffer) {
    put(data);
    askFrame();  // the game's loop waits for it next
  } else if (data.canvas) {
    // Opaque and unsynchronised: the game's pictures have no see-through pixels, and each part is
    // shown as soon as it is put.
    context = data.canvas.getContext('2d', { alpha: false, desynchronized: true });
    picture = new ImageData(data.canvas.width, data.canvas.height);
    picture32 = new Uint32Array(picture.data.buffer);
    picture32.fill(0xff000000);
  } else if (data.frame) {
    askFrame();
  } else if (data.read) {
    postMessage({ picture: picture.data.slice() });
  }
};

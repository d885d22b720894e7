// The picture's worker: the page hands it the canvas, and it puts there the parts of the game's
// pictures the page sends. Drawn here, a picture costs the page's own thread no layout, paint or
// commit, and the browser redraws only the parts that changed. The worker also tells the page when
// the next display frame comes (the game's loop waits for it) and sends back the picture shown.
'use strict';
let context = null;
let frameAsked = false;
const spent = [];  // the pixels' buffers, to go back to the page with the next frame
const nextDisplayFrame = self.requestAnimationFrame ? (f) => requestAnimationFrame(f) : (f) => setTimeout(f, 16);

function giveBack(message) {
  postMessage({ ...message, spent }, spent);
  spent.length = 0;
}

onmessage = ({ data }) => {
  if (data.canvas) {
    // Opaque and unsynchronised: the game's pictures have no see-through pixels, and each part is
    // shown as soon as it is put.
    context = data.canvas.getContext('2d', { alpha: false, desynchronized: true });
  } else if (data.boxes) {
    // boxes: x, y, width, height of each part; pixels: their RGBA rows, one part after the other.
    let at = 0;
    for (let i = 0; i < data.boxes.length; i += 4) {
      const [x, y, w, h] = data.boxes.subarray(i, i + 4);
      context.putImageData(new ImageData(new Uint8ClampedArray(data.pixels, at, w * h * 4), w, h), x, y);
      at += w * h * 4;
    }
    spent.push(data.pixels);
    if (spent.length > 4) giveBack({});  // pictures while the game asks for no frames
  } else if (data.frame && !frameAsked) {
    frameAsked = true;
    nextDisplayFrame(() => {
      frameAsked = false;
      giveBack({ frame: true });
    });
  } else if (data.read) {
    const { width, height } = context.canvas;
    const picture = context.getImageData(0, 0, width, height).data;
    postMessage({ picture }, [picture.buffer]);
  }
};

"use strict";

// The page as the program's desktop. The web backend of the program calls
// these methods (through Module.desktop); the page's own input goes into a
// queue the program takes from. Positions and sizes the program sees are in
// device pixels: CSS pixels times devicePixelRatio.
//
//   windows   a canvas each, placed on the page, shaped by a clip path so that
//             the page shows through and takes the pointer outside the outline
//   boxes     message boxes drawn by the page, each closed by OK, Return,
//             Enter, Escape or Space
//   taskbar   a button at the foot of the page for each minimised window
class BriskoDesktop {
  // Event kinds, as the backend reads them.
  static POINTER_MOVE = 0;
  static POINTER_DOWN = 1;
  static POINTER_UP = 2;
  static DISMISS_BOX = 4;
  static RESTORE = 5;

  constructor(surface, taskbar) {
    this.surface = surface;
    this.taskbar = taskbar;
    this.events = [];
    this.windows = new Map();
    this.boxes = [];
    this.nextBoxId = 1;
    this.stackTop = 10;
    this.cursorAt = [0, 0];
    this.framesShown = 0;
    this.firstFrameMs = null;
    this.glyphCanvas = null;
    this.onKey = (event) => this.keyForBoxes(event);
    this.onPointer = (event) => { this.cursorAt = this.devicePoint(event); };
    window.addEventListener("keydown", this.onKey);
    window.addEventListener("pointermove", this.onPointer, true);
    window.addEventListener("pointerdown", this.onPointer, true);
  }

  // Leaves the page as it was before the program started.
  dispose() {
    window.removeEventListener("keydown", this.onKey);
    window.removeEventListener("pointermove", this.onPointer, true);
    window.removeEventListener("pointerdown", this.onPointer, true);
    for (const id of [...this.windows.keys()]) this.hideWindow(id);
    for (const box of [...this.boxes]) box.element.remove();
    this.boxes = [];
  }

  ratio() { return window.devicePixelRatio || 1; }
  devicePixelRatio() { return this.ratio(); }
  screenSize() {
    return [Math.floor(this.surface.clientWidth * this.ratio()), Math.floor(this.surface.clientHeight * this.ratio())];
  }
  cursor() { return this.cursorAt; }

  // The device pixel under the pointer. A position at a device pixel comes
  // in CSS pixels as a fraction (a third of one at ratio 3) that may be held
  // a hair below its true value: the margin keeps it in its pixel.
  devicePoint(event) {
    const origin = this.surface.getBoundingClientRect();
    const device = (css) => Math.floor(css * this.ratio() + 1e-3);
    return [device(event.clientX - origin.left), device(event.clientY - origin.top)];
  }

  push(kind, point, event) {
    const modifiers = event ? (event.shiftKey ? 4 : 0) | (event.ctrlKey ? 8 : 0) : 0;
    this.events.push({kind, x: point[0], y: point[1], modifiers});
  }

  takeEvent() { return this.events.shift() || null; }

  // Windows.

  showWindow(id, title, x, y, width, height) {
    const canvas = document.createElement("canvas");
    canvas.className = "brisko-window";
    canvas.width = width;
    canvas.height = height;
    canvas.style.width = width / this.ratio() + "px";
    canvas.style.height = height / this.ratio() + "px";
    canvas.dataset.title = title;
    canvas.setAttribute("role", "application");
    canvas.setAttribute("aria-label", title);
    canvas.style.zIndex = ++this.stackTop;
    const context = canvas.getContext("2d");
    this.windows.set(id, {canvas, context, title, button: null});
    this.listenToPointer(canvas);
    this.surface.appendChild(canvas);
    this.placeWindow(id, x, y);
  }

  // The pointer belongs to the window from press to release, wherever it
  // goes meanwhile, as with a grab on the desktop.
  listenToPointer(canvas) {
    canvas.addEventListener("pointerdown", (event) => {
      if (event.button !== 0) return;
      event.preventDefault();
      canvas.setPointerCapture(event.pointerId);
      this.cursorAt = this.devicePoint(event);
      this.push(BriskoDesktop.POINTER_DOWN, this.cursorAt, event);
    });
    canvas.addEventListener("pointermove", (event) => {
      this.cursorAt = this.devicePoint(event);
      this.push(BriskoDesktop.POINTER_MOVE, this.cursorAt, event);
    });
    canvas.addEventListener("pointerup", (event) => {
      if (event.button !== 0) return;
      this.cursorAt = this.devicePoint(event);
      this.push(BriskoDesktop.POINTER_UP, this.cursorAt, event);
    });
    canvas.addEventListener("contextmenu", (event) => event.preventDefault());
  }

  hideWindow(id) {
    const shown = this.windows.get(id);
    if (!shown) return;
    shown.canvas.remove();
    if (shown.button) shown.button.remove();
    this.windows.delete(id);
    this.updateTaskbar();
  }

  placeWindow(id, x, y) {
    const shown = this.windows.get(id);
    if (!shown) return;
    // A translation, not left and top: at half a CSS pixel (an odd device
    // pixel at devicePixelRatio 2) those are resampled, a transform is not.
    shown.canvas.style.transform = `translate(${x / this.ratio()}px, ${y / this.ratio()}px)`;
  }

  shapeWindow(id, rects) {
    const shown = this.windows.get(id);
    if (!shown) return;
    if (!rects) {
      shown.canvas.style.clipPath = "";
      return;
    }
    const r = this.ratio();
    let path = "";
    for (let i = 0; i < rects.length; i += 4) {
      const [left, top, right, bottom] = [rects[i] / r, rects[i + 1] / r, rects[i + 2] / r, rects[i + 3] / r];
      path += `M${left} ${top}H${right}V${bottom}H${left}Z`;
    }
    // An empty region shows nothing and takes nothing.
    shown.canvas.style.clipPath = path ? `path("${path}")` : "inset(50%)";
  }

  // Rows [top, bottom) of the window's picture, RGBA, from the program's memory.
  showRows(id, buffer, address, width, top, bottom) {
    const shown = this.windows.get(id);
    if (!shown || bottom <= top) return;
    const pixels = new Uint8ClampedArray(buffer, address + top * width * 4, (bottom - top) * width * 4);
    shown.context.putImageData(new ImageData(pixels, width, bottom - top), 0, top);
    // The first frame is on the screen with the next paint after it.
    if (this.framesShown++ === 0) requestAnimationFrame(() => { this.firstFrameMs = performance.now(); });
  }

  minimizeWindow(id) {
    const shown = this.windows.get(id);
    if (!shown || shown.button) return;
    shown.canvas.hidden = true;
    shown.button = document.createElement("button");
    shown.button.className = "brisko-task";
    shown.button.textContent = shown.title;
    shown.button.title = "Show " + shown.title;
    shown.button.addEventListener("click", () => this.restoreWindow(id));
    this.taskbar.appendChild(shown.button);
    this.updateTaskbar();
  }

  restoreWindow(id) {
    const shown = this.windows.get(id);
    if (!shown || !shown.button) return;
    shown.button.remove();
    shown.button = null;
    shown.canvas.hidden = false;
    shown.canvas.style.zIndex = ++this.stackTop;
    this.updateTaskbar();
    this.push(BriskoDesktop.RESTORE, this.cursorAt, null);
  }

  updateTaskbar() { this.taskbar.hidden = this.taskbar.childElementCount === 0; }

  // Message boxes.

  openBox(caption, text) {
    const id = this.nextBoxId++;
    const element = document.createElement("div");
    element.className = "brisko-box";
    element.dataset.title = caption;
    element.setAttribute("role", "alertdialog");
    element.setAttribute("aria-label", caption);
    element.tabIndex = -1;
    const title = document.createElement("div");
    title.className = "brisko-box-title";
    title.textContent = caption;
    const message = document.createElement("p");
    message.className = "brisko-box-text";
    message.textContent = text;
    const ok = document.createElement("button");
    ok.className = "brisko-box-ok";
    ok.textContent = "OK";
    ok.addEventListener("click", () => this.dismissBox(id));
    element.append(title, message, ok);
    element.style.zIndex = ++this.stackTop;
    this.surface.appendChild(element);
    this.centre(element);
    this.boxes.push({id, element});
    ok.focus({preventScroll: true});
    return id;
  }

  // Centred on the page, at whole CSS pixels so that its text stays sharp.
  centre(element) {
    const box = element.getBoundingClientRect();
    element.style.left = Math.floor((this.surface.clientWidth - box.width) / 2) + "px";
    element.style.top = Math.floor((this.surface.clientHeight - box.height) / 2) + "px";
  }

  boxOpen(id) { return this.boxes.some((box) => box.id === id); }

  closeBox(id) {
    const index = this.boxes.findIndex((box) => box.id === id);
    if (index < 0) return false;
    this.boxes[index].element.remove();
    this.boxes.splice(index, 1);
    return true;
  }

  dismissBox(id) {
    if (this.closeBox(id)) this.push(BriskoDesktop.DISMISS_BOX, this.cursorAt, null);
  }

  keyForBoxes(event) {
    if (!this.boxes.length || !["Enter", "Escape", " "].includes(event.key)) return;
    event.preventDefault();
    this.dismissBox(this.boxes[this.boxes.length - 1].id);
  }

  // The canvas the text engine draws glyphs on, at least side pixels square.
  glyphContext(side) {
    if (!this.glyphCanvas) this.glyphCanvas = document.createElement("canvas");
    if (this.glyphCanvas.width < side) {
      this.glyphCanvas.width = side;
      this.glyphCanvas.height = side;
    }
    return this.glyphCanvas.getContext("2d", {willReadFrequently: true});
  }

  programEnded(exitCode) {
    this.dispose();
    if (this.onEnded) this.onEnded(exitCode);
  }
}

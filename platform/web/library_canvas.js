// Drawing on a picture box's canvas, in device pixels: the drawing layer's
// pixels as the program made them, then the strokes, texts and circles of the
// graphical controls above them; and the glyphs of printed texts, which the
// program stamps into its layers itself.
mergeInto(LibraryManager.library, {
  $KansuCanvas: {
    glyphContext: null,
    ascents: {},
    // The captions' face in the language chosen, or (`program`) the
    // program's own, which the numbers printed on the table and the graph
    // keep in every language.
    font: function(pixels, bold, program) {
      return (bold ? 'bold ' : '') + pixels + 'px ' + (program ? KansuPage.programFamily : KansuPage.family);
    },
    // Where the baseline lies below the top of the line box, as the desktop's
    // text engine puts it: the face's ascent, rounded up to a whole pixel.
    ascent: function(ctx, pixels, bold, program) {
      var key = pixels + (bold ? 'b' : '') + (program ? 'p' : KansuPage.family);
      if (!(key in KansuCanvas.ascents)) {
        ctx.font = KansuCanvas.font(pixels, bold, program);
        var m = ctx.measureText('');
        var a = m.fontBoundingBoxAscent;
        KansuCanvas.ascents[key] = Math.ceil(a !== undefined ? a : pixels * 1802 / 2048);
      }
      return KansuCanvas.ascents[key];
    },
    // Fills a text in the context's font and colour; a bold one as heavy as
    // the page's bold captions (KansuPage.boldStroke).
    fill: function(ctx, text, x, y, pixels, bold) {
      ctx.fillText(text, x, y);
      if (bold && KansuPage.boldStroke) {
        ctx.strokeStyle = ctx.fillStyle;
        ctx.lineWidth = pixels * KansuPage.boldStroke;
        ctx.strokeText(text, x, y);
      }
    },
    // Ink from smoothed text (RGBA `pixels`, w × h) into `ink`, a byte a
    // pixel: where the glyph covers at least half of a pixel. A browser that
    // does not fit its glyphs to the pixel grid (WebKit at a pixel ratio of
    // 1) splits a stroke one pixel wide between two pixels, each less than
    // half covered, and the stroke would vanish ("(cm²)" read "(cr²)"):
    // where two neighbours, across or down, neither half covered, together
    // hold at least five eighths of a pixel and next to neither is more than
    // a trace, the more covered of the two is ink.
    threshold: function(pixels, w, h, ink) {
      var a = function(x, y) { return x < 0 || y < 0 || x >= w || y >= h ? 0 : pixels[4 * (y * w + x) + 3]; };
      var INK = 128, PAIR = 160, BESIDE = 64;
      // A pair of pixels p, q (q after p, across or down) that holds a stroke
      // the threshold loses; dx, dy the step from p to q.
      var split = function(px, py, dx, dy) {
        var p = a(px, py), q = a(px + dx, py + dy);
        return p < INK && q < INK && p + q >= PAIR &&
               a(px - dx, py - dy) < BESIDE && a(px + 2 * dx, py + 2 * dy) < BESIDE;
      };
      for (var y = 0; y < h; ++y)
        for (var x = 0; x < w; ++x) {
          var v = a(x, y), on = v >= INK;
          if (!on && v > 0)
            on = (split(x, y, 1, 0) && v >= a(x + 1, y)) || (split(x - 1, y, 1, 0) && v > a(x - 1, y)) ||
                 (split(x, y, 0, 1) && v >= a(x, y + 1)) || (split(x, y - 1, 0, 1) && v > a(x, y - 1));
          ink[y * w + x] = on ? 1 : 0;
        }
    },
    descent: function(ctx, pixels, bold) {
      ctx.font = KansuCanvas.font(pixels, bold);
      var d = ctx.measureText('').fontBoundingBoxDescent;
      return Math.ceil(d !== undefined ? d : pixels * 246 / 2048);
    },
  },

  // Only the part (cx, cy, cw, ch) of the image; the canvas's clip does not
  // hold for pixels put.
  kansu_canvas_put__deps: ['$KansuPage'],
  kansu_canvas_put: function(box, pixels, width, height, x, y, cx, cy, cw, ch) {
    var data = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
    KansuPage.boxes[box].ctx.putImageData(new ImageData(data, width, height), x, y, cx, cy, cw, ch);
  },

  kansu_canvas_clip__deps: ['$KansuPage'],
  kansu_canvas_clip: function(box, x, y, w, h) {
    var ctx = KansuPage.boxes[box].ctx;
    ctx.save();
    ctx.beginPath();
    ctx.rect(x, y, w, h);
    ctx.clip();
  },

  kansu_canvas_unclip__deps: ['$KansuPage'],
  kansu_canvas_unclip: function(box) {
    KansuPage.boxes[box].ctx.restore();
  },

  kansu_canvas_rect__deps: ['$KansuPage'],
  kansu_canvas_rect: function(box, x, y, w, h, colour) {
    var ctx = KansuPage.boxes[box].ctx;
    ctx.fillStyle = KansuPage.colour(colour);
    ctx.fillRect(x, y, w, h);
  },

  kansu_canvas_line__deps: ['$KansuPage'],
  kansu_canvas_line: function(box, x1, y1, x2, y2, colour, width) {
    var ctx = KansuPage.boxes[box].ctx;
    ctx.strokeStyle = KansuPage.colour(colour);
    ctx.lineWidth = width;
    ctx.lineCap = 'round';
    ctx.beginPath();
    ctx.moveTo(x1, y1);
    ctx.lineTo(x2, y2);
    ctx.stroke();
  },

  kansu_canvas_text__deps: ['$KansuPage', '$KansuCanvas'],
  kansu_canvas_text: function(box, text, x, y, scale, fontPixels, flags, colour) {
    var ctx = KansuPage.boxes[box].ctx, bold = (flags & 1) !== 0, program = (flags & 2) !== 0;
    var ascent = KansuCanvas.ascent(ctx, fontPixels, bold, program);
    ctx.font = KansuCanvas.font(fontPixels * scale, bold, program);
    ctx.fillStyle = KansuPage.colour(colour);
    ctx.textBaseline = 'alphabetic';
    KansuCanvas.fill(ctx, UTF8ToString(text), x, y + ascent * scale, fontPixels * scale, bold);
  },

  kansu_canvas_disc__deps: ['$KansuPage'],
  kansu_canvas_disc: function(box, cx, cy, radius, colour) {
    var ctx = KansuPage.boxes[box].ctx;
    ctx.fillStyle = KansuPage.colour(colour);
    ctx.beginPath();
    ctx.arc(cx, cy, radius, 0, 2 * Math.PI);
    ctx.fill();
  },

  // The browser draws text smoothed only: a pixel is ink where the glyph
  // covers at least half of it, and where a thin stroke falls between two
  // pixels, the more covered of them.
  // The width of a text in the captions' face.
  kansu_canvas_measure__deps: ['$KansuCanvas'],
  // Or (`height`) the height of its line.
  kansu_canvas_measure: function(text, pixels, bold, height) {
    if (!KansuCanvas.glyphContext)
      KansuCanvas.glyphContext = document.createElement('canvas').getContext('2d', {willReadFrequently: true});
    var ctx = KansuCanvas.glyphContext;
    ctx.font = KansuCanvas.font(pixels, bold);
    var m = ctx.measureText(UTF8ToString(text));
    if (!height) return m.width;
    return m.fontBoundingBoxAscent !== undefined ? m.fontBoundingBoxAscent + m.fontBoundingBoxDescent : pixels;
  },

  kansu_canvas_glyphs__deps: ['$KansuPage', '$KansuCanvas', 'malloc'],
  kansu_canvas_glyphs: function(text, pixelSize, bold, widthOut, heightOut) {
    if (!KansuCanvas.glyphContext)
      KansuCanvas.glyphContext = document.createElement('canvas').getContext('2d', {willReadFrequently: true});
    var ctx = KansuCanvas.glyphContext;
    var t = UTF8ToString(text);
    var ascent = KansuCanvas.ascent(ctx, pixelSize, bold, true);
    var descent = KansuCanvas.descent(ctx, pixelSize, bold);
    ctx.font = KansuCanvas.font(pixelSize, bold, true);
    var slack = 4 * Math.ceil(pixelSize / 32);
    var w = Math.max(1, Math.ceil(ctx.measureText(t).width) + slack), h = Math.max(1, ascent + descent);
    if (ctx.canvas.width < w) ctx.canvas.width = w;
    if (ctx.canvas.height < h) ctx.canvas.height = h;
    ctx.clearRect(0, 0, w, h);
    ctx.font = KansuCanvas.font(pixelSize, bold, true);
    ctx.fillStyle = '#000';
    ctx.textBaseline = 'alphabetic';
    KansuCanvas.fill(ctx, t, 0, ascent, pixelSize, bold);
    var pixels = ctx.getImageData(0, 0, w, h).data;
    var ink = _malloc(w * h);
    KansuCanvas.threshold(pixels, w, h, HEAPU8.subarray(ink, ink + w * h));
    HEAP32[widthOut >> 2] = w;
    HEAP32[heightOut >> 2] = h;
    return ink;
  },
});

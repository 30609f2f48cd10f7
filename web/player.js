// The picture book player for the web: plays window.BOOK (book.js) on a 640 x 480 canvas
// page by page, the way the desktop player does, on one timeline of milliseconds.
//   index.html            plays in real time; a tap, a click or a key goes on
//   index.html?trace      plays on a simulated clock and writes one JSON event a line
//                         into <pre id="trace"> and to the console
//   ?input=advance;click 120 200;key Enter;stop   the reader's actions for ?trace
//   ?shot=N               as ?trace, stopping when page N is done, the page unscaled
// Nothing here reads pixels back from a picture: a canvas holding a picture opened from
// disk may not be read.
(function () {
  "use strict";

  var W = 640, H = 480, MAX_PAGES = 300, LAST_STEP = 100;
  var book = window.BOOK || { title: "", pages: [] };
  var params = new URLSearchParams(window.location.search);
  var shotPage = params.has("shot") ? parseInt(params.get("shot"), 10) || 0 : 0;
  var traceMode = params.has("trace") || shotPage > 0;
  var pages = {};
  book.pages.forEach(function (p) { pages[p.page] = p; });
  function Page(n) { return pages[n] || { InUse: false, page: n }; }

  // ---- the clock: tasks ordered by their time, then by when they were asked for ----
  var clock = {
    tasks: [], nextId: 1, now: 0, virtual: traceMode, t0: 0, timer: 0,
    Now: function () {
      if (this.virtual) return this.now;
      return Math.floor(performance.now() - this.t0);
    },
    At: function (t, fn) {
      var id = this.nextId++;
      var task = { t: Math.max(t, this.virtual ? this.now : t), id: id, fn: fn };
      var i = this.tasks.length;
      while (i > 0 && (this.tasks[i - 1].t > task.t)) i--;
      this.tasks.splice(i, 0, task);
      if (!this.virtual) this.Pump();
      return id;
    },
    Cancel: function (id) {
      for (var i = 0; i < this.tasks.length; i++)
        if (this.tasks[i].id === id) { this.tasks.splice(i, 1); return; }
    },
    RunNext: function () {
      if (!this.tasks.length) return false;
      var task = this.tasks.shift();
      this.now = Math.max(this.now, task.t);
      task.fn();
      return true;
    },
    // Real time: each task runs once its time has come.
    Pump: function () {
      var self = this;
      if (self.timer) clearTimeout(self.timer);
      self.timer = 0;
      while (self.tasks.length && self.tasks[0].t <= self.Now()) self.RunNext();
      if (self.tasks.length)
        self.timer = setTimeout(function () { self.timer = 0; self.Pump(); },
          Math.max(0, self.tasks[0].t - self.Now()));
    }
  };

  // ---- the trace ----
  var traceEl = document.getElementById("trace");
  var traceLines = [];
  function Emit(event, fields) {
    var o = { t: clock.Now(), event: event };
    for (var i = 0; i < fields.length; i += 2) o[fields[i]] = fields[i + 1];
    if (!traceMode) return;
    var line = JSON.stringify(o);
    traceLines.push(line);
    console.log(line);
  }
  function FlushTrace() {
    if (traceEl) traceEl.textContent = traceLines.length ? traceLines.join("\n") + "\n" : "";
  }

  // ---- pictures: the viewer (on screen), the back buffer and the fade's source ----
  var viewer = document.getElementById("page");
  var vctx = viewer.getContext("2d");
  function MakeCanvas() {
    var c = document.createElement("canvas");
    c.width = W; c.height = H;
    var x = c.getContext("2d");
    x.fillStyle = "#000"; x.fillRect(0, 0, W, H);
    return c;
  }
  var back = MakeCanvas(), bctx = back.getContext("2d");
  var fadeSource = MakeCanvas(), fctx = fadeSource.getContext("2d");
  vctx.fillStyle = "#000"; vctx.fillRect(0, 0, W, H);
  var images = {};

  function Css(colorRef) {
    var c = (colorRef >>> 0) & 0xffffff;
    return "rgb(" + (c & 255) + "," + ((c >> 8) & 255) + "," + ((c >> 16) & 255) + ")";
  }
  function Copy(toCtx, from) { toCtx.globalAlpha = 1; toCtx.drawImage(from, 0, 0); }
  function LoadPicture(p) {
    bctx.globalAlpha = 1;
    bctx.fillStyle = "#000"; bctx.fillRect(0, 0, W, H);
    var img = images[p.web.picture];
    if (img && img.naturalWidth)
      bctx.drawImage(img, Math.trunc((W - img.naturalWidth) / 2),
        Math.trunc((H - img.naturalHeight) / 2));
  }
  function DrawClip(p) {
    var img = images[p.web.picture];
    if (img && img.naturalWidth) bctx.drawImage(img, p.ClipX, p.ClipY);
  }

  // ---- sounds: one player for WAV, one for MIDI (rendered to WAV when the book was
  // written out); browsers let sound start only after the reader touched the page ----
  var soundsAllowed = false;
  var held = { wav: null, mid: null };
  var audio = { wav: new Audio(), mid: new Audio() };
  function StartAudio(kind) {
    var h = held[kind], a = audio[kind];
    if (!h || !h.src || !soundsAllowed) return;
    a.src = h.src; a.loop = h.loop;
    var playing = a.play();
    if (playing && playing.catch) playing.catch(function () {});
  }
  function SoundEvent(play, file, loop) {
    Emit("sound", ["action", play ? "play" : "stop", "file", file, "loop", loop]);
  }
  function PlaySound(p) {
    var w = p.web;
    if (!w.soundKind) return; // a missing file or another kind: nothing starts
    var h = held[w.soundKind];
    if (h) { SoundEvent(false, h.file, h.loop); audio[w.soundKind].pause(); }
    held[w.soundKind] = { file: w.soundName, loop: p.SoundLoop, src: w.sound || "" };
    SoundEvent(true, w.soundName, p.SoundLoop);
    StartAudio(w.soundKind);
  }
  function StopSounds() {
    if (!held.wav && !held.mid) { SoundEvent(false, "", false); return; }
    ["wav", "mid"].forEach(function (k) {
      if (held[k]) { SoundEvent(false, held[k].file, held[k].loop); audio[k].pause(); }
      held[k] = null;
    });
  }
  function AllowSounds() {
    if (soundsAllowed) return;
    soundsAllowed = true;
    var note = document.getElementById("sound");
    if (note) note.style.display = "none";
    // A sound played once that already ended on the desktop starts here from its beginning.
    StartAudio("wav"); StartAudio("mid");
  }

  // ---- link areas ----
  var links = [], selected = -1, highlight = null;
  function Invert(r) { // the selection frame, drawn twice it is gone
    vctx.save();
    vctx.globalCompositeOperation = "difference";
    vctx.fillStyle = "#fff";
    var l = r[0] - 1, t = r[1] - 1, rr = r[2], b = r[3];
    vctx.fillRect(l, t, rr - l + 1, 2);
    vctx.fillRect(l, b - 1, rr - l + 1, 2);
    vctx.fillRect(l, t + 2, 2, b - t - 3);
    vctx.fillRect(rr - 1, t + 2, 2, b - t - 3);
    vctx.restore();
  }
  function ClearLinks() { links = []; selected = -1; highlight = null; }
  function MoveHighlight(slot) {
    if (highlight) { Invert(highlight); highlight = null; }
    selected = slot;
    if (slot >= 0) { highlight = links[slot].rect; Invert(highlight); }
  }
  function SlotAt(x, y) {
    for (var i = 0; i < links.length; i++) {
      var r = links[i].rect;
      if (r[0] < x && x < r[2] && r[1] < y && y < r[3]) return i;
    }
    return -1;
  }
  function LinkPageOf(page) {
    if (page < 1 || page > MAX_PAGES) return -1;
    var l = Page(page).LinkPage;
    return l >= 1 && l <= MAX_PAGES ? l : -1;
  }

  // ---- text: every character drawn at the cell the desktop engine gives it ----
  var ROTATED = "ー～〜—―‐-－「」『』（）()［］[]【】〈〉《》…‥＝=｛｝{}";
  var RAISED = "、。，．";
  function Family(w) {
    return (w.font ? "\"" + w.font + "\", " : "") + "\"" + w.face + "\", serif";
  }
  function FontCss(p) {
    var s = p.FontStyle || "", w = p.web;
    var tail = s.indexOf("Type_") === 0 ? s.slice(5) : "";
    // A bold or italic the face lacks is made here as the desktop makes it (see Glyph).
    return (tail.indexOf("I") >= 0 && !w.slant ? "italic " : "")
      + (tail.indexOf("B") >= 0 && !w.boldShift ? "bold " : "") + w.cell + "px " + Family(w);
  }
  var text = null; // the page being typed
  function GlyphAt(ctx, p, n, dx, dy) {
    var w = p.web, ch = (w.shown || w.chars)[n - 1], at = w.positions[n - 1], h = w.cell;
    var x = at[0] + dx, y = at[1] + dy;
    // Vertical writing: upright glyphs down the column; dashes and brackets turned, the
    // small marks set in the upper right of their cell.
    var turned = p.Vertical && ROTATED.indexOf(ch) >= 0;
    ctx.save();
    if (turned) {
      ctx.translate(x + h / 2, y + h / 2);
      ctx.rotate(Math.PI / 2);
      ctx.textAlign = "center"; ctx.textBaseline = "middle";
      x = 0; y = 0;
    } else if (p.Vertical && RAISED.indexOf(ch) >= 0) {
      x += h * 0.6; y -= h * 0.6;
    }
    Glyph(ctx, w, ch, x, y, turned ? 0 : w.ascent || 0);
    ctx.restore();
  }
  // A made-up italic slants the plain outline about the baseline, a made-up bold draws it
  // a second time a little along the line.
  function Glyph(ctx, w, ch, x, y, baseline) {
    if (w.slant) {
      ctx.translate(x, y + baseline);
      ctx.transform(1, 0, -w.slant, 1, 0, 0);
      ctx.translate(-x, -(y + baseline));
    }
    ctx.fillText(ch, x, y);
    if (w.boldShift) ctx.fillText(ch, x + w.boldShift, y);
  }
  // A character with its underline and strike-out bars, which run along it.
  function CharAt(ctx, p, n, dx, dy) {
    GlyphAt(ctx, p, n, dx, dy);
    var bars = p.web.bars ? p.web.bars[n - 1] : null;
    for (var b = 0; bars && b < bars.length; b++)
      ctx.fillRect(bars[b][0] + dx, bars[b][1] + dy, bars[b][2], bars[b][3]);
  }
  function DrawChars(ctx, p, from, to) {
    var w = p.web;
    ctx.save();
    ctx.globalAlpha = 1;
    ctx.font = FontCss(p);
    ctx.textBaseline = "top";
    ctx.textAlign = "left";
    var offsets = [];
    if (p.Shadow) {
      if (p.Highlight) {
        var d = w.outlineOffset;
        [[1, 1], [-1, 1], [-1, -1], [1, -1], [0, -1], [0, 1], [-1, 0], [1, 0]].forEach(
          function (o) { offsets.push([o[0] * d, o[1] * d]); });
      } else {
        offsets.push([w.shadowOffset, w.shadowOffset]);
      }
    }
    var n;
    ctx.fillStyle = Css(p.ShadowColor);
    for (var i = 0; i < offsets.length; i++)
      for (n = from; n <= to; n++) CharAt(ctx, p, n, offsets[i][0], offsets[i][1]);
    ctx.fillStyle = Css(p.FontColor);
    for (n = from; n <= to; n++) CharAt(ctx, p, n, 0, 0);
    ctx.restore();
  }

  // ---- the player ----
  var busy = false, stopRequested = false, pagePending = false, visible = false;
  var current = 1, playingPage = 1, nextGoto = 0, nextPeriod = false;
  var fade = null, fadeSerial = 0, typing = null, waiting = false, pagesPlayed = 0;
  var goOn = document.getElementById("goOn");
  function ShowGoOn(on) { if (goOn) goOn.style.visibility = on ? "visible" : "hidden"; }

  function RoundHalfEven(v) {
    var f = Math.floor(v), r = v - f;
    if (r > 0.5) return f + 1;
    if (r < 0.5) return f;
    return f % 2 === 0 ? f : f + 1;
  }

  // When the first picture reached the screen, in ms from the page load (data-first-page-ms).
  function Shown() {
    if (document.body.hasAttribute("data-first-page-ms")) return;
    document.body.setAttribute("data-first-page-ms", String(Math.round(performance.now())));
  }
  function Present() {
    Copy(vctx, back);
    Shown();
    Emit("picture", ["kind", "present"]);
  }

  // The fade: 99 steps, one each wait; when the first step took longer than the wait the
  // rest skip ahead by the ratio, so the fade keeps about its planned length.
  function FadeIn(wait, done) {
    if (fade) FinishFade(true);
    Copy(fctx, viewer);
    fade = { wait: Math.max(0, wait), step: 1, steps: 0, increment: 1, measured: false,
      stopAsked: false, task: 0, done: done };
    fade.start = fade.last = clock.Now();
    fade.task = clock.At(clock.Now(), FadeStep);
  }
  function FadeStep() {
    if (!fade) return;
    var f = fade;
    f.task = 0;
    if (f.stopAsked || stopRequested) { FinishFade(true); return; }
    Copy(vctx, fadeSource);
    vctx.globalAlpha = f.step / LAST_STEP;
    vctx.drawImage(back, 0, 0);
    vctx.globalAlpha = 1;
    Shown();
    f.steps++;
    f.task = clock.At(f.last + f.wait, FadeAfterWait);
  }
  function FadeAfterWait() {
    if (!fade) return;
    var f = fade;
    f.task = 0;
    f.last = clock.Now();
    if (!f.measured) {
      f.measured = true;
      var elapsed = f.last - f.start;
      if (elapsed > f.wait) {
        if (f.wait === 0) f.wait = 1;
        f.increment = Math.max(1, RoundHalfEven(100 / ((f.wait * 100) / elapsed)));
      } else {
        f.increment = 1;
      }
    }
    f.step += f.increment;
    if (f.step < LAST_STEP) FadeStep(); else FinishFade(false);
  }
  function FinishFade(stopped) {
    var f = fade;
    if (f.task) clock.Cancel(f.task);
    Copy(vctx, back);
    fade = null;
    f.done({ steps: f.steps, wait: f.wait, stopped: stopped });
  }
  function StopFade() {
    if (!fade) return;
    fade.stopAsked = true;
    if (fade.task) clock.Cancel(fade.task);
    fade.task = clock.At(clock.Now(), FadeStep);
  }

  function ShowBackBuffer(p, withFade, then) {
    if (!withFade) { Present(); then(); return; }
    Emit("fade", ["phase", "begin", "wait", p.EffectWait, "steps", 0]);
    var serial = ++fadeSerial;
    FadeIn(p.EffectWait, function (report) {
      if (serial !== fadeSerial) return;
      Emit("fade", ["phase", "end", "wait", report.wait, "steps", report.steps]);
      if (pagePending) then();
    });
  }

  function StartPlaying() {
    if (busy) return;
    busy = true;
    document.title = book.title || "絵本";
    nextGoto = 0; nextPeriod = false;
    ClearLinks();
    if (current < 1 || current > MAX_PAGES) current = 1;
    PlayPage(current);
  }

  function PlayPage(n) {
    playingPage = n;
    var p = Page(n);
    pagesPlayed++;
    Emit("page", ["page", n, "inUse", !!p.InUse]);
    if (!p.InUse) { busy = false; pagePending = false; Wait(); return; }
    pagePending = true;
    visible = true;
    ShowGoOn(false);
    stopRequested = false;
    if (p.SoundStop) StopSounds();
    else if (p.SoundFile) PlaySound(p);

    if (!p.ClipMode) {
      var drawn = false;
      if (p.PictureFile) {
        LoadPicture(p);
        Emit("picture", ["kind", "load", "file", p.web.pictureName]);
        drawn = true;
      } else if (p.FillImage) {
        bctx.globalAlpha = 1;
        bctx.fillStyle = Css(p.FillColor); bctx.fillRect(0, 0, W, H);
        Emit("picture", ["kind", "fill", "color", p.FillColor >>> 0]);
        drawn = true;
      }
      if (drawn) {
        ClearLinks();
        if (!p.DrawToBackBuffer) { ShowBackBuffer(p, p.PicEffect !== 0, ContinuePlayPage); return; }
      }
    } else {
      DrawClip(p);
      Emit("picture", ["kind", "clip", "file", p.web.pictureName]);
      if (!p.DrawToBackBuffer) { ShowBackBuffer(p, p.PicEffect !== 0, ContinuePlayPage); return; }
    }
    ContinuePlayPage();
  }

  function ContinuePlayPage() {
    var p = Page(playingPage);
    var toBack = p.DrawToBackBuffer || p.WriteAll;
    var count = p.web.chars.length;
    var delays = [];
    for (var i = 0; i < count; i++) {
      var d = p.CharDelays[i];
      delays.push(toBack || d === undefined || d === -1 ? 0 : d);
    }
    if (p.LinkPage !== 0 && links.length < 301)
      links.push({ rect: p.web.linkRect, page: playingPage });
    text = { page: p, delays: delays, deferred: toBack, index: 1, last: clock.Now(),
      target: toBack ? bctx : vctx, task: 0 };
    ScheduleChar();
  }
  function ScheduleChar() {
    var t = text;
    if (t.index > t.page.web.chars.length) {
      t.task = clock.At(clock.Now(), function () { FinishTyping(); });
      return;
    }
    t.task = clock.At(t.last + t.delays[t.index - 1], TypeChar);
  }
  function TypeChar() {
    var t = text;
    t.last = clock.Now();
    var n = t.index, ch = t.page.web.chars[n - 1];
    var skipped = ch === " " && t.delays[n - 1] <= 0;
    if (!skipped && !t.deferred) DrawChars(t.target, t.page, n, n);
    t.index++;
    Emit("char", ["n", n, "ch", ch, "drawn", !skipped]);
    if (stopRequested) { FinishTyping(); return; }
    ScheduleChar();
  }
  function FinishTyping() {
    var t = text;
    if (t.deferred) {
      var all = [];
      for (var n = 1; n < t.index; n++)
        if (!(t.page.web.chars[n - 1] === " " && t.delays[n - 1] <= 0)) all.push(n);
      for (var i = 0; i < all.length; i++) DrawChars(t.target, t.page, all[i], all[i]);
    }
    text = null;
    PageDone();
  }

  function PageDone() {
    var p = Page(playingPage);
    if (p.ShowBackBuffer) { ShowBackBuffer(p, p.PicEffect === 1, ContinuePageDone); return; }
    if (p.WriteAll && !p.DrawToBackBuffer) Present();
    ContinuePageDone();
  }

  function ContinuePageDone() {
    var done = playingPage, p = Page(done);
    if (!p.DrawToBackBuffer) Copy(bctx, viewer);
    nextGoto = p.GotoPage; nextPeriod = !!p.Period;
    var next = nextGoto > 0 ? nextGoto : current + 1;
    if (next > MAX_PAGES) next = MAX_PAGES;
    current = next;
    if (Page(next).InUse) {
      Emit("done", ["page", done, "next", next, "period", nextPeriod, "links", links.length]);
      if (p.Period || stopRequested) {
        ShowGoOn(true);
        busy = false; pagePending = false;
        Shot(done);
        Wait();
      } else {
        Shot(done);
        PlayPage(next);
      }
      return;
    }
    current = Math.max(1, next - 1);
    ShowGoOn(true);
    busy = false; pagePending = false;
    Emit("done", ["page", done, "next", current, "period", nextPeriod, "links", links.length]);
    Shot(done);
    Emit("end", ["current", current]);
    Wait();
  }

  function Wait() {
    Emit("wait", ["current", current]);
    waiting = true;
  }

  // ---- the reader ----
  function RequestStop() {
    stopRequested = true;
    if (pagePending && fade) StopFade();
  }
  function StopButton() {
    if (!busy) return;
    RequestStop();
    StopSounds();
  }
  function Advance() { if (!busy) StartPlaying(); }
  function PlayLink(page) {
    MoveHighlight(-1);
    current = page;
    ClearLinks();
    StartPlaying();
  }
  function GoOn() {
    if (busy) return;
    if (links.length) {
      if (selected >= 0) {
        var target = LinkPageOf(links[selected].page);
        if (target >= 1) PlayLink(target);
      }
    } else {
      Advance();
    }
  }
  function PictureDown(x, y) {
    if (busy) return;
    var slot = SlotAt(x, y);
    var target = slot < 0 ? -1 : LinkPageOf(links[slot].page);
    if (target < 1) { if (!links.length) Advance(); return; }
    PlayLink(target);
  }
  function Key(name) {
    if (!visible) return;
    if (name === "escape") {
      RequestStop();
      if (!busy) { StopSounds(); visible = false; } // the viewer closes
      return;
    }
    if (busy) return;
    if (name === "enter" || name === "return" || name === "space") { GoOn(); return; }
    if (["left", "up", "right", "down"].indexOf(name) >= 0 && links.length && nextPeriod) {
      var s;
      if (name === "left" || name === "up")
        s = selected < 0 ? 0 : (selected - 1 + links.length) % links.length;
      else
        s = selected < 0 ? 0 : (selected + 1) % links.length;
      MoveHighlight(s);
    }
  }

  // ---- a scripted run (?trace, ?shot) ----
  function ParseScript(script) {
    var out = [];
    script.split(";").forEach(function (raw) {
      var words = raw.trim().split(/\s+/).filter(function (w) { return w; });
      if (!words.length) return;
      var verb = words[0].toLowerCase();
      if (verb === "click") out.push({ kind: "click", x: +words[1], y: +words[2] });
      else if (verb === "key") out.push({ kind: "key", key: (words[1] || "").toLowerCase() });
      else out.push({ kind: verb });
    });
    return out;
  }
  var shotTaken = false;
  function Shot(page) { if (shotPage && page === shotPage) shotTaken = true; }

  function RunScripted() {
    var actions = ParseScript(params.get("input") || "");
    var next = 0;
    function PressStopIfNext() {
      if (busy && next < actions.length && actions[next].kind === "stop") { next++; StopButton(); }
    }
    current = 1;
    StartPlaying();
    PressStopIfNext();
    for (;;) {
      if (shotTaken) break;
      if (pagesPlayed > 2000) break;
      if (waiting) {
        waiting = false;
        while (next < actions.length && actions[next].kind === "stop") next++;
        if (next >= actions.length) break;
        var a = actions[next++];
        if (a.kind === "advance") GoOn();
        else if (a.kind === "click") PictureDown(a.x, a.y);
        else if (a.kind === "key") Key(a.key);
        if (busy) PressStopIfNext();
        else if (!waiting) Wait();
        continue;
      }
      if (!clock.RunNext()) break;
    }
    FlushTrace();
    document.body.setAttribute("data-done", "1");
  }

  // ---- the window: the page scaled to fit with its shape kept, full screen, input ----
  function Fit() {
    if (shotPage) { viewer.style.width = W + "px"; viewer.style.height = H + "px"; return; }
    var s = Math.min(window.innerWidth / W, window.innerHeight / H);
    viewer.style.width = Math.floor(W * s) + "px";
    viewer.style.height = Math.floor(H * s) + "px";
  }
  function PagePoint(e) {
    var r = viewer.getBoundingClientRect();
    return { x: Math.floor((e.clientX - r.left) * W / r.width),
      y: Math.floor((e.clientY - r.top) * H / r.height) };
  }
  function Interactive() {
    clock.t0 = performance.now();
    window.addEventListener("resize", Fit);
    viewer.addEventListener("pointerdown", function (e) {
      if (e.button !== 0) return;
      AllowSounds();
      var pt = PagePoint(e);
      PictureDown(pt.x, pt.y);
      clock.Pump();
    });
    viewer.addEventListener("pointermove", function (e) {
      if (busy || !links.length) return;
      var pt = PagePoint(e), slot = SlotAt(pt.x, pt.y);
      if (slot !== selected) MoveHighlight(slot);
    });
    document.getElementById("stage").addEventListener("pointerdown", function (e) {
      if (e.target !== viewer) { AllowSounds(); if (!links.length) Advance(); clock.Pump(); }
    });
    goOn.addEventListener("click", function () { AllowSounds(); GoOn(); clock.Pump(); });
    document.getElementById("stop").addEventListener("click", function () {
      AllowSounds(); StopButton(); clock.Pump();
    });
    document.getElementById("full").addEventListener("click", function () {
      AllowSounds();
      if (document.fullscreenElement) document.exitFullscreen();
      else if (document.documentElement.requestFullscreen)
        document.documentElement.requestFullscreen();
    });
    var keyNames = { Enter: "enter", " ": "space", ArrowLeft: "left", ArrowRight: "right",
      ArrowUp: "up", ArrowDown: "down", Escape: "escape" };
    document.addEventListener("keydown", function (e) {
      var name = keyNames[e.key];
      if (!name) return;
      e.preventDefault();
      AllowSounds();
      Key(name);
      clock.Pump();
    });
    current = 1;
    StartPlaying();
    clock.Pump();
  }

  function Begin() {
    Fit();
    if (traceMode) {
      document.body.classList.add(shotPage ? "shot" : "trace");
      RunScripted();
    } else {
      Interactive();
    }
  }

  // Every picture and face is ready before the first page, so none is drawn half loaded.
  var waitingFor = 1;
  function Ready() { if (--waitingFor === 0) Begin(); }
  (window.BOOK_FONTS || []).forEach(function (f) {
    if (!window.FontFace) return;
    var bytes = atob(f.data), buffer = new Uint8Array(bytes.length);
    for (var i = 0; i < bytes.length; i++) buffer[i] = bytes.charCodeAt(i);
    var face = new FontFace(f.name, buffer.buffer);
    waitingFor++;
    face.load().then(function (loaded) { document.fonts.add(loaded); Ready(); }, Ready);
  });
  book.pages.forEach(function (p) {
    var src = p.web && p.web.picture;
    if (!src || images[src]) return;
    var img = new Image();
    images[src] = img;
    waitingFor++;
    img.onload = img.onerror = Ready;
    img.src = src;
  });
  Ready();
})();

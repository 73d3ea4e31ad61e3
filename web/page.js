// The page around the game: it puts the archive pair into the program's file system, keeps
// the player's folder in the browser's storage (IndexedDB), decodes the clips, starts the
// game, sizes the picture, wakes the sound at the first key or click, hands F1 snapshots over
// as downloads and, with ?timing, shows how long the frames take. With ?verify=<replay file
// served beside the page>, it verifies that recorded run unseen instead, as the desktop's
// --verify does, and the page's title becomes the desktop's one line. With ?replay=<a path on
// the page's own server> (a board's /runs/12.krp), it fetches that run and the game starts by
// watching it.
"use strict";

(function () {
  const kPlayerFolder = "/korimo";
  const kPictureWidth = 320;
  const kPictureHeight = 240;
  const status = document.getElementById("status");
  const stage = document.getElementById("stage");
  const screen = document.getElementById("screen");
  const query = new URLSearchParams(location.search);
  const replayName = query.get("verify");
  const replayFile = replayName && "/" + replayName.split("/").pop();
  // ?replay=<a path on this page's own server>: that run, fetched and watched in the game's
  // replay viewer once the page has started.
  const watched = query.has("replay") ? watchedAddress(query.get("replay")) : null;
  const kWatchedFile = "/watched.krp";
  // A board's replay file is never larger (the board refuses larger uploads).
  const kLargestReplay = 64 * 1024;

  const Module = window.Module = {
    preRun: [loadFiles],
    onRuntimeInitialized: startGame,
    // The program's one-line complaints (a damaged archive, a settings line it cannot use)
    // show under the picture, where a player sees them.
    printErr: (text) => {
      console.error(text);
      status.textContent = text;
    },
    korimoScale: () => scale,
    // Only a verdict is printed, when verifying.
    print: (text) => {
      console.log(text);
      if (replayFile) document.title = text;
    },
  };

  function fail(text) {
    status.textContent = text;
    console.error(text);
  }

  // Only a page of this very server: a link from elsewhere must not make the page fetch from
  // a third party, and other schemes (data:, blob:, file:) are not a board's.
  function watchedAddress(text) {
    let address = null;
    try {
      address = new URL(text, location.href);
    } catch (error) {
      // refused below
    }
    if (!address || address.origin !== location.origin || !/^https?:$/.test(address.protocol)) {
      fail("A replay to watch must be a path on this page's own server, not " +
           JSON.stringify(text.slice(0, 200)) + ".");
      return null;
    }
    return address.href;
  }

  // The replay's bytes, read up to the cap: a longer answer is no replay, and is not read on.
  async function fetchReplay(address) {
    const response = await fetch(address, {redirect: "error", credentials: "omit"});
    if (!response.ok) throw new Error(response.status + " " + response.statusText);
    const reader = response.body.getReader();
    const parts = [];
    let size = 0;
    for (;;) {
      const {done, value} = await reader.read();
      if (done) break;
      size += value.length;
      if (size > kLargestReplay) {
        reader.cancel();
        throw new Error("more than " + kLargestReplay / 1024 + " KiB, too large to be a replay");
      }
      parts.push(value);
    }
    const bytes = new Uint8Array(size);
    let at = 0;
    for (const part of parts) {
      bytes.set(part, at);
      at += part.length;
    }
    return bytes;
  }

  function fetchBytes(name) {
    return fetch(name).then((response) => {
      if (!response.ok) throw new Error(name + ": " + response.status + " " + response.statusText);
      return response.arrayBuffer();
    }).then((buffer) => new Uint8Array(buffer));
  }

  // Before the program's static start-up maps the archive: both files in place, and the
  // player's folder read back from the browser's storage.
  function loadFiles() {
    const FS = Module.FS;
    Module.addRunDependency("korimo-files");
    FS.mkdir(kPlayerFolder);
    FS.mount(FS.filesystems.IDBFS, {}, kPlayerFolder);
    const stored = new Promise((resolve) => FS.syncfs(true, (error) => {
      if (error) console.error("korimo: the stored scores could not be read:", error);
      resolve();
    }));
    const replay = replayFile ? fetchBytes(replayName) : null;
    // A replay to watch that cannot be fetched says so; the game starts all the same.
    const watchedReplay = watched && fetchReplay(watched).catch((error) => {
      fail("The replay " + watched + " could not be fetched: " + error.message);
      return null;
    });
    Promise.all([fetchBytes("korimo.set"), fetchBytes("korimo.dat"), stored, replay, watchedReplay])
      .then(([index, data, , replayBytes, watchedBytes]) => {
        FS.writeFile("/korimo.set", index);
        FS.writeFile("/korimo.dat", data);
        if (replayFile) FS.writeFile(replayFile, replayBytes);
        // Outside the player's folder: a run watched from elsewhere is not the player's.
        if (watchedBytes) {
          FS.writeFile(kWatchedFile, watchedBytes);
          Module.korimoWatchedAddress = watched;
        }
        // A file is written whole under another name and then renamed into place: every
        // rename passes here, so a finished snapshot is seen at once.
        const rename = FS.rename;
        FS.rename = (from, to) => {
          const result = rename(from, to);
          offerSnapshot(to);
          return result;
        };
        Module.removeRunDependency("korimo-files");
      })
      .catch((error) => fail("The game's files could not be loaded: " + error.message));
  }

  // The clips are decoded before main, which loads them synchronously (sound/web).
  function startGame() {
    const streams = [];
    const out = Module._malloc(12);
    for (let index = 0; ; index++) {
      const found = Module._korimo_clip_stream(index, out);
      if (found < 0) break;
      if (found === 0) continue;
      const [start, size, channels] = Module.HEAPU32.subarray(out >> 2, (out >> 2) + 3);
      streams.push({key: start + ":" + size, channels: channels,
                    bytes: Module.HEAPU8.slice(start, start + size)});
    }
    Module._free(out);
    korimoClipDecoding.decodeAll(window["mpg123-decoder"].MPEGDecoder, streams)
      .then((clips) => {
        Module.korimoClips = clips;
        // A line about the replay to watch stays.
        if (!query.has("replay") || Module.korimoWatchedAddress) status.textContent = "";
        // ?board=ADDRESS sends the runs of this visit there, as --board does on the desktop.
        const board = query.has("board") ? ["--board", query.get("board")] : [];
        Module.callMain(replayFile ? ["--verify", replayFile]
                        : Module.korimoWatchedAddress ? ["--replay", watched] : board);
      })
      .catch((error) => fail("The sounds could not be decoded: " + error.message));
  }

  // The player's folder goes to the browser's storage after every change; a change made while
  // a store runs is stored after it.
  let storing = false;
  let storeAgain = false;
  Module.korimoStore = function store() {
    if (storing) {
      storeAgain = true;
      return;
    }
    storing = true;
    Module.FS.syncfs(false, (error) => {
      if (error) console.error("korimo: the scores could not be stored:", error);
      storing = false;
      Module.korimoStored = (Module.korimoStored || 0) + 1;
      if (storeAgain) {
        storeAgain = false;
        store();
      }
    });
  };

  // An F1 snapshot is offered as a download and then removed, so snapshots do not pile up in
  // the browser's storage.
  function offerSnapshot(path) {
    const name = path.slice(kPlayerFolder.length + 1);
    if (!path.startsWith(kPlayerFolder + "/") || !/^Snap\d+\.bmp$/.test(name)) return;
    // After the frame that wrote it.
    setTimeout(() => {
      const bytes = Module.FS.readFile(path);
      Module.FS.unlink(path);
      const link = document.createElement("a");
      link.href = URL.createObjectURL(new Blob([bytes], {type: "image/bmp"}));
      link.download = name;
      link.click();
      setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    }, 0);
  }

  // The page's one exchange with a board (web/PageBoard.cpp): a post whose answer goes back
  // to the program as it came (status 0 and why, when no whole answer came). The board is a
  // stranger: no redirects, no cookies, at most largestAnswer bytes and seconds in all.
  Module.korimoExchange = (url, headerLines, body, largestAnswer, seconds) => {
    const answered = (status, failure, bytes, retryAfter) => {
      const strings = [failure, retryAfter].map((text) => {
        const size = Module.lengthBytesUTF8(text) + 1;
        const at = Module._malloc(size);
        Module.stringToUTF8(text, at, size);
        return at;
      });
      const at = Module._malloc(bytes.length + 1);
      Module.HEAPU8.set(bytes, at);
      Module._korimo_board_answered(status, strings[0], at, bytes.length, strings[1]);
      [at, ...strings].forEach((pointer) => Module._free(pointer));
      Module.korimoStore();  // the outbox as it is now
    };
    const headers = {};
    for (const line of headerLines.split("\n").filter(Boolean)) {
      const colon = line.indexOf(": ");
      headers[line.slice(0, colon)] = line.slice(colon + 2);
    }
    fetch(url, {method: "POST", body, headers, redirect: "error", credentials: "omit",
                signal: AbortSignal.timeout(seconds * 1000)})
      .then(async (response) => {
        const bytes = new Uint8Array(await response.arrayBuffer());
        if (bytes.length > largestAnswer)
          answered(0, "answered with more than " + largestAnswer + " bytes", new Uint8Array(), "");
        else
          answered(response.status, "", bytes, response.headers.get("Retry-After") || "");
      })
      .catch((error) => answered(0, error.message, new Uint8Array(), ""));
  };

  // The watched run's end: whether it played as recorded, in the line --verify prints.
  Module.korimoWatched = (verdict) => {
    status.textContent = "Watched " + Module.korimoWatchedAddress + ": " + verdict;
  };

  // A start that failed has said why on the way (printErr); that line stays.
  Module.korimoEnded = (exitCode) => {
    if (exitCode === 0)
      status.textContent = "The game has ended. Reload the page to play again.";
    else if (!status.textContent)
      status.textContent = "The game could not start.";
  };

  // The picture at the largest whole factor of 320x240 that fits the page beside the line of
  // keys; full screen, of the doubled picture that fits the screen, as on the desktop.
  let scale = 1;
  function layout() {
    const full = document.fullscreenElement === stage;
    let width = window.innerWidth;
    let height = window.innerHeight;
    if (!full) height -= document.getElementById("keys").offsetHeight + 40;
    const unit = full ? 2 : 1;
    scale = Math.max(1, unit * Math.floor(Math.min(width / (kPictureWidth * unit),
                                                   height / (kPictureHeight * unit))));
    screen.style.width = kPictureWidth * scale + "px";
    screen.style.height = kPictureHeight * scale + "px";
  }
  window.addEventListener("resize", layout);
  document.addEventListener("fullscreenchange", layout);
  layout();

  // Browsers let sound play only after the player has done something.
  function wakeSound() {
    const audio = Module.korimoAudio;
    if (audio && audio.context.state !== "running") audio.context.resume();
  }
  for (const type of ["keydown", "mousedown", "touchstart"])
    window.addEventListener(type, wakeSound, true);

  // ?timing: the game's own time per frame and the browser's time to show it, over the last
  // thousand frames, once a second.
  if (new URLSearchParams(location.search).has("timing")) {
    const line = document.getElementById("timing");
    const frames = Module.korimoFrameTimes = {game: [], presenting: []};
    Module.korimoFrameTime = (game, presenting) => {
      frames.game.push(game);
      frames.presenting.push(presenting);
      if (frames.game.length > 1000) {
        frames.game.shift();
        frames.presenting.shift();
      }
    };
    const summary = (times) => {
      const sorted = times.slice().sort((a, b) => a - b);
      const mean = times.reduce((sum, each) => sum + each, 0) / times.length;
      const p99 = sorted[Math.min(sorted.length - 1, Math.floor(0.99 * sorted.length))];
      return "mean " + mean.toFixed(3) + " ms, 99th percentile " + p99.toFixed(3) + " ms";
    };
    setInterval(() => {
      if (!frames.game.length) return;
      line.textContent = "last " + frames.game.length + " frames: game " +
        summary(frames.game) + "; showing them " + summary(frames.presenting);
    }, 1000);
  }
})();

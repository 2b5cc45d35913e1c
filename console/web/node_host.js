// The host of the command-line form under node: standard input and output as bytes, as the
// native program has them, real pauses, and a key wait only where there is a terminal.
Module['rtgHost'] = (function () {
  const fs = require('fs');
  const tty = require('tty');
  const decoder = new TextDecoder('windows-1250');
  const terminal = { 1: tty.isatty(1), 2: tty.isatty(2) };

  // Pauses the whole process for a moment, for a file that another program left non-blocking.
  function nap(milliseconds) {
    Atomics.wait(new Int32Array(new SharedArrayBuffer(4)), 0, 0, milliseconds);
  }

  function writeAll(fd, bytes) {
    let written = 0;
    while (written < bytes.length) {
      try {
        written += fs.writeSync(fd, bytes, written);
      } catch (error) {
        if (error.code !== 'EAGAIN') {
          return; // nobody to tell: the dialogue has no channel left
        }
        nap(1);
      }
    }
  }

  // Standard input is read as it comes and kept here until a reading takes it; a source much
  // faster than the student is held back rather than kept whole.
  const keepAtMost = 1 << 16;
  const chunks = [];
  let kept = 0;
  let ended = false;
  let wake = null;
  function wakeReader() {
    if (wake) {
      const resume = wake;
      wake = null;
      resume();
    }
  }
  process.stdin.on('data', (chunk) => {
    chunks.push(chunk);
    kept += chunk.length;
    if (kept >= keepAtMost) {
      process.stdin.pause();
    }
    wakeReader();
  });
  process.stdin.on('end', () => {
    ended = true;
    wakeReader();
  });
  process.stdin.on('error', () => {
    ended = true;
    wakeReader();
  });

  async function read(size) {
    while (chunks.length === 0 && !ended) {
      await new Promise((resolve) => {
        wake = resolve;
      });
    }
    if (chunks.length === 0) {
      return new Uint8Array(0);
    }
    const chunk = chunks[0];
    const taken = chunk.subarray(0, Math.min(size, chunk.length));
    if (taken.length === chunk.length) {
      chunks.shift();
    } else {
      chunks[0] = chunk.subarray(taken.length);
    }
    kept -= taken.length;
    if (kept < keepAtMost) {
      process.stdin.resume();
    }
    return taken;
  }

  // A timer may fire a little early; the pause lasts until its end all the same.
  async function sleep(milliseconds) {
    const end = performance.now() + milliseconds;
    for (let left = milliseconds; left > 0; left = end - performance.now()) {
      await new Promise((resolve) => setTimeout(resolve, left));
    }
  }

  // One key at the controlling terminal, without Enter; none to wait for without a terminal.
  async function waitForKey() {
    let fd;
    try {
      fd = fs.openSync('/dev/tty', 'r');
    } catch (error) {
      return;
    }
    if (!tty.isatty(fd)) {
      fs.closeSync(fd);
      return;
    }
    process.stdin.pause();
    const keyboard = new tty.ReadStream(fd);
    keyboard.setRawMode(true);
    await new Promise((resolve) => keyboard.once('data', resolve));
    keyboard.setRawMode(false);
    keyboard.destroy();
  }

  return {
    outputIsTerminal: () => terminal[1],
    // A terminal is given UTF-8; pipes and files get the Windows-1250 bytes unchanged.
    write(stream, bytes) {
      const fd = stream === 2 ? 2 : 1;
      writeAll(fd, terminal[fd] ? Buffer.from(decoder.decode(bytes), 'utf8') : bytes);
    },
    read,
    sleep,
    waitForKey,
    finished: (status) => process.exit(status),
    failed(error) {
      process.stderr.write(String(error) + '\n');
      process.exit(70);
    },
  };
})();

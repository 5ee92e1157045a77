// What the page keeps and carries: the year in the browser's storage, as its recording,
// kept by one tab at a time; a year shared as a link (its recording deflated, in
// base64url after "#r="); a recording's file opened or dropped on the page. Whether a
// recording plays is the game's to say (frontend/recording.h): the page hands it the
// bytes as they are.
(() => {
  const page = Module.page, $ = page.$;
  Object.assign(page.words.en, { copied: 'Link copied.', noStorage: 'this browser keeps nothing for this page',
    elsewhere: 'it is open in another tab', taken: 'The year was taken over in another tab: this one no longer keeps it.',
    notOurs: 'this is not a link of this game', cut: 'the link is cut short', large: 'it is larger than' });
  Object.assign(page.words.fr, { copied: 'Lien copié.', noStorage: 'ce navigateur ne garde rien pour cette page',
    elsewhere: 'elle est ouverte dans un autre onglet',
    taken: 'L\'année a été reprise dans un autre onglet : celui-ci ne la garde plus.',
    notOurs: 'ce n\'est pas un lien de ce jeu', cut: 'le lien est coupé', large: 'il fait plus de' });

  const KEPT = 'quorvandelle.game', LEASE = 'quorvandelle.lease', LOCK = 'quorvandelle.year';
  function storage() {
    try {
      return window.localStorage;
    } catch (error) {
      return null;
    }
  }

  // One tab keeps the year. Where the browser has locks, the tab that holds the lock; a
  // page opened from disk has none, and renews a lease in the storage instead, so that a
  // tab that crashed or froze does not hold the year for ever.
  const me = `${Date.now()}-${Math.random()}`;
  let holding = false, lost = false;
  function loseYear() {
    if (!holding) return;
    holding = false;
    lost = true;
    page.tell(1, page.say('taken'));
  }
  function lease(take) {
    try {
      const now = Date.now(), other = JSON.parse(storage().getItem(LEASE) || 'null');
      if (!take && other && other.id !== me && other.until > now) return false;
      storage().setItem(LEASE, JSON.stringify({ id: me, until: now + 6000 }));
      return true;
    } catch (error) {
      return true; // no storage: nothing is kept, and nothing to share
    }
  }
  function holdByLease(take) {
    if (!lease(take)) return false;
    holding = true;
    const renew = setInterval(() => {
      try {
        const other = JSON.parse(storage().getItem(LEASE) || 'null');
        if (other && other.id !== me) return clearInterval(renew), loseYear();
      } catch (error) {
        return clearInterval(renew);
      }
      lease(true);
    }, 2000);
    return true;
  }
  page.holdYear = (take) => {
    if (holding) return Promise.resolve(true);
    let locks = null;
    try {
      locks = navigator.locks && navigator.locks.request ? navigator.locks : null;
    } catch (error) {
      locks = null;
    }
    if (!locks) return Promise.resolve(holdByLease(take));
    return new Promise((held) => {
      locks.request(LOCK, take ? { steal: true } : { ifAvailable: true }, (lock) => {
        if (!lock) return held(false);
        holding = true;
        held(true);
        return new Promise(() => {}); // held for the tab's life
      }).catch(() => (holding ? loseYear() : held(holdByLease(take))));
    });
  };

  // The kept year's text, or null (nothing kept, or a browser that keeps nothing).
  page.readKept = () => {
    try {
      return storage().getItem(KEPT);
    } catch (error) {
      return null;
    }
  };
  // The text in place of the kept year, or added to it: why it could not be, or ''.
  page.store = (whole, text) => {
    if (lost) return page.say('elsewhere');
    try {
      storage().setItem(KEPT, whole ? text : (storage().getItem(KEPT) || '') + text);
      return '';
    } catch (error) {
      return page.say('noStorage');
    }
  };

  async function shareLink() {
    const size = _malloc(4), data = _webRecording(size);
    const bytes = HEAPU8.slice(data, data + HEAP32[size >> 2]);
    _free(size);
    const packed = new Uint8Array(await new Response(new Blob([bytes]).stream()
      .pipeThrough(new CompressionStream('deflate'))).arrayBuffer());
    let binary = '';
    for (let i = 0; i < packed.length; i += 4096) binary += String.fromCharCode.apply(null, packed.subarray(i, i + 4096));
    const link = `${location.href.replace(/#.*/, '')}#r=${btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '')}`;
    if (navigator.share) return navigator.share({ title: document.title, url: link }).catch(() => {});
    await navigator.clipboard.writeText(link);
    page.tell(0, page.say('copied'));
  }

  // A link's recording, inflated no further than the game reads: why not, or its bytes.
  async function unpack(code) {
    let bytes;
    try {
      bytes = Uint8Array.from(atob(code.replace(/-/g, '+').replace(/_/g, '/')), (c) => c.charCodeAt(0));
    } catch (error) {
      return page.say('notOurs');
    }
    const limit = _webLargestRecording(), chunks = [];
    let size = 0;
    try {
      const reader = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate')).getReader();
      for (;;) {
        const part = await reader.read(); // (no destructuring: the build's minifier mangles it)
        if (part.done) break;
        size += part.value.length;
        if (size > limit) {
          reader.cancel().catch(() => {});
          return tooLarge();
        }
        chunks.push(part.value);
      }
    } catch (error) {
      // A deflate stream's header, then no end: the link lost its tail.
      const header = bytes.length >= 2 && (bytes[0] & 15) === 8 && ((bytes[0] << 8) | bytes[1]) % 31 === 0;
      return page.say(header ? 'cut' : 'notOurs');
    }
    const whole = new Uint8Array(size);
    let at = 0;
    for (const chunk of chunks) whole.set(chunk, at), at += chunk.length;
    return whole;
  }

  // A recording's bytes for the game, or why it could not be read: the game in play ends
  // and the recording is judged.
  function open(bytes, link) {
    const text = typeof bytes === 'string' ? new Uint8Array(0) : bytes;
    const why = typeof bytes === 'string' ? `${link ? 'link' : 'file'}: ${bytes}` : '';
    const data = _malloc(text.length + 1), size = lengthBytesUTF8(why) + 1, reason = _malloc(size);
    HEAPU8.set(text, data);
    stringToUTF8(why, reason, size);
    _webOpen(data, text.length, link ? 1 : 0, reason);
    _free(data);
    _free(reason);
  }
  function tooLarge() {
    return `${page.say('large')} ${_webLargestRecording()} ${page.language === 2 ? 'octets' : 'bytes'}`;
  }
  function openFile(file) {
    if (file.size > _webLargestRecording()) return open(tooLarge(), false);
    file.arrayBuffer().then((buffer) => open(new Uint8Array(buffer), false));
  }

  page.prepare = async () => {
    if (!location.hash.startsWith('#r=')) return;
    const code = location.hash.slice(3);
    history.replaceState(null, '', location.href.replace(/#.*/, ''));
    open(await unpack(code), true);
  };

  page.onClick('share', () => { shareLink().catch((error) => page.tell(0, String(error.message || error))); });
  page.onClick('open', () => $('open-file').click());
  $('open-file').onchange = () => { if ($('open-file').files[0]) openFile($('open-file').files[0]); $('open-file').value = ''; };
  addEventListener('dragover', (event) => event.preventDefault());
  addEventListener('drop', (event) => {
    event.preventDefault();
    const file = event.dataTransfer.files[0];
    if (file) openFile(file);
  });
})();

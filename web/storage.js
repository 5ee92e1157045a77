// What the page keeps and carries: the year in the browser's storage, as its recording;
// a year shared as a link (its recording deflated, in base64url after "#r="); a
// recording's file opened or dropped on the page. Whether a recording plays is the
// game's to say (frontend/recording.h): the page only reads it.
(() => {
  const page = Module.page, $ = page.$;
  Object.assign(page.words.en, { copied: 'Link copied.', unreadable: 'it does not decode' });
  Object.assign(page.words.fr, { copied: 'Lien copié.', unreadable: 'il ne se décode pas' });

  const KEPT = 'quorvandelle.game';
  function storage() {
    try {
      return window.localStorage;
    } catch (error) {
      return null;
    }
  }
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
    try {
      storage().setItem(KEPT, whole ? text : (storage().getItem(KEPT) || '') + text);
      return '';
    } catch (error) {
      return page.language === 2 ? 'ce navigateur ne garde rien pour cette page' : 'this browser keeps nothing for this page';
    }
  };

  async function deflated(bytes, stream) {
    return new Uint8Array(await new Response(new Blob([bytes]).stream().pipeThrough(stream)).arrayBuffer());
  }
  async function shareLink() {
    const size = _malloc(4), data = _webRecording(size);
    const text = UTF8ToString(data, HEAP32[size >> 2]);
    _free(size);
    const packed = await deflated(new TextEncoder().encode(text), new CompressionStream('deflate'));
    let binary = '';
    for (let i = 0; i < packed.length; i += 4096) binary += String.fromCharCode.apply(null, packed.subarray(i, i + 4096));
    const link = `${location.href.replace(/#.*/, '')}#r=${btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '')}`;
    if (navigator.share) return navigator.share({ title: document.title, url: link }).catch(() => {});
    await navigator.clipboard.writeText(link);
    page.tell(0, page.say('copied'));
  }
  async function unpack(code) {
    const binary = atob(code.replace(/-/g, '+').replace(/_/g, '/'));
    const bytes = Uint8Array.from(binary, (c) => c.charCodeAt(0));
    return new TextDecoder('utf-8', { fatal: true }).decode(await deflated(bytes, new DecompressionStream('deflate')));
  }

  // A recording for the game: it ends the game in play and is judged.
  function open(text, link, failed) {
    const strings = [text, failed].map((value) => {
      const size = lengthBytesUTF8(value) + 1, copy = _malloc(size);
      stringToUTF8(value, copy, size);
      return copy;
    });
    _webOpen(strings[0], link ? 1 : 0, strings[1]);
    strings.forEach(_free);
  }
  async function openLink(code) {
    try {
      open(await unpack(code), true, '');
    } catch (error) {
      open('', true, `link: ${page.say('unreadable')}`);
    }
  }
  const openFile = (file) => file.text().then((text) => open(text, false, ''));

  page.prepare = async () => {
    if (!location.hash.startsWith('#r=')) return;
    const code = location.hash.slice(3);
    history.replaceState(null, '', location.href.replace(/#.*/, ''));
    await openLink(code);
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

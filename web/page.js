// The page around the game (web/page.cpp): what every part of it shares. The parts add
// themselves to Module.page: input.js (keys, touch, controllers), storage.js (the kept
// year, links and files), controls.js (the picture, the page's buttons, help, notices and
// questions) and year.js (the year month by month).
Module.page = (() => {
  const query = new URLSearchParams(location.search);
  const asked = query.get('language') || (navigator.languages || [navigator.language])[0] || '';
  const language = asked.toLowerCase().startsWith('fr') ? 2 : 1;
  const touch = navigator.maxTouchPoints > 0 || matchMedia('(pointer: coarse)').matches;
  document.documentElement.lang = language === 2 ? 'fr' : 'en';
  document.body.classList.toggle('touch', touch);

  // The page's own words, in its language.
  const words = { en: {}, fr: {} };
  return {
    query, language, touch,
    $: (id) => document.getElementById(id),
    words,
    say: (key) => words[language === 2 ? 'fr' : 'en'][key],
    // The console clock of the first game: ?seed=N, which the game reads as --seed.
    seed: () => query.get('seed'),
    // What the game asks of the page before it starts (storage.js reads the address).
    prepare: async () => {},
  };
})();

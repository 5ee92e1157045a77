// The year month by month, once it has ended: a small chart for the hamsters, the cash
// and the food, each with its values written out for a screen reader, and the table of
// the same numbers as the game writes them (its columns' names in the page's language).
(() => {
  const page = Module.page, $ = page.$;
  Object.assign(page.words.en, { year: 'The year, month by month', table: 'The months in a table', hamsters: 'Hamsters',
    months: 'months', to: 'to' });
  Object.assign(page.words.fr, { year: 'L\'année mois par mois', table: 'Les mois en tableau', hamsters: 'Hamsters',
    months: 'mois', to: 'à' });
  $('year-title').textContent = page.say('year');
  $('year-scroll').setAttribute('aria-label', page.say('table'));

  // A chart in a box 200 wide: its legend on top, the values up the left, the months along the bottom.
  const LEFT = 34, RIGHT = 194, TOP = 18, BOTTOM = 92;
  function chart(name, colour, texts, months, monthName) {
    const values = texts.map(Number), low = Math.min(0, ...values), high = Math.max(low + 1, ...values);
    const x = (i) => LEFT + (i * (RIGHT - LEFT)) / Math.max(1, values.length - 1);
    const y = (value) => BOTTOM - ((value - low) * (BOTTOM - TOP)) / (high - low);
    const label = (value) => String(Number.isInteger(value) ? value : value.toFixed(2));
    const text = (at, anchor, words) => `<text x="${at[0]}" y="${at[1]}" text-anchor="${anchor}">${words}</text>`;
    const svg = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
    svg.setAttribute('viewBox', '0 0 200 116');
    svg.setAttribute('role', 'img');
    svg.setAttribute('aria-label', `${name}, ${page.say('months')} ${months[0]} ${page.say('to')} ${months[months.length - 1]}: ${texts.join(', ')}`);
    const escape = (words) => words.replace(/&/g, '&amp;').replace(/</g, '&lt;');
    // Its words are its picture's: the label says them.
    svg.innerHTML = ['<g aria-hidden="true">',
      `<rect x="${LEFT}" y="2" width="8" height="8" fill="${colour}"/>`, text([LEFT + 12, 9.5], 'start', escape(name)),
      `<path d="M${LEFT} ${TOP}H${RIGHT}" stroke="#444" fill="none"/>`,
      `<path d="M${LEFT} ${TOP}V${BOTTOM}H${RIGHT}" stroke="#888" fill="none"/>`,
      text([LEFT - 4, TOP + 3], 'end', label(high)), text([LEFT - 4, BOTTOM + 3], 'end', label(low)),
      ...months.map((month, i) => text([x(i), BOTTOM + 10], 'middle', month)),
      text([(LEFT + RIGHT) / 2, BOTTOM + 21], 'middle', escape(monthName)),
      `<polyline fill="none" stroke="${colour}" stroke-width="1.5" points="${values.map((value, i) => `${x(i)},${y(value)}`).join(' ')}"/>`, '</g>',
    ].join('');
    return svg;
  }

  page.year = (table) => {
    $('year').hidden = !table;
    if (!table) return;
    // The fields' names, their labels, then a row a month, the month first.
    const lines = table.trim().split('\n').map((line) => line.split('\t'));
    const names = lines.shift(), header = lines.shift();
    const column = (name) => lines.map((cells) => cells[names.indexOf(name)]);
    // The months down the first column, each row headed by its month.
    const row = (cells, head) => {
      const line = document.createElement('tr');
      line.append(...cells.map((textContent, at) => {
        const cell = Object.assign(document.createElement(head || at === 0 ? 'th' : 'td'), { textContent });
        if (head || at === 0) cell.scope = head ? 'col' : 'row';
        return cell;
      }));
      return line;
    };
    $('year-table').replaceChildren(row(header, true), ...lines.map((cells) => row(cells, false)));
    const label = (name) => header[names.indexOf(name)], months = column('month');
    const hamsters = months.map((month, i) => String(['adultMales', 'youngMales', 'adultFemales', 'youngFemales']
      .reduce((sum, name) => sum + Number(column(name)[i]), 0)));
    $('year-charts').replaceChildren(chart(page.say('hamsters'), '#fff', hamsters, months, label('month')),
      chart(label('cash'), '#ec3', column('cash'), months, label('month')),
      chart(label('foodStock'), '#5c5', column('foodStock'), months, label('month')));
  };
})();

// The year month by month, once it has ended: a small chart and the table of the same
// numbers, as the game writes them (its columns' names in the page's language).
(() => {
  const page = Module.page, $ = page.$;
  Object.assign(page.words.en, { chart: 'Hamsters (white), cash (yellow), food (green)' });
  Object.assign(page.words.fr, { chart: 'Hamsters (blanc), argent (jaune), nourriture (vert)' });

  page.year = (table) => {
    $('year').hidden = !table;
    if (!table) return;
    const lines = table.trim().split('\n').map((line) => line.split('\t'));
    const header = lines.shift();
    const line = (cells, kind) => {
      const row = document.createElement('tr');
      row.append(...cells.map((textContent) => Object.assign(document.createElement(kind), { textContent })));
      return row;
    };
    $('year-table').replaceChildren(line(header, 'th'), ...lines.map((cells) => line(cells, 'td')));
    const rows = lines.map((cells) => cells.map(Number));
    const series = [[(row) => row[1] + row[2] + row[3] + row[4], '#fff'], [(row) => row[5], '#ec3'], [(row) => row[6], '#5c5']];
    const svg = series.map((one) => {
      const values = rows.map(one[0]), top = Math.max(1, ...values);
      const points = values.map((value, i) => `${(i * 240) / Math.max(1, rows.length - 1)},${78 - (value / top) * 76}`);
      return `<polyline fill="none" stroke="${one[1]}" stroke-width="1.5" vector-effect="non-scaling-stroke" points="${points.join(' ')}"/>`;
    });
    $('year-chart').innerHTML = `<title>${page.say('chart')}</title>${svg.join('')}`;
  };
})();

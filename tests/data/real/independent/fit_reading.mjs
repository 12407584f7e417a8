// Independent reading of FIT files for the test data list: run once, results in ../README.md.
// npm install fit-file-parser@6.1.2 && node fit_reading.mjs ../tracks/*.fit
import FitParserModule from 'fit-file-parser';
import fs from 'fs';
const FitParser = FitParserModule.default ?? FitParserModule;
function hubeny(a, b) {
  const r = Math.PI / 180;
  const p1 = a[0] * r, l1 = a[1] * r, p2 = b[0] * r, l2 = b[1] * r;
  const dp = p1 - p2, dl = l1 - l2, mu = (p1 + p2) / 2;
  const w = Math.sqrt(1 - 0.00669437999019758 * Math.sin(mu) ** 2);
  const m = 6335439.32729246 / (w ** 3), n = 6378137 / w;
  return Math.sqrt((dp * m) ** 2 + (dl * n * Math.cos(mu)) ** 2);
}
for (const file of process.argv.slice(2)) {
  const parser = new FitParser({ force: false, mode: 'list', lengthUnit: 'm' , elapsedRecordField: false});
  parser.parse(fs.readFileSync(file), (error, data) => {
    if (error) { console.log(file, 'ERROR', error); return; }
    const pts = data.records.filter(r => typeof r.position_lat === 'number' && typeof r.position_long === 'number');
    let d = 0;
    for (let i = 1; i < pts.length; ++i) d += hubeny([pts[i-1].position_lat, pts[i-1].position_long], [pts[i].position_lat, pts[i].position_long]);
    const t = p => p ? p.timestamp.toISOString() : '-';
    console.log([file.split('/').pop(), pts.length, t(pts[0]), t(pts[pts.length-1]), (d/1000).toFixed(9), pts.length? (pts[0].enhanced_altitude ?? pts[0].altitude) : '-'].join('\t'));
  });
}

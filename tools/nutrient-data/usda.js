// The USDA National Nutrient Database for Standard Reference, release 24, as Debian's cronometer
// package carries it: a jar of one XML file per food, <food uid name> with <measure/> and
// <nutrient amount name/> children, amounts per 100 g in the database's own units.
'use strict';
const childProcess = require('child_process');
const crypto = require('crypto');
const fs = require('fs');
const path = require('path');
const {NUTRIENT_HEADERS, column, unitOf, GRAMS_IN} = require('./columns');

const PACKAGE = {
  name: 'cronometer',
  version: '0.9.9+dfsg1-1',
  sha256: '6d66c9fe6722c52e100cf563e4d3ced7ce0f585b8594f9bca0b3f76704b8c0ab',
  jar: 'usr/share/cronometer/usda_sr24.jar',
  folder: 'usda_sr24',
};
// What the jar holds, so that a different jar cannot pass for this one.
const EXPECTED = {foods: 8858, withMeasures: 8505};
const SUFFIX = ' (USDA)';

// The database's food groups by code; a food's code is the first two digits of its uid.
const GROUPS = {
  '01': 'Dairy and Egg Products', '02': 'Spices and Herbs', '03': 'Baby Foods', '04': 'Fats and Oils',
  '05': 'Poultry Products', '06': 'Soups, Sauces, and Gravies', '07': 'Sausages and Luncheon Meats',
  '08': 'Breakfast Cereals', '09': 'Fruits and Fruit Juices', '10': 'Pork Products',
  '11': 'Vegetables and Vegetable Products', '12': 'Nut and Seed Products', '13': 'Beef Products',
  '14': 'Beverages', '15': 'Finfish and Shellfish Products', '16': 'Legumes and Legume Products',
  '17': 'Lamb, Veal, and Game Products', '18': 'Baked Products', '19': 'Sweets', '20': 'Cereal Grains and Pasta',
  '21': 'Fast Foods', '22': 'Meals, Entrees, and Side Dishes', '25': 'Snacks',
  '35': 'American Indian/Alaska Native Foods', '36': 'Restaurant Foods',
};

// Foods numbered outside any group's range whose name's first part no food of a group shares, placed by
// what they are.
const PLACED_BY_HAND = {
  '04': ['42116', '42138', '42151', '42157', '42158', '42178', '43214', '43355', '43598'],
  '01': ['42117', '42135', '43268', '43285'],
  '05': ['43287'],
  '06': ['27052'],
  '07': ['42130', '42173', '42190'],
  '08': ['43510', '43584'],
  '09': ['42149', '43382'],
  '11': ['31008', '43217', '43365', '43392', '44055'],
  '14': ['42181', '42182', '42270', '43075', '43369', '43372', '43388', '43528', '44203', '47011'],
  '15': ['43497', '80200', '93600'],
  '16': ['42200', '43114', '43129', '43131', '43132', '43133', '43134', '43136', '43137', '43212', '43299',
         '43406', '43449', '43476'],
  '19': ['42131', '43450', '46168'],
  '20': ['48052'],
  '25': ['42139', '42204', '43100', '43595'],
};
const GROUP_BY_HAND = new Map(Object.entries(PLACED_BY_HAND).flatMap(([code, uids]) => uids.map((u) => [u, code])));

// The database's unit of each nutrient the columns take (per 100 g).
const UNITS = {
  Energy: 'kcal', Fat: 'g', Saturated: 'g', Cholesterol: 'mg', Sodium: 'mg', Potassium: 'mg', Carbs: 'g',
  Fiber: 'g', Sugars: 'g', Protein: 'g', Alcohol: 'g', 'Vitamin A': 'IU', Retinol: 'mcg', 'Beta-carotene': 'mcg',
  'Alpha-carotene': 'mcg', 'Beta-cryptoxanthin': 'mcg', 'B1 (Thiamine)': 'mg', 'B2 (Riboflavin)': 'mg',
  'B3 (Niacin)': 'mg', 'B6 (Pyridoxine)': 'mg', 'B12 (Cyanocobalamin)': 'mcg', 'Vitamin C': 'mg',
  'Vitamin D': 'IU', 'Vitamin E': 'mg', 'B5 (Pantothenic Acid)': 'mg', Folate: 'mcg', Calcium: 'mg', Iron: 'mg',
  Phosphorus: 'mg', Magnesium: 'mg', Zinc: 'mg', Copper: 'mg', Manganese: 'mg', Selenium: 'mcg',
};

// The source nutrient of each column, in column order; Vitamin A and D are computed below.
const SOURCE_OF = [
  'Energy', 'Fat', 'Saturated', 'Cholesterol', 'Sodium', 'Potassium', 'Carbs', 'Fiber', 'Sugars', 'Protein',
  null, 'B1 (Thiamine)', 'B2 (Riboflavin)', 'B3 (Niacin)', 'B6 (Pyridoxine)', 'B12 (Cyanocobalamin)',
  'Vitamin C', null, 'Vitamin E', 'B5 (Pantothenic Acid)', 'Folate', 'Calcium', 'Iron', 'Phosphorus',
  'Magnesium', 'Zinc', 'Copper', 'Manganese', 'Selenium',
];
const IU_PER_MCG_VITAMIN_D = 40;
const MCG_RETINOL_PER_IU = 0.3;
const CAROTENOIDS = [['Beta-carotene', 1 / 12], ['Alpha-carotene', 1 / 24], ['Beta-cryptoxanthin', 1 / 24]];

// Retinol activity equivalents in µg: retinol and the provitamin carotenoids where any carotenoid is
// given, otherwise the retinol equivalent of the figure in IU (where no carotenoids are known, all of
// it is counted as retinol).
function vitaminA(n) {
  if (CAROTENOIDS.some(([name]) => name in n))
    return (n.Retinol || 0) + CAROTENOIDS.reduce((sum, [name, per]) => sum + (n[name] || 0) * per, 0);
  if ('Vitamin A' in n) return n['Vitamin A'] * MCG_RETINOL_PER_IU;
  return n.Retinol || 0;
}
const vitaminD = (n) => (n['Vitamin D'] || 0) / IU_PER_MCG_VITAMIN_D;
const SPECIAL = {
  [column('Vitamin A (mcg)')]: {
    value: vitaminA,
    given: (n) => ['Vitamin A', 'Retinol', ...CAROTENOIDS.map(([name]) => name)].some((k) => k in n),
    text: '`Retinol` + `Beta-carotene` ÷ 12 + (`Alpha-carotene` + `Beta-cryptoxanthin`) ÷ 24 (µg RAE) ' +
        'where a carotenoid is given, otherwise `Vitamin A` (IU) × 0.3',
  },
  [column('Vitamin D (mcg)')]: {
    value: vitaminD,
    given: (n) => 'Vitamin D' in n,
    text: '`Vitamin D` (IU) ÷ 40',
  },
};

function factor(source, header) {
  const from = UNITS[source], to = unitOf(header);
  if (from === to) return 1;
  if (from in GRAMS_IN && to in GRAMS_IN) return GRAMS_IN[to] / GRAMS_IN[from];
  throw new Error(`${source} in ${from} cannot fill ${header}`);
}

function fetchJar(workDir) {
  const spec = `${PACKAGE.name}=${PACKAGE.version}`;
  childProcess.execFileSync('apt-get', ['download', '-q', spec],
                            {cwd: workDir, stdio: ['ignore', 'ignore', 'inherit']});
  const deb = fs.readdirSync(workDir).find((f) => f.startsWith(PACKAGE.name + '_') && f.endsWith('.deb'));
  if (!deb) throw new Error(`apt-get download ${spec} left no package`);
  const sha256 = crypto.createHash('sha256').update(fs.readFileSync(path.join(workDir, deb))).digest('hex');
  if (sha256 !== PACKAGE.sha256) throw new Error(`${deb}: sha256 ${sha256} is not the pinned one`);
  const root = path.join(workDir, 'deb');
  childProcess.execFileSync('dpkg-deb', ['-x', path.join(workDir, deb), root]);
  const jar = path.join(workDir, 'jar');
  childProcess.execFileSync('unzip', ['-q', path.join(root, PACKAGE.jar), '-d', jar]);
  return path.join(jar, PACKAGE.folder);
}

const ENTITIES = {quot: '"', amp: '&', apos: "'", lt: '<', gt: '>'};
function unescapeXml(text) {
  return text.replace(/&(#x[0-9a-f]+|#[0-9]+|\w+);/gi, (all, e) => {
    if (e[0] === '#') {
      return String.fromCodePoint(e[1].toLowerCase() === 'x' ? parseInt(e.slice(2), 16) : Number(e.slice(1)));
    }
    if (!(e in ENTITIES)) throw new Error(`unknown entity ${all}`);
    return ENTITIES[e];
  });
}

function attributes(tag) {
  const out = {};
  for (const [, key, value] of tag.matchAll(/(\w+)="([^"]*)"/g)) out[key] = unescapeXml(value);
  return out;
}

// One food file: its uid, name, household measures ({amount, name, grams}) and nutrients by name.
function parseFood(xml, file) {
  const head = /<food\b[^>]*>/.exec(xml);
  if (!head) throw new Error(`${file}: no food element`);
  const {uid, name} = attributes(head[0]);
  if (!/^[0-9]{5}$/.test(uid || '') || !name) throw new Error(`${file}: no uid or name`);
  const nutrients = {};
  for (const [tag] of xml.matchAll(/<nutrient\b[^>]*>/g)) {
    const {name: key, amount} = attributes(tag);
    const v = Number(amount);
    if (!key || amount === undefined || !Number.isFinite(v) || v < 0) {
      throw new Error(`${file}: bad nutrient ${tag}`);
    }
    nutrients[key] = v;
  }
  const measures = [];
  for (const [tag] of xml.matchAll(/<measure\b[^>]*>/g)) {
    const m = attributes(tag);
    const amount = Number(m.amount), grams = Number(m.grams), label = (m.name || '').trim().replace(/\s+/g, ' ');
    if (!(amount > 0) || !(grams > 0) || !label) throw new Error(`${file}: bad measure ${tag}`);
    if (label.includes('|')) throw new Error(`${file}: measure ${label} holds the separator`);
    measures.push({amount, name: label, grams});
  }
  return {uid, name: name.trim().replace(/\s+/g, ' '), measures, nutrients};
}

// A uid whose first two digits name no food group (foods numbered outside their group's range) takes
// the group most foods of its name's first part have ("Cheese, mozzarella, nonfat" that of
// "Cheese, ..."), the lowest code on a tie.
function assignGroups(foods) {
  const head = (f) => f.name.split(',')[0].trim().toLowerCase();
  const votes = new Map();
  for (const f of foods) {
    const code = f.uid.slice(0, 2);
    if (!(code in GROUPS)) continue;
    const tally = votes.get(head(f)) || {};
    tally[code] = (tally[code] || 0) + 1;
    votes.set(head(f), tally);
  }
  const placed = [], byHand = [], unplaced = [];
  for (const f of foods) {
    const code = f.uid.slice(0, 2);
    if (code in GROUPS) {
      f.group = code;
      continue;
    }
    const tally = Object.entries(votes.get(head(f)) || {}).sort((a, b) => b[1] - a[1] || a[0].localeCompare(b[0]));
    if (tally.length) f.group = tally[0][0], placed.push(f);
    else if (GROUP_BY_HAND.has(f.uid)) f.group = GROUP_BY_HAND.get(f.uid), byHand.push(f);
    else unplaced.push(f);
  }
  return {placed, byHand, unplaced};
}

// Names must be unique ignoring case, since an import replaces a same-named ingredient; clashing names
// get the database's number of the food appended.
function uniqueNames(foods) {
  const count = new Map();
  for (const f of foods) count.set(f.name.toLowerCase(), (count.get(f.name.toLowerCase()) || 0) + 1);
  const renamed = foods.filter((f) => count.get(f.name.toLowerCase()) > 1);
  for (const f of renamed) f.name += ` (NDB ${f.uid})`;
  return renamed;
}

function convert(food) {
  const n = food.nutrients;
  const values = NUTRIENT_HEADERS.map((header, i) =>
    SPECIAL[i] ? SPECIAL[i].value(n) : (n[SOURCE_OF[i]] || 0) * factor(SOURCE_OF[i], header));
  return {name: food.name, category: GROUPS[food.group] + SUFFIX, values, alcohol: n.Alcohol || 0,
          measures: food.measures};
}

// Per column: where the value comes from, and how many foods give none (written 0).
function mapping(foods) {
  return NUTRIENT_HEADERS.map((header, i) => {
    const given = SPECIAL[i] ? SPECIAL[i].given : (n) => SOURCE_OF[i] in n;
    const missing = foods.filter((f) => !given(f.nutrients)).length;
    const source = SOURCE_OF[i];
    const from = SPECIAL[i] ? SPECIAL[i].text : `\`${source}\` (${UNITS[source]} × ${factor(source, header)})`;
    return `${from}; none in ${missing} foods`;
  });
}

function readme(all, kept, dropped, groups, renamed) {
  const outside = groups.placed.concat(groups.byHand);
  const codes = [...new Set(outside.map((f) => f.uid.slice(0, 2)))].sort();
  return `The USDA National Nutrient Database for Standard Reference, release 24 (SR24), U.S. Department of
Agriculture, Agricultural Research Service, 2011; a work of the U.S. Government, in the public domain.
The converter takes it from Debian's \`${PACKAGE.name}\` package, which carries it as \`/${PACKAGE.jar}\`, one
XML file per food with its nutrients per 100 g in the database's units:

| package | version | sha256 of the .deb |
|---|---|---|
| \`${PACKAGE.name}\` | ${PACKAGE.version} | \`${PACKAGE.sha256}\` |

The jar holds ${all.length} foods, ${all.filter((f) => f.measures.length).length} of them with household measures.

Decisions:

- ${dropped.map((f) => `${f.name} (${f.uid})`).join('; ')}: no nutrient at all (a placeholder, not a food), left out;
  ${kept.length} foods are written.
- Calories: \`Energy\` in kcal, as the database gives it (from its own Atwater factors per food).
- Carbohydrates: carbohydrate by difference (\`Carbs\`), which includes fibre, as the database gives it.
- Sugar: total sugars. Folic Acid: total folate (\`Folate\`), not dietary folate equivalents.
  Vitamin E: α-tocopherol.
- Vitamin A: retinol activity equivalents; where no carotenoid is given, the figure in IU counted as retinol
  (0.3 µg a unit).
- Vitamin D: the figure in IU ÷ 40 (40 IU = 1 µg). Copper: mg × 1000 (µg).
- A nutrient the database does not give for a food is written as 0 (an empty field); every one of the 29
  columns has a source nutrient (the counts of foods without one are in the mapping).
- Names that clash ignoring case get the food's number in the database appended: ${renamed.map((f) => f.name).join('; ')}.
- Every food is served per 100 g like the IFCT foods, so that a weight in any unit converts exactly and the
  foods compare alike. Its household measures (\`<measure amount name grams/>\`, ${kept.reduce((n, f) => n + f.measures.length, 0)} of them) are
  carried in the Household Measures column, in the jar's order, so that cups, spoons and pieces of the food
  weigh what the database says.
- Categories: the food group of the uid's first two digits, followed by "${SUFFIX.trim()}", so that the two
  sets stay apart in the category list and a category of release 1 never takes foods of this source.
  The ${outside.length} foods whose uid begins with ${codes.join(', ')} (numbers outside any group's range) take
  the group most grouped foods whose name begins with the same words (up to the first comma) have;
  ${groups.byHand.length} of them, whose first words no grouped food shares, are placed by what they are
  (the table in \`tools/nutrient-data/usda.js\`).`;
}

function read(workDir) {
  const dir = fetchJar(workDir);
  const files = fs.readdirSync(dir).filter((f) => /^[0-9]{5}\.xml$/.test(f)).sort();
  const all = files.map((f) => parseFood(fs.readFileSync(path.join(dir, f), 'utf8'), f));
  const withMeasures = all.filter((f) => f.measures.length).length;
  if (all.length !== EXPECTED.foods || withMeasures !== EXPECTED.withMeasures)
    throw new Error(`${all.length} foods, ${withMeasures} with measures; expected ${JSON.stringify(EXPECTED)}`);
  for (const f of all)
    for (const key of Object.keys(f.nutrients))
      if (!(key in UNITS)) delete f.nutrients[key];  // no column takes it
  const kept = all.filter((f) => Object.keys(f.nutrients).length);
  const dropped = all.filter((f) => !Object.keys(f.nutrients).length);
  const groups = assignGroups(kept);
  if (groups.unplaced.length) throw new Error(`no food group for ${groups.unplaced.map((f) => f.uid).join(', ')}`);
  const renamed = uniqueNames(kept);
  return {
    title: 'USDA SR24',
    foods: kept.map(convert),
    mapping: mapping(kept),
    readme: readme(all, kept, dropped, groups, renamed),
  };
}

module.exports = {read};

#!/usr/bin/env node
// Builds the starter nutrient file that ships beside Mirepan.exe from the Indian Food Composition Tables
// 2017 (npm) and the USDA National Nutrient Database for Standard Reference, release 24 (Debian's
// cronometer package), together with data/README.md (sources, licence, mapping) and the licence text
// of the first source. Run from anywhere: node tools/nutrient-data/convert.js
//
// The output is deterministic: pinned package versions checked against their hashes, foods in the
// sources' order, numbers in a fixed form, no dates.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const {NUTRIENT_HEADERS, HEADERS, column, formatReal} = require('./columns');
const ifct = require('./ifct');
const usda = require('./usda');

// Bump whenever the output changes: the program offers a nutrient file whose name sorts after the one
// it last applied or declined, so the release number is part of the file name, fixed-width.
const RELEASE = 2;
const FILE_PREFIX = 'NutrientData';
const fileName = (release) => FILE_PREFIX + String(release).padStart(4, '0') + '.csv';

// Every row is one serving of 100 g, the basis of the sources' values. Its weight is written in the
// program's ounces, 29.9 g each as its unit table counts them, so that an amount in g, kg, oz or Lb
// makes exactly its share of the serving.
const SERVING_GRAMS = 100;
const PROGRAM_GRAMS_PER_OUNCE = 29.9;
const OUNCES = formatReal(SERVING_GRAMS / PROGRAM_GRAMS_PER_OUNCE);

// The energy check: kcal per gram of protein, fat, carbohydrate and alcohol. A food whose energy differs
// from its own components' by more than a third and by more than MIN_KCAL is reported.
const KCAL_PER_GRAM = {protein: 4, fat: 9, carbohydrate: 4, alcohol: 7};
const OUTLIER_SHARE = 1 / 3;
const OUTLIER_MIN_KCAL = 40;

// Values the conversion must give, from the sources' own figures: a check of every unit conversion
// and of the computed vitamins, run on each conversion.
const KNOWN = [
  ['Milk, whole, Cow', 'Calories', '72.8967'],  // 305 kJ
  ['Egg, poultry, whole, raw', 'Vitamin A (mcg)', '199.214'],  // retinol 198 µg, β-carotene eq. 14.57 µg
  ['Egg, poultry, whole, raw', 'Vitamin D (mcg)', '0.84'],  // 0.84 µg, stored in grams
  ['Egg, poultry, whole, raw', 'Cholesterol (mg)', '366'],
  ['Coconut oil', 'Calories', '884.321'],  // no energy in the source: 100 g fat at 37 kJ/g
  ['Cat fish (Marine Fish)', 'Vitamin B6 (mg)', '0.223'],  // given as 223 "mg", really 223 µg
  ['Butter, salted', 'Calories', '717'],
  ['Butter, salted', 'Vitamin A (mcg)', '684.167'],  // retinol 671 µg, β-carotene 158 µg
  ['Butter, salted', 'Vitamin D (mcg)', '1.5'],  // 60 IU
  ['Carrots, raw', 'Vitamin A (mcg)', '835.292'],  // β-carotene 8285 µg, α-carotene 3477 µg
  ['Fish, salmon, Atlantic, wild, raw', 'Vitamin A (mcg)', '12'],  // 40 IU, no carotenoids given
  ['Beef, variety meats and by-products, liver, raw', 'Copper (mcg)', '9755'],  // 9.755 mg
  ['Beef, variety meats and by-products, liver, raw', 'Selenium (mcg)', '39.7'],
];

function checkKnownValues(foods) {
  const byName = new Map(foods.map((f) => [f.name, f]));
  for (const [name, header, expected] of KNOWN) {
    const food = byName.get(name);
    if (!food) throw new Error(`known food ${name} is missing`);
    const got = formatReal(food.values[column(header)]);
    if (got !== expected) throw new Error(`${name}, ${header}: ${got}, expected ${expected}`);
  }
}

function checkUniqueNames(foods) {
  const seen = new Map();
  for (const f of foods) {
    const key = f.name.toLowerCase();
    const other = seen.get(key);
    if (other) throw new Error(`${f.name} (${f.category}) clashes with ${other.name} (${other.category})`);
    seen.set(key, f);
  }
}

// Energy from the food's own protein, fat and carbohydrate as written, and its alcohol.
function componentEnergy(food) {
  const grams = (header) => food.values[column(header)];
  return KCAL_PER_GRAM.protein * grams('Protein (g)') + KCAL_PER_GRAM.fat * grams('Total Fat (g)') +
      KCAL_PER_GRAM.carbohydrate * grams('Carbohydrates (g)') + KCAL_PER_GRAM.alcohol * food.alcohol;
}

function energyOutliers(foods) {
  return foods.filter((f) => {
    const stated = f.values[column('Calories')], own = componentEnergy(f);
    const gap = Math.abs(stated - own);
    return gap > OUTLIER_MIN_KCAL && gap > OUTLIER_SHARE * Math.max(stated, own);
  });
}

// A whole amount as the program writes it: the number, a blank, then a blank before the unit name.
const servingText = (amount, unitName) => `${amount}  ${unitName}`;

function csvLine(fields) {
  return fields.map((f) => '"' + f.replace(/"/g, '\u00b4') + '"').join(',') + '\r\n';
}

// The household measures as the program writes them: "1 cup = 125 g", joined by " | ".
const measuresText = (measures) =>
  (measures || []).map((m) => `${formatReal(m.amount)} ${m.name} = ${formatReal(m.grams)} g`).join(' | ');

function rowOf(food) {
  const serving = servingText(SERVING_GRAMS, 'g');
  return food.values.map(formatReal).concat([food.category, food.name, serving, OUNCES, '', measuresText(food.measures)]);
}

function writeCsv(dataDir, foods) {
  for (const old of fs.readdirSync(dataDir)) {
    if (old.startsWith(FILE_PREFIX) && old.endsWith('.csv')) fs.unlinkSync(path.join(dataDir, old));
  }
  const text = csvLine(HEADERS) + foods.map((f) => csvLine(rowOf(f))).join('');
  // UTF-16LE without a byte-order mark: the program's own Unicode form, read by its first pass.
  fs.writeFileSync(path.join(dataDir, fileName(RELEASE)), Buffer.from(text, 'utf16le'));
}

function readme(sources, foods, outliers) {
  const categories = new Map();
  for (const f of foods) categories.set(f.category, (categories.get(f.category) || 0) + 1);
  const mapping = NUTRIENT_HEADERS.map((h, i) => `| ${i} | ${h} | ${sources.map((s) => s.mapping[i]).join(' | ')} |`);
  const outlierRows = outliers.map((f) =>
    `| ${f.name} | ${f.category} | ${formatReal(f.values[column('Calories')])} | ${formatReal(componentEnergy(f))} |`);
  const sourceParts = sources.map((s) => `### ${s.title}\n\n${s.readme}`);
  return `# Starter nutrient data

Generated by \`tools/nutrient-data/convert.js\`; do not edit by hand (see \`tools/nutrient-data/README.md\`).

\`${fileName(RELEASE)}\` holds ${foods.length} foods in ${categories.size} categories: ${sources.map((s) => `${s.foods.length} from ${s.title}`).join(' and ')}.
It is installed in the program's folder, beside \`Mirepan.exe\`, together with \`${sources[0].licence.file}\`. At start
the program offers the first \`*.csv\` there whose name sorts after the DBVERSION option and, on Yes, imports it
into the ingredient catalog (an ingredient of the same name, in any letter case, takes the new values and
keeps its id; the others are added).

## Version marker

The version is the file name: \`${FILE_PREFIX}\` followed by a four-digit release number and \`.csv\`
(this is release ${RELEASE}). A newer release has a higher number and so sorts after the name that
DBVERSION holds once an older one was applied or declined, so a catalog that took release 1 is offered
this one. The prefix never changes and the number is zero-padded, so names compare the same in any
locale. Exactly one such file is installed: an older one left beside the program would sort first and
hide the newer.

Release 2 adds the USDA foods with their household measures, counts vitamin D and copper in micrograms (the unit of their daily
values; the program's headers say so and its import converts a file's milligrams) and writes the
serving's weight in the program's ounces. The IFCT foods keep their names and categories, so a catalog
that took release 1 gets their new values in place.

## Format

The CSV form of an ingredient export with all data: UTF-16LE without a byte-order mark, lines ending in
CR LF, every field between double quotes, fields separated by commas, a double quote inside a name
written as "´". The header row holds the 34 column headers of the ingredient list in their order (the
29 nutrients, Category, Name, Serving Size, Ounces Per Serving, Picture), then Household Measures: what a
cup, a spoon or one piece of the food weighs, each as \`1 cup = 125 g\` (amount, name, " = ", grams, " g"),
joined by " | " (empty for the IFCT foods, which give none). A program that does not know the column
passes it over. Each food is one serving of
100 g: Serving Size \`100  g\` (unit g), Ounces Per Serving \`${OUNCES}\` (100 ÷ 29.9, the program's grams to the
ounce, so that 250 g, 0.25 kg or the same weight in oz or Lb is exactly 2.5 servings), nutrients per 100 g
of the edible portion, in the unit of their header. Numbers are plain decimals of at most six
significant digits, never in exponent form; a zero value is an empty field; Picture is empty.

## Mapping

| column | header | ${sources.map((s) => s.title).join(' | ')} |
|---|---|${sources.map(() => '---|').join('')}
${mapping.join('\n')}
| 29 | Category | food group (\`grup\`) | food group of the uid, + " (USDA)" |
| 30 | Name | \`name\` (blanks trimmed and collapsed) | \`name\` (blanks trimmed and collapsed) |
| 31 | Serving Size | \`100  g\` for every food | \`100  g\` for every food |
| 32 | Ounces Per Serving | ${OUNCES} for every food | ${OUNCES} for every food |
| 33 | Picture | empty | empty |
| 34 | Household Measures | empty | \`<measure amount name grams/>\` of the food, in the jar's order |

## Sources

${sourceParts.join('\n\n')}

## Energy check

The converter compares every food's energy with ${KCAL_PER_GRAM.protein} kcal per gram of protein, ${KCAL_PER_GRAM.fat} of fat and ${KCAL_PER_GRAM.carbohydrate} of
carbohydrate as written (and ${KCAL_PER_GRAM.alcohol} of alcohol, which the USDA foods give), and reports those where the two differ
by more than a third and by more than ${OUTLIER_MIN_KCAL} kcal. Their values are shipped as the sources give them.
Most of the USDA ones are explained by their composition: much fibre (bran, cocoa), sugar alcohols and
sweeteners (dietetic foods, drink mixes), or carbohydrate that is mineral salts (baking powder); the USDA
energy comes from its own factors per food. ${outliers.length} foods:

| food | category | kcal per 100 g | from protein, fat, carbohydrate, alcohol |
|---|---|---|---|
${outlierRows.join('\n')}

## Categories

| category | foods |
|---|---|
${[...categories].map(([g, n]) => `| ${g} | ${n} |`).join('\n')}
`;
}

function main() {
  const repoRoot = path.resolve(__dirname, '..', '..');
  const dataDir = path.join(repoRoot, 'data');
  const workDir = fs.mkdtempSync(path.join(os.tmpdir(), 'mirepan-nutrients-'));
  try {
    const sources = [ifct.read(fs.mkdtempSync(path.join(workDir, 'ifct-'))),
                     usda.read(fs.mkdtempSync(path.join(workDir, 'usda-')))];
    const foods = sources.flatMap((s) => s.foods);
    checkUniqueNames(foods);
    checkKnownValues(foods);
    const outliers = energyOutliers(foods);
    fs.mkdirSync(dataDir, {recursive: true});
    writeCsv(dataDir, foods);
    fs.copyFileSync(sources[0].licence.from, path.join(dataDir, sources[0].licence.file));
    fs.writeFileSync(path.join(dataDir, 'README.md'), readme(sources, foods, outliers));
    const counts = sources.map((s) => `${s.title} ${s.foods.length}`).join(', ');
    console.log(`${fileName(RELEASE)}: ${foods.length} foods (${counts})`);
    console.log(`energy outliers (${outliers.length}):`);
    for (const f of outliers)
      console.log(`  ${f.name}: ${formatReal(f.values[0])} kcal, components ${formatReal(componentEnergy(f))}`);
  } finally {
    fs.rmSync(workDir, {recursive: true, force: true});
  }
}

main();

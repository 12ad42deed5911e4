// The program's ingredient columns and the number form of its files, shared by the converters of the
// sources.
'use strict';

// The 29 nutrient columns in the program's order, with the header texts it recognises. The unit in
// the header is the unit the value is written in (vitamin D and copper are counted in micrograms,
// the unit of their daily values).
const NUTRIENT_HEADERS = [
  'Calories', 'Total Fat (g)', 'Saturated Fat (g)', 'Cholesterol (mg)', 'Sodium (mg)', 'Potassium (mg)',
  'Carbohydrates (g)', 'Fiber (g)', 'Sugar (g)', 'Protein (g)', 'Vitamin A (mcg)', 'Vitamin B1 (mg)',
  'Vitamin B2 (mg)', 'Vitamin B3 (mg)', 'Vitamin B6 (mg)', 'Vitamin B12 (mcg)', 'Vitamin C (mg)',
  'Vitamin D (mcg)', 'Vitamin E (mg)', 'Pantothenic Acid (mg)', 'Folic Acid (mcg)', 'Calcium (mg)',
  'Iron (mg)', 'Phosphorus (mg)', 'Magnesium (mg)', 'Zinc (mg)', 'Copper (mcg)', 'Manganese (mg)',
  'Selenium (mcg)',
];
const HEADERS = NUTRIENT_HEADERS.concat(
    ['Category', 'Name', 'Serving Size', 'Ounces Per Serving', 'Picture', 'Household Measures']);
const column = (header) => {
  const i = NUTRIENT_HEADERS.indexOf(header);
  if (i < 0) throw new Error(`no nutrient column ${header}`);
  return i;
};

// Target unit of a column, from its header: "(g)", "(mg)", "(mcg)", or kcal for Calories.
function unitOf(header) {
  const m = /\((\w+)\)$/.exec(header);
  return m ? m[1] : 'kcal';
}
const GRAMS_IN = {g: 1, mg: 1e3, mcg: 1e6, ug: 1e6, ng: 1e9};

function number(text, what) {
  const v = Number(text);
  if (String(text).trim() === '' || !Number.isFinite(v) || v < 0) throw new Error(`${what}: bad value "${text}"`);
  return v;
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

module.exports = {NUTRIENT_HEADERS, HEADERS, column, unitOf, GRAMS_IN, number, formatReal};

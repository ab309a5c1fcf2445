// The canonical value texts of `tarvik-transfer dump`, written independently in JavaScript from
// the values mdb-reader returns. JSON.stringify and Number-to-String are the references the
// canonical forms are defined by; the float and date forms are built from them here.

// A double: ECMAScript's Number-to-String layout, plus the sign of zero; non-numbers as strings.
// The digits are the shortest that read back to the same double and, among those, the closest,
// an exact tie going to the even last digit (as std::to_chars does). V8's String(x) gives the
// shortest length; its neighbours at that length are checked for a closer or tied even one.
export function doubleText(x) {
  if (Number.isNaN(x)) return '"NaN"';
  if (x === Infinity) return '"Infinity"';
  if (x === -Infinity) return '"-Infinity"';
  if (x === 0) return Object.is(x, -0) ? "-0" : "0";
  const best = bestAtLength(x, String(x), (text) => Number(text) === x);
  return String(Number(best));
}

// A 32-bit float (given as the double of the same value): the shortest decimal that reads back to
// the same float, chosen as for a double, laid out as a double would be. The nearest p-digit
// decimal (toPrecision) and its two neighbours are the only p-digit candidates that can read back.
export function singleText(x) {
  if (!Number.isFinite(x) || x === 0) return doubleText(x);
  const roundTrips = (text) => Math.fround(Number(text)) === x;
  for (let p = 1; p <= 9; p++) {
    const best = bestAtLength(x, x.toPrecision(p), roundTrips);
    if (best !== null) return String(Number(best));
  }
  throw new Error(`no float form found for ${x}`);
}

// Among a decimal text and its neighbours one unit away in the last digit, those that read back:
// the one closest to x, an exact tie going to the even digit; null when none reads back.
function bestAtLength(x, text, roundTrips) {
  const start = decimalOf(text);
  const candidates = [start.digits - 1n, start.digits, start.digits + 1n]
    .filter((d) => d > 0n)
    .map((d) => ({ digits: d, exponent: start.exponent, negative: start.negative }))
    .filter((c) => roundTrips(textOf(c)));
  if (candidates.length === 0) return null;
  const target = rationalOfDouble(x);
  candidates.sort((a, b) => {
    const order = compareDistance(target, rationalOfDecimal(a), rationalOfDecimal(b));
    return order !== 0 ? order : Number(a.digits % 2n) - Number(b.digits % 2n);
  });
  return textOf(candidates[0]);
}

// A decimal text as an integer of significant digits and a power of ten.
function decimalOf(text) {
  const match = /^(-?)(\d+)(?:\.(\d+))?(?:e([+-]?\d+))?$/.exec(text);
  if (!match) throw new Error(`not a decimal: ${text}`);
  const [, sign, whole, fraction = "", exp = "0"] = match;
  return { negative: sign === "-", digits: BigInt(whole + fraction), exponent: Number(exp) - fraction.length };
}

function textOf({ negative, digits, exponent }) {
  return `${negative ? "-" : ""}${digits}e${exponent}`;
}

// Exact rationals { num, den } with BigInt parts (den > 0).
function rationalOfDecimal({ negative, digits, exponent }) {
  const num = negative ? -digits : digits;
  return exponent >= 0 ? { num: num * 10n ** BigInt(exponent), den: 1n } : { num, den: 10n ** BigInt(-exponent) };
}

function rationalOfDouble(x) {
  const view = new DataView(new ArrayBuffer(8));
  view.setFloat64(0, x);
  const bits = view.getBigUint64(0);
  const negative = bits >> 63n === 1n;
  const biased = Number((bits >> 52n) & 0x7ffn);
  const fraction = bits & ((1n << 52n) - 1n);
  const mantissa = biased === 0 ? fraction : fraction | (1n << 52n);
  const exponent = (biased === 0 ? 1 : biased) - 1075;
  const num = negative ? -mantissa : mantissa;
  return exponent >= 0 ? { num: num << BigInt(exponent), den: 1n } : { num, den: 1n << BigInt(-exponent) };
}

// Sign of |a - x| - |b - x|.
function compareDistance(x, a, b) {
  const abs = (n) => (n < 0n ? -n : n);
  const da = { num: abs(a.num * x.den - x.num * a.den), den: a.den * x.den };
  const db = { num: abs(b.num * x.den - x.num * b.den), den: b.den * x.den };
  const left = da.num * db.den;
  const right = db.num * da.den;
  return left < right ? -1 : left > right ? 1 : 0;
}

// Date/Time from the stored day count: whole = trunc(days), time = |fraction| rounded to the second
// (carrying into the next day), counted from 1899-12-30 in the proleptic Gregorian calendar. A day
// count without such a form (not finite, or outside the years 0001..9999) prints as the number.
const JET_EPOCH_MS = Date.UTC(1899, 11, 30);
export function dateTimeText(days) {
  if (!Number.isFinite(days) || Math.abs(days) > 1e7) return doubleText(days);
  const whole = Math.trunc(days);
  const seconds = Math.round(Math.abs(days - whole) * 86400);
  const date = new Date(JET_EPOCH_MS + whole * 86400000 + seconds * 1000);
  const year = date.getUTCFullYear();
  if (year < 1 || year > 9999) return doubleText(days);
  return `"${calendarText(date)}"`;
}

// YYYY-MM-DD HH:MM:SS of a JS Date, in UTC.
export function calendarText(date) {
  const two = (n) => String(n).padStart(2, "0");
  const year = date.getUTCFullYear();
  const yearText = year < 0 ? `-${String(-year).padStart(4, "0")}` : String(year).padStart(4, "0");
  return (
    `${yearText}-${two(date.getUTCMonth() + 1)}-${two(date.getUTCDate())} ` +
    `${two(date.getUTCHours())}:${two(date.getUTCMinutes())}:${two(date.getUTCSeconds())}`
  );
}

// mdb-reader's own reading of a Date/Time, to the nearest second, for the notes on its errors.
export function mdbReaderDateText(date) {
  const ms = date.getTime();
  if (!Number.isFinite(ms)) return "Invalid Date";
  return calendarText(new Date(Math.round(ms / 1000) * 1000));
}

// Numeric: mdb-reader's exact decimal string, with "-" kept only for a non-zero value.
export function numericText(text) {
  return JSON.stringify(/^-[0.]+$/.test(text) ? text.slice(1) : text);
}

// GUID: mdb-reader gives "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" in lower case.
export function guidText(text) {
  return JSON.stringify(`{${text.toUpperCase()}}`);
}

// Module loader hook for the oracle: mdb-reader turns a stored Date/Time into a JS Date and drops
// the stored day count, and its Date is wrong for negative day counts (it treats them linearly:
// -1.25 becomes 1899-12-28 18:00, while Jet reads day -1 at 06:00). This hook patches
// mdb-reader's date decoder so that the Date it returns also carries the stored double as
// `jetDayCount`. Nothing else in mdb-reader changes.
const DECODER = "/mdb-reader/lib/node/data/datetime.js";
const ORIGINAL = "return new Date(Math.round((td - daysDiff) * 86400 * 1000));";
const PATCHED =
  "const date = new Date(Math.round((td - daysDiff) * 86400 * 1000)); date.jetDayCount = td; return date;";

export async function load(url, context, nextLoad) {
  const result = await nextLoad(url, context);
  if (!url.endsWith(DECODER)) return result;
  const source =
    typeof result.source === "string" ? result.source : new TextDecoder().decode(result.source);
  if (!source.includes(ORIGINAL)) {
    throw new Error(`${url}: not the mdb-reader 3.2.0 date decoder this hook expects`);
  }
  return { ...result, source: source.replace(ORIGINAL, PATCHED), shortCircuit: true };
}

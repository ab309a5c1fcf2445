// Splits one compact JSON object line of the dump format, {"key":value,...}, into
// [key, raw value text] pairs without re-printing the values, so that a comparison sees the texts
// exactly as each side wrote them. Returns null for a line that is not of that shape.
export function splitRow(line) {
  if (line.length < 2 || line[0] !== "{" || line[line.length - 1] !== "}") return null;
  const members = [];
  let i = 1;
  if (line === "{}") return members;
  while (i < line.length) {
    const keyEnd = stringEnd(line, i);
    if (keyEnd < 0 || line[keyEnd] !== ":") return null;
    const key = JSON.parse(line.slice(i, keyEnd));
    const valueStart = keyEnd + 1;
    let valueEnd;
    if (line[valueStart] === '"') {
      valueEnd = stringEnd(line, valueStart);
      if (valueEnd < 0) return null;
    } else {
      valueEnd = valueStart;
      while (valueEnd < line.length && line[valueEnd] !== "," && line[valueEnd] !== "}") valueEnd++;
    }
    members.push([key, line.slice(valueStart, valueEnd)]);
    if (line[valueEnd] === "}") return valueEnd === line.length - 1 ? members : null;
    if (line[valueEnd] !== ",") return null;
    i = valueEnd + 1;
  }
  return null;
}

// The index just past the JSON string that starts at `start`, or -1.
function stringEnd(text, start) {
  if (text[start] !== '"') return -1;
  for (let i = start + 1; i < text.length; i++) {
    if (text[i] === "\\") i++;
    else if (text[i] === '"') return i + 1;
  }
  return -1;
}

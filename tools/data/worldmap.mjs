// Plate carree world map as SVG (whole globe, 2:1) from Natural Earth
// outlines (npm world-atlas, public domain) projected with d3-geo.
// Usage: node worldmap.mjs WIDTH OUTPUT.svg
import fs from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { geoEquirectangular, geoPath, geoGraticule10 } from "d3-geo";
import { feature, mesh } from "topojson-client";

const here = path.dirname(fileURLToPath(import.meta.url));
const width = Number(process.argv[2] || 960);
const height = width / 2;
const out = process.argv[3];
const land50 = JSON.parse(fs.readFileSync(path.join(here, "node_modules/world-atlas/land-50m.json")));
const countries = JSON.parse(fs.readFileSync(path.join(here, "node_modules/world-atlas/countries-50m.json")));
// scale so that 360 degrees span the width; centred on 0,0
const projection = geoEquirectangular().scale(width / (2 * Math.PI)).translate([width / 2, height / 2]).precision(0.1);
const p = geoPath(projection);
const round = (d) => d.replace(/\d+\.\d+/g, (n) => Number(n).toFixed(1));
const land = round(p(feature(land50, land50.objects.land)));
const borders = round(p(mesh(countries, countries.objects.countries, (a, b) => a !== b)));
const grid = round(p(geoGraticule10()));
const svg = `<svg xmlns="http://www.w3.org/2000/svg" width="${width}" height="${height}" viewBox="0 0 ${width} ${height}">
<defs>
<linearGradient id="sea" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#1d4f7c"/><stop offset="0.5" stop-color="#2b6ea6"/><stop offset="1" stop-color="#1d4f7c"/>
</linearGradient>
<linearGradient id="land" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#e8eef0"/><stop offset="0.18" stop-color="#8fae6a"/><stop offset="0.4" stop-color="#6f9a4e"/>
<stop offset="0.5" stop-color="#7d9d4f"/><stop offset="0.6" stop-color="#9a9c5a"/><stop offset="0.82" stop-color="#8fae6a"/><stop offset="1" stop-color="#eef2f4"/>
</linearGradient>
</defs>
<rect width="${width}" height="${height}" fill="url(#sea)"/>
<path d="${grid}" fill="none" stroke="#ffffff" stroke-opacity="0.12" stroke-width="${width / 1920}"/>
<path d="${land}" fill="url(#land)" stroke="#2f4a24" stroke-width="${width / 1600}"/>
<path d="${borders}" fill="none" stroke="#3b5a2c" stroke-opacity="0.55" stroke-width="${width / 2400}"/>
</svg>
`;
const tmp = out + ".tmp";
fs.writeFileSync(tmp, svg);
fs.renameSync(tmp, out);

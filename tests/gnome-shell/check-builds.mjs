// The two builds of the GNOME Shell extension cannot drift apart: both parse (the 45+ one as an ES
// module, the only check possible where no GNOME 45 runs), each has its format's entry points,
// both serve the same D-Bus interface, which holds every call and signal Varrow uses, and their
// metadata differ only in the shell versions, which do not overlap.
//   usage: node check-builds.mjs BUILDS_DIR UUID VARROW_LINK_SOURCE
import {spawnSync} from 'node:child_process';
import {copyFileSync, mkdtempSync, readFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

const [buildsDir, uuid, linkSource] = process.argv.slice(2);
let failures = 0;
function check(ok, what) {
    console.log(`${ok ? 'ok' : 'FAIL'}: ${what}`);
    if (!ok) failures++;
}

function build(first) {
    const dir = join(buildsDir, first, uuid);
    return {
        dir,
        source: readFileSync(join(dir, 'extension.js'), 'utf8'),
        metadata: JSON.parse(readFileSync(join(dir, 'metadata.json'), 'utf8')),
    };
}
const legacy = build('43');
const modern = build('45');

function parses(source, extension) {
    const file = join(mkdtempSync(join(tmpdir(), 'varrow-extension-')), `extension${extension}`);
    copyFileSync(source, file);
    const result = spawnSync(process.execPath, ['--check', file], {encoding: 'utf8'});
    if (result.status !== 0) console.log(result.stderr);
    return result.status === 0;
}
check(parses(join(modern.dir, 'extension.js'), '.mjs'), 'the 45+ build parses as an ES module');
check(parses(join(legacy.dir, 'extension.js'), '.cjs'), 'the 43-44 build parses as a script');

check(/^export default class \w+ extends Extension \{/m.test(modern.source) &&
      /^ {4}enable\(\) \{/m.test(modern.source) && /^ {4}disable\(\) \{/m.test(modern.source),
'the 45+ build exports a default Extension class with enable() and disable()');
const imports = [...modern.source.matchAll(/^import .* from '([^']+)';$/gm)].map(m => m[1]);
check(imports.length > 0 && imports.every(from => from.startsWith('gi://') ||
      from.startsWith('resource:///org/gnome/shell/')), 'the 45+ build imports only from the shell and GI');
check(['init', 'enable', 'disable'].every(name => new RegExp(`^function ${name}\\(\\) \\{`, 'm').test(legacy.source)),
    'the 43-44 build has init(), enable() and disable()');
check(!/^\s*(import|export)\s/m.test(legacy.source), 'the 43-44 build has no module syntax');

const iface = source => source.match(/<node>[\s\S]*?<\/node>/)?.[0] ?? '';
check(iface(legacy.source) !== '' && iface(legacy.source) === iface(modern.source),
    'both builds serve the same D-Bus interface');
const members = new Set([...iface(modern.source).matchAll(/<(?:method|signal) name="(\w+)"/g)].map(m => m[1]));
// Calls go through send(), signals are connected on the extension's interface.
const used = [...readFileSync(linkSource, 'utf8').matchAll(
    /(?:send\(|latin\(kInterface\), )QStringLiteral\("(\w+)"\)/g)].map(m => m[1]);
const missing = used.filter(name => !members.has(name));
check(new Set(used).size >= 6 && missing.length === 0, `the interface has every call and signal Varrow uses${
    missing.length ? ` (missing: ${missing.join(', ')})` : ''}`);

const {'shell-version': legacyVersions, ...legacyRest} = legacy.metadata;
const {'shell-version': modernVersions, ...modernRest} = modern.metadata;
check(JSON.stringify(legacyRest) === JSON.stringify(modernRest), 'both metadata.json agree but for shell-version');
check(legacy.metadata.uuid === uuid && ['name', 'description'].every(key => legacy.metadata[key]),
    'metadata.json names the folder\'s uuid, a name and a description');
const major = version => parseInt(version, 10);
check(JSON.stringify(legacyVersions) === '["43","44"]', 'the 43-44 build lists 43 and 44');
check(modernVersions.length > 0 && modernVersions.every(version => major(version) >= 45),
    'the 45+ build lists only 45 and later');

process.exit(failures ? 1 : 0);

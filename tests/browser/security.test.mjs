// The workbench as other sites and careless clients meet it, in Debian's chromium against `zigzag serve`:
// another server on this machine that the same browser visits is handed no token; a page on another
// origin, a name rebound to 127.0.0.1 and a visit without the printed token read and change nothing; a flood of malformed messages leaves every page drawing; twenty tabs all draw; a dialog
// whose page vanished is cancelled; SIGTERM with pages open stops the server within a second.
//
//   ZIGZAG     the zigzag command (default: build/linux/zigzag of this repository)
//   CHROMIUM   the browser (default: /usr/bin/chromium)
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import http from 'node:http';
import path from 'node:path';
import os from 'node:os';
import fs from 'node:fs';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const zigzag = process.env.ZIGZAG || path.join(here, '../../build/linux/zigzag');
const browserPath = process.env.CHROMIUM || '/usr/bin/chromium';
// A name that resolves to the workbench's own machine, as a rebinding attacker's would.
const REBOUND = 'rebound.example';

// Starts `zigzag serve` on a free port; resolves with { process, url, origin, port, token }.
function serve(extra = []) {
  return new Promise((resolve, reject) => {
    const child = spawn(zigzag, ['serve', '--port', '0', '--documents', fs.mkdtempSync(path.join(os.tmpdir(), 'zz-documents-')), ...extra], { stdio: ['ignore', 'pipe', 'inherit'] });
    let seen = '';
    child.stdout.on('data', (chunk) => {
      seen += chunk;
      const found = seen.match(/Workbench: (http:\/\/[^/\s]+)\/\?token=(\S+)/);
      if (found) {
        const origin = found[1];
        resolve({ process: child, url: `${origin}/?token=${found[2]}`, origin, port: Number(new URL(origin).port),
                  token: found[2] });
      }
    });
    child.on('exit', (code) => reject(new Error(`zigzag serve ended with ${code}: ${seen}`)));
  });
}

function stopped(child) {
  return new Promise((resolve) => {
    if (child.exitCode !== null) { resolve(child.exitCode); return; }
    child.on('exit', (code, signal) => resolve(code ?? signal));
  });
}

// The document as a tool with the token sees it: its SVG export and the page's revision.
function exportSvg(server) {
  return new Promise((resolve, reject) => {
    http.get(`${server.origin}/api/export.svg`, { headers: { Authorization: `Bearer ${server.token}` } }, (res) => {
      let body = '';
      res.on('data', (chunk) => { body += chunk; });
      res.on('end', () => (res.statusCode === 200 ? resolve(body) : reject(new Error(`${res.statusCode} ${body}`))));
    }).on('error', reject);
  });
}

let server, browser, evil, evilOrigin;

// A site of the attacker's: one page on another port of this machine, whose scripts the tests run.
function startEvilSite() {
  return new Promise((resolve) => {
    evil = http.createServer((req, res) => {
      res.writeHead(200, { 'Content-Type': 'text/html' });
      res.end('<!DOCTYPE html><title>elsewhere</title><p>another site</p>');
    });
    evil.listen(0, '127.0.0.1', () => resolve(`http://127.0.0.1:${evil.address().port}`));
  });
}

before(async () => {
  server = await serve();
  evilOrigin = await startEvilSite();
  browser = await chromium.launch({
    executablePath: browserPath,
    args: ['--no-sandbox', `--host-resolver-rules=MAP ${REBOUND} 127.0.0.1`],
  });
});

after(async () => {
  if (browser) await browser.close();
  if (server) server.process.kill('SIGINT');
  if (evil) evil.close();
});

async function openWorkbench(context, url = server.url) {
  const page = await context.newPage({ viewport: { width: 1000, height: 800 } });
  await page.goto(url);
  await page.waitForFunction(() => window.zz && window.zz.revision > 0);
  return page;
}

// A drag across the artboard with the mouse; resolves once the page shows one more art object.
async function drawOnce(page) {
  const before = Number(await page.getAttribute('#board', 'data-art-count'));
  const box = await page.locator('#board').boundingBox();
  const [x, y] = [box.x + 120, box.y + 120];
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.mouse.move(x + 150, y + 100, { steps: 4 });
  await page.mouse.up();
  await page.waitForFunction((count) => Number(document.getElementById('board').dataset.artCount) > count, before);
}

test('the printed address opens the page, keeps its token out of the address bar and out of any cookie', async () => {
  const context = await browser.newContext();
  const page = await openWorkbench(context);
  assert.equal(new URL(page.url()).search, '', 'the token is gone from the address');
  assert.equal(await page.evaluate(() => document.cookie), '');
  assert.deepEqual(await context.cookies(), [], 'the browser holds no cookie to send elsewhere');
  await context.close();
});

// Every request `site` receives: { method, url, headers }.
function recordingSite() {
  const requests = [];
  const site = http.createServer((req, res) => {
    requests.push({ method: req.method, url: req.url, headers: req.headers });
    res.writeHead(200, { 'Content-Type': req.url === '/' ? 'text/html' : 'text/plain' });
    // The page asks its own server for a picture, a script and a style as a page loads them.
    res.end(req.url === '/' ? '<!DOCTYPE html><title>local</title><img src="/picture.png"><script src="/s.js"></script>' +
                              '<link rel="stylesheet" href="/s.css"><p>another local server</p>' : '');
  });
  site.on('upgrade', (req, socket) => {
    requests.push({ method: req.method, url: req.url, headers: req.headers });
    socket.destroy();
  });
  return new Promise((resolve) => site.listen(0, '127.0.0.1', () => resolve({
    site, requests, origin: `http://127.0.0.1:${site.address().port}`,
  })));
}

test('another server on this machine, visited in the browser that holds the token, is handed no secret and can use none', async () => {
  const own = await serve();
  const other = await recordingSite();
  const context = await browser.newContext();
  try {
    const workbench = await openWorkbench(context, own.url);
    await drawOnce(workbench);
    const before = await exportSvg(own);

    // The other server's page, opened by address, by a link from the workbench's tab and reloaded.
    const visitor = await context.newPage();
    await visitor.goto(other.origin);
    await visitor.reload();
    await workbench.evaluate((target) => window.open(target), other.origin);
    const tried = await visitor.evaluate(async ({ target, port }) => {
      const outcome = {};
      const attempt = async (name, run) => {
        try { outcome[name] = await run(); } catch (error) { outcome[name] = `refused: ${error.message}`; }
      };
      // Its own server, asked every way a browser might add something of the workbench's.
      await attempt('own', () => fetch('/own', { credentials: 'include' }).then((r) => r.status));
      await attempt('ownSocket', () => new Promise((resolve) => {
        const socket = new WebSocket(`ws://${location.host}/socket`);
        socket.onerror = () => resolve('refused');
      }));
      // The workbench, as the finding's server would have: every way but the token.
      await attempt('read', () => fetch(`${target}/api/export.svg`, { credentials: 'include' }).then((r) => r.text()));
      await attempt('blind', () => fetch(`${target}/api/export.svg`, { mode: 'no-cors', credentials: 'include' })
        .then((r) => r.type));
      await attempt('socket', () => new Promise((resolve) => {
        const socket = new WebSocket(`ws://127.0.0.1:${port}/api/socket`);
        socket.onopen = () => { socket.send('{"id":1,"do":"undo"}'); resolve('opened'); };
        socket.onerror = () => resolve('refused');
      }));
      return outcome;
    }, { target: own.origin, port: own.port });
    assert.equal(tried.own, 200);
    assert.match(tried.read, /^refused/);
    assert.equal(tried.socket, 'refused');
    await new Promise((resolve) => setTimeout(resolve, 300));

    assert.ok(other.requests.length >= 8, `the other server was asked: ${other.requests.map((r) => r.url)}`);
    for (const request of other.requests) {
      const seen = `${request.method} ${request.url} ${JSON.stringify(request.headers)}`;
      assert.ok(!seen.includes(own.token), `the other server was handed the token: ${seen}`);
      assert.ok(!/zigzag/i.test(seen), `the other server was handed something of the workbench's: ${seen}`);
    }
    assert.equal(await exportSvg(own), before, 'the drawing is as it was');
    assert.equal(await workbench.evaluate(() => window.zz.undo), 1, 'the drag is still there to undo');
  } finally {
    await context.close();
    other.site.close();
    own.process.kill('SIGTERM');
    await stopped(own.process);
  }
});

test('a token cookie an earlier workbench left grants nothing and is cleared', async () => {
  const context = await browser.newContext();
  try {
    await context.addCookies([{ name: `zigzag-token-${server.port}`, value: server.token, domain: '127.0.0.1',
                                path: '/', httpOnly: true, sameSite: 'Strict' }]);
    const page = await context.newPage();
    assert.equal((await page.goto(server.origin + '/')).status(), 200);
    const tried = await page.evaluate(async () => ({
      read: (await fetch('/api/export.svg')).status,
      socket: await new Promise((resolve) => {
        const ws = new WebSocket(`ws://${location.host}/api/socket`);
        ws.onopen = () => resolve('opened');
        ws.onerror = () => resolve('refused');
      }),
    }));
    assert.deepEqual(tried, { read: 401, socket: 'refused' });
    assert.deepEqual(await context.cookies(), [], 'the page cleared the old cookie');
  } finally {
    await context.close();
  }
});

test('a page on another origin can neither read nor change the drawing, even in the browser that holds the token', async () => {
  const context = await browser.newContext();
  const workbench = await openWorkbench(context);
  await drawOnce(workbench);
  const before = await exportSvg(server);

  const attacker = await context.newPage();
  await attacker.goto(evilOrigin);
  const tried = await attacker.evaluate(async (target) => {
    const outcome = {};
    const attempt = async (name, run) => {
      try { outcome[name] = await run(); } catch (error) { outcome[name] = `refused: ${error.message}`; }
    };
    await attempt('read', () => fetch(`${target}/api/export.svg`).then((r) => r.text()));
    await attempt('blindRead', () => fetch(`${target}/api/export.svg`, { mode: 'no-cors' }).then((r) => r.type));
    await attempt('simplePost', () => fetch(`${target}/api/command`, {
      method: 'POST', mode: 'no-cors', headers: { 'Content-Type': 'text/plain' }, body: '{"do":"newDocument"}',
    }).then((r) => r.type));
    outcome.beacon = navigator.sendBeacon(`${target}/api/command`, '{"do":"newDocument"}');
    await attempt('socket', () => new Promise((resolve) => {
      const socket = new WebSocket(`${target.replace('http', 'ws')}/api/socket`);
      socket.onopen = () => {
        socket.send('{"id":1,"do":"newDocument"}');
        socket.onmessage = (event) => resolve(`opened: ${event.data}`);
      };
      socket.onerror = () => resolve('refused');
    }));
    await attempt('image', () => new Promise((resolve) => {
      const image = new Image();
      image.onload = () => resolve('loaded');
      image.onerror = () => resolve('refused');
      image.src = `${target}/api/icon.png`;
    }));
    return outcome;
  }, server.origin);

  assert.match(tried.read, /^refused/, 'a cross-origin read is not let through');
  assert.equal(tried.socket, 'refused');
  assert.equal(tried.image, 'refused', 'not even the tool\'s icon');
  await new Promise((resolve) => setTimeout(resolve, 300)); // the beacon and the blind requests have landed
  assert.equal(await exportSvg(server), before, 'the drawing is as it was');
  await context.close();
});

test('a name rebound to this machine gets nothing, with the token or without', async () => {
  const context = await browser.newContext();
  const rebound = `http://${REBOUND}:${server.port}`;
  for (const address of [`${rebound}/?token=${server.token}`, `${rebound}/api/export.svg`]) {
    const response = await (await context.newPage()).goto(address);
    assert.equal(response.status(), 403, address);
  }
  // A page served under the rebound name (the attacker's, on the same port as far as the browser knows)
  // cannot open the socket either.
  const page = await context.newPage();
  await page.route(`${rebound}/evil`, (route) => route.fulfill({ contentType: 'text/html', body: '<p>evil</p>' }));
  await page.goto(`${rebound}/evil`);
  const socket = await page.evaluate(([target, token]) => new Promise((resolve) => {
    const ws = new WebSocket(`ws://${target}/api/socket?token=${token}`);
    ws.onopen = () => resolve('opened');
    ws.onerror = () => resolve('refused');
  }), [`${REBOUND}:${server.port}`, server.token]);
  assert.equal(socket, 'refused');
  await context.close();
});

test('without the printed token the workbench shows nothing and its socket stays shut', async () => {
  const context = await browser.newContext();
  const page = await context.newPage();
  // The page's files hold nothing secret; the page says what it lacks and opens no socket.
  const response = await page.goto(server.origin + '/');
  assert.equal(response.status(), 200);
  await page.waitForFunction(() => /no token/.test(document.getElementById('status').textContent));
  assert.equal(await page.evaluate(() => window.zz.revision), 0);
  const wrong = await context.newPage();
  await wrong.goto(`${server.origin}/?token=${'0'.repeat(64)}`);
  await wrong.waitForFunction(() => /token is missing or wrong/.test(document.getElementById('status').textContent));
  assert.equal(await wrong.evaluate(() => window.zz.revision), 0);
  const socket = await page.evaluate(() => new Promise((resolve) => {
    const ws = new WebSocket(`ws://${location.host}/api/socket`);
    ws.onopen = () => resolve('opened');
    ws.onerror = () => resolve('refused');
  }));
  assert.equal(socket, 'refused');
  await context.close();
});

test('a hundred malformed messages of each kind leave every page drawing', async () => {
  const context = await browser.newContext();
  const pages = [await openWorkbench(context), await openWorkbench(context)];
  const answers = await pages[0].evaluate(() => new Promise((resolve) => {
    const kinds = [
      '{"do":"drag",', '{"do":"state","since":1e400}', '{"do":"seed","seed":"\\udcff"}', '[1,2]',
      '{"do":"fly"}', '{"do":"undo","client":3}', '{"do":"drag","to":[1e39,0]}', '{"do":"export","format":"svg"}',
      '{"do":"seed","seed":-1}', 'null',
    ];
    const socket = new WebSocket(`ws://${location.host}/api/socket?token=${sessionStorage.getItem('zigzag-token')}`);
    const refused = [];
    socket.onmessage = (event) => {
      const message = JSON.parse(event.data);
      if (message.event) return;
      refused.push(message.http);
      if (refused.length === kinds.length * 100) resolve(refused);
    };
    socket.onopen = () => { for (const text of kinds) for (let i = 0; i < 100; ++i) socket.send(text); };
    socket.onclose = () => resolve(refused);
  }));
  assert.equal(answers.length, 1000);
  assert.ok(answers.every((status) => status === 400), 'every one answered as bad input');
  for (const page of pages) await drawOnce(page);
  await context.close();
});

test('twenty tabs in one browser all draw, and each sees the others\' drawing', async () => {
  const context = await browser.newContext();
  const tabs = [];
  for (let i = 0; i < 20; ++i) tabs.push(await openWorkbench(context));
  const start = Number(await tabs[0].getAttribute('#board', 'data-art-count'));
  for (const tab of tabs) {
    await tab.bringToFront();
    await drawOnce(tab);
  }
  for (const tab of tabs)
    await tab.waitForFunction((count) => Number(document.getElementById('board').dataset.artCount) === count,
      start + 20);
  await context.close();
});

test('a dialog whose page vanished is cancelled after the dialog time-out, and the document is free again', async () => {
  const own = await serve(['--dialog-timeout', '1000']);
  const context = await browser.newContext();
  try {
    const opener = await openWorkbench(context, own.url);
    await opener.dblclick('#tool');
    await opener.waitForSelector('#dialogBackdrop:not([hidden])');
    await opener.close();
    // No page is left to drive it; a page that comes after the time-out finds the document free.
    await new Promise((resolve) => setTimeout(resolve, 1500));
    const later = await openWorkbench(context, own.url);
    assert.equal(await later.isHidden('#dialogBackdrop'), true);
    await drawOnce(later);
  } finally {
    await context.close();
    own.process.kill('SIGTERM');
    await stopped(own.process);
  }
});

test('SIGTERM with pages open, one of them in the dialog, stops the server within a second', async () => {
  const own = await serve();
  const context = await browser.newContext();
  const pages = [await openWorkbench(context, own.url), await openWorkbench(context, own.url)];
  await pages[0].dblclick('#tool');
  await pages[0].waitForSelector('#dialogBackdrop:not([hidden])');
  const started = performance.now();
  own.process.kill('SIGTERM');
  assert.equal(await stopped(own.process), 0);
  const took = performance.now() - started;
  assert.ok(took < 1000, `stopped in ${took.toFixed(0)} ms`);
  await context.close();
});

test('listening beyond loopback says so loudly and still asks for the token', async () => {
  const child = spawn(zigzag, ['serve', '--port', '0', '--host', '0.0.0.0', '--documents', fs.mkdtempSync(path.join(os.tmpdir(), 'zz-documents-'))], { stdio: ['ignore', 'pipe', 'pipe'] });
  try {
    let out = '', err = '';
    child.stderr.on('data', (chunk) => { err += chunk; });
    const address = await new Promise((resolve, reject) => {
      child.stdout.on('data', (chunk) => {
        out += chunk;
        const found = out.match(/Workbench: (http:\/\/[^/\s]+)\/\?token=(\S+)/);
        if (found) resolve(found[1]);
      });
      child.on('exit', (code) => reject(new Error(`zigzag serve ended with ${code}: ${err}`)));
    });
    // The warning comes on stderr, a pipe of its own that may be read after stdout.
    for (let waited = 0; !/WARNING/.test(err) && waited < 2000; waited += 20)
      await new Promise((resolve) => setTimeout(resolve, 20));
    assert.match(err, /WARNING: listening on 0\.0\.0\.0, not on loopback/);
    const status = await new Promise((resolve, reject) => {
      http.get(`${address}/api/export.svg`, (res) => { res.resume(); resolve(res.statusCode); }).on('error', reject);
    });
    assert.equal(status, 401);
  } finally {
    child.kill('SIGTERM');
    await stopped(child);
  }
});

// The world ranking through pirune-server, on the page's own origin or the one it was built for. The game decides when to
// ask and what to say; the page only carries the requests, each given up after a while, and
// hands the answers back. Offline, nothing here touches the local game: a token that does not
// come is never missed, and a failed send or list is the game's word that it cannot be reached.

import { deliver } from './calls.js';
import { toBase64 } from './files.js';
import { element } from './layout.js';

const WAIT_MS = 15000;
const [PLACED, REFUSED, UNREACHABLE] = [0, 1, 2];

// The server the site was built for, or else the site's own.
const server = document.querySelector('meta[name="pirune-world-server"]')?.content ?? '';
const ask = (address, options = {}) =>
  fetch(server ? `${server}/${address}` : address,
    { cache: 'no-store', ...options, signal: AbortSignal.timeout(WAIT_MS) });
const unreachable = () => deliver('pirune_world_unreachable');

// At a flight's start: the request carries nothing of the player; the server notes the time.
export function askToken() {
  ask('api/flights/start', { method: 'POST' })
    .then((r) => (r.ok ? r.json() : null))
    .then((body) => {
      if (typeof body?.token === 'string') deliver('pirune_flight_token', ['string'], [body.token]);
    })
    .catch(() => {});
}

// Only once the player said yes: the name and the flight's record.
export function send(token, name, record) {
  ask('api/flights', {
    method: 'POST',
    headers: { 'Content-Type': 'application/json' },
    body: JSON.stringify({ token, name, record: toBase64(record) }),
  })
    .then(async (r) => {
      const body = await r.json().catch(() => null);
      if (r.status === 201 && Number.isInteger(body?.rank) && Number.isInteger(body?.distance)) {
        return [PLACED, body.rank, body.distance, ''];
      }
      if (r.status >= 400 && r.status < 500 && typeof body?.error === 'string') {
        return [REFUSED, 0, 0, body.error];
      }
      return [UNREACHABLE, 0, 0, ''];
    })
    .catch(() => [UNREACHABLE, 0, 0, ''])
    .then((reply) => deliver('pirune_flight_sent', ['number', 'number', 'number', 'string'], reply));
}

const box = document.getElementById('world-box');
const list = document.getElementById('world-list');
const empty = document.getElementById('world-empty');

// A flight of the list, watched in the game's window.
async function watch(id) {
  box.close();
  try {
    const r = await ask(`api/flights/${id}`);
    if (!r.ok) throw new Error(`${r.status}`);
    const bytes = new Uint8Array(await r.arrayBuffer());
    deliver('pirune_watch', ['array', 'number'], [bytes, bytes.length]);
  } catch {
    unreachable();
  }
}

// Names as text only, never as markup.
function row({ rank, name, distance, id }) {
  const watchIt = element('button', { type: 'button', textContent: '見る' },
    { 'aria-label': `${rank}位 ${name}（距離 ${distance}）の飛行を見る` });
  watchIt.addEventListener('click', () => watch(id));
  const item = element('li');
  item.append(element('span', { textContent: `${rank}位` }),
    element('span', { className: 'name', textContent: name }),
    element('span', { textContent: `距離 ${distance}` }), watchIt);
  return item;
}

const valid = (r) => Number.isInteger(r?.rank) && typeof r.name === 'string' &&
  Number.isInteger(r.distance) && /^\d{1,18}$/.test(r.id);

export async function show() {
  let rows;
  try {
    const r = await ask('api/ranking?limit=100');
    rows = r.ok ? await r.json() : null;
    if (!Array.isArray(rows)) throw new Error('no list');
  } catch {
    unreachable();
    return;
  }
  list.replaceChildren(...rows.filter(valid).map(row));
  empty.hidden = list.children.length > 0;
  box.showModal();
  list.querySelector('button')?.focus();
}

box.addEventListener('close', () => document.getElementById('client').focus({ preventScroll: true }));

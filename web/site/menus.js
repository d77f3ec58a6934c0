// The window's menu bar in HTML, built from the game's menu items: captions as the game has
// them, check marks and enabled flags set from the game after every call. A click on an item
// is the game's menu command; the page never flips a mark itself. Usable by mouse, touch and
// keyboard (arrow keys, Home, End, Enter, Space, Escape).

import { deliver } from './calls.js';
import { element } from './layout.js';

const bar = document.getElementById('menubar');
const items = []; // by the game's number: { button, menu (for a drop-down), parent }

const tops = () => items.filter((item) => item.parent === -1);
const openMenu = () => tops().find((top) => top.menu && !top.menu.hidden);
const isDisabled = (button) => button.getAttribute('aria-disabled') === 'true';
const entries = (top) => [...top.menu.children];

export function addMenuItem(id, parent, caption, checkable, opensMenu) {
  const button = element('button', { type: 'button', textContent: caption, tabIndex: -1 },
    { role: checkable ? 'menuitemcheckbox' : 'menuitem' });
  const item = { button, parent, menu: null };
  items[id] = item;
  if (parent === -1) {
    const slot = element('div', { className: 'menu-slot' }, { role: 'none' });
    button.className = 'menu-top';
    slot.append(button);
    if (opensMenu) {
      item.menu = element('div', { id: `menu-${id}`, hidden: true },
        { role: 'menu', 'aria-label': caption });
      button.setAttribute('aria-haspopup', 'menu');
      button.setAttribute('aria-controls', item.menu.id);
      expand(item, false);
      slot.append(item.menu);
    }
    bar.append(slot);
    if (tops().length === 1) button.tabIndex = 0;
  } else {
    items[parent].menu.append(button);
  }
  button.addEventListener('click', () => activate(id));
}

export function showMenuItem(id, checked, enabled) {
  const { button } = items[id];
  if (button.getAttribute('role') === 'menuitemcheckbox') {
    button.setAttribute('aria-checked', String(checked));
  }
  if (enabled) button.removeAttribute('aria-disabled');
  else button.setAttribute('aria-disabled', 'true');
}

export function disableAll() {
  items.forEach(({ button }) => button.setAttribute('aria-disabled', 'true'));
  closeMenus();
}

function expand(top, open) {
  top.menu.hidden = !open;
  top.button.setAttribute('aria-expanded', String(open));
}

function show(top, focusFirst) {
  const current = openMenu();
  if (current && current !== top) expand(current, false);
  if (!top.menu) {
    top.button.focus();
    return;
  }
  expand(top, true);
  if (focusFirst) entries(top)[0]?.focus();
}

// True when a menu was open.
export function closeMenus() {
  const current = openMenu();
  if (current) expand(current, false);
  return !!current;
}

function activate(id) {
  const item = items[id];
  if (item.menu) {
    if (item.menu.hidden) show(item, false);
    else expand(item, false);
    return;
  }
  if (isDisabled(item.button)) return;
  closeMenus();
  document.getElementById('client').focus({ preventScroll: true });
  deliver('pirune_menu', ['number'], [id]);
}

function moveAlongBar(from, step) {
  const all = tops();
  const next = all[(all.indexOf(from) + step + all.length) % all.length];
  all.forEach((top) => (top.button.tabIndex = top === next ? 0 : -1));
  if (openMenu()) show(next, true);
  else next.button.focus();
}

function topOf(button) {
  const item = items.find((i) => i.button === button);
  return item && (item.parent === -1 ? item : items[item.parent]);
}

bar.addEventListener('keydown', (event) => {
  const top = topOf(event.target);
  if (!top) return;
  const inMenu = event.target !== top.button;
  const list = top.menu ? entries(top) : [];
  const at = list.indexOf(event.target);
  if ((event.key === 'Enter' || event.key === ' ') && !inMenu && top.menu) {
    // From the keyboard a drop-down opens with its first item ready.
    event.preventDefault();
    show(top, true);
    return;
  }
  const handled = {
    ArrowRight: () => moveAlongBar(top, 1),
    ArrowLeft: () => moveAlongBar(top, -1),
    ArrowDown: () => {
      if (!inMenu) show(top, true);
      else list[(at + 1) % list.length].focus();
    },
    ArrowUp: () => {
      if (list.length === 0) return;
      if (!inMenu) show(top, false);
      list[(Math.max(at, 0) - 1 + list.length) % list.length].focus();
    },
    Home: () => (inMenu ? list[0].focus() : moveAlongBar(tops()[0], 0)),
    End: () => (inMenu ? list.at(-1).focus() : moveAlongBar(tops().at(-1), 0)),
    Escape: () => {
      closeMenus();
      top.button.focus();
    },
    Tab: () => {
      closeMenus();
      return 'default';
    },
  }[event.key];
  if (!handled) return;
  if (handled() !== 'default') event.preventDefault();
});

// A menu follows the pointer along the bar while one is open, as a desktop menu bar does.
bar.addEventListener('pointerover', (event) => {
  if (event.pointerType !== 'mouse') return;
  const top = topOf(event.target);
  const current = openMenu();
  if (top && current && top !== current && event.target === top.button) show(top, false);
});

// A press anywhere else closes an open menu.
document.addEventListener('pointerdown', (event) => {
  if (!bar.contains(event.target)) closeMenus();
});
bar.addEventListener('focusout', (event) => {
  if (!bar.contains(event.relatedTarget) && event.relatedTarget !== null) closeMenus();
});

// The message box, the input box and the page's own OK/キャンセル question, modal like the
// desktop's: the game's procedure waits for the player's answer. While one is open the page
// delivers no clicks to the game.

import { element } from './layout.js';
import { closeMenus } from './menus.js';

export const MESSAGE = 0;
export const INPUT = 1;
export const CONFIRM = 2;

const messageBox = document.getElementById('message-box');
const inputBox = document.getElementById('input-box');
const field = document.getElementById('input-box-field');

function show(dialog, title, text) {
  closeMenus();
  dialog.querySelector('h2').textContent = title;
  dialog.querySelector('p').textContent = text;
  dialog.returnValue = '';
  return new Promise((resolve) => {
    dialog.addEventListener(
      'close',
      () => {
        document.getElementById('client').focus({ preventScroll: true });
        resolve(dialog.returnValue);
      },
      { once: true },
    );
    dialog.showModal();
  });
}

// The box of `kind` opened; its answer: 0 for a message, 1 (OK) or 0 for a question, the typed
// text or -1 (キャンセル, Escape) for the input box.
export async function open(kind, title, text) {
  if (kind === INPUT) {
    field.value = '';
    const answer = show(inputBox, title, text);
    field.focus();
    return (await answer) === 'ok' ? field.value : -1;
  }
  if (kind !== CONFIRM) {
    await show(messageBox, title, text);
    return 0;
  }
  const cancel = element('button', { value: 'cancel', textContent: 'キャンセル' });
  messageBox.querySelector('.box-buttons').append(cancel);
  try {
    return (await show(messageBox, title, text)) === 'ok' ? 1 : 0;
  } finally {
    cancel.remove();
  }
}

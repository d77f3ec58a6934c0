// The message box and the input box, modal like the desktop's: the game's procedure waits for
// the player's answer. While one is open the page delivers no clicks to the game.

import { boxOpened, boxClosed } from './calls.js';
import { closeMenus } from './menus.js';

const messageBox = document.getElementById('message-box');
const inputBox = document.getElementById('input-box');
const field = document.getElementById('input-box-field');

// Texts come with CR LF line breaks; the paragraph keeps line breaks and spaces as they are.
const shown = (text) => text.replace(/\r\n/g, '\n');

function open(dialog, title, text) {
  closeMenus();
  dialog.querySelector('h2').textContent = title;
  dialog.querySelector('p').textContent = shown(text);
  dialog.returnValue = '';
  boxOpened();
  return new Promise((resolve) => {
    dialog.addEventListener(
      'close',
      () => {
        boxClosed();
        document.getElementById('client').focus({ preventScroll: true });
        resolve(dialog.returnValue);
      },
      { once: true },
    );
    dialog.showModal();
  });
}

export async function showMessage(title, text) {
  await open(messageBox, title, text);
}

// OK and キャンセル in the message box, for the page's own questions; true for OK.
export async function askConfirmation(title, text) {
  const buttons = messageBox.querySelector('.box-buttons');
  const cancel = document.createElement('button');
  cancel.value = 'cancel';
  cancel.textContent = 'キャンセル';
  buttons.append(cancel);
  try {
    return (await open(messageBox, title, text)) === 'ok';
  } finally {
    cancel.remove();
  }
}

// The typed text, or null when the player cancels (キャンセル or Escape).
export async function askText(title, prompt) {
  field.value = '';
  const answer = open(inputBox, title, prompt);
  field.focus();
  return (await answer) === 'ok' ? field.value : null;
}

// Installable and playable offline: the service worker keeps every file of the site. It is
// registered once the title is on the screen, so that what it fetches never delays the title.

export function registerServiceWorker() {
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
  navigator.serviceWorker.register('sw.js').catch(() => {
    // Without it the game still runs; it only needs the network each time.
  });
}

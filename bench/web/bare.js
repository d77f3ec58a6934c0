// The floor the game's page is measured against: a canvas of the game's size that shows the
// title picture fetched from the site (?picture=ADDRESS), or, with ?animate, four rectangles
// that shrink and reappear at every display frame, as the background effect's shapes do.
const query = new URLSearchParams(location.search);
const canvas = document.getElementById('client');
canvas.width = canvas.height = Number(query.get('size'));
canvas.style.width = canvas.style.height = `${Number(query.get('css'))}px`;
const ctx = canvas.getContext('2d');
const unit = canvas.width / 100;
const random = (n) => Math.floor(Math.random() * n);

if (query.has('animate')) {
  const squares = ['#000080', '#00ff00', '#ff00ff', '#ffff00'].map((colour) => ({ colour, size: 0 }));
  const frame = () => {
    ctx.fillStyle = '#000';
    ctx.fillRect(0, 0, canvas.width, canvas.height);
    for (const s of squares) {
      if (s.size > 2) s.size -= 1;
      else Object.assign(s, { left: random(100) + 1, top: random(100) + 1, size: random(30) });
      ctx.fillStyle = s.colour;
      ctx.fillRect(s.left * unit, s.top * unit, s.size * unit, s.size * unit);
    }
    requestAnimationFrame(frame);
  };
  requestAnimationFrame(frame);
} else {
  const picture = await createImageBitmap(await (await fetch(query.get('picture'))).blob());
  ctx.drawImage(picture, 0, 0, canvas.width, canvas.height);
}

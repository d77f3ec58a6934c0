// The music player of the page: the site's MP3 of the game's wave file, decoded once and cut
// to exactly the wave file's samples, played through WebAudio as one seamless loop. The game
// drives it with the player's commands ("prev", "play", "stop", "close") and restarts it from
// its music timer once per length; the game decides from where the music stands whether that
// restart joins the beginning to the end (the loop here has no seam: nothing to do) or cuts.
// Browsers sound nothing before the player's first click or key: until then, and until the
// music is decoded, the player keeps time silently, so the music comes in where the game says.

import { fetched } from './first-fetches.js';
import { music as siteMusic } from './site-media.js';

let entry = null; // the site's music of the open file
let context = null;
const decodedFiles = new Map(); // site file -> Promise of its AudioBuffer

let samples = null; // the open music, exactly entry.frames long
let source = null;
let playing = false;
let from = 0; // frames: where the music stands when stopped, or where it stood at `anchor`
let anchor = { audio: false, at: 0 };

function phaseNow() {
  if (!playing) return from;
  const elapsed = anchor.audio
    ? (context.currentTime - anchor.at) * entry.rate
    : ((performance.now() - anchor.at) * entry.rate) / 1000;
  return Math.floor(from + elapsed) % entry.frames;
}

function silence() {
  if (!source) return;
  source.onended = null;
  source.stop();
  source.disconnect();
  source = null;
}

function sound() {
  if (!playing || source || !samples || !context || context.state !== 'running') return;
  const at = phaseNow();
  source = context.createBufferSource();
  source.buffer = samples;
  source.loop = true;
  source.connect(context.destination);
  source.start(context.currentTime, at / samples.sampleRate);
  from = at;
  anchor = { audio: true, at: context.currentTime };
}

// Cuts what the decoder gave to the wave file's samples: decoders that read the MP3's LAME tag
// give exactly them, the others give the encoder's delay first and its padding after.
function exactly(decoded) {
  const scale = decoded.sampleRate / entry.rate;
  const length = Math.round(entry.frames * scale);
  const untrimmed = decoded.length >= length + Math.round(entry.untrimmedStart * scale);
  const start = untrimmed ? Math.round(entry.untrimmedStart * scale) : 0;
  const { numberOfChannels, sampleRate } = decoded;
  const cut = new AudioBuffer({ length, numberOfChannels, sampleRate });
  for (let channel = 0; channel < numberOfChannels; channel += 1) {
    cut.copyToChannel(decoded.getChannelData(channel).subarray(start, start + length), channel);
  }
  return cut;
}

function decode(music) {
  if (!decodedFiles.has(music.file)) {
    const decoding = fetched(music.file)
      .then((response) => response.arrayBuffer())
      .then((bytes) => new OfflineAudioContext(music.channels, 1, music.rate).decodeAudioData(bytes));
    decodedFiles.set(music.file, decoding);
  }
  return decodedFiles.get(music.file);
}

let fetching = false;

// From now on the open music is fetched and decoded; the game goes on meanwhile, and without
// it in silence.
export function prefetch() {
  fetching = true;
  load();
}

function load() {
  if (!fetching || !entry || samples) return;
  const opened = entry;
  decode(opened).then((decoded) => {
    if (entry !== opened) return;
    samples = exactly(decoded);
    sound();
  }, () => {});
}

// At each click, touch or key until sound is allowed.
export function unlock() {
  if (context?.state === 'running') return;
  if (navigator.userActivation && !navigator.userActivation.isActive) return;
  if (!context) {
    try {
      context = new AudioContext({ sampleRate: entry?.rate ?? 44100 });
    } catch {
      return; // no sound in this browser: the music keeps time silently
    }
    context.addEventListener('statechange', sound);
  }
  if (context.state !== 'running') context.resume().then(sound, () => {});
}

export function open(name) {
  close();
  entry = siteMusic[name] ?? null;
  load();
  return entry ? entry.lengthMs : 0;
}

// Where the playing music stands, in ms; -1 while it does not play. The game decides from it
// whether a restart joins the loop or cuts.
export const position = () => (entry && playing ? (phaseNow() * 1000) / entry.rate : -1);

export function rewind() {
  if (!entry) return;
  if (!playing) {
    from = 0;
    return;
  }
  silence();
  from = 0;
  anchor = { audio: false, at: performance.now() };
  sound();
}

export function play() {
  if (!entry || playing) return;
  playing = true;
  anchor = { audio: false, at: performance.now() };
  sound();
}

export function stop() {
  if (!entry || !playing) return;
  from = phaseNow();
  silence();
  playing = false;
}

export function close() {
  silence();
  playing = false;
  from = 0;
  samples = null;
  entry = null;
}

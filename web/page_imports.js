// The page's modules that page_library.js calls, imported at the top of pirune.js.
import * as calls from './calls.js';
import * as canvas from './canvas.js';
import * as dialogs from './dialogs.js';
import * as files from './files.js';
import * as flights from './flights.js';
import * as layout from './layout.js';
import * as menus from './menus.js';
import * as music from './music.js';
import * as pictures from './first-fetches.js';
import * as ranking from './ranking.js';
import * as world from './world.js';

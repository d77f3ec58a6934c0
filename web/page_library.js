// The page as the program imports it (emcc --js-library): each function turns the program's
// pointers into the page's values and hands them to the page's modules, which page_imports.js
// brings into pirune.js. Texts and bytes cross from the program to the page; only a box's
// typed answer and a kept flight record are written the other way.

mergeInto(LibraryManager.library, {
  page_arm_timer: function (delay) { calls.armTimer(delay); },
  page_request_frame: function () { canvas.requestFrame(); },
  page_game_ended: function () { calls.end(); },

  page_begin_paint: function (rects, count) {
    canvas.beginPaint(HEAP32.subarray(rects >> 2, (rects >> 2) + 4 * count));
  },
  page_fill_rect: function (left, top, width, height, red, green, blue) {
    canvas.fillRect(left, top, width, height, red, green, blue);
  },
  page_draw_picture: function (id, left, top, width, height) {
    canvas.drawPicture(pictures.bitmap(id), left, top, width, height);
  },
  page_draw_text: function (text, length, left, top, px, red, green, blue, cl, ct, cw, ch) {
    canvas.drawText(UTF16ToString(text, 2 * length), left, top, px, red, green, blue, cl, ct, cw, ch);
  },
  page_end_paint: function () { canvas.endPaint(); },
  page_text_width: function (text, length, px) {
    return canvas.textWidth(UTF16ToString(text, 2 * length), px);
  },
  page_line_height: function (px) { return canvas.lineHeight(px); },

  page_offer_picture: function (name, bytes, length) {
    pictures.offerPicture(UTF8ToString(name), HEAPU8.slice(bytes, bytes + length));
  },
  page_picture: function (name) {
    const file = UTF8ToString(name);
    return Asyncify.handleAsync(() => pictures.whenDecoded(file));
  },
  page_picture_width: function (id) { return pictures.bitmap(id).width; },
  page_picture_height: function (id) { return pictures.bitmap(id).height; },

  page_open_box: function (kind, title, titleLength, text, textLength) {
    calls.openBox(dialogs.open(kind, UTF16ToString(title, 2 * titleLength),
      UTF16ToString(text, 2 * textLength)));
  },
  page_open_error_box: function (text) {
    calls.openBox(dialogs.open(dialogs.MESSAGE, 'ピルネノ翼', UTF8ToString(text)));
  },
  page_box_event: function (answer, capacity) {
    return Asyncify.handleAsync(async () => {
      const event = await calls.boxEvent();
      if (typeof event !== 'string') return event;
      stringToUTF16(event, answer, 2 * capacity);
      return Math.min(event.length, capacity - 1);
    });
  },

  page_add_menu_item: function (id, parent, caption, length, checkable, opensMenu) {
    menus.addMenuItem(id, parent, UTF16ToString(caption, 2 * length), !!checkable, !!opensMenu);
  },
  page_show_menu_item: function (id, checked, enabled) {
    menus.showMenuItem(id, !!checked, !!enabled);
  },

  page_music_open: function (name) { return music.open(UTF8ToString(name)); },
  page_music_rewind: function () { music.rewind(); },
  page_music_position: function () { return music.position(); },
  page_music_play: function () { music.play(); },
  page_music_stop: function () { music.stop(); },
  page_music_close: function () { music.close(); },

  page_store_ranking: function (records, length) {
    ranking.store(HEAPU8.slice(records, records + length));
  },
  page_replace_ranking: function (file, length) {
    ranking.replace(HEAPU8.slice(file, file + length));
  },

  page_load_flight: function (slot) { return flights.load(UTF8ToString(slot)); },
  page_take_flight: function (into, length) { HEAPU8.set(flights.take().subarray(0, length), into); },
  page_store_flight: function (slot, bytes, length) {
    flights.store(UTF8ToString(slot), HEAPU8.subarray(bytes, bytes + length));
  },
  page_choose_flight_file: function (largest) { flights.choose(largest); },
  page_save_file: function (name, bytes, length) {
    files.download(UTF8ToString(name), HEAPU8.slice(bytes, bytes + length));
  },
  page_show_watching: function (text, length) {
    flights.showWatching(length < 0 ? null : UTF16ToString(text, 2 * length));
  },

  page_world_token: function () { world.askToken(); },
  page_world_send: function (token, name, record, length) {
    world.send(UTF8ToString(token), UTF8ToString(name), HEAPU8.slice(record, record + length));
  },
  page_world_show: function () { world.show(); },

  page_screen_height: function () { return Math.round(screen.height); },
  page_window_side: function () { return layout.windowSide(); },
});

#pragma once
// What only the page can do, as the program imports it: the functions of page_library.js. Texts
// and bytes cross from the program to the page as a pointer and a length, which the page reads
// at once; a box's typed answer and a kept flight record are all that the page writes into the
// program's memory.

#include <cstdint>

extern "C" {

// ---- the calls into the game ------------------------------------------------------------------
// The game's tick is wanted after `delayMs`; a negative delay: no tick at all.
void page_arm_timer(double delayMs);
// Part of the window changed: a frame is painted with the next display frame.
void page_request_frame();
// A run-time error ended the game: the page takes no input any more.
void page_game_ended();

// ---- painting, in the canvas's device pixels ------------------------------------------------
// A frame paints inside these rectangles only (left, top, width, height, one after another).
void page_begin_paint(const std::int32_t* rects, int count);
void page_fill_rect(int left, int top, int width, int height, int red, int green, int blue);
void page_draw_picture(int id, int left, int top, int width, int height);
void page_draw_text(const char16_t* text, int length, double left, double top, double fontPixels,
                    int red, int green, int blue, int clipLeft, int clipTop, int clipWidth,
                    int clipHeight);
void page_end_paint();
double page_text_width(const char16_t* text, int length, double fontPixels);
double page_line_height(double fontPixels);

// ---- pictures, decoded by the page ----------------------------------------------------------
// Hands the page a picture that the program carries, to decode before the game starts.
void page_offer_picture(const char* name, const unsigned char* bytes, int length);
// The number of the page's picture called `name` (a story picture's file name or a carried
// picture's name), once decoded; -1 when there is no such picture or it cannot be decoded.
// Waits while the page is still fetching it.
int page_picture(const char* name);
int page_picture_width(int id);
int page_picture_height(int id);

// ---- the boxes ------------------------------------------------------------------------------
enum PageBox { kMessageBox = 0, kInputBox = 1, kConfirmBox = 2 };
void page_open_box(int kind, const char16_t* title, int titleLength, const char16_t* text,
                   int textLength);
void page_open_error_box(const char* utf8Text);
// What the open box says next: kTimerDue when the game's timer fell due first; otherwise its
// answer: 0 for a message box; 1 (OK) or 0 for a confirmation; for an input box -1 when
// cancelled, or the length of the typed text, written into `answer` (at most `capacity`).
inline constexpr int kTimerDue = -2;
int page_box_event(char16_t* answer, int capacity);

// ---- the menu bar ---------------------------------------------------------------------------
void page_add_menu_item(int id, int parent, const char16_t* caption, int length, int checkable,
                        int opensMenu);
void page_show_menu_item(int id, int checked, int enabled);

// ---- the music ------------------------------------------------------------------------------
// Length in ms of the site's music for the game's file called `name`; 0 when it has none.
double page_music_open(const char* name);
void page_music_rewind();
double page_music_position();
void page_music_play();
void page_music_stop();
void page_music_close();

// ---- scr.dat in the browser's storage ------------------------------------------------------
// The game's records in place of the stored ones, whatever the stored file holds after them
// kept; or a file the player brought, kept whole in place of the stored one.
void page_store_ranking(const unsigned char* records, int length);
void page_replace_ranking(const unsigned char* file, int length);

// ---- flight records -------------------------------------------------------------------------
// The record kept under `slot` in the browser's storage: its length, the page holding its bytes
// for page_take_flight; -1 when none is kept or it cannot be read.
int page_load_flight(const char* slot);
void page_take_flight(unsigned char* into, int length);
// Kept quietly, or not at all: a refused store only leaves no record under `slot`.
void page_store_flight(const char* slot, const unsigned char* bytes, int length);
// The player chooses a record file; its first `largest` bytes reach pirune_watch.
void page_choose_flight_file(int largest);
void page_save_file(const char* name, const unsigned char* bytes, int length);
// The line under the window while a flight is watched; a negative length hides it.
void page_show_watching(const char16_t* text, int length);

// ---- the world ranking, on the page's own origin -----------------------------------------
// Each answers later, through pirune_flight_token, pirune_flight_sent, pirune_watch or
// pirune_world_unreachable; a token that does not come is simply never handed on.
void page_world_token();
void page_world_send(const char* token, const char* utf8Name, const unsigned char* record,
                     int length);
// The top flights in the page's list, each with its way to watch it.
void page_world_show();

// ---- the viewport -----------------------------------------------------------------------------
int page_screen_height();
int page_window_side();

}  // extern "C"

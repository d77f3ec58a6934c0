#include "web_shell.h"

#include <exception>
#include <string>

#include "page.h"

namespace pirune::web {

WebShell::WebShell()
    : music_(std::string(kGameFolder) + "/"),
      platform_(music_),
      form_(platform_),
      ranking_(form_, kGameFolder),
      boundary_([this] { ranking_.saveAfterError(); }),
      menus_(form_.menuBar),
      timerDriver_(form_.timers) {
  page::whileBoxOpen([this] { tickBehindBox(); });
}

void WebShell::start() {
  const bool loaded = boundary_.run([this] {
    ranking_.seed();
    form_.Form_Load();
    ranking_.loaded();
  });
  // The page shows the window as soon as it is loaded: that is its one activation.
  if (loaded && boundary_.run([this] {
        form_.Form_Activate();
        ranking_.persistIfChanged();
      })) {
    catchUp();
  }
  started_ = true;
  page::callFinished();
}

void WebShell::call(const std::function<void()>& procedure) {
  if (boundary_.run([&] {
        procedure();
        ranking_.persistIfChanged();
      })) {
    catchUp();
  }
  page::callFinished();
}

void WebShell::tickBehindBox() {
  // After a run-time error nothing calls into the game, not even behind the error's own box.
  if (boundary_.failed()) {
    return;
  }
  form_.timers.fireDue();
  catchUp();
}

void WebShell::catchUp() {
  menus_.sync();
  timerDriver_.rearm();
  if (requestedRevision_ != form_.window.revision()) {
    requestedRevision_ = form_.window.revision();
    page::requestFrame();
  }
}

void WebShell::press(MouseButton button, std::int16_t shift, float x, float y) {
  call([&] { form_.pointerPressed(button, shift, x, y); });
}

void WebShell::release(MouseButton button, float x, float y) {
  call([&] { form_.pointerReleased(button, x, y); });
}

void WebShell::tick(std::int64_t leadMs) {
  call([this, leadMs] { form_.timers.fireDue(leadMs); });
}

void WebShell::menu(int id) {
  MenuItem* item = menus_.item(id);
  if (item == nullptr || !item->onClick || !item->Enabled()) {
    page::callFinished();
    return;
  }
  call(item->onClick);
}

void WebShell::offerRanking() {
  call([this] { ranking_.offerChosenFile(); });
}

void WebShell::downloadRanking() {
  // The ranking as it stands now, entries of this visit included.
  call([this] { ranking_.persist(); });
  page::downloadRanking(ranking_.fileBytes());
}

void WebShell::keepRanking() {
  try {
    // While the box of a run-time error is open the game's last save is still to come: it
    // comes now, and only once.
    if (boundary_.failed()) {
      ranking_.saveAfterError();
    } else {
      ranking_.persist();
    }
  } catch (const std::exception& error) {
    boundary_.failLater(error.what());
  }
}

bool WebShell::paint(const CanvasSize& canvas) {
  paintWindow(form_.window, canvas);
  return started_;
}

}  // namespace pirune::web

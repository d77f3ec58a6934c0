// The world ranking in the real window: the server's address given in the menu and kept beside
// scr.dat, and a real pirune-server on a SQLite file of its own listing its flights as text, one
// watched from the list, a flight refused with the server's own sentence, and the word that the
// server cannot be reached once it is gone.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QNetworkReply>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <nlohmann/json.hpp>

#include "game_window.h"
#include "server_process.h"
#include "support/recording_music.h"
#include "window_shell.h"

namespace pirune::desktop::testing {
namespace {

using nlohmann::json;

// The game's next boxes answered in turn as they open, each one's "title|text" noted: a box
// that asks gets the next of `typed`, a message box its OK, and any other box `other`.
struct Boxes {
  explicit Boxes(QStringList typed, const std::function<void(QDialog*)>& other = {}) {
    poll_.callOnTimeout([this, typed, other]() mutable {
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (box != nullptr && box != last_) {
        last_ = box;
        auto* input = qobject_cast<QInputDialog*>(box);
        auto* message = qobject_cast<QMessageBox*>(box);
        seen << box->windowTitle() + "|" + box->property(message ? "text" : "labelText").toString();
        if (input != nullptr) {
          input->setTextValue(typed.takeFirst());
        }
        message ? message->button(QMessageBox::Ok)->click() : input ? input->accept() : other(box);
      }
    });
    poll_.start(10);
  }
  QStringList seen;
  QPointer<QDialog> last_;
  QTimer poll_;
};

// The server's address as kept beside scr.dat, or "none".
QString kept(const Shell& shell) {
  QFile file(shell.folder.filePath("world-server.txt"));
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : "none";
}

// The sixth menu's items, "-" after a locked one.
QString worldMenu(const Shell& shell) {
  return describe(shell.window.menuBar()->actions().last()->menu()->actions());
}

TEST(World, TheAddressIsGivenAndTheServersFlightsListedWatchedAndItsWordsTold) {
  const QTemporaryDir data;
  auto server = std::make_unique<pirune::testing::ServerProcess>(std::vector<std::string>{
      "--data", data.filePath("world.sqlite").toStdString(), "--leeway-ms", "60000"});
  QFile endless(PIRUNE_TEST_FLIGHTS "/endless.pflight");
  ASSERT_TRUE(endless.open(QIODevice::ReadOnly));
  const auto client = server->client();
  std::string host;  // httplib names the server's address in each request
  client->set_logger([&](const httplib::Request& request, const httplib::Response&) {
    host = request.get_header_value("Host");
  });
  const json flight{{"token", json::parse(client->Post("/api/flights/start")->body)["token"]},
                    {"name", "<b>翼</b>"},
                    {"record", endless.readAll().toBase64().toStdString()}};
  const auto placed = client->Post("/api/flights", flight.dump(), "application/json");
  const int distance = json::parse(placed->body)["distance"];
  const QString address = QString::fromStdString("http://" + host);

  Shell game;  // its clock stands still: a flight waits for the server's answers
  auto* network = game.window.findChild<QNetworkAccessManager*>();
  QStringList shown;
  Boxes boxes({"ftp://127.0.0.1/", " " + address + " ", "XYZ", ""}, [&](QDialog* list) {
    for (const QLabel* label : list->findChildren<QLabel*>()) {
      shown << label->text() + (label->textFormat() == Qt::PlainText ? "" : " (not plain)");
    }
    shown << list->findChild<QPushButton*>()->accessibleName();
    list->findChild<QPushButton*>()->click();
  });
  game.choose("サーバーのアドレス…");
  EXPECT_EQ(kept(game), "none");
  game.choose("サーバーのアドレス…");
  EXPECT_TRUE(
      boxes.seen.value(1).startsWith("ピルネノ翼|「ftp://127.0.0.1/」はサーバーのアドレスでは"));
  EXPECT_EQ(kept(game), address + "/\n");

  game.choose("世界ランキングを見る");
  ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.seen.size() == 4; }));
  EXPECT_EQ(boxes.seen.at(3), "世界ランキング|");
  EXPECT_EQ(shown.join('|'),
            QString("順位|名前|距離|1位|<b>翼</b>|%1|1位 <b>翼</b>（距離 %1）の飛行を見る")
                .arg(distance));
  EXPECT_TRUE(QTest::qWaitFor([&] { return game.window.windowTitle().contains("リプレイ中"); }));
  QTest::keyClick(game.window.windowHandle(), Qt::Key_Escape);

  // Named at 40 in the local ranking, offered, and refused: flown again it is no flight past 30.
  QSignalSpy answered(network, &QNetworkAccessManager::finished);
  game.choose("無限モード");
  game.startFlight();
  ASSERT_TRUE(answered.wait(20000));  // the token
  game.window.form().distance = 40;
  game.choose("初期化スタート");
  ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.seen.size() == 7; }));
  EXPECT_EQ(boxes.seen.mid(5), QStringList({"ピルネノ翼|この飛行（距離 40、XYZ）を世界ランキングに"
                                            "送りますか？\n送るのは名前と飛行の記録だけです。",
                                            "ピルネノ翼|世界ランキングに入りませんでした。\n世界ラ"
                                            "ンキングに入るのは距離 30 を越えた飛行だけです。"}));

  network->clearConnectionCache();  // else the server waits for its idle client to go
  server.reset();
  game.choose("世界ランキングを見る");
  ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.seen.size() == 8; }));
  EXPECT_EQ(boxes.seen.at(7), "ピルネノ翼|世界ランキングにつながりません。");
  EXPECT_EQ(game.window.form().rankTable[0], (RankRecord{fitName(u"XYZ"), 40}));

  // Forgotten: the view is locked, and a flight asks the world nothing.
  game.choose("サーバーのアドレス…");
  EXPECT_EQ(kept(game), "none");
  EXPECT_EQ(worldMenu(game), "世界ランキングを見る- サーバーのアドレス…");
  game.startFlight();
  EXPECT_EQ(worldMenu(game), "世界ランキングを見る- サーバーのアドレス…-");
  EXPECT_TRUE(network->findChildren<QNetworkReply*>().empty());
}

}  // namespace
}  // namespace pirune::desktop::testing

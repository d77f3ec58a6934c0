// One game per ranking for the whole run, whatever the game does to scr.dat meanwhile and
// whichever path leads to it; later starts find the running game in the player's own folder.

#include "single_game.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcessEnvironment>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <optional>

#include "game_places.h"
#include "ranking/ranking_file.h"

namespace pirune::desktop::testing {
namespace {

namespace fs = std::filesystem;

// Each case sets every variable it relies on; when the test ends, they are put back as they were,
// for the tests that follow in the same process.
auto environmentPutBackAfterwards() {
  return qScopeGuard([before = QProcessEnvironment::systemEnvironment()] {
    for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR", "XDG_CACHE_HOME"}) {
      before.contains(name) ? qputenv(name, before.value(name).toLocal8Bit()) : qunsetenv(name);
    }
  });
}

// The folder `name` in the test's own folder, with exactly these permissions.
std::string folder(const QTemporaryDir& root, const char* name, mode_t mode = 0700) {
  std::string path = root.filePath(name).toStdString();
  fs::create_directories(path);
  fs::permissions(path, fs::perms(mode));
  return path;
}

ino_t inodeOf(const fs::path& file) {
  struct stat status {};
  ::stat(file.c_str(), &status);
  return status.st_ino;
}

bool cameToFront(const QSignalSpy& requests) {
  return QTest::qWaitFor([&] { return requests.count() == 1; }, 5000);
}

TEST(SingleGame, ALaterStartIsRefusedForTheWholeRunThoughTheSaveReplacesScrDat) {
  const auto putBack = environmentPutBackAfterwards();
  const struct {
    const char* first;
    const char* later;
  } cases[] = {
      {"game/scr.dat", "game/scr.dat"},
      {"linked.dat", "game/scr.dat"},  // a link to a ranking not made yet
      {"game/scr.dat", "linked-game/scr.dat"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.first) + " then " + c.later);
    const QTemporaryDir root;
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder(root, "run")));
    const fs::path base = root.path().toStdString();
    fs::create_directory(base / "game");
    fs::create_symlink("game/scr.dat", base / "linked.dat");
    fs::create_directory_symlink("game", base / "linked-game");

    auto first = SingleGame::claim(base / c.first);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(fs::exists(base / "game/scr.dat"));  // the ranking makes it, not the guard
    const QSignalSpy requests(&first->laterStarts(), &QLocalServer::newConnection);
    auto ranking = RankingFile::open(base / c.first);
    const ino_t opened = inodeOf(base / "game/scr.dat");
    ranking->save(ranking->records());
    ASSERT_NE(inodeOf(base / "game/scr.dat"), opened);

    EXPECT_EQ(SingleGame::claim(base / c.later), nullptr);
    EXPECT_TRUE(cameToFront(requests));
    ranking.reset();
    first.reset();
    EXPECT_NE(SingleGame::claim(base / c.later), nullptr);
  }
}

TEST(SingleGame, LaterStartsReachTheGameInTheRuntimeFolderNotANameTakenInTheSharedOne) {
  const auto putBack = environmentPutBackAfterwards();
  const QString temp = QDir::tempPath();  // before TMPDIR names a case's own folder
  for (const bool takenBySocket : {false, true}) {
    SCOPED_TRACE(takenBySocket ? "a foreign socket" : "a file");
    const QTemporaryDir root(temp + "/single-game-XXXXXX");
    const std::string run = folder(root, "run");
    const std::string shared = folder(root, "tmp", 01777);
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(run));
    qputenv("TMPDIR", QByteArray::fromStdString(shared));
    const std::string scr = root.filePath("scr.dat").toStdString();
    const QString name = SingleGame::claim(scr)->laterStarts().fullServerName();
    EXPECT_TRUE(name.startsWith(QString::fromStdString(run) + "/")) << name.toStdString();

    // Another user's, at the game's name in the shared folder; and a crashed game's own.
    const QString taken = QString::fromStdString(shared) + "/" + QFileInfo(name).fileName();
    QLocalServer foreign;
    ASSERT_TRUE(takenBySocket ? foreign.listen(taken) : QFile(taken).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile(name).open(QIODevice::WriteOnly));
    const QSignalSpy foreignRequests(&foreign, &QLocalServer::newConnection);

    const auto game = SingleGame::claim(scr);
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->laterStarts().fullServerName(), name);
    const QSignalSpy requests(&game->laterStarts(), &QLocalServer::newConnection);
    EXPECT_EQ(SingleGame::claim(scr), nullptr);
    EXPECT_TRUE(cameToFront(requests));
    EXPECT_EQ(foreignRequests.count(), 0);
  }
}

TEST(SingleGame, TheRuntimeFolderIsThePlayersAloneOrThereIsNone) {
  const auto putBack = environmentPutBackAfterwards();
  enum class Own { Absent, Private, Open, Link };  // the game's own folder, as the start finds it
  const struct {
    const char* what;
    std::optional<mode_t> system;
    Own own;
    const char* expected;
  } cases[] = {
      {"the system's, private", 0700, Own::Open, "run"},
      {"the system's, open to others", 0755, Own::Absent, "cache/pirune-runtime"},
      {"none from the system", std::nullopt, Own::Absent, "cache/pirune-runtime"},
      {"ours, made by an earlier start", std::nullopt, Own::Private, "cache/pirune-runtime"},
      {"ours, open to others", std::nullopt, Own::Open, nullptr},
      {"ours, a link to a private folder", 0755, Own::Link, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QTemporaryDir root;
    c.system ? qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder(root, "run", *c.system)))
             : qunsetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_CACHE_HOME", root.filePath("cache").toUtf8());
    const char* const own = "cache/pirune-runtime";
    switch (c.own) {
      case Own::Absent: break;
      case Own::Private: folder(root, own); break;
      case Own::Open: folder(root, own, 0755); break;
      case Own::Link:
        fs::create_directory_symlink(folder(root, "elsewhere"),
                                     folder(root, "cache") + "/" + "pirune-runtime");
        break;
    }
    const std::optional<std::string> found = privateRuntimeFolder();
    if (c.expected == nullptr) {
      EXPECT_EQ(found, std::nullopt);
      continue;
    }
    ASSERT_EQ(found, root.filePath(c.expected).toStdString());
    EXPECT_EQ(fs::status(*found).permissions(), fs::perms(0700));
  }
}

}  // namespace
}  // namespace pirune::desktop::testing

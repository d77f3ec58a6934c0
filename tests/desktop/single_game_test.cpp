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
#include <utility>

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

TEST(SingleGame, ALaterStartIsRefusedForTheWholeRunAndBringsTheGameInTheRuntimeFolderToTheFront) {
  const auto putBack = environmentPutBackAfterwards();
  const QString temp = QDir::tempPath();  // before TMPDIR names a case's own folder
  // The path the first start took to scr.dat, and the path a later one takes.
  const std::pair<const char*, const char*> cases[] = {
      {"game/scr.dat", "game/scr.dat"},
      {"linked.dat", "game/scr.dat"},  // a link to a ranking not made yet
      {"game/scr.dat", "linked-game/scr.dat"},
  };
  for (const auto& [firstPath, laterPath] : cases) {
    SCOPED_TRACE(std::string(firstPath) + " then " + laterPath);
    const QTemporaryDir root(temp + "/single-game-XXXXXX");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder(root, "run")));
    qputenv("TMPDIR", QByteArray::fromStdString(folder(root, "tmp", 01777)));
    const fs::path base = root.path().toStdString();
    fs::create_directory(base / "game");
    fs::create_symlink("game/scr.dat", base / "linked.dat");
    fs::create_directory_symlink("game", base / "linked-game");
    // The name later starts ask for, in the player's own folder; a game that crashed left it
    // behind, and another user took it in the shared folder.
    const QString name = SingleGame::claim(base / firstPath)->laterStarts().fullServerName();
    EXPECT_TRUE(name.startsWith(root.filePath("run/"))) << name.toStdString();
    ASSERT_TRUE(QFile(name).open(QIODevice::WriteOnly));
    QLocalServer foreign;
    ASSERT_TRUE(foreign.listen(root.filePath("tmp/" + QFileInfo(name).fileName())));
    const QSignalSpy foreignRequests(&foreign, &QLocalServer::newConnection);

    auto first = SingleGame::claim(base / firstPath);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(fs::exists(base / "game/scr.dat"));  // the ranking makes it, not the guard
    const QSignalSpy requests(&first->laterStarts(), &QLocalServer::newConnection);
    auto ranking = RankingFile::open(base / firstPath);
    ranking->save(ranking->records());  // a new scr.dat in place of the one opened

    EXPECT_EQ(SingleGame::claim(base / laterPath), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return requests.count() == 1; }, 5000));  // to the front
    EXPECT_EQ(foreignRequests.count(), 0);
    ranking.reset();
    first.reset();
    EXPECT_NE(SingleGame::claim(base / laterPath), nullptr);
  }
}

TEST(SingleGame, TheRuntimeFolderIsThePlayersAloneOrThereIsNone) {
  const auto putBack = environmentPutBackAfterwards();
  const struct {
    const char* what;
    std::optional<mode_t> system;
    // The game's own folder as the start finds it: absent, with this mode, or (0) a link.
    std::optional<mode_t> own;
    const char* expected;
  } cases[] = {
      {"the system's, private", 0700, 0755, "run"},
      {"the system's, open to others", 0755, std::nullopt, "cache/pirune-runtime"},
      {"none from the system", std::nullopt, std::nullopt, "cache/pirune-runtime"},
      {"ours, made by an earlier start", std::nullopt, 0700, "cache/pirune-runtime"},
      {"ours, open to others", std::nullopt, 0755, nullptr},
      {"ours, a link to a private folder", 0755, 0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QTemporaryDir root;
    c.system ? qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder(root, "run", *c.system)))
             : qunsetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_CACHE_HOME", root.filePath("cache").toUtf8());
    if (c.own == mode_t{0}) {
      fs::create_directory_symlink(folder(root, "elsewhere"),
                                   folder(root, "cache") + "/pirune-runtime");
    } else if (c.own) {
      folder(root, "cache/pirune-runtime", *c.own);
    }
    const std::optional<std::string> found = privateRuntimeFolder();
    ASSERT_EQ(found.value_or("none"),
              c.expected ? root.filePath(c.expected).toStdString() : "none");
    EXPECT_TRUE(!found || fs::status(*found).permissions() == fs::perms(0700));
  }
}

}  // namespace
}  // namespace pirune::desktop::testing

#pragma once
// The world ranking's server over HTTP, reached as the page reaches its own: every request
// given up after 15 s, every answer handed back later on the event loop and never waited for.
// The answers are read as the page reads them, so that both shells tell the player the same.

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/world_ranking.h"

namespace pirune::desktop {

// A server's address as the player types it: http:// or https:// with a host and nothing after
// a '?' or '#', ending in '/' so that the interface's paths go below it; none when it is no such
// address.
std::optional<QUrl> worldServerAddress(const QString& typed);

// A flight of the world ranking's list.
struct WorldFlight {
  long long rank = 0;
  QString name;
  long long distance = 0;
  QString id;
};

class WorldClient : public QObject {
 public:
  explicit WorldClient(QObject* parent = nullptr);

  // A token for the flight that began; `arrived` hears of it only if one comes.
  void askToken(const QUrl& server, std::function<void(std::string token)> arrived);
  // The flight, named; `answered` hears what the server said, or that it could not be reached.
  void send(const QUrl& server, const std::string& token, const std::string& utf8Name,
            const std::string& record, std::function<void(const WorldReply& reply)> answered);
  // The top hundred, the rows that are not flights left out; none when no list came.
  void ranking(const QUrl& server,
               std::function<void(std::optional<std::vector<WorldFlight>> flights)> listed);
  // The record of the flight `id` of the list; none when it did not come.
  void flight(const QUrl& server, const QString& id,
              std::function<void(std::optional<QByteArray> record)> fetched);

 private:
  // The server's status and body; status 0 when no whole answer came.
  using Answered = std::function<void(int status, const QByteArray& body)>;
  void ask(const QUrl& server, const QString& path, const std::optional<QByteArray>& json,
           Answered answered);

  QNetworkAccessManager* manager_;
};

}  // namespace pirune::desktop

#include "world_client.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <utility>

#include "flight/record.h"

namespace pirune::desktop {

namespace {

constexpr int kWaitMs = 15000;
// More than the server ever answers (a record at its largest, or a list of a hundred): a longer
// answer is given up as no answer.
constexpr qint64 kLargestAnswer = static_cast<qint64>(flight::kMaxBytes) + 1;
constexpr int kLongestId = 18;

// A whole number in JSON, as JavaScript's Number.isInteger takes it, and one a long long holds.
std::optional<long long> whole(const QJsonValue& value) {
  const double number = value.toDouble(0.5);
  constexpr double kBeyond = 9.2e18;
  if (!value.isDouble() || std::trunc(number) != number || std::abs(number) >= kBeyond) {
    return std::nullopt;
  }
  return value.toInteger();
}

bool isFlightId(const QString& id) {
  return !id.isEmpty() && id.size() <= kLongestId &&
         std::ranges::all_of(id, [](QChar c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

std::optional<QUrl> worldServerAddress(const QString& typed) {
  QUrl url(typed.trimmed(), QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty() ||
      url.hasQuery() || url.hasFragment()) {
    return std::nullopt;
  }
  if (!url.path().endsWith(u'/')) {
    url.setPath(url.path() + u'/');
  }
  return url;
}

WorldClient::WorldClient(QObject* parent)
    : QObject(parent), manager_(new QNetworkAccessManager(this)) {}

void WorldClient::ask(const QUrl& server, const QString& path,
                      const std::optional<QByteArray>& json, Answered answered) {
  QNetworkRequest request(server.resolved(QUrl(path)));
  request.setTransferTimeout(kWaitMs);
  QNetworkReply* reply = nullptr;
  if (json) {
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    reply = manager_->post(request, *json);
  } else {
    reply = manager_->get(request);
  }
  // Given up after 15 s as a whole, as the page gives up its own, however slowly it trickles.
  QTimer::singleShot(kWaitMs, reply, [reply] { reply->abort(); });
  connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
    if (received > kLargestAnswer) {
      reply->abort();
    }
  });
  // Connected to this client, so that no answer comes once it is gone.
  connect(reply, &QNetworkReply::finished, this, [reply, answered = std::move(answered)] {
    reply->deleteLater();
    // An HTTP status that Qt counts as an error is still the server's whole answer; a transfer
    // cut short (the connection, a proxy, the wait, a broken answer) is none.
    const QNetworkReply::NetworkError error = reply->error();
    const bool cut =
        (error > QNetworkReply::NoError && error <= QNetworkReply::UnknownProxyError) ||
        error == QNetworkReply::ProtocolFailure;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    answered(cut || !status.isValid() ? 0 : status.toInt(), reply->readAll());
  });
}

void WorldClient::askToken(const QUrl& server, std::function<void(std::string token)> arrived) {
  // The request carries nothing of the player; the server notes the time.
  ask(server, QStringLiteral("api/flights/start"), QByteArray(),
      [arrived = std::move(arrived)](int status, const QByteArray& body) {
        const QJsonValue token = QJsonDocument::fromJson(body).object().value(u"token");
        if (status >= 200 && status < 300 && token.isString()) {
          arrived(token.toString().toStdString());
        }
      });
}

void WorldClient::send(const QUrl& server, const std::string& token, const std::string& utf8Name,
                       const std::string& record,
                       std::function<void(const WorldReply& reply)> answered) {
  const QJsonObject flight{{QStringLiteral("token"), QString::fromStdString(token)},
                           {QStringLiteral("name"), QString::fromStdString(utf8Name)},
                           {QStringLiteral("record"),
                            QString::fromLatin1(QByteArray::fromStdString(record).toBase64())}};
  ask(server, QStringLiteral("api/flights"), QJsonDocument(flight).toJson(QJsonDocument::Compact),
      [answered = std::move(answered)](int status, const QByteArray& body) {
        const QJsonObject said = QJsonDocument::fromJson(body).object();
        const auto rank = whole(said.value(u"rank"));
        const auto distance = whole(said.value(u"distance"));
        WorldReply reply;
        if (status == 201 && rank && distance) {
          reply = {WorldReply::Kind::Placed, *rank, *distance, {}};
        } else if (status >= 400 && status < 500 && said.value(u"error").isString()) {
          reply = {WorldReply::Kind::Refused, 0, 0, said.value(u"error").toString().toStdString()};
        }
        answered(reply);
      });
}

void WorldClient::ranking(
    const QUrl& server,
    std::function<void(std::optional<std::vector<WorldFlight>> flights)> listed) {
  ask(server, QStringLiteral("api/ranking?limit=100"), std::nullopt,
      [listed = std::move(listed)](int status, const QByteArray& body) {
        const QJsonDocument list = QJsonDocument::fromJson(body);
        if (status < 200 || status >= 300 || !list.isArray()) {
          listed(std::nullopt);
          return;
        }
        std::vector<WorldFlight> flights;
        for (const auto& row : list.array()) {
          const QJsonObject flight = row.toObject();
          const auto rank = whole(flight.value(u"rank"));
          const auto distance = whole(flight.value(u"distance"));
          const QJsonValue name = flight.value(u"name");
          const QString id = flight.value(u"id").toString();
          if (rank && distance && name.isString() && isFlightId(id)) {
            flights.push_back({*rank, name.toString(), *distance, id});
          }
        }
        listed(std::move(flights));
      });
}

void WorldClient::flight(const QUrl& server, const QString& id,
                         std::function<void(std::optional<QByteArray> record)> fetched) {
  ask(server, QStringLiteral("api/flights/") + id, std::nullopt,
      [fetched = std::move(fetched)](int status, const QByteArray& body) {
        fetched(status >= 200 && status < 300 ? std::optional(body) : std::nullopt);
      });
}

}  // namespace pirune::desktop

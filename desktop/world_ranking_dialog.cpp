#include "world_ranking_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace pirune::desktop {

namespace {

QLabel* plainLabel(const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
  auto* label = new QLabel;
  label->setTextFormat(Qt::PlainText);
  label->setText(text);
  label->setAlignment(alignment | Qt::AlignVCenter);
  return label;
}

}  // namespace

WorldRankingDialog::WorldRankingDialog(const std::vector<WorldFlight>& flights, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("世界ランキング"));
  auto* layout = new QVBoxLayout(this);
  if (flights.empty()) {
    layout->addWidget(plainLabel(QStringLiteral("まだ飛行がありません。")));
  } else {
    auto* list = new QWidget;
    auto* grid = new QGridLayout(list);
    const QString heads[] = {QStringLiteral("順位"), QStringLiteral("名前"),
                             QStringLiteral("距離")};
    for (int column = 0; column < 3; ++column) {
      QLabel* head = plainLabel(heads[column], column == 1 ? Qt::AlignLeft : Qt::AlignRight);
      QFont bold = head->font();
      bold.setBold(true);
      head->setFont(bold);
      grid->addWidget(head, 0, column);
    }
    int row = 1;
    for (const WorldFlight& flight : flights) {
      const QString rank = QString::number(flight.rank);
      const QString distance = QString::number(flight.distance);
      grid->addWidget(plainLabel(rank + QStringLiteral("位"), Qt::AlignRight), row, 0);
      grid->addWidget(plainLabel(flight.name), row, 1);
      grid->addWidget(plainLabel(distance, Qt::AlignRight), row, 2);
      auto* watch = new QPushButton(QStringLiteral("見る"));
      watch->setAutoDefault(false);
      watch->setAccessibleName(rank + QStringLiteral("位 ") + flight.name +
                               QStringLiteral("（距離 ") + distance +
                               QStringLiteral("）の飛行を見る"));
      connect(watch, &QPushButton::clicked, this, [this, id = flight.id] {
        chosen_ = id;
        accept();
      });
      grid->addWidget(watch, row, 3);
      ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(16);
    auto* scroll = new QScrollArea;
    scroll->setWidget(list);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // As wide as the list with its scroll bar, so that no column is cut.
    scroll->setMinimumWidth(list->sizeHint().width() +
                            scroll->verticalScrollBar()->sizeHint().width() +
                            2 * scroll->frameWidth());
    layout->addWidget(scroll);
    // As on the page, the first flight's button has the keyboard.
    list->findChild<QPushButton*>()->setFocus();
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

}  // namespace pirune::desktop

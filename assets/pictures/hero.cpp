#include <QPainter>
#include <QTransform>

#include "pictures.h"

namespace pirune::pictures {
namespace {

constexpr int kFrameSize = 100;
constexpr int kSupersample = 4;
constexpr int kHalfCovered = kSupersample * kSupersample * 255 / 2;

}  // namespace

QImage wingFrame(WingPose pose) {
  // Drawn smooth at four times the size, then every pixel that is more than half covered
  // becomes white: clean edges without the grey that one bit cannot hold.
  constexpr int kFine = kFrameSize * kSupersample;
  QImage fine(kFine, kFine, QImage::Format_Grayscale8);
  fine.fill(Qt::black);
  {
    QPainter painter(&fine);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(
        QTransform::fromScale(kFine / kHeroSeen.width(), kFine / kHeroSeen.height()));
    painter.fillPath(heroBody().united(heroWings(pose)), Qt::white);
  }

  QImage frame(kFrameSize, kFrameSize, QImage::Format_Mono);
  frame.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  for (int y = 0; y < kFrameSize; ++y) {
    for (int x = 0; x < kFrameSize; ++x) {
      int coverage = 0;
      for (int dy = 0; dy < kSupersample; ++dy) {
        const uchar* line = fine.constScanLine(y * kSupersample + dy);
        for (int dx = 0; dx < kSupersample; ++dx) {
          coverage += line[x * kSupersample + dx];
        }
      }
      frame.setPixel(x, y, coverage > kHalfCovered ? 1 : 0);
    }
  }
  return frame;
}

}  // namespace pirune::pictures

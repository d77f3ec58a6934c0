// Writes the game's background music, "o.wav": usage  pirune_music_maker <output.wav>

#include <QAudioFormat>
#include <QFile>
#include <QWaveDecoder>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "effects.h"
#include "loop_buffer.h"
#include "mastering.h"
#include "tune.h"
#include "voices.h"

namespace {

using namespace pirune::music;

LoopBuffer performCelesta(std::size_t frames) {
  LoopBuffer celesta(frames);
  const double eighth = secondsPerEighth();
  for (const Note& n : melody()) {
    addCelesta(celesta, n.start * eighth, n.length * eighth, n.midi, n.velocity);
  }
  for (const Note& n : twinkles()) {
    addCelesta(celesta, n.start * eighth, n.length * eighth, n.midi, n.velocity);
  }
  return celesta;
}

LoopBuffer performChords(std::size_t frames) {
  LoopBuffer pads(frames);
  const double eighth = secondsPerEighth();
  for (const Chord& c : chords()) {
    addPad(pads, c.start * eighth, c.length * eighth, c.midi);
    addBass(pads, c.start * eighth, c.length * eighth, c.midi.front());
  }
  return pads;
}

bool writeWave(const std::string& path, const std::vector<std::int16_t>& pcm) {
  QAudioFormat format;
  format.setSampleRate(kSampleRate);
  format.setChannelCount(2);
  format.setSampleFormat(QAudioFormat::Int16);
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), qPrintable(file.errorString()));
    return false;
  }
  // The wave writer puts the header first and its sizes in when it is closed.
  QWaveDecoder wave(&file, format);
  if (!wave.open(QIODevice::WriteOnly)) {
    return false;
  }
  const auto bytes = static_cast<qint64>(pcm.size() * sizeof(std::int16_t));
  const bool written = wave.write(reinterpret_cast<const char*>(pcm.data()), bytes) == bytes;
  wave.close();
  return written && file.flush();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output.wav>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path target = argv[1];
  const auto frames = static_cast<std::size_t>(std::llround(loopSeconds() * kSampleRate));

  const LoopBuffer celesta = performCelesta(frames);
  const LoopBuffer pads = performChords(frames);
  const LoopBuffer echo = pingPongEcho(celesta, 3 * secondsPerEighth(), 0.38F);
  LoopBuffer dry(frames);
  dry.mix(celesta, 1.0F);
  dry.mix(echo, 0.32F);
  dry.mix(pads, 1.0F);
  const LoopBuffer hall = reverb(dry);

  LoopBuffer mix(frames);
  mix.mix(dry, 1.0F);
  mix.mix(hall, 0.42F);
  setLevel(mix, -20.0);

  // Within 20 ms before the first downbeat.
  const std::size_t start = quietestStart(mix, kSampleRate / 50);
  const std::vector<std::int16_t> pcm = toPcm16(mix, start);

  // Written beside the target and renamed, so that a broken run never leaves half a file.
  const std::filesystem::path partial = target.string() + ".part";
  if (!writeWave(partial.string(), pcm)) {
    return 1;
  }
  std::error_code error;
  std::filesystem::rename(partial, target, error);
  if (error) {
    std::fprintf(stderr, "%s: %s\n", target.c_str(), error.message().c_str());
    return 1;
  }
  std::printf("%s: %.3f s, peak %.1f dBFS, RMS -20.0 dBFS\n", target.filename().c_str(),
              static_cast<double>(frames) / kSampleRate, peakDbfs(mix));
  return 0;
}

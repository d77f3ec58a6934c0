// Writes the game's background music, "o.wav": usage  pirune_music_maker <output.wav>

#include <sndfile.h>

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
  SF_INFO info{};
  info.samplerate = kSampleRate;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), sf_strerror(nullptr));
    return false;
  }
  const auto frames = static_cast<sf_count_t>(pcm.size() / 2);
  const bool written = sf_writef_short(file, pcm.data(), frames) == frames;
  return sf_close(file) == 0 && written;
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

#include "flight/record.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace pirune::flight {

namespace {

// Pixels of a release may lie outside the window (the pointer left it), but not absurdly far.
constexpr std::int64_t kMaxPixelReach = 1 << 20;

constexpr std::uint8_t kEndless = 1;
constexpr std::uint8_t kMusic = 2;
constexpr std::uint8_t kEffect = 4;

// The event codes in the low three bits of an event's first byte.
enum Code : std::uint8_t { kPress, kReleaseThere, kReleaseElsewhere, kOption, kHold, kResize };

int buttonCode(MouseButton button) {
  switch (button) {
    case MouseButton::Left: return 0;
    case MouseButton::Right: return 1;
    case MouseButton::Middle: return 2;
  }
  return 0;
}

class Writer {
 public:
  void byte(std::uint8_t value) { out_.push_back(static_cast<char>(value)); }
  void little(std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      byte(static_cast<std::uint8_t>(value >> (8U * static_cast<unsigned>(i))));
    }
  }
  void varint(std::uint64_t value) {
    while (value >= 0x80U) {
      byte(static_cast<std::uint8_t>(value | 0x80U));
      value >>= 7U;
    }
    byte(static_cast<std::uint8_t>(value));
  }
  void signedVarint(std::int64_t value) {
    varint((static_cast<std::uint64_t>(value) << 1U) ^ static_cast<std::uint64_t>(value >> 63));
  }
  std::string take() { return std::move(out_); }

 private:
  std::string out_;
};

// Reads with every length checked; the first failure sticks and everything after reads zero.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  std::uint8_t byte() {
    if (pos_ >= bytes_.size()) {
      fail(Reason::CutShort, "the record ends early");
      return 0;
    }
    return static_cast<std::uint8_t>(bytes_[pos_++]);
  }
  std::uint64_t little(int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
      value |= std::uint64_t{byte()} << (8U * static_cast<unsigned>(i));
    }
    return value;
  }
  std::uint64_t varint() {
    std::uint64_t value = 0;
    for (unsigned shift = 0; shift < 63; shift += 7) {
      const std::uint8_t b = byte();
      value |= std::uint64_t{b & 0x7FU} << shift;
      if ((b & 0x80U) == 0) {
        return value;
      }
    }
    fail(Reason::Malformed, "a number too long for the record");
    return 0;
  }
  std::int64_t signedVarint() {
    const std::uint64_t zigzag = varint();
    return static_cast<std::int64_t>(zigzag >> 1U) ^ -static_cast<std::int64_t>(zigzag & 1U);
  }
  void fail(Reason reason, std::string detail) {
    if (!refusal_) {
      refusal_ = Refusal{reason, std::move(detail)};
    }
    pos_ = bytes_.size();
  }
  [[nodiscard]] bool atEnd() const { return pos_ >= bytes_.size(); }
  [[nodiscard]] std::size_t position() const { return pos_; }
  [[nodiscard]] const std::optional<Refusal>& refusal() const { return refusal_; }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
  std::optional<Refusal> refusal_;
};

void readHeader(Reader& in, Record& r) {
  r.gameVersion = static_cast<std::uint16_t>(in.little(2));
  const std::uint8_t flags = in.byte();
  if ((flags & ~(kEndless | kMusic | kEffect)) != 0) {
    in.fail(Reason::Malformed, "unknown option bits");
  }
  r.endless = (flags & kEndless) != 0;
  r.music = (flags & kMusic) != 0;
  r.effect = (flags & kEffect) != 0;
  r.randomState = in.little(8);
  for (ShapeState& s : r.shapes) {
    s = {in.byte(), in.byte(), in.byte(), in.byte(), in.byte()};
  }
  r.width = static_cast<int>(in.little(2));
  r.height = static_cast<int>(in.little(2));
  r.musicIntervalMs =
      static_cast<std::int64_t>(std::min<std::uint64_t>(in.varint(), kMaxDurationMs + 1));
  if (const std::uint64_t due = in.varint(); due > 0) {
    r.musicDueMs = static_cast<std::int64_t>(std::min<std::uint64_t>(due - 1, kMaxDurationMs + 1));
  }
}

// A duration added to the record's time, refused past the bound.
std::int64_t later(Reader& in, std::int64_t time, std::uint64_t step) {
  if (step > static_cast<std::uint64_t>(kMaxDurationMs - time)) {
    in.fail(Reason::TooLong, "the flight lasts longer than 8 hours");
    return time;
  }
  return time + static_cast<std::int64_t>(step);
}

int pixel(Reader& in, std::int64_t from) {
  const std::int64_t delta = in.signedVarint();
  if (delta < -2 * kMaxPixelReach || delta > 2 * kMaxPixelReach ||
      std::abs(from + delta) > kMaxPixelReach) {
    in.fail(Reason::Malformed, "a pixel far outside the window");
    return 0;
  }
  return static_cast<int>(from + delta);
}

Event readEvent(Reader& in, std::int64_t& time, int& lastX, int& lastY) {
  const std::uint8_t head = in.byte();
  const auto code = static_cast<std::uint8_t>(head & 7U);
  const auto low = static_cast<unsigned>((head >> 3U) & 3U);
  const auto high = static_cast<unsigned>(head >> 5U);
  Event e;
  time = later(in, time, in.varint());
  e.at = time;
  constexpr std::array kButtons{MouseButton::Left, MouseButton::Right, MouseButton::Middle};
  const bool pointer = code == kPress || code == kReleaseThere || code == kReleaseElsewhere;
  if (pointer && low > 2) {
    in.fail(Reason::Malformed, "an unknown mouse button");
  }
  const MouseButton button = kButtons.at(std::min<unsigned>(low, 2));
  switch (code) {
    case kPress:
      e = {EventKind::Press, time, button, static_cast<std::int16_t>(high)};
      e.x = lastX = pixel(in, lastX);
      e.y = lastY = pixel(in, lastY);
      return e;
    case kReleaseThere:
    case kReleaseElsewhere:
      if (high != 0) {
        in.fail(Reason::Malformed, "stray bits in a release");
      }
      e = {EventKind::Release, time, button};
      e.x = code == kReleaseThere ? lastX : pixel(in, lastX);
      e.y = code == kReleaseThere ? lastY : pixel(in, lastY);
      return e;
    case kOption:
      if (high != 0 || low > 2) {
        in.fail(Reason::Malformed, "an unknown option");
      }
      e.kind = EventKind::Option;
      e.option = static_cast<int>(low);
      return e;
    case kHold:
      if ((head >> 3U) != 0) {
        in.fail(Reason::Malformed, "stray bits in a box");
      }
      e.kind = EventKind::Hold;
      e.until = later(in, time, in.varint());
      time = e.until;
      return e;
    case kResize:
      if ((head >> 3U) != 0) {
        in.fail(Reason::Malformed, "stray bits in a resize");
      }
      e.kind = EventKind::Resize;
      e.x = static_cast<int>(std::min<std::uint64_t>(in.varint(), kMaxClientSide + 1));
      e.y = static_cast<int>(std::min<std::uint64_t>(in.varint(), kMaxClientSide + 1));
      return e;
    default: in.fail(Reason::Malformed, "an unknown kind of event"); return e;
  }
}

void writeEvent(Writer& out, const Event& e, std::int64_t& time, int& lastX, int& lastY) {
  const auto button = static_cast<std::uint8_t>(buttonCode(e.button) << 3U);
  const auto step = static_cast<std::uint64_t>(e.at - time);
  time = e.at;
  switch (e.kind) {
    case EventKind::Press:
      out.byte(static_cast<std::uint8_t>(kPress | button | ((e.shift & 7U) << 5U)));
      out.varint(step);
      out.signedVarint(e.x - lastX);
      out.signedVarint(e.y - lastY);
      lastX = e.x;
      lastY = e.y;
      break;
    case EventKind::Release:
      if (e.x == lastX && e.y == lastY) {
        out.byte(static_cast<std::uint8_t>(kReleaseThere | button));
        out.varint(step);
      } else {
        out.byte(static_cast<std::uint8_t>(kReleaseElsewhere | button));
        out.varint(step);
        out.signedVarint(e.x - lastX);
        out.signedVarint(e.y - lastY);
      }
      break;
    case EventKind::Option:
      out.byte(static_cast<std::uint8_t>(kOption | ((e.option & 3U) << 3U)));
      out.varint(step);
      break;
    case EventKind::Hold:
      out.byte(kHold);
      out.varint(step);
      out.varint(static_cast<std::uint64_t>(e.until - e.at));
      time = e.until;
      break;
    case EventKind::Resize:
      out.byte(kResize);
      out.varint(step);
      out.varint(static_cast<std::uint64_t>(e.x));
      out.varint(static_cast<std::uint64_t>(e.y));
      break;
  }
}

}  // namespace

std::string_view reasonWord(Reason reason) {
  switch (reason) {
    case Reason::NotARecord: return "not_a_record";
    case Reason::NewerFormat: return "newer_format";
    case Reason::CutShort: return "cut_short";
    case Reason::TooLong: return "too_long";
    case Reason::ImpossibleEvent: return "impossible_event";
    case Reason::Malformed: return "malformed";
  }
  return "malformed";
}

std::u16string_view reasonText(Reason reason) {
  switch (reason) {
    case Reason::NotARecord: return u"飛行の記録ではありません。";
    case Reason::NewerFormat: return u"新しい版のゲームで作られた記録なので、読めません。";
    case Reason::CutShort: return u"記録が途中で切れています。";
    case Reason::TooLong: return u"記録が長すぎます。";
    case Reason::ImpossibleEvent: return u"ゲームでは起こりえない操作が記録されています。";
    case Reason::Malformed: return u"記録が壊れています。";
  }
  return u"記録が壊れています。";
}

std::string encode(const Record& r) {
  Writer out;
  for (const char c : kMagic) {
    out.byte(static_cast<std::uint8_t>(c));
  }
  out.byte(kFormatVersion);
  out.little(r.gameVersion, 2);
  out.byte(static_cast<std::uint8_t>((r.endless ? kEndless : 0) | (r.music ? kMusic : 0) |
                                     (r.effect ? kEffect : 0)));
  out.little(r.randomState, 8);
  for (const ShapeState& s : r.shapes) {
    for (const std::uint8_t b : {s.colour, s.left, s.top, s.width, s.height}) {
      out.byte(b);
    }
  }
  out.little(static_cast<std::uint64_t>(r.width), 2);
  out.little(static_cast<std::uint64_t>(r.height), 2);
  out.varint(static_cast<std::uint64_t>(r.musicIntervalMs));
  out.varint(r.musicDueMs ? static_cast<std::uint64_t>(*r.musicDueMs) + 1 : 0);
  out.varint(r.events.size());
  std::int64_t time = 0;
  int lastX = 0;
  int lastY = 0;
  for (const Event& e : r.events) {
    writeEvent(out, e, time, lastX, lastY);
  }
  out.byte(static_cast<std::uint8_t>(r.stop));
  out.varint(static_cast<std::uint64_t>(r.stopAt - time));
  out.byte(static_cast<std::uint8_t>(r.rankedName.size()));
  for (const char16_t unit : r.rankedName) {
    out.little(unit, 2);
  }
  out.little(static_cast<std::uint16_t>(r.rankedDistance), 2);
  return out.take();
}

std::variant<Record, Refusal> decode(std::string_view bytes) {
  if (bytes.size() < kMagic.size() || !std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) {
    return Refusal{Reason::NotARecord, "not a flight record (no PFLT at its start)"};
  }
  if (bytes.size() > kMaxBytes) {
    return Refusal{Reason::TooLong, "larger than 2 MiB"};
  }
  Reader in(bytes.substr(kMagic.size()));
  const std::uint8_t format = in.byte();
  if (in.refusal()) {
    return *in.refusal();
  }
  if (format == 0) {
    return Refusal{Reason::NotARecord, "format version 0"};
  }
  if (format > kFormatVersion) {
    return Refusal{Reason::NewerFormat,
                   "format version " + std::to_string(format) + ", newer than this program's"};
  }
  Record r;
  readHeader(in, r);
  if (!in.refusal() && r.gameVersion > kGameVersion) {
    return Refusal{Reason::NewerFormat, "made by a newer version of the game"};
  }
  if (!in.refusal() &&
      (r.width <= 0 || r.height <= 0 || r.width > kMaxClientSide || r.height > kMaxClientSide)) {
    in.fail(Reason::Malformed, "a window of no size");
  }
  const std::uint64_t count = in.varint();
  if (!in.refusal() && count > kMaxEvents) {
    return Refusal{Reason::TooLong, "more than 131072 events"};
  }
  // Each event takes two bytes at least: a count beyond what the bytes can hold is cut short,
  // and nothing is reserved for it.
  if (!in.refusal() && count > (bytes.size() - in.position()) / 2) {
    in.fail(Reason::CutShort, "fewer events than the record counts");
  }
  std::int64_t time = 0;
  int lastX = 0;
  int lastY = 0;
  for (std::uint64_t i = 0; i < count && !in.refusal(); ++i) {
    r.events.push_back(readEvent(in, time, lastX, lastY));
  }
  const std::uint8_t stop = in.byte();
  if (stop > static_cast<std::uint8_t>(Stop::Closed)) {
    in.fail(Reason::Malformed, "an unknown end");
  }
  r.stop = static_cast<Stop>(stop);
  r.stopAt = later(in, time, in.varint());
  const std::uint8_t nameUnits = in.byte();
  if (nameUnits > kMaxNameUnits) {
    in.fail(Reason::Malformed, "a name longer than ten characters");
  }
  for (std::uint8_t i = 0; i < nameUnits && !in.refusal(); ++i) {
    r.rankedName.push_back(static_cast<char16_t>(in.little(2)));
  }
  r.rankedDistance = static_cast<std::int16_t>(in.little(2));
  if (in.refusal()) {
    return *in.refusal();
  }
  if (!in.atEnd()) {
    return Refusal{Reason::Malformed, "bytes after the end of the record"};
  }
  return r;
}

}  // namespace pirune::flight

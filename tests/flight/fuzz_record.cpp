// libFuzzer's target in the sanitizer build: any bytes at all, read as a record and flown again,
// never crash, never read out of bounds and never run past the bound.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "flight/flight_player.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)pirune::flight::reflight(bytes);
  return 0;
}

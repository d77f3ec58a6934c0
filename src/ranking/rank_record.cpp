#include "ranking/rank_record.h"

namespace pirune {

std::u16string fitName(std::u16string_view text) {
  std::u16string name(text.substr(0, kNameLength));
  name.resize(kNameLength, u' ');
  return name;
}

}  // namespace pirune

#pragma once
// Conditions on the readings, written by the scripts as "black>60", "pic=end0", "hero=0".

#include <optional>
#include <string>
#include <vector>

#include "reading.h"

namespace xdriver {

struct Condition {
  std::string name;
  std::string op;  // one of < <= > >= = !=
  std::string value;
};

std::optional<Condition> parseCondition(const std::string& text);

// Numbers are compared as numbers, anything else only for (in)equality; a reading that is not
// there fails every condition.
bool holds(const Condition& condition, const Metrics& metrics);
bool allHold(const std::vector<Condition>& conditions, const Metrics& metrics);

std::string format(const Metrics& metrics);

}  // namespace xdriver

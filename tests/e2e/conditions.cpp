#include "conditions.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace xdriver {

namespace {

std::optional<double> asNumber(const std::string& text) {
  if (text.empty()) {
    return std::nullopt;
  }
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size()) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<Condition> parseCondition(const std::string& text) {
  // Two-character operators first, so that "<=" is not read as "<" and "=...".
  constexpr std::array<const char*, 6> kOperators{"<=", ">=", "!=", "<", ">", "="};
  for (const char* op : kOperators) {
    const auto at = text.find(op);
    if (at != std::string::npos && at > 0) {
      const std::string symbol(op);
      return Condition{text.substr(0, at), symbol, text.substr(at + symbol.size())};
    }
  }
  return std::nullopt;
}

bool holds(const Condition& condition, const Metrics& metrics) {
  const auto found = std::find_if(metrics.begin(), metrics.end(),
                                  [&](const auto& m) { return m.first == condition.name; });
  if (found == metrics.end()) {
    return false;
  }
  const auto left = asNumber(found->second);
  const auto right = asNumber(condition.value);
  if (left && right) {
    if (condition.op == "<") return *left < *right;
    if (condition.op == "<=") return *left <= *right;
    if (condition.op == ">") return *left > *right;
    if (condition.op == ">=") return *left >= *right;
    if (condition.op == "=") return *left == *right;
    return *left != *right;
  }
  if (condition.op == "=") return found->second == condition.value;
  if (condition.op == "!=") return found->second != condition.value;
  return false;
}

bool allHold(const std::vector<Condition>& conditions, const Metrics& metrics) {
  return std::all_of(conditions.begin(), conditions.end(),
                     [&](const Condition& c) { return holds(c, metrics); });
}

std::string format(const Metrics& metrics) {
  std::string line;
  for (const auto& [name, value] : metrics) {
    if (!line.empty()) {
      line += ' ';
    }
    line.append(name).append(1, '=').append(value);
  }
  return line;
}

}  // namespace xdriver

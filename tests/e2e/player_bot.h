#pragma once
// A player who watches the hero and beats his wings whenever he sinks too low.

#include <X11/Xlib.h>

#include <vector>

#include "conditions.h"
#include "reading.h"
#include "x_session.h"

namespace xdriver {

struct FlightPlan {
  int beats = 0;                 // at most this many wing beats
  double beatBelow = 70;         // a beat whenever his altitude (100 - his top) is below this
  double seconds = 120;          // the player gives up after this long
  std::vector<Condition> until;  // and stops as soon as these readings of a flight hold
};

struct FlightLog {
  int beats = 0;
  bool ended = false;  // the flight ended: the hero vanished, or a closing text came up
  bool met = false;    // the `until` conditions held
  double lowest = 100;
  double highest = 0;
  double seconds = 0;
  Metrics last;
};

FlightLog fly(Session& session, Window game, const FlightPlan& plan);

}  // namespace xdriver

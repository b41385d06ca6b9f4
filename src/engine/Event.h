#ifndef TAVRIN_ENGINE_EVENT_H
#define TAVRIN_ENGINE_EVENT_H

#include <list>

class BaseActionClass;

// Event: a scheduled completion of one activity group.
struct Event {
  Event() : exec_time(-1.0), start_time(0.0), action_ptr(nullptr) {}
  Event(double execTime, double startTime, BaseActionClass* action)
      : exec_time(execTime), start_time(startTime), action_ptr(action) {}

  double exec_time;               // when the group completes
  double start_time;              // when it was scheduled or last rescheduled
  BaseActionClass* action_ptr;    // not owned: the group this event completes
};

// PAddress: a group's handle on its pending event (the event list's entry holding the
// event's record) and on its entry in the simulator's reactivation list, so neither has to
// be searched for.
class PAddress {
 public:
  using ReactPosition = std::list<BaseActionClass*>::iterator;

  PAddress() { clear(); }
  void clear() {
    event = nullptr;
    reactIsNull = true;
  }
  bool isReactNull() const { return reactIsNull; }
  void setReactNull() { reactIsNull = true; }
  ReactPosition getReact() const { return react; }
  void setReact(ReactPosition position) {
    react = position;
    reactIsNull = false;
  }

  Event** event;        // the list's entry holding this group's event; null when none
  bool reactIsNull;     // true when the group is not in the reactivation list
  ReactPosition react;  // valid only while reactIsNull is false
  // The firing (the simulator's count of firings) in whose step the reactivation list
  // last resampled the group, so the same step does not resample it a second time.
  long long resampledAt = -1;
  // The group's key in the event list that last scheduled it (its index in the list's
  // per-group tables); kept when the handle is cleared, checked by the list before use.
  int listKey = -1;
};

#endif

// The simulation step: scheduling the groups enabled at the start of a batch, firing the
// earliest event, and updating exactly the groups the firing can have affected.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "engine/ActionAffectsElement.h"
#include "engine/EventList.h"
#include "engine/SimulatorClass.h"
#include "framework/BaseActionClass.h"
#include "framework/BaseGroupClass.h"
#include "framework/Errors.h"
#include "rewards/PVModel.h"
#include "trace/TraceFileContainer.h"

namespace {

void Diagnostic(int threshold, const char* text) {
  if (GlobalDebugLevel > threshold) std::cout << "** " << text << std::endl;
}

// Out of line and cold, so the step's hot path keeps no stream code.
[[gnu::noinline, gnu::cold]] void Announce(const char* text) {
  std::cout << "** " << text << std::endl;
}

}  // namespace

// A distribution that rejects its parameters throws its message; the run cannot go on.
// Whatever computed it, a delay that is negative or not finite would run the clock
// backwards or stall it, and is refused the same way; a zero delay is legal.
[[gnu::always_inline]] inline double SimulatorClass::SampleDelay(BaseActionClass* group) {
  double delay;
  try {
    delay = group->SampleDistribution();
  } catch (const std::string& message) {
    HandleInvalidDistParams(group, message);
  }
  if (!(delay >= 0) || !std::isfinite(delay)) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", delay);
    HandleInvalidDistParams(group, std::string("INVALID_DIST_PARAMS: delay ") + text +
                                       " is negative or not finite");
  }
  return delay;
}

// The reactivation predicate is asked after the sample: a preselect group chooses its
// member while sampling, and the predicate it answers is that member's. The step's own
// schedulings take this body inline; other callers reach it through ScheduleGroup.
[[gnu::always_inline]] inline void SimulatorClass::ScheduleInStep(BaseActionClass* group) {
  CurrEvent.exec_time = CurrentTime + SampleDelay(group);
  CurrEvent.start_time = CurrentTime;
  CurrEvent.action_ptr = group;
  if (group->ReactivationPredicate()) WatchForReactivation(group);
  TheEventList->Insert(&CurrEvent);
}

void SimulatorClass::ScheduleGroup(BaseActionClass* group) { ScheduleInStep(group); }

void SimulatorClass::WatchForReactivation(BaseActionClass* group) {
  group->Reactivation = true;
  TheReactivationList.push_front(group);
  group->EventPointer->setReact(TheReactivationList.begin());
}

void SimulatorClass::GenerateInitialEnabledList() {
  int numGroups = TheGroupContainer->getNumItems();
  delete[] InitiallyEnabled;
  InitiallyEnabled = new BaseActionClass*[numGroups];
  NumInitiallyEnabled = 0;
  for (int i = 0; i < numGroups; i++) {
    CurrAction = GroupList[i];
    if (CurrAction->Enabled()) {
      Diagnostic(3, "Current Action Enabled");
      InitiallyEnabled[NumInitiallyEnabled++] = CurrAction;
      Diagnostic(3, "End if");
    }
  }
  // Most models start with few groups enabled; the spare room is given back.
  if (NumInitiallyEnabled < numGroups / 2) {
    BaseActionClass** exact = new BaseActionClass*[NumInitiallyEnabled];
    for (int i = 0; i < NumInitiallyEnabled; i++) exact[i] = InitiallyEnabled[i];
    delete[] InitiallyEnabled;
    InitiallyEnabled = exact;
  }
}

// The second Enabled() call makes each group's remembered old enabling equal to its
// current one, so the first step sees no enabling change where none happened.
short SimulatorClass::GenerateCompleteEventList() {
  for (int i = 0; i < NumInitiallyEnabled; i++) {
    CurrAction = InitiallyEnabled[i];
    bool enabled = CurrAction->Enabled();
    TAVRIN_ASSERT(enabled);
    CurrAction->Enabled();
    ScheduleInStep(CurrAction);
  }
  return 0;
}

// On entry NextEvent, CurrentTime and CurrAction describe the event to fire; on a true
// return they describe the next one. The clock stays at this firing when none is left.
bool SimulatorClass::SimStep() {
  // Without a trace writer the three trace calls per firing would only forward to nobody.
  const bool tracing = !trace->empty();
  TheEventList->Detach(NextEvent);
  TheModel->Accumulate(CurrentTime);
  if (tracing) {
    trace->printPreFireAction(CurrAction);
    trace->printFireAction(CurrAction, CurrentTime);
  }
  TempAction = TheModel->FireAction(CurrAction, CurrentTime);
  TAVRIN_ASSERT(TempAction != nullptr);
  if ((++_fireActionCount & kClockCheckMask) == 0) CheckClockAdvances();
  if (tracing) trace->printPostFireAction(CurrAction, TempAction);
  if (GlobalDebugLevel != 0)
    Announce("Starting to look at the other actions that are affected by the firing");

  AffectsAction = TempAction->Affects;
  if (!TheReactivationList.empty()) CheckReactivationList();
  RemoveAffectedActions();
  InsertAffectedActions();

  NextEvent = TheEventList->Earliest();
  if (NextEvent == nullptr) return false;
  CurrentTime = TheEventList->TimeAt(NextEvent);
  CurrAction = TheEventList->GroupAt(NextEvent);
  return true;
}

// Activities that fire in zero time and enable one another without end would hold the
// clock still for ever, at full speed and deaf to a first stop signal, which is answered
// only between batches. Every 2^24 firings the clock is compared with the last check's; no
// real model fires that often at one instant of one batch.
void SimulatorClass::CheckClockAdvances() {
  if (CurrentTime == _clockCheckTime && BatchRuns == _clockCheckBatch) {
    std::cerr << "ERROR: ZERO_TIME_LOOP: " << (kClockCheckMask + 1) << " firings at time " << CurrentTime
              << " without the clock advancing, the last of activity " << CurrAction->ActionName
              << ": activities that take no time enable one another without end" << std::endl;
    std::exit(1);
  }
  _clockCheckTime = CurrentTime;
  _clockCheckBatch = BatchRuns;
}

void SimulatorClass::StopWatching(BaseActionClass* group) {
  group->EventPointer->setReactNull();
  group->Reactivation = false;
}

// A group that asks to stay watched after its resampling moves to the front by splicing,
// which keeps its node (no allocation) and its recorded position; the walk has already
// passed the front, so it is not visited again.
void SimulatorClass::CheckReactivationList() {
  auto next = TheReactivationList.begin();
  while (next != TheReactivationList.end()) {
    auto current = next++;
    BaseActionClass* group = *current;
    PAddress* address = group->EventPointer;
    if (address->event == nullptr) {
      StopWatching(group);
      TheReactivationList.erase(current);
    } else if (group->Enabled()) {
      if (!group->ReactivationFunction()) continue;
      Event* event = *address->event;
      event->exec_time = CurrentTime + SampleDelay(group);
      event->start_time = CurrentTime;
      TheEventList->ModifyKey(address->event);
      address->resampledAt = _fireActionCount;
      StopWatching(group);
      if (group->ReactivationPredicate()) {
        group->Reactivation = true;
        TheReactivationList.splice(TheReactivationList.begin(), TheReactivationList, current);
        address->setReact(current);
      } else {
        TheReactivationList.erase(current);
      }
    } else {
      TheEventList->Remove(address->event);
      StopWatching(group);
      TheReactivationList.erase(current);
    }
  }
}

// The reactivation test is made only when the enabling did not change, since both calls
// can change the group's remembered state, and not for a group the reactivation list
// resampled in this step: its fresh completion already answers the marking this firing
// left, and a second draw would only replace it.
[[gnu::always_inline]] inline void SimulatorClass::RemoveIfAffected(BaseActionClass* group) {
  PAddress* address = group->EventPointer;
  if (address->event == nullptr) return;
  if (group->EnablingChange() ||
      (group->Reactivation && address->resampledAt != _fireActionCount && group->ReactivationFunction())) {
    group->Reactivation = false;
    TheEventList->Remove(address->event);
    if (!address->isReactNull()) {
      TheReactivationList.erase(address->getReact());
      address->setReactNull();
    }
  }
}

// A group that still has its event is left as it is, so its enabling is not asked a second
// time in the step: RemoveAffectedActions has just asked it, and the marking has not
// changed since. Only the groups without an event are asked.
[[gnu::always_inline]] inline void SimulatorClass::InsertIfEnabled(BaseActionClass* group) {
  if (group->EventPointer->event == nullptr && group->Enabled()) ScheduleInStep(group);
}

void SimulatorClass::RemoveAffectedInSegment(const SegmentReference* reference) {
  ForEachGroupOfSegment(reference, [this](BaseActionClass* group) { RemoveIfAffected(group); });
}

void SimulatorClass::InsertAffectedInSegment(const SegmentReference* reference) {
  ForEachGroupOfSegment(reference, [this](BaseActionClass* group) { InsertIfEnabled(group); });
}

[[gnu::always_inline]] inline void SimulatorClass::RemoveAffectedActions() {
  for (ActionAffectsElement* node = AffectsAction; node != nullptr; node = node->next) {
    if (node->Action == nullptr)
      RemoveAffectedInSegment(static_cast<const SegmentReference*>(node));
    else
      RemoveIfAffected(node->Action);
  }
}

[[gnu::always_inline]] inline void SimulatorClass::InsertAffectedActions() {
  for (ActionAffectsElement* node = AffectsAction; node != nullptr; node = node->next) {
    if (node->Action == nullptr)
      InsertAffectedInSegment(static_cast<const SegmentReference*>(node));
    else
      InsertIfEnabled(node->Action);
  }
}

#include "framework/PreselectGroup.h"

#include "framework/Errors.h"

PreselectGroup::PreselectGroup() : NeedToReselect(true) {}

PreselectGroup::PreselectGroup(int capacity) : NeedToReselect(true) {
  initialize(capacity, "default");
}

bool PreselectGroup::SelectAction() {
  bool selectedOne = BaseGroupClass::SelectAction();
  NeedToReselect = !selectedOne;
  return selectedOne;
}

void PreselectGroup::reselectIfNeeded() {
  if (NeedToReselect) SelectAction();
}

bool PreselectGroup::Enabled() {
  reselectIfNeeded();
  return BaseGroupClass::Enabled();
}

int PreselectGroup::Rank() {
  reselectIfNeeded();
  return selected()->Rank();
}

// With nothing selected (no member enabled) there is nothing to watch or to resample.
bool PreselectGroup::ReactivationPredicate() {
  reselectIfNeeded();
  return SelectedAction != nullptr && SelectedAction->ReactivationPredicate();
}

bool PreselectGroup::ReactivationFunction() {
  reselectIfNeeded();
  return SelectedAction != nullptr && SelectedAction->ReactivationFunction();
}

double PreselectGroup::SampleDistribution() {
  reselectIfNeeded();
  TAVRIN_ASSERT(!NeedToReselect);
  return selected()->SampleDistribution();
}

BaseActionClass* PreselectGroup::Fire() {
  BaseActionClass* chosen = selected();
  NeedToReselect = true;
  return chosen->Fire();
}

#ifndef TAVRIN_ENGINE_ACTIONAFFECTSELEMENT_H
#define TAVRIN_ENGINE_ACTIONAFFECTSELEMENT_H

class BaseActionClass;

// ActionAffectsElement: one node of an action's connectivity list, naming a group whose
// enabling the action's firing can change. The list starts at the action's Affects field.
class ActionAffectsElement {
 public:
  ActionAffectsElement(BaseActionClass* action, ActionAffectsElement* following)
      : Action(action), next(following) {}

  BaseActionClass* Action;      // not owned: an entry of the simulator's GroupList
  ActionAffectsElement* next;   // owned by the list's owner; null at the end
};

#endif

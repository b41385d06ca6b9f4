#ifndef TAVRIN_ENGINE_ACTIONAFFECTSELEMENT_H
#define TAVRIN_ENGINE_ACTIONAFFECTSELEMENT_H

class BaseActionClass;

// ActionAffectsElement: one node of an action's connectivity list, naming a group whose
// enabling the action's firing can change. The list starts at the action's Affects field.
// A node without an Action is a SegmentReference (below).
class ActionAffectsElement {
 public:
  ActionAffectsElement(BaseActionClass* action, ActionAffectsElement* following)
      : Action(action), next(following) {}

  BaseActionClass* Action;      // not owned: an entry of the simulator's GroupList
  ActionAffectsElement* next;   // owned by the list's owner; null at the end
};

// SegmentReference: a node standing for a segment, a list of groups kept once by the
// simulator for a state variable that enables many groups (a place shared by all copies of
// a replicate), which the lists of the actions changing it would otherwise each repeat.
// Its groups come in its place, in the segment's order, less the at most two that this
// action's list holds elsewhere.
class SegmentReference : public ActionAffectsElement {
 public:
  SegmentReference(ActionAffectsElement* segment, ActionAffectsElement* following)
      : ActionAffectsElement(nullptr, following), Segment(segment), Skipped{nullptr, nullptr} {}

  ActionAffectsElement* Segment;   // not owned (the simulator's): the segment's first node
  BaseActionClass* Skipped[2];     // not owned: groups of the segment left out here, or null
};

// Calls visit(group) for every group a segment reference stands for, in order.
template <class Visit>
inline void ForEachGroupOfSegment(const SegmentReference* reference, Visit visit) {
  for (ActionAffectsElement* s = reference->Segment; s != nullptr; s = s->next)
    if (s->Action != reference->Skipped[0] && s->Action != reference->Skipped[1]) visit(s->Action);
}

// Calls visit(group) for every group of the list that starts at node, in list order.
template <class Visit>
inline void ForEachAffectedGroup(ActionAffectsElement* node, Visit visit) {
  for (; node != nullptr; node = node->next) {
    if (node->Action != nullptr)
      visit(node->Action);
    else
      ForEachGroupOfSegment(static_cast<const SegmentReference*>(node), visit);
  }
}

#endif

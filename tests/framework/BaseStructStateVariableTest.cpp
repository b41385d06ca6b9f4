#include "framework/state/BaseStructStateVariable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "framework/BaseActionClass.h"
#include "framework/san/Place.h"
#include "framework/state/ByteCopy.h"

namespace {

// A scalar of any plain type, for record fields other than places.
template <class T>
class Scalar : public BaseStateVariableClass {
 public:
  Scalar(const char* name, T value) : BaseStateVariableClass(name, ""), Value(value) {}
  int StateSize() override { return static_cast<int>(sizeof(T)); }
  void CurrentState(void* at) override { writeMemory(at, Value); }
  void SetState(void* at) override { readMemory2(at, &Value); }
  void share(BaseStateVariableClass*) override {}
  T Value;
};

// A record in the form generated code gives it: the fields are filled directly, then the
// cached size is reset.
class Record : public BaseStructStateVariable {
 public:
  Record(const char* name, std::initializer_list<fieldType> members)
      : BaseStructStateVariable(name, "") {
    for (const fieldType& f : members) fields.push_back(f);
    calculatedStateSize = -1;
  }
};

// An array of three places built through makeArrays, which asks field() for each element.
class PlaceTriple : public BaseStructStateVariable {
 public:
  explicit PlaceTriple(const char* name) : BaseStructStateVariable(name, ""), Next(0) {
    const ArrayType types[3] = {ArrayType_SHORT, ArrayType_SHORT, ArrayType_SHORT};
    makeArrays(types, 3);
  }
  fieldType field(ArrayType t, BaseStateVariableClass*) override {
    return fieldType{&Elements[Next++], t};
  }
  Place Elements[3];
  int Next;
};

// Counts how often the record asks for its size.
class CountingField : public Scalar<int> {
 public:
  CountingField() : Scalar<int>("counted", 0) {}
  int StateSize() override {
    Calls++;
    return 4;
  }
  int Calls = 0;
};

}  // namespace

TEST(StructLayout, ShortDoubleCharRecordPacksElevenBytesWithoutPadding) {
  Place s("s", 258);
  Scalar<double> d("d", 2.5);
  Scalar<char> c("c", 'q');
  Record r("R", {{&s, ArrayType_SHORT}, {&d, ArrayType_DOUBLE}, {&c, ArrayType_CHAR}});
  EXPECT_EQ(r.StateSize(), 11);  // 2 + 8 + 1
  unsigned char buffer[13];
  std::memset(buffer, 0xAA, sizeof buffer);
  r.CurrentState(buffer + 1);  // an odd start: the record part of a state vector
  short sBack = 0;
  double dBack = 0;
  char cBack = 0;
  readMemory2(buffer + 1 + 0, &sBack);
  readMemory2(buffer + 1 + 2, &dBack);
  readMemory2(buffer + 1 + 10, &cBack);
  EXPECT_EQ(sBack, 258);
  EXPECT_EQ(dBack, 2.5);
  EXPECT_EQ(cBack, 'q');
  EXPECT_EQ(buffer[0], 0xAA);
  EXPECT_EQ(buffer[12], 0xAA);
}

TEST(StructLayout, SavedStateRestoresEveryField) {
  Place s("s", 7);
  Scalar<double> d("d", -1.25);
  Scalar<char> c("c", 'x');
  Record r("R", {{&s, ArrayType_SHORT}, {&d, ArrayType_DOUBLE}, {&c, ArrayType_CHAR}});
  unsigned char saved[11];
  r.CurrentState(saved);
  s.setMark(0);
  d.Value = 0;
  c.Value = 0;
  r.SetState(saved);
  EXPECT_EQ(s.getMark(), 7);
  EXPECT_EQ(d.Value, -1.25);
  EXPECT_EQ(c.Value, 'x');
}

TEST(StructLayout, NestedRecordTakesItsOwnSize) {
  Place s("s", 0);
  Scalar<int> i("i", 0);
  Record inner("inner", {{&s, ArrayType_SHORT}, {&i, ArrayType_INT}});  // 2 + 4 = 6
  Scalar<int> first("first", 0);
  Record outer("outer", {{&first, ArrayType_INT}, {&inner, ArrayType_STRUCT}});
  EXPECT_EQ(outer.StateSize(), 10);  // 4 + 6
}

TEST(StructLayout, SizeIsComputedOnceAndKept) {
  CountingField counted;
  Record r("R", {{&counted, ArrayType_ARRAY}});
  EXPECT_EQ(r.StateSize(), 4);
  EXPECT_EQ(r.StateSize(), 4);
  EXPECT_EQ(counted.Calls, 1);
}

TEST(StructLayout, ArrayBuiltByMakeArraysHoldsTheSuppliedElements) {
  PlaceTriple triple("T");
  EXPECT_EQ(triple.getSize(), 3);
  EXPECT_EQ(triple.getType(2), ArrayType_SHORT);
  EXPECT_EQ(triple.StateSize(), 6);
  triple.Elements[1].setMark(5);
  short saved[3] = {-1, -1, -1};
  triple.CurrentState(saved);
  EXPECT_EQ(saved[0], 0);
  EXPECT_EQ(saved[1], 5);
  EXPECT_EQ(saved[2], 0);
}

TEST(StructLayout, ScalarFieldOfTheWrongSizeIsABrokenModel) {
  // A place declared as a char would write two bytes where the layout keeps one.
  Place p("p", 1);
  Record r("R", {{&p, ArrayType_CHAR}});
  EXPECT_DEATH(r.StateSize(), "!! Assertion failed in file .*, line [0-9]+");
}

TEST(StructLayout, FieldsWithoutTheirVariableCannotBeSaved) {
  const ArrayType types[2] = {ArrayType_SHORT, ArrayType_INT};
  BaseStructStateVariable bare("R", "", types, 2);  // the base field() supplies no variable
  EXPECT_EQ(bare.getSize(), 2);
  unsigned char buffer[6];
  EXPECT_DEATH(bare.CurrentState(buffer), "!! Assertion failed in file .*, line [0-9]+");
}

TEST(StructPrinting, PrintsEachFieldOnItsOwnLineInsideBraces) {
  Place a("a", 1);
  Place b("b", 2);
  Record r("R", {{&a, ArrayType_SHORT}, {&b, ArrayType_SHORT}});
  std::ostringstream out;
  r.printState(&out);
  EXPECT_EQ(out.str(), "R = {\n.a = 1\n.b = 2\n}\n");
}

TEST(StructLeaves, RecordWithoutFieldsIsItsOwnLeaf) {
  Record empty("E", {});
  EXPECT_TRUE(empty.isLeafNode());
  EXPECT_EQ(empty.getNumLeafNodes(), 1);
  List<BaseStateVariableClass>* leaves = empty.getLeafNodes();
  ASSERT_EQ(leaves->getNumItems(), 1);
  EXPECT_EQ(leaves->getItem(0), &empty);
  delete leaves;
}

TEST(StructLeaves, NestedRecordsListTheirPlacesInFieldOrder) {
  Place a("a", 0), b("b", 0), c("c", 0);
  Record inner("inner", {{&b, ArrayType_SHORT}, {&c, ArrayType_SHORT}});
  Record outer("outer", {{&a, ArrayType_SHORT}, {&inner, ArrayType_STRUCT}});
  EXPECT_FALSE(outer.isLeafNode());
  EXPECT_EQ(outer.getNumLeafNodes(), 3);
  List<BaseStateVariableClass>* leaves = outer.getLeafNodes();
  ASSERT_EQ(leaves->getNumItems(), 3);
  EXPECT_EQ(leaves->getItem(0), &a);
  EXPECT_EQ(leaves->getItem(1), &b);
  EXPECT_EQ(leaves->getItem(2), &c);
  delete leaves;
}

TEST(StructLeaves, ActionSeesThePlacesOfARecordNotTheRecord) {
  Place a("a", 0), b("b", 0);
  Record r("R", {{&a, ArrayType_SHORT}, {&b, ArrayType_SHORT}});
  BaseActionClass action;
  action.addEnablingSV(&r);
  action.addAffectedSV(&r);
  ASSERT_EQ(action.getNumEnablingSVs(), 2);
  EXPECT_EQ(action.getEnablingSV(0), &a);
  EXPECT_EQ(action.getEnablingSV(1), &b);
  EXPECT_EQ(action.getNumAffectedSVs(), 2);
  r.removeSelfFromEnablingSVOfAction(&action);
  EXPECT_EQ(action.getNumEnablingSVs(), 0);
  EXPECT_EQ(action.getNumAffectedSVs(), 2);
}

TEST(StructLeaves, ActionsAreRecordedOnTheRecordAndEveryField) {
  Place a("a", 0), b("b", 0);
  Record r("R", {{&a, ArrayType_SHORT}, {&b, ArrayType_SHORT}});
  BaseActionClass writer, reader;
  r.appendAffectingAction(&writer);
  r.appendEnabledAction(&reader);
  for (BaseStateVariableClass* v : {static_cast<BaseStateVariableClass*>(&r),
                                    static_cast<BaseStateVariableClass*>(&a),
                                    static_cast<BaseStateVariableClass*>(&b)}) {
    ASSERT_EQ(v->getNumAffectingActions(), 1);
    EXPECT_EQ(v->getAffectingAction(0), &writer);
    ASSERT_EQ(v->getNumEnabledActions(), 1);
    EXPECT_EQ(v->getEnabledAction(0), &reader);
  }
}

TEST(StructSharing, RecordsShareFieldByField) {
  Place a1("a1", 1), b1("b1", 2), a2("a2", 10), b2("b2", 20);
  Record r1("R1", {{&a1, ArrayType_SHORT}, {&b1, ArrayType_SHORT}});
  Record r2("R2", {{&a2, ArrayType_SHORT}, {&b2, ArrayType_SHORT}});
  BaseActionClass x, y;
  r1.appendAffectingAction(&x);
  r2.appendAffectingAction(&y);
  r1.share(&r2);
  // Each pair of fresh places shares; the holder takes the other's value.
  EXPECT_EQ(a1.getMark(), 10);
  EXPECT_EQ(b1.getMark(), 20);
  a2.setMark(3);
  EXPECT_EQ(a1.getMark(), 3);
  EXPECT_NE(b1.getMark(), 3);
  EXPECT_TRUE(r1.getStored());
  EXPECT_FALSE(r2.getStored());
  EXPECT_TRUE(r2.getShared());
  EXPECT_EQ(r2.getAffectingActions(), r1.getAffectingActions());
  EXPECT_EQ(r1.getNumAffectingActions(), 2);
}

TEST(StructSharing, OtherMustBeARecordWithAtLeastAsManyFields) {
  Place a("a", 0), b("b", 0), c("c", 0);
  Record two("two", {{&a, ArrayType_SHORT}, {&b, ArrayType_SHORT}});
  Record one("one", {{&c, ArrayType_SHORT}});
  EXPECT_DEATH(two.share(&one), "Assertion");
  EXPECT_DEATH(two.share(&c), "Assertion");
}

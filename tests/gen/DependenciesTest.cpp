#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Dependencies.h"
#include "ModelReader.h"

// Which places an activity reads and changes, found in its arcs and code.

using Names = std::vector<std::string>;

TEST(IdentifiersIn, SkipsCommentsLiteralsAndNumbersButNotMemberNames) {
  EXPECT_EQ(IdentifiersIn("A->Mark() + 2.5e3f /* B */ + x.C // D\n + \"E\" + 'F' + A"),
            (Names{"A", "Mark", "x", "C"}));
  EXPECT_EQ(IdentifiersIn("if (Q1 > 0x1F) { Q2 = 1; }"), (Names{"if", "Q1", "Q2"}));
}

TEST(DependencyDerivation, ArcsAndEveryCodePieceAddTheirPlacesOnceInFirstMentionOrder) {
  Model m = ReadModelText(R"m(model = "DEP"
[places]
A = 0
B = 0
C = 0
D = 0
E = 0
F = 0
G = 0
[activity.T]
distribution = { exponential = "1.0 + G->Mark()" }
input = { B = 1 }
enabled = "A->Mark() > 0 && B->Mark() > 0"
fire = "C->Mark() = A->Mark();"
reactivation_predicate = "true"
reactivation_function = "F->Mark() > 1"
reads = ["D"]
changes = ["E"]
[[activity.T.case]]
probability = 1
output = { D = 2 }
[reward.R]
kind = "steady_state"
transient = 0
batch = 1
rate = "E->Mark() + /* A */ G->Mark()"
)m",
                          "d.toml");
  const ActivityDef& t = m.activities[0];
  // Enabling: input arcs, then the predicate, reactivation, parameters, then `reads`.
  EXPECT_EQ(t.enablingPlaces, (Names{"B", "A", "F", "G", "D"}));
  // Changed: input arcs, the activity's output arcs and firing function (reading counts),
  // then each case's, then `changes`.
  EXPECT_EQ(t.affectedPlaces, (Names{"B", "C", "A", "D", "E"}));
  // Linked: all of them, in the model's order of places.
  EXPECT_EQ(t.linkedPlaces, (Names{"A", "B", "C", "D", "E", "F", "G"}));
  EXPECT_EQ(m.rewards[0].ratePlaces, (Names{"E", "G"}));
}

TEST(DependencyDerivation, AnActivityWithoutArcsOrCodeReadsNothing) {
  Model m = ReadModelText("model = \"D\"\n[places]\nA = 0\n[activity.T]\ndistribution = { exponential = 1 }\n"
                          "[reward.R]\nkind = \"instant_of_time\"\ntimes = [1]\nrate = \"A->Mark()\"\n",
                          "d.toml");
  EXPECT_TRUE(m.activities[0].enablingPlaces.empty());
  EXPECT_TRUE(m.activities[0].affectedPlaces.empty());
}

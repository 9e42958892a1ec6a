// The data exchange rules between the project and the conditions and loads
// editors: initial values, independent steps that skip a bad stored value,
// and what confirming stores.
#include <gtest/gtest.h>

#include "exchange.h"

using namespace hasorin;

namespace {

Project EnteredConditions() {
  Project p;
  p.ConditionsEntered = true;
  p.Conditions(1) = ProjectValue::Text("橋脚P1");
  p.Conditions(2) = ProjectValue::Real(205000);
  p.Conditions(3) = ProjectValue::Real(30000);
  p.Conditions(4) = ProjectValue::Integer(1);
  p.Conditions(5) = ProjectValue::Integer(2);
  p.Conditions(6) = ProjectValue::Integer(1);
  p.Conditions(7) = ProjectValue::Real(1.5);
  return p;
}

}  // namespace

TEST(ConditionsExchange, NewProjectShowsInitialValues) {
  Project p;
  p.Conditions(2) = ProjectValue::Real(123);  // not entered: stored values are ignored
  ConditionsFields f = LoadConditionsFields(p);
  EXPECT_EQ(f.title, "(未定義)");
  EXPECT_EQ(f.ep, 200000);
  EXPECT_EQ(f.kh, 1);
  EXPECT_EQ(f.top, 0);
  EXPECT_EQ(f.bottom, 1);
  EXPECT_EQ(f.kv, 0);
  EXPECT_EQ(f.alpha, 1);
}

TEST(ConditionsExchange, EnteredValuesRoundTrip) {
  Project p = EnteredConditions();
  ConditionsFields f = LoadConditionsFields(p);
  EXPECT_EQ(f.title, "橋脚P1");
  EXPECT_EQ(f.ep, 205000);
  EXPECT_EQ(f.top, 1);
  EXPECT_EQ(f.bottom, 2);
  EXPECT_EQ(f.kv, 1);
  EXPECT_EQ(f.alpha, 1.5);

  Project saved;
  SaveConditionsFields(f, saved);
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(saved.Conditions(i).number(), p.Conditions(i).number()) << i;
  EXPECT_EQ(saved.Conditions(1), ProjectValue::Text("橋脚P1"));
  // Options are stored as 16-bit integers, numbers as reals.
  EXPECT_EQ(saved.Conditions(4), ProjectValue::Integer(1));
  EXPECT_EQ(saved.Conditions(2), ProjectValue::Real(205000));
  EXPECT_TRUE(saved.ConditionsEntered);
  EXPECT_TRUE(saved.ProjectModified);
  for (int i = 8; i <= 10; ++i) EXPECT_TRUE(saved.Conditions(i).isEmpty());
}

TEST(ConditionsExchange, BadStoredValueKeepsTheInitialValue) {
  Project p = EnteredConditions();
  p.Conditions(2) = ProjectValue::Text("abc");     // text where a number is needed
  p.Conditions(3) = ProjectValue::Boolean(true);
  p.Conditions(4) = ProjectValue::Integer(5);      // no such button
  p.Conditions(5) = ProjectValue::Integer(-1);
  p.Conditions(6) = ProjectValue::Real(0.5);       // not a whole index
  p.Conditions(7) = ProjectValue();                 // empty
  ConditionsFields f = LoadConditionsFields(p);
  ConditionsFields initial = InitialConditionsFields();
  EXPECT_EQ(f.title, "橋脚P1");  // the other steps still run
  EXPECT_EQ(f.ep, initial.ep);
  EXPECT_EQ(f.kh, initial.kh);
  EXPECT_EQ(f.top, initial.top);
  EXPECT_EQ(f.bottom, initial.bottom);
  EXPECT_EQ(f.kv, initial.kv);
  EXPECT_EQ(f.alpha, initial.alpha);

  // Confirming stores what the editor showed: 剛結 is 0.
  SaveConditionsFields(f, p);
  EXPECT_EQ(p.Conditions(4), ProjectValue::Integer(0));
}

TEST(ConditionsExchange, TitleOfOtherKinds) {
  Project p = EnteredConditions();
  p.Conditions(1) = ProjectValue();
  EXPECT_EQ(LoadConditionsFields(p).title, "");
  p.Conditions(1) = ProjectValue::Real(12.5);
  EXPECT_EQ(LoadConditionsFields(p).title, "12.5");
  p.Conditions(1) = ProjectValue::Integer(3);
  EXPECT_EQ(LoadConditionsFields(p).title, "3");
  // A real option index that is whole selects its button.
  p.Conditions(5) = ProjectValue::Real(0);
  EXPECT_EQ(LoadConditionsFields(p).bottom, 0);
}

TEST(ConditionsExchange, EmptyFieldAndMissingSelection) {
  Project p = EnteredConditions();
  ConditionsFields f = LoadConditionsFields(p);
  f.kh.reset();
  f.bottom.reset();
  SaveConditionsFields(f, p);
  EXPECT_TRUE(p.Conditions(3).isEmpty());
  EXPECT_EQ(p.Conditions(5), ProjectValue::Integer(2));  // left as it was
}

TEST(LoadsExchange, ZerosUntilEnteredThenStoredNumbers) {
  Project p;
  p.Loads(2) = ProjectValue::Real(1000);
  for (const auto& v : LoadLoadsFields(p)) EXPECT_EQ(v, 0.0);

  p.LoadsEntered = true;
  p.Loads(1) = ProjectValue::Real(-99999999.99);
  p.Loads(3) = ProjectValue::Text("x");
  p.Loads(4) = ProjectValue::Integer(7);
  LoadsFields f = LoadLoadsFields(p);
  EXPECT_EQ(f[0], -99999999.99);
  EXPECT_EQ(f[1], 1000);
  EXPECT_EQ(f[2], 0.0);
  EXPECT_EQ(f[3], 7);
}

TEST(LoadsExchange, ConfirmingZerosMarksTheLoadsEntered) {
  Project p;
  p.Loads(8) = ProjectValue::Text("kept");
  LoadsFields f = LoadLoadsFields(p);
  f[5].reset();
  SaveLoadsFields(f, p);
  EXPECT_TRUE(p.LoadsEntered);
  EXPECT_TRUE(p.ProjectModified);
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(p.Loads(k), ProjectValue::Real(0)) << k;
  EXPECT_TRUE(p.Loads(6).isEmpty());
  EXPECT_EQ(p.Loads(8), ProjectValue::Text("kept"));
}

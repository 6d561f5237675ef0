#include "ui/layout_plan.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace trelik {

void PrintTo(const Bounds& b, std::ostream* out) {
  *out << "{" << b.left << ", " << b.top << ", " << b.width << ", " << b.height << "}";
}

namespace {

// Captions measure as the table says; any other caption is far too wide, so measuring one that
// does not count would show in the fit.
LayoutPlan Plan(const std::vector<PlannedControl>& controls,
                const std::map<std::string, TextExtent>& extents, int dpi = 96) {
  return PlanLayout(controls, 400, 100, dpi, [&](std::size_t index) {
    const auto found = extents.find(controls[index].caption);
    return found != extents.end() ? found->second : TextExtent{10000, 10000};
  });
}

TEST(LayoutPlanTest, ScalesTheWholeLayoutJustEnoughForItsWidestAndTallestCaption) {
  struct Case {
    const char* name;
    int dpi;
    TextExtent needs;  // of the label "Long", designed 100 by 13
    double fitX;
    double fitY;
    Bounds edit;  // designed {8, 60, 120, 21}
    int clientWidth;
    int clientHeight;
  };
  for (const Case& c : {
           Case{"fits", 96, {100, 13}, 1.0, 1.0, {8, 60, 120, 21}, 400, 100},
           Case{"fits at 150 %", 144, {150, 19}, 1.0, 1.0, {12, 90, 180, 32}, 600, 150},
           Case{"twice as wide", 96, {200, 13}, 2.0, 1.0, {16, 60, 240, 21}, 800, 100},
           Case{"taller", 96, {50, 26}, 1.0, 2.0, {8, 120, 120, 42}, 400, 200},
           Case{"wider at 150 %", 144, {300, 10}, 2.0, 1.0, {24, 90, 360, 32}, 1200, 150},
       }) {
    SCOPED_TRACE(c.name);
    const std::vector<PlannedControl> controls{
        {.kind = ControlKind::kLabel, .caption = "Long", .bounds = {8, 8, 100, 13}},
        {.kind = ControlKind::kButton, .caption = "OK", .bounds = {200, 8, 75, 25}},
        {.kind = ControlKind::kEdit, .bounds = {8, 60, 120, 21}}};
    const LayoutPlan plan = Plan(controls, {{"Long", c.needs}, {"OK", {40, 13}}}, c.dpi);
    EXPECT_DOUBLE_EQ(plan.fitX, c.fitX);
    EXPECT_DOUBLE_EQ(plan.fitY, c.fitY);
    ASSERT_EQ(plan.bounds.size(), controls.size());
    EXPECT_EQ(plan.bounds[2], c.edit);
    EXPECT_EQ(plan.clientWidth, c.clientWidth);
    EXPECT_EQ(plan.clientHeight, c.clientHeight);
  }
}

TEST(LayoutPlanTest, MeasuresOnlyCaptionsInBoxesThatCanHoldThem) {
  const std::vector<PlannedControl> controls{
      {.kind = ControlKind::kEdit, .caption = "typed", .bounds = {8, 8, 100, 21}},
      {.kind = ControlKind::kComboBox, .caption = "entry", .bounds = {8, 40, 100, 21}},
      {.kind = ControlKind::kPicture, .caption = "icon", .bounds = {8, 70, 32, 32}},
      {.kind = ControlKind::kLabel, .caption = "", .bounds = {120, 8, 10, 13}},
      {.kind = ControlKind::kLabel, .caption = "hidden", .bounds = {120, 30, 0, 13}},
      {.kind = ControlKind::kCheckBox, .caption = "flat", .bounds = {120, 50, 100, 0}}};
  const LayoutPlan plan = Plan(controls, {});
  EXPECT_DOUBLE_EQ(plan.fitX, 1.0);
  EXPECT_DOUBLE_EQ(plan.fitY, 1.0);
}

TEST(LayoutPlanTest, GroupMembersArePlacedInTheFormAndPicturesKeepTheirSize) {
  const std::vector<PlannedControl> controls{
      {.kind = ControlKind::kGroupBox, .caption = "Group", .bounds = {8, 8, 200, 80}},
      {.kind = ControlKind::kCheckBox, .caption = "On", .bounds = {10, 20, 50, 17}, .group = 0},
      {.kind = ControlKind::kPicture, .bounds = {220, 10, 32, 32}},
      {.kind = ControlKind::kLabel, .caption = "Wide", .bounds = {8, 90, 50, 13}}};
  const LayoutPlan plan =
      Plan(controls, {{"Group", {60, 13}}, {"On", {30, 13}}, {"Wide", {150, 13}}}, 144);
  ASSERT_EQ(plan.bounds.size(), controls.size());
  EXPECT_EQ(plan.bounds[0], (Bounds{24, 12, 600, 120}));
  EXPECT_EQ(plan.bounds[1], (Bounds{54, 42, 150, 26}));
  EXPECT_EQ(plan.bounds[2], (Bounds{660, 15, 48, 48}));
  EXPECT_EQ(plan.ScaleY(13), 20);
}

TEST(LayoutPlanTest, TheTabChainRunsFormStopsThenEachGroupsOwn) {
  using K = ControlKind;
  struct Case {
    const char* name;
    std::vector<PlannedControl> controls;
    std::vector<std::size_t> chain;
  };
  const std::vector<Case> cases{
      {"declared out of order",
       {{.kind = K::kButton, .tabOrder = 2},
        {.kind = K::kEdit, .tabOrder = 0},
        {.kind = K::kComboBox, .tabOrder = 1}},
       {1, 2, 0}},
      {"equal orders keep the declared order",
       {{.kind = K::kButton, .tabOrder = 1},
        {.kind = K::kEdit, .tabOrder = 0},
        {.kind = K::kCheckBox, .tabOrder = 1}},
       {1, 0, 2}},
      {"labels and pictures are no stops",
       {{.kind = K::kLabel}, {.kind = K::kButton, .tabOrder = 0}, {.kind = K::kPicture}},
       {1}},
      {"a group's own chain follows it, whatever the form's orders",
       {{.kind = K::kButton, .tabOrder = 0},
        {.kind = K::kGroupBox, .tabOrder = 1},
        {.kind = K::kButton, .tabOrder = 2, .group = 1},
        {.kind = K::kComboBox, .tabOrder = 0, .group = 1},
        {.kind = K::kLabel, .group = 1},
        {.kind = K::kEdit, .tabOrder = 2}},
       {0, 1, 3, 2, 5}},
      {"two groups",
       {{.kind = K::kGroupBox, .tabOrder = 1},
        {.kind = K::kGroupBox, .tabOrder = 0},
        {.kind = K::kEdit, .tabOrder = 0, .group = 0},
        {.kind = K::kEdit, .tabOrder = 0, .group = 1}},
       {1, 3, 0, 2}},
      {"no stops", {{.kind = K::kLabel}}, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TabChain(c.controls), c.chain);
  }
}

TEST(LayoutPlanTest, LinksFollowInReadingOrderWhereTheySitInTheForm) {
  using K = ControlKind;
  const std::vector<PlannedControl> controls{
      {.kind = K::kLabel, .bounds = {328, 48, 28, 13}, .link = true},
      {.kind = K::kLabel, .bounds = {200, 48, 69, 13}, .link = true},
      {.kind = K::kLabel, .bounds = {8, 60, 50, 13}},  // plain text
      {.kind = K::kGroupBox, .bounds = {8, 8, 345, 81}, .tabOrder = 0},
      {.kind = K::kLabel, .bounds = {150, 16, 50, 13}, .group = 3, .link = true},
      {.kind = K::kButton, .bounds = {8, 90, 75, 25}, .tabOrder = 1},
  };
  EXPECT_EQ(LinkChain(controls), (std::vector<std::size_t>{4, 1, 0}));
}

// Tab walks the stops, then the links; the arrow keys stay within the form's stops, a group's,
// the links, or the rest, so each of those begins a group where the walk enters it.
TEST(LayoutPlanTest, TheKeyboardWalksStopsThenLinksAndArrowsStayInTheirGroup) {
  using K = ControlKind;
  const std::vector<PlannedControl> controls{
      {.kind = K::kLabel, .bounds = {200, 48, 50, 13}, .link = true},
      {.kind = K::kLabel},
      {.kind = K::kButton, .tabOrder = 1},
      {.kind = K::kGroupBox, .tabOrder = 2},
      {.kind = K::kCheckBox, .tabOrder = 0, .group = 3},
      {.kind = K::kComboBox, .tabOrder = 1, .group = 3},
      {.kind = K::kEdit, .tabOrder = 0},
      {.kind = K::kLabel, .bounds = {100, 48, 50, 13}, .link = true},
      {.kind = K::kPicture},
      {.kind = K::kButton, .tabOrder = 3}};
  EXPECT_EQ(KeyboardOrder(controls), (std::vector<KeyboardStop>{{6, true, true},
                                                                {2, true, false},
                                                                {3, true, true},
                                                                {4, true, true},
                                                                {5, true, false},
                                                                {9, true, true},
                                                                {7, true, true},
                                                                {0, true, false},
                                                                {1, false, true},
                                                                {8, false, false}}));
}

}  // namespace
}  // namespace trelik

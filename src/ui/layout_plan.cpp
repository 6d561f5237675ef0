#include "ui/layout_plan.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace trelik {
namespace {

int Scale(int designPixels, int dpi, double fit) {
  return static_cast<int>(std::lround(designPixels * dpi * fit / kDesignDpi));
}

bool HasCaption(const PlannedControl& control) {
  switch (control.kind) {
    case ControlKind::kLabel:
    case ControlKind::kButton:
    case ControlKind::kCheckBox:
    case ControlKind::kGroupBox:
      return !control.caption.empty();
    default:
      return false;
  }
}

Bounds Absolute(const std::vector<PlannedControl>& controls, const PlannedControl& control) {
  Bounds bounds = control.bounds;
  if (control.group < controls.size()) {
    bounds.left += controls[control.group].bounds.left;
    bounds.top += controls[control.group].bounds.top;
  }
  return bounds;
}

std::vector<std::size_t> StopsIn(const std::vector<PlannedControl>& controls, std::size_t group) {
  std::vector<std::size_t> stops;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].tabOrder && controls[i].group == group) stops.push_back(i);
  }
  std::ranges::stable_sort(stops, {}, [&](std::size_t i) { return *controls[i].tabOrder; });
  return stops;
}

}  // namespace

int CaptionMargin(ControlKind kind) {
  switch (kind) {
    case ControlKind::kButton:
      return 12;
    case ControlKind::kGroupBox:
      return 16;
    case ControlKind::kCheckBox:
      return 6;
    default:
      return 0;
  }
}

int LayoutPlan::ScaleX(int designPixels) const { return Scale(designPixels, dpi, fitX); }
int LayoutPlan::ScaleY(int designPixels) const { return Scale(designPixels, dpi, fitY); }

LayoutPlan PlanLayout(const std::vector<PlannedControl>& controls, int clientWidth,
                      int clientHeight, int dpi, const MeasureCaption& measure) {
  LayoutPlan plan{.dpi = dpi};
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Bounds& designed = controls[i].bounds;
    // A box without room holds no text however far it grows.
    if (!HasCaption(controls[i]) || designed.width <= 0 || designed.height <= 0) continue;
    const TextExtent needs = measure(i);
    plan.fitX = std::max(plan.fitX, needs.width * double(kDesignDpi) / (designed.width * dpi));
    plan.fitY = std::max(plan.fitY, needs.height * double(kDesignDpi) / (designed.height * dpi));
  }
  plan.clientWidth = plan.ScaleX(clientWidth);
  plan.clientHeight = plan.ScaleY(clientHeight);
  for (const auto& control : controls) {
    const Bounds designed = Absolute(controls, control);
    Bounds& placed =
        plan.bounds.emplace_back(Bounds{plan.ScaleX(designed.left), plan.ScaleY(designed.top),
                                        plan.ScaleX(designed.width), plan.ScaleY(designed.height)});
    // A picture keeps its own square size at the DPI; only its place follows the captions.
    if (control.kind == ControlKind::kPicture) {
      placed.width = Scale(designed.width, dpi, 1.0);
      placed.height = Scale(designed.height, dpi, 1.0);
    }
  }
  return plan;
}

std::vector<std::size_t> TabChain(const std::vector<PlannedControl>& controls) {
  std::vector<std::size_t> chain;
  for (const std::size_t stop : StopsIn(controls, kNoGroup)) {
    chain.push_back(stop);
    if (controls[stop].kind != ControlKind::kGroupBox) continue;
    const auto inner = StopsIn(controls, stop);
    chain.insert(chain.end(), inner.begin(), inner.end());
  }
  return chain;
}

std::vector<std::size_t> LinkChain(const std::vector<PlannedControl>& controls) {
  std::vector<std::size_t> links;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].link) links.push_back(i);
  }
  std::stable_sort(links.begin(), links.end(), [&controls](std::size_t a, std::size_t b) {
    const Bounds first = Absolute(controls, controls[a]);
    const Bounds second = Absolute(controls, controls[b]);
    return std::pair{first.top, first.left} < std::pair{second.top, second.left};
  });
  return links;
}

std::vector<KeyboardStop> KeyboardOrder(const std::vector<PlannedControl>& controls) {
  std::vector<std::size_t> order = TabChain(controls);
  const std::vector<std::size_t> links = LinkChain(controls);
  order.insert(order.end(), links.begin(), links.end());
  const std::size_t reached = order.size();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (!controls[i].tabOrder && !controls[i].link) order.push_back(i);
  }
  const auto groupOf = [&controls](std::size_t index) {
    const PlannedControl& control = controls[index];
    if (control.link) return std::pair{2, std::size_t{0}};
    if (!control.tabOrder) return std::pair{3, std::size_t{0}};
    if (control.kind == ControlKind::kGroupBox) return std::pair{1, index};
    return std::pair{0, control.group};
  };
  std::vector<KeyboardStop> stops;
  for (std::size_t i = 0; i < order.size(); ++i) {
    stops.push_back({.index = order[i],
                     .reached = i < reached,
                     .startsGroup = i == 0 || groupOf(order[i]) != groupOf(order[i - 1])});
  }
  return stops;
}

}  // namespace trelik

#include "robot/StandardIcon.h"

#include <optional>
#include <utility>

#include "robot/Control.h"
#include "robot/Image.h"

namespace robot {

const char* NameOf(StandardIcon icon) {
  switch (icon) {
    case StandardIcon::None: return "None";
    case StandardIcon::Exclamation: return "Exclamation";
    case StandardIcon::Question: return "Question";
    case StandardIcon::Error: return "Error";
    case StandardIcon::Information: return "Information";
    case StandardIcon::Unknown: break;
  }
  return "Unknown";
}

HWND IconControlOf(HWND dialog) {
  for (HWND child : Children(dialog)) {
    if (ClassOf(child) == L"Static" && (StyleOf(child) & SS_TYPEMASK) == SS_ICON) return child;
  }
  return nullptr;
}

namespace {

// Mean channel difference below which a capture counts as the same picture: drawing is
// deterministic, so a true match differs by little more than rounding of the blending.
constexpr double kMatchLimit = 6.0;

StandardIcon MatchOnce(HWND iconControl) {
  const auto shown = CaptureWindow(iconControl);
  if (!shown) return StandardIcon::Unknown;
  const uint32_t background = shown->At(0, 0);  // the standard icons' corners are clear
  const std::pair<StandardIcon, LPCSTR> candidates[] = {
      {StandardIcon::Exclamation, IDI_EXCLAMATION},
      {StandardIcon::Question, IDI_QUESTION},
      {StandardIcon::Error, IDI_HAND},
      {StandardIcon::Information, IDI_ASTERISK},
  };
  StandardIcon best = StandardIcon::Unknown;
  double bestDifference = kMatchLimit;
  for (const auto& [kind, id] : candidates) {
    const auto drawn = RenderIcon(LoadIconA(nullptr, id), shown->width, shown->height, background);
    if (!drawn) continue;
    const double difference = MeanDifference(*shown, *drawn);
    if (difference < bestDifference) {
      best = kind;
      bestDifference = difference;
    }
  }
  return best;
}

}  // namespace

StandardIcon IdentifyIcon(HWND iconControl, Duration timeout) {
  if (!IsVisible(iconControl) || Send(iconControl, STM_GETICON).value_or(0) == 0) {
    return StandardIcon::None;
  }
  StandardIcon found = StandardIcon::Unknown;
  WaitUntil([&] { return (found = MatchOnce(iconControl)) != StandardIcon::Unknown; }, timeout);
  return found;
}

}  // namespace robot

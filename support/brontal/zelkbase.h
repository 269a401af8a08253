// Base types shared by every library of the family: the exception root,
// small enumerations, geometric records, event types and the switches that
// long numeric computations watch.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/types.h"

namespace Zelk_zelkbase {

class EZELKError : public std::runtime_error {
 public:
  explicit EZELKError(const std::string& message) : std::runtime_error(message) {}
};

enum TFrameStyle : uint8_t {
  fsNone,
  fsSingle,
  fsDouble,
  fsRaised,
  fsLowered,
  fsBumped,
  fsEtched,
  fsShadow
};

enum TDegreeFormat : uint8_t { dfDecimal, dfDegMin, dfDegMinSec };

// What a left drag or click does in a map control. The ordinals are stored
// and exchanged with applications; values without a name do nothing special.
enum TMouseActMode : uint8_t {
  maNone = 0,
  maPan = 1,
  maPanHoriz = 2,
  maPanVert = 3,
  maRubberBand = 5,
  maZoomWindow = 7,
  maZoomDrag = 9,
  maSelectRect = 16,
  maMouseTrace = 17
};

enum TZoomState : uint8_t { zsIdle, zsBoxDragged };

enum TMouseBoxState : uint8_t { mbsIdle, mbsWaiting, mbsDragging, mbsDone };

enum TVerticalAlignment : uint8_t { vaTop, vaMiddle, vaBottom };

struct TRectDouble {
  double left = 0, top = 0, right = 0, bottom = 0;
};

// Attribute bits of a coloured point.
constexpr uint16_t cpEndOfStroke = 0x0001;
constexpr uint16_t cpInverted = 0x0002;
constexpr uint16_t cpInvalid = 0xFFFF;

struct TColoredPoint {
  double x = 0, y = 0;
  uint16_t Attrib = 0;
  Platform::TColor Color = 0;
};

using TOnPercentDoneEvent = std::function<void(Platform::TObject* Sender, int32_t Percent)>;
using TZoomPanEvent = std::function<void(Platform::TObject* Sender)>;
using TOnRubberBandActionEvent =
    std::function<void(Platform::TObject* Sender, Platform::TPoint ImagePoint)>;
using TSelectRectEvent = std::function<void(Platform::TObject* Sender, int32_t Kind, double Left,
                                            double Top, double Right, double Bottom)>;

// Progress counter of long computations, an optional observer of it, and the
// flag that asks them to stop. The library is single-threaded by design.
extern double ProcStat;
extern std::function<void(double ProcStat)> MathFeedBackProc;
extern bool AbortMathProc;

}  // namespace Zelk_zelkbase

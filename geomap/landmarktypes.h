// Landmark records: a geographic point with its symbol and caption.
#pragma once

#include <cstdint>
#include <string>

#include "platform/codepage.h"
#include "platform/graphics.h"
#include "platform/types.h"
#include "support/brontal/zelkbase.h"

namespace ZELK_geomap {

enum TLandMarkElement : uint8_t {
  lmPlus,
  lmSquare,
  lmTriangle,
  lmCircle,
  lmArrowFrom,
  lmArrowTo,
  lmCrossBox,
  lmSpade,
  lmCross,
  lmUserDef
};

enum TLandMarkAction : uint8_t { lmaAdd, lmaRemove };

// Horizontal alignment of a caption, with the platform's ordinals.
enum TLMHAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

using TLMIdentifier = Platform::ShortString<15>;
using TLMText = Platform::ShortString<80>;

struct TSymbolProperties {
  TLandMarkElement Kind = lmPlus;
  int32_t Size = 0;
  Platform::TColor FGColor = 0;
  Platform::TColor BGColor = 0;
  bool Transparent = false;
  int32_t Direction = 0;
  int32_t Length = 0;
  friend bool operator==(const TSymbolProperties&, const TSymbolProperties&) = default;
};

struct TLMTextProperties {
  TLMText Text;
  int32_t Size = 0;
  std::string FontName;
  Platform::TFontStyles FontStyles = 0;
  Platform::TColor FGColor = 0;
  Platform::TColor BGColor = 0;
  bool Transparent = false;
  int32_t dx = 0;
  int32_t dy = 0;
  int32_t Direction = 0;
  TLMHAlignment HAlignment = taLeftJustify;
  Zelk_zelkbase::TVerticalAlignment VAlignment = Zelk_zelkbase::vaTop;
  friend bool operator==(const TLMTextProperties&, const TLMTextProperties&) = default;
};

struct TLandMark {
  double Latitude = 0;
  double Longitude = 0;
  double Altitude = 0;
  uint8_t ClassFlag = 0;
  int32_t Tag = 0;
  TSymbolProperties SymbolProps;
  TLMTextProperties Caption;
  TLMIdentifier Identifier;
  Platform::TDateTime Time = 0;
  friend bool operator==(const TLandMark&, const TLandMark&) = default;
};

// The landmark a new control starts from.
TLandMark DefaultLandMark();

}  // namespace ZELK_geomap

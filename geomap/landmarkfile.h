// Landmark files: the reader of landmark sections, without a control. A
// section starts with a line holding "<gmlandmarks" and "korvane" (any
// letter case) and an identifier in id="..."; one empty element per
// landmark follows:
//
//   <gmlandmarks sig="Korvane" vers="1.0" id="north">
//   <landmark lat="48.25" long="16,5" class="3" element="triangle" size="6"
//             captext="Hohe Warte" capsize="8" date="20240131120000" />
//   </gmlandmarks>
//
// "</gmlandmarks>" is passed over, so the landmarks of later sections are
// read too, up to "</geomap>" or the end of the file. Every field comes from
// its attribute; a missing one gives 0, empty text, lmCross, no style and
// the colour and time of empty text. Texts are decoded (&amp; &quot; &lt;
// &gt; &apos; and numeric references).
//
// Bounds against hostile files: symbol sizes and lengths are clamped to
// +-kMaxSymbolExtent (10000) pixels, caption offsets likewise, and caption
// sizes other than 0 to 1..500 points.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "geomap/landmarktypes.h"
#include "platform/textfile.h"

namespace ZELK_geomap {

using TLandMarkSink = std::function<void(const TLandMark& LandMark)>;
using TLandMarkSectionFound = std::function<void()>;

constexpr int32_t kMinCaptionSize = 1;
constexpr int32_t kMaxCaptionSize = 500;

// Reads on from the file's position to the first section whose identifier
// is DataID (letter case and outer blanks ignored; "" takes the first). No
// such section: false, and neither callback is called. Otherwise
// SectionFound (if given) is called once, then Add once per landmark element
// in file order, and the result is true. The file stays open, positioned
// after the "</geomap>" that ended the reading (or at its end).
// Read errors raise EInOutError; whatever Add raises passes through.
bool ReadLandMarks(Platform::TTextFile& F, const std::string& DataID, const TLandMarkSink& Add,
                   const TLandMarkSectionFound& SectionFound = {});

// The same for a file by name. False when the file cannot be opened, or
// holds no such section.
bool ReadLandMarksFromFile(const std::string& FName, const std::string& DataID,
                           const TLandMarkSink& Add,
                           const TLandMarkSectionFound& SectionFound = {});

// One landmark from the attribute text of a landmark element (8-bit text as
// the file holds it).
TLandMark LandMarkFromAttributes(const std::string& Attributes);

}  // namespace ZELK_geomap
